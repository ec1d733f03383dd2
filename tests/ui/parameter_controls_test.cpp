// The parameter controls: captions, availability, steps and typed values.
#include <QAction>
#include <QButtonGroup>
#include <QLabel>
#include <QLocale>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTest>
#include <memory>

#include "core/headless_host.h"
#include "ui/parameter_controls.h"
#include "support/scripted_dialogs.h"

using tv::ui::ParameterControls;
using tv::ui::ScriptedDialogs;

namespace {

// A panel with the controls on it, over a state at its start values.
struct Fixture {
  QWidget panel;
  tv::DiagramState s;
  tv::HeadlessHost host;
  ScriptedDialogs dialogs;
  int redraws = 0;
  std::unique_ptr<ParameterControls> controls;
  QAction entries[6];  // GainK1, A1, B2, B1, W1, Ksi1

  Fixture() {
    tv::SetStartValues(s);
    s.Host = &host;
    host.AskedDialogs = &dialogs;
    host.OnRedraw = [this] { ++redraws; };
    controls = std::make_unique<ParameterControls>(&panel, s);
    controls->AttachMenuEntries(&entries[0], &entries[1], &entries[2], &entries[3], &entries[4],
                                &entries[5]);
    controls->RefreshParameterCaptions();
    controls->RefreshParameterAvailability();
  }
  void Define(int i, const char* num, const char* den) {
    s.NumText[i - 1].Assign(num);
    s.DenText[i - 1].Assign(den);
    controls->RefreshParameterAvailability();
  }
  double& Param(const QString& name) {
    if (name == "K") return s.ParamK;
    if (name == "A") return s.ParamA;
    if (name == "T") return s.ParamT;
    if (name == "B") return s.ParamB;
    if (name == "W") return s.ParamW;
    return s.ParamKsi;
  }
};

}  // namespace

class ParameterControlsTest : public QObject {
  Q_OBJECT

 private slots:
  void ControlsAtTheirPlaces();
  void RadioButtonShowsItsName_data();
  void RadioButtonShowsItsName();
  void Availability_data();
  void Availability();
  void Steps_data();
  void Steps();
  void SpinArrowsPassTheirSteps_data();
  void SpinArrowsPassTheirSteps();
  void CaptionsAfterSteps();
  void TypedValues_data();
  void TypedValues();
  void EveryEntryAsksWithTheGainCaption_data();
  void EveryEntryAsksWithTheGainCaption();
};

void ParameterControlsTest::ControlsAtTheirPlaces() {
  Fixture f;
  const QPoint radio[6] = {{88, 8}, {88, 40}, {88, 24}, {192, 8}, {192, 24}, {192, 40}};
  const char* captions[6] = {"K = 1", "A = 1", "T = 1", "B = 1", "W = 1", "Ksi = 1"};
  for (int n = 1; n <= 6; ++n) {
    QRadioButton* b = f.controls->RadioButton(n);
    QCOMPARE(b->objectName(), QStringLiteral("RadioButton%1").arg(n));
    QCOMPARE(b->pos(), radio[n - 1]);
    QCOMPARE(b->text(), QString::fromLatin1(captions[n - 1]));
    QVERIFY(!b->isChecked());
    QCOMPARE(b->group(), f.controls->Group());
  }
  QVERIFY(f.controls->Group()->exclusive());
  const int spinLeft[5] = {432, 456, 480, 504, 528};
  const int labelLeft[5] = {424, 456, 472, 496, 528};
  const char* labels[5] = {"10", "1", "0.1", "0.01", "0.001"};
  for (int n = 1; n <= 5; ++n) {
    QCOMPARE(f.controls->Spin(n)->geometry(), QRect(spinLeft[n - 1], 24, 17, 25));
    QCOMPARE(f.controls->Label(6 + n)->pos(), QPoint(labelLeft[n - 1], 8));
    QCOMPARE(f.controls->Label(6 + n)->text(), QString::fromLatin1(labels[n - 1]));
  }
  QCOMPARE(f.controls->Label(13)->text(), QStringLiteral("Variation de"));
  QCOMPARE(f.controls->Label(13)->pos(), QPoint(288, 16));
  QCOMPARE(f.controls->Label(12)->pos(), QPoint(392, 8));
  QCOMPARE(f.controls->Label(12)->text(), QString());
  QCOMPARE(f.controls->Label(12)->font().pixelSize(), 18);
  QVERIFY(!f.controls->Label(12)->font().bold());
}

