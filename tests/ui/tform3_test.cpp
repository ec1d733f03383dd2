// The function entry window: its layout, the keys it refuses, and the definition loop.
#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <string>

#include "core/headless_host.h"
#include "support/recording_surface.h"
#include "ui/parameter_controls.h"
#include "support/scripted_dialogs.h"
#include "ui/tform3.h"

using tv::ui::DefineTransferFunction;
using tv::ui::MessageIcon;
using tv::ui::ParameterControls;
using tv::ui::ScriptedDialogs;
using tv::ui::ScriptedHost;
using tv::ui::TForm3;

namespace {

const QColor kRedWindow(255, 0, 0);

struct Fixture {
  tv::DiagramState s;
  tv::HeadlessHost host;
  tv::RecordingSurface surface;
  ScriptedDialogs dialogs;
  QWidget panel;
  std::unique_ptr<ParameterControls> controls;
  TForm3 form{host};
  tv::DrawTarget target = tv::ScreenTarget(&surface, 1150, 736);
  tv::FrameResult frame;
  int boxHandlerRuns = 0;
  int availabilityRefreshes = 0;

  Fixture() {
    tv::SetStartValues(s);
    s.Host = &host;
    host.AskedDialogs = &dialogs;
    host.OnBoxChanged = [this](int) { ++boxHandlerRuns; };
    controls = std::make_unique<ParameterControls>(&panel, s);
    controls->RefreshParameterAvailability();
  }
  void Define(int i) {
    const auto asked = [this] {
      return std::count(host.Refreshes.begin(), host.Refreshes.end(), "availability");
    };
    const auto before = asked();
    DefineTransferFunction(i, s, target, frame, form);
    availabilityRefreshes += static_cast<int>(asked() - before);
    controls->RefreshParameterAvailability();
  }
  // One showing of the window: what the user types, as the fields' new texts.
  void Answer(const QString& num, const QString& den) {
    dialogs.ModalScripts.push_back([num, den](QDialog& d) {
      auto& f = static_cast<TForm3&>(d);
      f.Edit1->setText(num);
      f.Edit2->setText(den);
    });
  }
};

std::string Bytes(const tv::FunctionText& t) { return t.Str(); }

// Types text one character (code point) per key press, as a keyboard layout
// that has it would; QTest's own key clicks know only ASCII.
void Type(QWidget* w, const QString& text) {
  for (qsizetype k = 0; k < text.size();) {
    const qsizetype n = text[k].isHighSurrogate() && k + 1 < text.size() ? 2 : 1;
    const QString c = text.mid(k, n);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, c);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, c);
    QApplication::sendEvent(w, &release);
    k += n;
  }
}

}  // namespace

class TForm3Test : public QObject {
  Q_OBJECT

 private slots:
  void Layout();
  void DefinesFirstOrderFunction();
  void ShowsStoredTextsAndName_data();
  void ShowsStoredTextsAndName();
  void InvalidTextsComeBackRed_data();
  void InvalidTextsComeBackRed();
  void StoredTextsAreCutThenFreedOfSpaces_data();
  void StoredTextsAreCutThenFreedOfSpaces();
  void ParenthesisKeyRefused_data();
  void ParenthesisKeyRefused();
  void PasteWithParenthesisRefused();
  void Windows1252Characters_data();
  void Windows1252Characters();
  void EuroStoredAsItsByte();
  void LoadedParenthesesStayEditable();
  void WaysToClose_data();
  void WaysToClose();
  void FocusAndTabOrder();
};

void TForm3Test::Layout() {
  ScriptedDialogs dialogs;
  ScriptedHost host(dialogs);
  TForm3 form(host);
  QCOMPARE(form.windowTitle(), QStringLiteral("Entrez une fonction de transfert..."));
  QCOMPARE(form.geometry(), QRect(151, 214, 632, 190));
  QCOMPARE(form.font().pixelSize(), 13);
  QVERIFY(form.font().bold());
  QCOMPARE(form.Label1->text(), QStringLiteral("Entrez des fonctions du type:1+0.02*p+0.3*p^2+...  "
                                               "(développées dans l'ordre croissant)"));
  QCOMPARE(form.Label1->pos(), QPoint(8, 8));
  QCOMPARE(form.Label2->text(),
           QStringLiteral("Seules les variables K, T, A, B, W et Ksi  sont autorisées "));
  QCOMPARE(form.Label2->pos(), QPoint(8, 32));
  QCOMPARE(form.Edit1->geometry(), QRect(80, 56, 321, 24));
  QCOMPARE(form.Label3->geometry(), QRect(16, 80, 48, 16));
  QCOMPARE(form.Shape1->geometry(), QRect(56, 89, 385, 2));
  QCOMPARE(form.Edit2->geometry(), QRect(80, 104, 321, 24));
  QCOMPARE(form.Button1->geometry(), QRect(464, 48, 75, 73));
  QCOMPARE(form.Button1->text(), QStringLiteral("Valider"));
  QCOMPARE(form.BackgroundColour(), QApplication::palette().color(QPalette::Button));
}

