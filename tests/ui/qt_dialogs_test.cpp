// The program's "Name|*.ext" file filters as Qt's, and the default suffix of the file dialogs.
#include <QtTest>

#include "ui/qt_dialogs.h"

class QtDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void FiltersBecomeQtFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("transfer") << QStringLiteral("Transfert|*.WWC")
                              << QStringLiteral("Transfert (*.WWC *.wwc)");
    QTest::newRow("text") << QStringLiteral("Fichier texte|*.txt")
                          << QStringLiteral("Fichier texte (*.txt *.TXT)");
    QTest::newRow("name showing its pattern")
        << QStringLiteral("Métafichiers évolués (*.emf)|*.emf")
        << QStringLiteral("Métafichiers évolués (*.emf *.EMF)");
    QTest::newRow("two filters") << QStringLiteral("Transfert|*.WWC|Tous|*.*")
                                 << QStringLiteral("Transfert (*.WWC *.wwc);;Tous (*.*)");
    QTest::newRow("maple worksheets")
        << QStringLiteral("Fichier Maple|*.mws") << QStringLiteral("Fichier Maple (*.mws *.MWS)");
    QTest::newRow("two patterns") << QStringLiteral("Images|*.bmp;*.png")
                                  << QStringLiteral("Images (*.bmp *.BMP *.png *.PNG)");
  }
  void FiltersBecomeQtFilters() {
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(tv::ui::QtNameFilters(filter), expected);
  }

  void DefaultSuffixDropsStarAndPoint() {
    QCOMPARE(tv::ui::DefaultSuffix(QStringLiteral("*.WWC")), QStringLiteral("WWC"));
    QCOMPARE(tv::ui::DefaultSuffix(QStringLiteral(".txt")), QStringLiteral("txt"));
    QCOMPARE(tv::ui::DefaultSuffix(QStringLiteral("EMF")), QStringLiteral("EMF"));
  }
};

QTEST_APPLESS_MAIN(QtDialogsTest)
#include "qt_dialogs_test.moc"