void ParameterControlsTest::RadioButtonShowsItsName_data() {
  QTest::addColumn<int>("button");
  QTest::addColumn<QString>("shown");
  QTest::newRow("RadioButton1_K") << 1 << "K";
  QTest::newRow("RadioButton2_A") << 2 << "A";
  QTest::newRow("RadioButton3_T") << 3 << "T";
  QTest::newRow("RadioButton4_B") << 4 << "B";
  QTest::newRow("RadioButton5_W") << 5 << "W";
  QTest::newRow("RadioButton6_Ksi") << 6 << "Ksi";
}

void ParameterControlsTest::RadioButtonShowsItsName() {
  QFETCH(int, button);
  QFETCH(QString, shown);
  Fixture f;
  f.Define(1, "K*A*T*B*W*KSI", "1");
  QTest::mouseClick(f.controls->RadioButton(button), Qt::LeftButton);
  QVERIFY(f.controls->RadioButton(button)->isChecked());
  QCOMPARE(f.controls->Label(12)->text(), shown);
  // Choosing a parameter neither changes a value nor redraws.
  QCOMPARE(f.redraws, 0);
  QCOMPARE(f.Param(shown), 1.0);
  // Set from program code, the button's handler runs as well.
  const int other = button == 1 ? 2 : 1;
  f.controls->RadioButton(other)->setChecked(true);
  QCOMPARE(f.controls->Label(12)->text(), QString::fromLatin1(other == 1 ? "K" : "A"));
  QVERIFY(!f.controls->RadioButton(button)->isChecked());
  // The document holds the selection; controls made over it show it.
  QCOMPARE(f.s.SelectedParameter, f.controls->SelectedParameter());
  ParameterControls again(&f.panel, f.s);
  QVERIFY(again.RadioButton(other)->isChecked());
  QCOMPARE(again.Label(12)->text(), f.controls->Label(12)->text());
}

void ParameterControlsTest::Availability_data() {
  QTest::addColumn<QString>("num");
  QTest::addColumn<QString>("den");
  QTest::addColumn<QString>("enabled");  // letters of RadioButton1..6: K A T B W X(Ksi)
  QTest::newRow("start_texts_enable_nothing") << "1"
                                              << "1"
                                              << "";
  QTest::newRow("first_order_enables_only_T") << "1"
                                              << "1+T*p"
                                              << "T";
  QTest::newRow("ksi_is_not_k") << "1"
                                << "1+2*KSI*p/W+p^2/W^2"
                                << "WX";
  QTest::newRow("ksi_and_k") << "k"
                             << "1+2*ksi*p"
                             << "KX";
  QTest::newRow("abs_enables_a_and_b") << "ABS(T)"
                                       << "1"
                                       << "ATB";
  QTest::newRow("everything") << "K*A*B"
                              << "1+T*p+W*Ksi*p^2"
                              << "KATBWX";
}

void ParameterControlsTest::Availability() {
  QFETCH(QString, num);
  QFETCH(QString, den);
  QFETCH(QString, enabled);
  Fixture f;
  f.Define(2, num.toLatin1().constData(), den.toLatin1().constData());
  const QString letters = "KATBWX";
  // Menu entries in radio-button order: GainK1, A1, B1 (T), B2 (B), W1, Ksi1.
  QAction* entries[6] = {&f.entries[0], &f.entries[1], &f.entries[3],
                         &f.entries[2], &f.entries[4], &f.entries[5]};
  for (int n = 1; n <= 6; ++n) {
    const bool on = enabled.contains(letters[n - 1]);
    QCOMPARE(f.controls->RadioButton(n)->isEnabled(), on);
    QCOMPARE(entries[n - 1]->isEnabled(), on);
    QCOMPARE(f.controls->MenuEntry(n), entries[n - 1]);
  }
}

void ParameterControlsTest::Steps_data() {
  QTest::addColumn<int>("button");    // 0: none checked
  QTest::addColumn<QString>("text");  // the one function text, which decides availability
  QTest::addColumn<double>("start");
  QTest::addColumn<double>("delta");
  QTest::addColumn<double>("expected");
  QTest::newRow("K_1_minus_1_is_0") << 1 << "K" << 1.0 << -1.0 << 0.0;
  QTest::newRow("K_0_minus_0.001_ignored") << 1 << "K" << 0.0 << -0.001 << 0.0;
  QTest::newRow("K_0.5_minus_1_ignored") << 1 << "K" << 0.5 << -1.0 << 0.5;
  QTest::newRow("K_checked_but_disabled_steps") << 1 << "1" << 1.0 << 10.0 << 11.0;
  QTest::newRow("B_checked_but_disabled_stays") << 4 << "1" << 1.0 << 10.0 << 1.0;
  QTest::newRow("T_enabled_up_a_tenth") << 3 << "1+T*p" << 1.0 << 0.1 << 1.1;
  QTest::newRow("Ksi_enabled_down_a_hundredth") << 6 << "KSI" << 1.0 << -0.01 << 0.99;
  QTest::newRow("W_enabled_below_zero_ignored") << 5 << "W" << 0.005 << -0.01 << 0.005;
  QTest::newRow("none_checked") << 0 << "K*A*T*B*W*KSI" << 1.0 << 1.0 << 1.0;
}