void TForm3Test::DefinesFirstOrderFunction() {
  Fixture f;
  f.Answer("1", "1+T*p");
  f.Define(1);
  QCOMPARE(Bytes(f.s.NumText[0]), std::string("1"));
  QCOMPARE(Bytes(f.s.DenText[0]), std::string("1+T*p"));
  QCOMPARE(f.s.DenCoeffs[0], (tv::CoefficientSet{1, 1, 0, 0, 0, 0}));
  QCOMPARE(f.dialogs.Count("modal"), 1);
  QCOMPARE(f.host.BeepCount, 0);
  QVERIFY(f.s.CurveTicked[0]);
  QCOMPARE(f.boxHandlerRuns, 1);
  QCOMPARE(f.availabilityRefreshes, 1);
  for (int n = 1; n <= 6; ++n) QCOMPARE(f.controls->RadioButton(n)->isEnabled(), n == 3);
  // The picture was drawn with H1 in it.
  QVERIFY(!f.host.PanelInvalid);
  QVERIFY(!f.surface.Lines().empty());
}

void TForm3Test::ShowsStoredTextsAndName_data() {
  QTest::addColumn<int>("i");
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("alreadyChecked");
  QTest::newRow("H1_unchecked") << 1 << "H1= " << false;
  QTest::newRow("H2_already_checked") << 2 << "H2= " << true;
  QTest::newRow("H3_unchecked") << 3 << "H3= " << false;
}

void TForm3Test::ShowsStoredTextsAndName() {
  QFETCH(int, i);
  QFETCH(QString, name);
  QFETCH(bool, alreadyChecked);
  Fixture f;
  f.s.NumText[i - 1].Assign("K");
  f.s.DenText[i - 1].Assign("1+0.02*p+0.3*p^2");
  f.s.CurveTicked[i - 1] = alreadyChecked;
  QString shownNum, shownDen, shownName;
  f.dialogs.ModalScripts.push_back([&](QDialog& d) {
    auto& form = static_cast<TForm3&>(d);
    shownNum = form.Edit1->text();
    shownDen = form.Edit2->text();
    shownName = form.Label3->text();
  });
  f.Define(i);
  QCOMPARE(shownNum, QStringLiteral("K"));
  QCOMPARE(shownDen, QStringLiteral("1+0.02*p+0.3*p^2"));
  QCOMPARE(shownName, name);
  // Closed without a change: the texts stay and the box is checked.
  QCOMPARE(Bytes(f.s.NumText[i - 1]), std::string("K"));
  QCOMPARE(Bytes(f.s.DenText[i - 1]), std::string("1+0.02*p+0.3*p^2"));
  QVERIFY(f.s.CurveTicked[i - 1]);
  QCOMPARE(f.boxHandlerRuns, alreadyChecked ? 0 : 1);
  QCOMPARE(f.controls->RadioButton(1)->isEnabled(), true);
}

