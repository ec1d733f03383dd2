// Every caption of every window whole at the window's design size, with the program's fonts.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "core/diagram_state.h"
#include "ui/about_box.h"
#include "ui/caption_fit.h"
#include "output/fonts.h"
#include "support/scripted_dialogs.h"
#include "ui/tform1.h"
#include "ui/tform2.h"
#include "ui/tform3.h"

using tv::ui::TForm1;

namespace {

// The part of rect (in widget's coordinates) that its window shows: cut by
// the widget's own rectangle and every parent's.
QRect Shown(const QWidget& widget, QRect rect) {
  rect = rect.intersected(widget.rect());
  const QWidget* child = &widget;
  for (const QWidget* parent = widget.parentWidget(); parent && !child->isWindow();
       child = parent, parent = parent->parentWidget()) {
    rect = rect.intersected(parent->rect().translated(-widget.mapTo(parent, QPoint(0, 0))));
  }
  return rect;
}

// Where the style puts a button's text: right of a box's or a radio
// button's indicator, inside a push button's bevel.
QRect TextBox(const QAbstractButton& button) {
  QStyleOptionButton option;
  option.initFrom(&button);
  option.text = button.text();
  QStyle::SubElement element = QStyle::SE_PushButtonContents;
  if (qobject_cast<const QCheckBox*>(&button)) element = QStyle::SE_CheckBoxContents;
  if (qobject_cast<const QRadioButton*>(&button)) element = QStyle::SE_RadioButtonContents;
  return button.style()->subElementRect(element, &option, &button);
}

// "Form3 Label1 « ... »: 660 px of text, 616 shown" for each caption cut.
QStringList CutCaptions(const QWidget& window) {
  QStringList cut;
  for (const QWidget* w : window.findChildren<const QWidget*>()) {
    if (!w->isVisibleTo(&window) || qobject_cast<const QToolButton*>(w)) continue;
    const auto* label = qobject_cast<const QLabel*>(w);
    const auto* button = qobject_cast<const QAbstractButton*>(w);
    const QString text = label ? label->text() : button ? button->text() : QString();
    if (text.isEmpty()) continue;
    const QRect box = Shown(*w, label ? label->contentsRect() : TextBox(*button));
    const int width = w->fontMetrics().horizontalAdvance(text);
    if (width > box.width())
      cut << QStringLiteral("%1 %2 « %3 »: %4 px of text, %5 shown")
                 .arg(window.objectName(), w->objectName(), text)
                 .arg(width)
                 .arg(box.width());
  }
  return cut;
}

// The entries of a menu bar that it could not show and put behind "»".
QStringList HiddenEntries(const QMenuBar& bar) {
  QStringList hidden;
  for (QAction* entry : bar.actions()) {
    const QRect place = bar.actionGeometry(entry);
    if (place.isEmpty() || !bar.rect().contains(place)) hidden << entry->text();
  }
  return hidden;
}

}  // namespace

class CaptionsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setFont(tv::ui::WindowFont()); }

  void EveryCaptionIsWholeAtTheDesignSize() {
    tv::DiagramState s;
    tv::ui::ScriptedDialogs dialogs;
    TForm1 form1(s, dialogs);
    form1.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form1));
    QStringList cut = CutCaptions(form1);
    // The Black view shows another caption on BitBtn1.
    form1.BitBtn1->click();
    cut += CutCaptions(form1);

    tv::ui::TForm3& form3 = *form1.Form3();
    form3.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form3));
    QCOMPARE(form3.size(), QSize(632, 190));
    cut += CutCaptions(form3);

    tv::ui::TAboutBox& about = *form1.AboutBox();
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.size(), QSize(318, 132));
    cut += CutCaptions(about);

    tv::ui::TForm2& form2 = *form1.Form2();
    form2.ShowEditor();
    QVERIFY(QTest::qWaitForWindowExposed(&form2));
    cut += CutCaptions(form2);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u'\n')));
  }

  // At 337 px, and within the frame a window manager may add, the five
  // commands show side by side, none behind "»".
  void PointsEditorShowsItsFiveCommands_data() {
    QTest::addColumn<int>("clientWidth");
    QTest::newRow("no-frame") << int(tv::ui::TForm2::kOuterWidth);
    QTest::newRow("frame-of-5") << int(tv::ui::TForm2::kNarrowestClientWidth);
  }
  void PointsEditorShowsItsFiveCommands() {
    QFETCH(int, clientWidth);
    tv::DiagramState s;
    tv::ui::ScriptedDialogs dialogs;
    tv::ui::ScriptedHost host(dialogs);
    s.Host = &host;
    tv::ui::TForm2 form2(s);
    form2.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form2));
    form2.resize(clientWidth, form2.height());
    QTRY_COMPARE(form2.MainMenu1->width(), clientWidth);
    QCOMPARE(form2.MainMenu1->actions().size(), 5);
    const QStringList hidden = HiddenEntries(*form2.MainMenu1);
    QVERIFY2(hidden.isEmpty(), qPrintable(hidden.join(QStringLiteral(", "))));
    QVERIFY(tv::ui::CaptionWidth(*form2.Label1) <= clientWidth);
    // Still the window's own font, only smaller where it had to be.
    QCOMPARE(form2.MainMenu1->font().family(), form2.font().family());
    QVERIFY(form2.MainMenu1->font().pixelSize() >= tv::ui::kSmallestCaptionPixels);
  }
};

QTEST_MAIN(CaptionsTest)
#include "captions_test.moc"