void ParameterControlsTest::Steps() {
  QFETCH(int, button);
  QFETCH(QString, text);
  QFETCH(double, start);
  QFETCH(double, delta);
  QFETCH(double, expected);
  Fixture f;
  const char* names[7] = {"", "K", "A", "T", "B", "W", "Ksi"};
  for (int n = 1; n <= 6; ++n) f.Param(names[n]) = 1.0;
  if (button) {
    // Checked while enabled, then the texts decide whether it stays enabled.
    f.Define(1, "K*A*T*B*W*KSI", "1");
    f.controls->RadioButton(button)->setChecked(true);
    f.Param(names[button]) = start;
  }
  f.Define(1, text.toLatin1().constData(), "1");
  f.controls->StepSelectedParameter(delta);
  for (int n = 1; n <= 6; ++n) QCOMPARE(f.Param(names[n]), n == button ? expected : 1.0);
  // Captions and the picture are refreshed whatever happened.
  QCOMPARE(f.redraws, 1);
  if (button)
    QCOMPARE(f.controls->RadioButton(button)->text(),
             QString::fromLatin1(names[button]) + " = " + QString::number(expected));
}

void ParameterControlsTest::SpinArrowsPassTheirSteps_data() {
  QTest::addColumn<int>("spin");
  QTest::addColumn<bool>("up");
  QTest::addColumn<double>("expected");
  const double steps[5] = {10, 1, 0.1, 0.01, 0.001};
  for (int n = 1; n <= 5; ++n) {
    QTest::addRow("SpinButton%d_up", n) << n << true << 1.0 + steps[n - 1];
    // 10 below 1 would be negative: the down arrow of SpinButton1 leaves 1.
    QTest::addRow("SpinButton%d_down", n) << n << false << (n == 1 ? 1.0 : 1.0 - steps[n - 1]);
  }
}

void ParameterControlsTest::SpinArrowsPassTheirSteps() {
  QFETCH(int, spin);
  QFETCH(bool, up);
  QFETCH(double, expected);
  Fixture f;
  f.Define(1, "1", "1+T*p");
  f.controls->RadioButton(3)->setChecked(true);
  QTest::mouseClick(f.controls->Spin(spin), Qt::LeftButton, Qt::NoModifier, QPoint(8, up ? 3 : 21));
  QCOMPARE(f.s.ParamT, expected);
  QCOMPARE(f.redraws, 1);
}

void ParameterControlsTest::CaptionsAfterSteps() {
  Fixture f;
  f.s.ParamK = 2.5;
  f.s.ParamA = 1234.5678;
  f.s.ParamB = 0.0004;
  f.s.ParamW = 100;
  f.s.ParamKsi = 0.0625;
  f.s.ParamT = 0;
  f.Define(1, "1", "1+T*p");
  f.controls->RadioButton(3)->setChecked(true);
  // Ten steps of 0.1 do not add up to exactly 1; the caption shows 3 decimals.
  for (int k = 0; k < 10; ++k) f.controls->StepSelectedParameter(0.1);
  QVERIFY(f.s.ParamT != 1.0);
  const char* captions[6] = {"K = 2.5", "A = 1234.568", "T = 1", "B = 0", "W = 100", "Ksi = 0.063"};
  for (int n = 1; n <= 6; ++n)
    QCOMPARE(f.controls->RadioButton(n)->text(), QString::fromLatin1(captions[n - 1]));
  QCOMPARE(f.redraws, 10);
}