void TForm3Test::InvalidTextsComeBackRed_data() {
  QTest::addColumn<QString>("num");
  QTest::addColumn<QString>("den");
  QTest::addColumn<QString>("storedNum");
  QTest::addColumn<QString>("storedDen");
  // The edit's own beeps, for characters it refuses, before the alarm.
  QTest::addColumn<int>("refusalBeeps");
  // A part of the reason shown under the texts; empty when none is known.
  QTest::addColumn<QString>("reason");
  QTest::newRow("empty_numerator") << ""
                                   << "1+T*p"
                                   << ""
                                   << "1+T*p" << 0 << QStringLiteral("");
  QTest::newRow("empty_denominator") << "1"
                                     << ""
                                     << "1"
                                     << "" << 0 << QStringLiteral("");
  QTest::newRow("spaces_only_numerator") << "   "
                                         << "1"
                                         << ""
                                         << "1" << 0 << QStringLiteral("");
  QTest::newRow("decreasing_powers") << "1"
                                     << "p^2 + p"
                                     << "1"
                                     << "p^2+p" << 0 << QStringLiteral("développez");
  QTest::newRow("digit_before_p") << "1+2p"
                                  << "1"
                                  << "1+2p"
                                  << "1" << 0 << QStringLiteral("2*p");
  QTest::newRow("power_six") << "1+p^6"
                             << "1"
                             << "1+p^6"
                             << "1" << 0 << QStringLiteral("p^1 à p^5");
  QTest::newRow("fractional_power") << "1"
                                    << "1+p^2.5"
                                    << "1"
                                    << "1+p^2.5" << 0 << QStringLiteral("p^1 à p^5");
  // As a transfer file may hold it (the edit's guard beeps once at it): read as 1+3p before.
  QTest::newRow("square_of_a_binomial") << "(1+p)^2"
                                        << "1"
                                        << "(1+p)^2"
                                        << "1" << 1 << QStringLiteral("développez");
  // Put in from program code past the edit's guard: not stored, the old text comes back.
  QTest::newRow("character_without_cp1252_byte_not_stored") << QStringLiteral("K*Ω") << "1+p"
                                                            << "1"
                                                            << "1+p" << 1 << QStringLiteral("");
}

void TForm3Test::InvalidTextsComeBackRed() {
  QFETCH(QString, num);
  QFETCH(QString, den);
  QFETCH(QString, storedNum);
  QFETCH(QString, storedDen);
  QFETCH(int, refusalBeeps);
  QFETCH(QString, reason);
  Fixture f;
  f.Answer(num, den);
  QColor secondColour;
  QString secondNum, secondDen, secondReason;
  int beepsBeforeSecond = -1;
  f.dialogs.ModalScripts.push_back([&](QDialog& d) {
    auto& form = static_cast<TForm3&>(d);
    secondColour = form.BackgroundColour();
    secondNum = form.Edit1->text();
    secondDen = form.Edit2->text();
    secondReason = form.Reason->text();
    beepsBeforeSecond = f.host.BeepCount;
    form.Edit1->setText("1");
    form.Edit2->setText("1+p");
  });
  f.Define(2);
  QCOMPARE(f.dialogs.Count("modal"), 2);
  QCOMPARE(beepsBeforeSecond, refusalBeeps + 20);
  QCOMPARE(f.host.BeepCount, refusalBeeps + 20);
  QCOMPARE(secondColour, kRedWindow);
  QCOMPARE(secondNum, storedNum);
  QCOMPARE(secondDen, storedDen);
  if (reason.isEmpty())
    QCOMPARE(secondReason, QString());
  else
    QVERIFY2(secondReason.contains(reason, Qt::CaseInsensitive), qPrintable(secondReason));
  QVERIFY(f.s.CurveTicked[1]);
  QCOMPARE(f.dialogs.Log.size(), std::size_t{2});  // no message text
  // The red stays until the next definition, which starts on the button face.
  QCOMPARE(f.form.BackgroundColour(), kRedWindow);
  QColor nextColour;
  f.dialogs.ModalScripts.push_back(
      [&](QDialog& d) { nextColour = static_cast<TForm3&>(d).BackgroundColour(); });
  f.Define(2);
  QCOMPARE(nextColour, QApplication::palette().color(QPalette::Button));
}

void TForm3Test::StoredTextsAreCutThenFreedOfSpaces_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("stored");
  QTest::addColumn<double>("constant");
  QTest::addColumn<double>("linear");
  // "1+", 77 zeros and a 5: 80 characters worth 6; the 81st character, a
  // '+', would leave the text unfinished.
  const QString eighty = "1+" + QString(77, '0') + "5";
  QTest::newRow("spaces_removed") << "1 + 2*p"
                                  << "1+2*p" << 1.0 << 2.0;
  QTest::newRow("81_characters_cut_to_80") << eighty + "+" << eighty << 6.0 << 0.0;
  QTest::newRow("80_characters_kept") << eighty << eighty << 6.0 << 0.0;
  QTest::newRow("cut_before_spaces_go") << "1" + QString(79, ' ') + "+p"
                                        << "1" << 1.0 << 0.0;
}

