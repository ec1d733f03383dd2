// The language: chosen from the environment and --lang; an English window laid out as the French
// one.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>
#include <map>
#include <memory>

#include "core/diagram_state.h"
#include "core/translate.h"
#include "support/scripted_dialogs.h"
#include "output/language.h"
#include "ui/tform1.h"

using tv::ui::Language;

namespace {

// Every named widget's place (a caption's width follows its words), and the menu titles, of a
// freshly started window.
struct Started {
  std::map<QString, QPoint> Place;
  QStringList Menus;
  QString Margins;
};

Started StartWindow() {
  tv::DiagramState s;
  tv::ui::ScriptedDialogs dialogs;
  tv::ui::TForm1 form(s, dialogs, {});
  Started started;
  for (const QWidget* w : form.findChildren<QWidget*>())
    if (!w->objectName().isEmpty()) started.Place[w->objectName()] = w->pos();
  for (const QAction* a : form.menuBar()->actions()) started.Menus << a->text();
  started.Margins = form.CheckBox5->text();
  return started;
}

}  // namespace

class LanguageTest : public QObject {
  Q_OBJECT

 private slots:
  void EnvironmentChoosesTheLanguage() {
    struct Case {
      const char* Name;
      const char* LanguageVar;
      const char* All;
      const char* Messages;
      const char* Lang;
      Language Expected;
    };
    const Case cases[] = {
        {"nothing set", "", "", "", "", Language::French},
        {"C locale", "", "", "", "C.UTF-8", Language::French},
        {"English LANG", "", "", "", "en_GB.UTF-8", Language::English},
        {"LC_ALL before LANG", "", "fr_FR.UTF-8", "", "en_US.UTF-8", Language::French},
        {"LC_MESSAGES before LANG", "", "", "en_US.UTF-8", "fr_FR.UTF-8", Language::English},
        {"LANGUAGE first", "en:fr", "fr_FR.UTF-8", "", "", Language::English},
        {"German is not English", "de_DE", "", "", "", Language::French},
    };
    for (const Case& c : cases) {
      qputenv("LANGUAGE", c.LanguageVar);
      qputenv("LC_ALL", c.All);
      qputenv("LC_MESSAGES", c.Messages);
      qputenv("LANG", c.Lang);
      QVERIFY2(tv::ui::LanguageFromEnvironment() == c.Expected, c.Name);
    }
  }

  void LangOptionIsTakenOut() {
    qputenv("LANGUAGE", "en");
    struct Case {
      const char* Name;
      QStringList Arguments;
      bool Accepted;
      QStringList Left;
      Language Expected;
    };
    const QString file = QStringLiteral("a.WWC");
    const Case cases[] = {
        {"none: the environment's", {file}, true, {file}, Language::English},
        {"separate value",
         {QStringLiteral("--lang"), QStringLiteral("fr"), file},
         true,
         {file},
         Language::French},
        {"joined value, last wins",
         {QStringLiteral("--lang=fr"), QStringLiteral("--lang=en"), QStringLiteral("--help")},
         true,
         {QStringLiteral("--help")},
         Language::English},
        {"unknown language", {QStringLiteral("--lang"), QStringLiteral("de")}, false, {}, {}},
        {"missing value", {file, QStringLiteral("--lang")}, false, {}, {}},
    };
    for (const Case& c : cases) {
      QStringList arguments = c.Arguments;
      Language language = Language::French;
      QCOMPARE(tv::ui::TakeLanguageOption(arguments, language), c.Accepted);
      if (!c.Accepted) {
        QCOMPARE(arguments, c.Arguments);
        continue;
      }
      QVERIFY2(language == c.Expected, c.Name);
      QCOMPARE(arguments, c.Left);
    }
  }

  // Same places for every control, translated captions; French again after.
  void EnglishWindowHasTheFrenchLayout() {
    const Started french = StartWindow();
    tv::ui::InstallLanguage(*qApp, Language::English);
    const Started english = StartWindow();
    QCOMPARE(tv::Tr("Margins", "MP"), std::string("PM"));
    tv::ui::InstallLanguage(*qApp, Language::French);
    QCOMPARE(tv::Tr("Margins", "MP"), std::string("MP"));

    QCOMPARE(english.Place, french.Place);
    QCOMPARE(english.Menus.size(), french.Menus.size());
    QCOMPARE(french.Menus.front(), QStringLiteral("Fichier"));
    QCOMPARE(english.Menus.front(), QStringLiteral("File"));
    QCOMPARE(english.Margins, QStringLiteral("Margins"));
    QCOMPARE(StartWindow().Menus, french.Menus);
  }
};

QTEST_MAIN(LanguageTest)
#include "language_test.moc"