void ParameterControlsTest::TypedValues_data() {
  QTest::addColumn<double>("start");
  QTest::addColumn<QStringList>("answers");   // "<cancel>" stands for Cancel
  QTest::addColumn<QStringList>("defaults");  // default text of each showing
  QTest::addColumn<double>("expected");
  QTest::addColumn<QString>("caption");
  QTest::newRow("decimal") << 1.0 << QStringList{"12.5"} << QStringList{"1"} << 12.5 << "T = 12.5";
  QTest::newRow("exponent") << 1.0 << QStringList{"1e3"} << QStringList{"1"} << 1000.0
                            << "T = 1000";
  QTest::newRow("comma_rejected_keeps_the_leading_number")
      << 1.0 << QStringList{"1,5", "2"} << QStringList{"1", "1"} << 2.0 << "T = 2";
  QTest::newRow("trailing_letters_rejected")
      << 3.0 << QStringList{"7.25x", "<cancel>"} << QStringList{"3", "7.25"} << 7.25 << "T = 7.25";
  QTest::newRow("negative_shown_again_until_acceptable")
      << 1.0 << QStringList{"-2", "<cancel>", "<cancel>", "0.5"}
      << QStringList{"1", "-2", "-2", "-2"} << 0.5 << "T = 0.5";
  QTest::newRow("cut_to_12_characters")
      << 1.0 << QStringList{"1.5000000000abc"} << QStringList{"1"} << 1.5 << "T = 1.5";
  QTest::newRow("cut_keeps_12_digits") << 1.0 << QStringList{"123456789012345"} << QStringList{"1"}
                                       << 123456789012.0 << "T = 123456789012";
  QTest::newRow("cancel_first_rounds_to_three_decimals")
      << 0.0004 << QStringList{"<cancel>"} << QStringList{"0"} << 0.0 << "T = 0";
  QTest::newRow("empty_leaves_zero_then_cancel_accepts")
      << 4.0 << QStringList{"", "<cancel>"} << QStringList{"4", "0"} << 0.0 << "T = 0";
  QTest::newRow("locale_comma_never_read")
      << 1.0 << QStringList{"0,25", "0.25"} << QStringList{"1", "0"} << 0.25 << "T = 0.25";
  QTest::newRow("too_large_rejected")
      << 1.0 << QStringList{"1e999", "5"} << QStringList{"1", "0"} << 5.0 << "T = 5";
}

void ParameterControlsTest::TypedValues() {
  QFETCH(double, start);
  QFETCH(QStringList, answers);
  QFETCH(QStringList, defaults);
  QFETCH(double, expected);
  QFETCH(QString, caption);
  // Under a French locale the decimal separator is still the point.
  const QLocale previous;
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
  const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
  Fixture f;
  f.s.ParamT = start;
  for (const QString& a : answers)
    f.dialogs.InputAnswers.push_back(a == "<cancel>" ? QString() : a);
  f.controls->EnterParameterValue("T", f.s.ParamT);
  QCOMPARE(f.s.ParamT, expected);
  QCOMPARE(f.dialogs.Count("input"), int(defaults.size()));
  for (int k = 0; k < defaults.size(); ++k) {
    QCOMPARE(f.dialogs.Log[k].extra, defaults[k]);
    QCOMPARE(f.dialogs.Log[k].text, QStringLiteral("Entrez la nouvelle valeur de T :"));
  }
  QCOMPARE(f.redraws, 1);
  QCOMPARE(f.controls->RadioButton(3)->text(), caption);
}

void ParameterControlsTest::EveryEntryAsksWithTheGainCaption_data() {
  QTest::addColumn<int>("entry");  // index in AttachMenuEntries order
  QTest::addColumn<QString>("name");
  QTest::addColumn<int>("button");
  QTest::newRow("GainK1") << 0 << "K" << 1;
  QTest::newRow("A1") << 1 << "A" << 2;
  QTest::newRow("B2") << 2 << "B" << 4;
  QTest::newRow("B1") << 3 << "T" << 3;
  QTest::newRow("W1") << 4 << "W" << 5;
  QTest::newRow("Ksi1") << 5 << "Ksi" << 6;
}

void ParameterControlsTest::EveryEntryAsksWithTheGainCaption() {
  QFETCH(int, entry);
  QFETCH(QString, name);
  QFETCH(int, button);
  Fixture f;
  f.Define(1, "K*A*T*B*W*KSI", "1");
  f.dialogs.InputAnswers.push_back("42");
  f.entries[entry].trigger();
  QCOMPARE(f.dialogs.Count("input"), 1);
  QCOMPARE(f.dialogs.Log[0].caption, QStringLiteral("Gain"));
  QCOMPARE(f.dialogs.Log[0].text, "Entrez la nouvelle valeur de " + name + " :");
  QCOMPARE(f.Param(name), 42.0);
  QCOMPARE(f.controls->RadioButton(button)->text(), name + " = 42");
  QCOMPARE(f.redraws, 1);
}

QTEST_MAIN(ParameterControlsTest)
#include "parameter_controls_test.moc"