void TForm3Test::StoredTextsAreCutThenFreedOfSpaces() {
  QFETCH(QString, typed);
  QFETCH(QString, stored);
  QFETCH(double, constant);
  QFETCH(double, linear);
  Fixture f;
  f.Answer(typed, "1");
  // A text longer than 80 is shown again cut, with the reason, and refused once.
  const bool cut = typed.size() > tv::kFunctionTextMax;
  QString shownCut, reason;
  if (cut)
    f.dialogs.ModalScripts.push_back([&](QDialog& d) {
      auto& form = static_cast<TForm3&>(d);
      shownCut = form.Edit1->text();
      reason = form.Reason->text();
    });
  f.Define(1);
  QCOMPARE(f.dialogs.Count("modal"), cut ? 2 : 1);
  if (cut) {
    QCOMPARE(shownCut, stored);
    QVERIFY2(reason.contains(QStringLiteral("80 caractères")), qPrintable(reason));
  }
  QCOMPARE(QString::fromStdString(Bytes(f.s.NumText[0])), stored);
  QCOMPARE(f.s.NumCoeffs[0][0], constant);
  QCOMPARE(f.s.NumCoeffs[0][1], linear);
}

void TForm3Test::ParenthesisKeyRefused_data() {
  QTest::addColumn<int>("edit");
  QTest::addColumn<char>("key");
  QTest::newRow("open_in_Edit1") << 1 << '(';
  QTest::newRow("close_in_Edit1") << 1 << ')';
  QTest::newRow("open_in_Edit2") << 2 << '(';
  QTest::newRow("close_in_Edit2") << 2 << ')';
}

void TForm3Test::ParenthesisKeyRefused() {
  QFETCH(int, edit);
  QFETCH(char, key);
  ScriptedDialogs dialogs;
  ScriptedHost host(dialogs);
  TForm3 form(host);
  QLineEdit* field = edit == 1 ? form.Edit1 : form.Edit2;
  form.SetEditText(field, "1+p");
  QTest::keyClick(field, key);
  QCOMPARE(field->text(), QStringLiteral("1+p"));
  QCOMPARE(dialogs.Count("message"), 1);
  QCOMPARE(dialogs.Log[0].text, QStringLiteral("La fonction doit être développée"));
  QCOMPARE(dialogs.Log[0].caption, QStringLiteral("Tracevue"));
  QCOMPARE(dialogs.Log[0].icon, MessageIcon::Exclamation);
  // Other keys still edit normally.
  QTest::keyClicks(field, "*K");
  QCOMPARE(field->text(), QStringLiteral("1+p*K"));
}

void TForm3Test::PasteWithParenthesisRefused() {
  ScriptedDialogs dialogs;
  ScriptedHost host(dialogs);
  TForm3 form(host);
  form.SetEditText(form.Edit1, "1+");
  form.Edit1->end(false);
  QApplication::clipboard()->setText("(K*p)");
  form.Edit1->paste();
  QCOMPARE(form.Edit1->text(), QStringLiteral("1+"));
  form.Edit1->insert(")");
  QCOMPARE(form.Edit1->text(), QStringLiteral("1+"));
  QCOMPARE(host.BeepCount, 2);
  QApplication::clipboard()->setText("K*p");
  form.Edit1->paste();
  QCOMPARE(form.Edit1->text(), QStringLiteral("1+K*p"));
  // Selecting a character and pasting a parenthesis over it is refused too.
  form.Edit1->setSelection(2, 1);
  QApplication::clipboard()->setText(")");
  form.Edit1->paste();
  QCOMPARE(form.Edit1->text(), QStringLiteral("1+K*p"));
  QCOMPARE(dialogs.Count("message"), 0);
}

void TForm3Test::Windows1252Characters_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<bool>("kept");
  QTest::newRow("euro_sign_0x80") << QStringLiteral("€") << true;
  QTest::newRow("e_acute_0xE9") << QStringLiteral("é") << true;
  QTest::newRow("oe_ligature_0x9C") << QStringLiteral("œ") << true;
  QTest::newRow("omega_refused") << QStringLiteral("Ω") << false;
  QTest::newRow("cjk_refused") << QStringLiteral("中") << false;
  QTest::newRow("emoji_refused") << QStringLiteral("😀") << false;
}

void TForm3Test::Windows1252Characters() {
  QFETCH(QString, typed);
  QFETCH(bool, kept);
  ScriptedDialogs dialogs;
  ScriptedHost host(dialogs);
  TForm3 form(host);
  form.SetEditText(form.Edit2, "1+");
  form.Edit2->end(false);
  Type(form.Edit2, typed);
  QCOMPARE(form.Edit2->text(), kept ? "1+" + typed : QStringLiteral("1+"));
  // Pasted, the same character meets the same fate.
  form.SetEditText(form.Edit2, "1+");
  form.Edit2->end(false);
  QApplication::clipboard()->setText("p" + typed);
  form.Edit2->paste();
  QCOMPARE(form.Edit2->text(), kept ? "1+p" + typed : QStringLiteral("1+"));
  QCOMPARE(host.BeepCount > 0, !kept);
}

void TForm3Test::EuroStoredAsItsByte() {
  Fixture f;
  f.dialogs.ModalScripts.push_back([](QDialog& d) {
    auto& form = static_cast<TForm3&>(d);
    form.Edit1->end(false);
    Type(form.Edit1, QStringLiteral("€Ω"));
  });
  std::string storedAfterFirst;
  QString shownAgain;
  f.dialogs.ModalScripts.push_back([&](QDialog& d) {
    auto& form = static_cast<TForm3&>(d);
    storedAfterFirst = Bytes(f.s.NumText[0]);
    shownAgain = form.Edit1->text();
    form.Edit1->setText("1");
  });
  f.Define(1);
  QCOMPARE(storedAfterFirst, std::string("1\x80"));
  QCOMPARE(shownAgain, QStringLiteral("1€"));
  QCOMPARE(f.host.BeepCount, 1 + 20);  // Ω refused, then "1€" does not compile
}

void TForm3Test::LoadedParenthesesStayEditable() {
  Fixture f;
  f.s.NumText[0].Assign("(1+T)");
  f.dialogs.ModalScripts.push_back([&](QDialog& d) {
    auto& form = static_cast<TForm3&>(d);
    QCOMPARE(form.Edit1->text(), QStringLiteral("(1+T)"));
    form.Edit1->end(false);
    Type(form.Edit1, QStringLiteral("*KΩ"));
    QTest::keyClick(form.Edit1, ')');
    form.Edit1->home(false);
    QApplication::clipboard()->setText("((");
    form.Edit1->paste();
  });
  f.Define(1);
  QCOMPARE(Bytes(f.s.NumText[0]), std::string("(1+T)*K"));
  QCOMPARE(f.dialogs.Count("message"), 1);
  QCOMPARE(f.dialogs.Count("modal"), 1);
}

void TForm3Test::WaysToClose_data() {
  QTest::addColumn<int>("way");
  QTest::newRow("return_in_Edit1") << 0;
  QTest::newRow("enter_in_Edit2") << 1;
  QTest::newRow("Button1") << 2;
  QTest::newRow("close_command") << 3;
}

void TForm3Test::WaysToClose() {
  QFETCH(int, way);
  ScriptedDialogs dialogs;
  ScriptedHost host(dialogs);
  TForm3 form(host);
  form.SetEditText(form.Edit1, "1");
  form.SetEditText(form.Edit2, "1+p");
  bool timedOut = false;
  QTimer::singleShot(0, &form, [&] {
    switch (way) {
      case 0: QTest::keyClick(form.Edit1, Qt::Key_Return); break;
      case 1: QTest::keyClick(form.Edit2, Qt::Key_Enter, Qt::KeypadModifier); break;
      case 2: QTest::mouseClick(form.Button1, Qt::LeftButton); break;
      default: form.close(); break;
    }
  });
  // Had the action not closed the window, this would end the modal loop.
  QTimer::singleShot(3000, &form, [&] {
    timedOut = true;
    form.done(QDialog::Rejected);
  });
  form.exec();
  QVERIFY(!timedOut);
  QVERIFY(!form.isVisible());
  QCOMPARE(form.Edit1->text(), QStringLiteral("1"));
  QCOMPARE(form.Edit2->text(), QStringLiteral("1+p"));
}

void TForm3Test::FocusAndTabOrder() {
  ScriptedDialogs dialogs;
  ScriptedHost host(dialogs);
  TForm3 form(host);
  form.show();
  form.Edit2->setFocus();
  QApplication::setActiveWindow(&form);
  QVERIFY(QTest::qWaitForWindowActive(&form));
  QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.Edit1));
  QTest::keyClick(form.Edit1, Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.Edit2));
  QTest::keyClick(form.Edit2, Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.Button1));
  QTest::keyClick(form.Button1, Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.Edit1));
}

QTEST_MAIN(TForm3Test)
#include "tform3_test.moc"
