// The Analyse menu: the Mesures window following the redraws, the 2.3 dB tuning, the values under
// the cursor.
#include "ui/measures_window.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QImage>
#include <QMenu>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>
#include <functional>
#include <memory>

#include "core/diagram_state.h"
#include "ui/cursor_values.h"
#include "ui/parameter_controls.h"
#include "ui/readout_view.h"
#include "support/scripted_dialogs.h"
#include "support/three_functions.h"
#include "ui/tform1.h"

using tv::ui::MeasuresWindow;
using tv::ui::TForm1;

namespace {

struct Window {
  tv::DiagramState s;
  tv::ui::ScriptedDialogs dialogs;
  std::unique_ptr<TForm1> form;
  // H1 = K/(1+p)^3, K = 4, as examples/third-order.WWC has it.
  Window() {
    form = std::make_unique<TForm1>(s, dialogs);
    s.NumText[0].Assign("K");
    s.DenText[0].Assign("1+3*p+3*p^2+p^3");
    s.ParamK = 4;
    form->RefreshParameterAvailability();
    form->CheckBox1->setChecked(true);
  }
  QStringList Shown() const {
    QStringList texts;
    for (const MeasuresWindow::Line& line : form->Measures()->Lines()) texts << line.Text;
    return texts;
  }
};

}  // namespace

class MeasuresWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void AnalyseMenuHoldsTheReadOutEntries() {
    Window w;
    QCOMPARE(w.form->Mesures1->text(), QStringLiteral("Mesures..."));
    QCOMPARE(w.form->Rglersur23dB1->text(), QStringLiteral("Régler sur 2,3 dB"));
    const QList<QAction*> entries = w.form->Analyse1->actions();
    QVERIFY(entries.indexOf(w.form->Rglersur23dB1) == entries.indexOf(w.form->Mesures1) + 1);
  }

  void ListsTheBreaksOfTheAsymptotes() {
    Window w;
    w.form->Mesures1Click();
    const QStringList shown = w.Shown();
    // 4/(1+p)^3 typed expanded: its triple root is one break of order 3.
    QVERIFY2(shown.contains(QStringLiteral("Asymptotes")), qPrintable(shown.join('\n')));
    QVERIFY(shown.contains(QStringLiteral("H1 : pente initiale 0 dB/décade (classe 0)")));
    QCOMPARE(shown.count(QStringLiteral("w = 1 rad/s : pôle d'ordre 3")), 1);
  }

  // (1+p)^3 + 4 = 0: p = -1 - 4^(1/3), and a pair at Ksi 0.148.
  void ListsTheClosedLoopPolesOfTheProduct() {
    Window w;
    w.form->CheckBox4->setChecked(true);
    w.form->Mesures1Click();
    const QStringList shown = w.Shown();
    QVERIFY2(shown.contains(QStringLiteral("Pôles en boucle fermée")),
             qPrintable(shown.join('\n')));
    QVERIFY(shown.contains(QStringLiteral("-2.587")));
    QVERIFY(shown.contains(QStringLiteral("-0.206 ± j1.375   Ksi = 0.148, wn = 1.39 rad/s")));
  }

  // The product of H1 alone is headed as the product; Copier gives the
  // lines as text, indented as shown.
  void ProductNamedAndTextCopied() {
    Window w;
    w.form->CheckBox4->setChecked(true);
    w.form->Mesures1Click();
    const QStringList shown = w.Shown();
    QCOMPARE(shown.count(QStringLiteral("H1")), 1);
    QCOMPARE(shown.count(QStringLiteral("H1 (produit)")), 1);
    w.form->Measures()->Copier->click();
    const QString copied = QGuiApplication::clipboard()->text();
    QCOMPARE(copied, w.form->Measures()->PlainText());
    QVERIFY(copied.startsWith(QStringLiteral("H1\n  Marges de phase (gain de 0 dB)\n    w= ")));
  }

  void WindowFollowsRedrawsAndLeavesThePictureAlone() {
    Window w;
    w.form->CheckBox5->setChecked(true);  // margins drawn
    const QImage before = w.form->Picture().copy();
    w.form->Mesures1Click();
    QCOMPARE(w.form->Picture(), before);
    QStringList shown = w.Shown();
    QVERIFY2(shown.contains(QStringLiteral("w= 1.73205 rad/s : MG= 6.0206 dB")),
             qPrintable(shown.join('\n')));
    QVERIFY(shown.contains(QStringLiteral("w= 1.23282 rad/s : MP= 27.14163°")));
    // The sampled search of the picture stops one column after each crossing.
    QVERIFY(shown.contains(QStringLiteral("sur le tracé (échantillonné) : 6.095 dB en w= 1.739")));
    QVERIFY(shown.contains(QStringLiteral("classe 0, gain statique 4 (12.0412 dB)")));

    w.s.ParamK = 2;  // the gain margin grows by 20 log10 2
    w.form->Redraw();
    shown = w.Shown();
    QVERIFY2(shown.contains(QStringLiteral("w= 1.73205 rad/s : MG= 12.0412 dB")),
             qPrintable(shown.join(QLatin1Char(10))));

    w.form->Measures()->hide();
    QCOMPARE(w.s.MarginRecords, nullptr);
    w.s.ParamK = 4;
    w.form->Redraw();
    QCOMPARE(w.Shown(), shown);  // hidden: no longer told
  }

  // The view is rewritten only where its lines changed: what it holds after
  // each change is what a window opened then would hold.
  void ViewRewrittenWhereItChangedHoldsTheLines() {
    using Change = std::function<void(tv::DiagramState&)>;
    struct Case {
      const char* name;
      std::vector<Change> changes;
    };
    const auto ksi = [](double v) { return [v](tv::DiagramState& s) { s.ParamKsi = v; }; };
    const auto tick = [](int i, bool on) {
      return [i, on](tv::DiagramState& s) { s.CurveTicked[static_cast<std::size_t>(i)] = on; };
    };
    const auto text = [](const char* den) {
      return [den](tv::DiagramState& s) { s.DenText[1].Assign(den); };
    };
    // At Ksi 0.30 and 0.31 the gain of H2 crosses 0 dB twice, then not at all.
    const Case cases[] = {
        {"numbers only", {ksi(0.35), ksi(0.36)}},
        {"lines come and go", {ksi(0.31), ksi(0.3), ksi(0.31)}},
        {"one function changed, the others kept", {text("1+2*KSI*p+p^2"), ksi(0.4)}},
        {"a curve taken out and put back", {tick(1, false), tick(0, false), tick(1, true)}},
        {"nothing drawn, then all", {text("1+p+"), text("1+p")}},
    };
    const auto view = [](const Window& w) {
      return w.form->Measures()->findChild<tv::ui::ReadoutView*>(QStringLiteral("MeasuresView"));
    };
    const auto start = [](Window& w) {
      tv::scenes::ThreeFunctions(w.s);
      w.s.ShowMargins = 1;
    };
    for (const Case& c : cases) {
      Window w;
      start(w);
      w.form->Mesures1Click();
      view(w)->setFocusPolicy(Qt::NoFocus);  // a blinking caret, which a grab may catch or not
      view(w)->clearFocus();
      for (std::size_t k = 0; k < c.changes.size(); ++k) {
        c.changes[k](w.s);
        w.form->Redraw();
        Window fresh;
        start(fresh);
        for (std::size_t j = 0; j <= k; ++j) c.changes[j](fresh.s);
        fresh.form->Mesures1Click();
        view(fresh)->setFocusPolicy(Qt::NoFocus);
        view(fresh)->clearFocus();
        fresh.form->Redraw();
        QCOMPARE(w.Shown(), fresh.Shown());
        // What the window shows, painted only where the lines changed, is the
        // view painted anew.
        QCoreApplication::processEvents();
        QVERIFY2(view(w)->viewport()->grab().toImage() == view(fresh)->viewport()->grab().toImage(),
                 c.name);
        QWidget* viewport = view(w)->viewport();
        const QPoint at = viewport->mapTo(w.form->Measures(), QPoint(0, 0));
        const QImage shown = w.form->Measures()
                                 ->screen()
                                 ->grabWindow(w.form->Measures()->winId(), at.x(), at.y(),
                                              viewport->width(), viewport->height())
                                 .toImage();
        QVERIFY2(shown.convertToFormat(QImage::Format_RGB32) ==
                     viewport->grab().toImage().convertToFormat(QImage::Format_RGB32),
                 c.name);
      }
    }
  }

  void TuningSetsTheSelectedParameterOrSaysWhyNot() {
    Window w;
    w.form->Parameters()->RadioButton(1)->setChecked(true);  // K
    const int redraws = w.form->RedrawCount();
    w.form->Rglersur23dB1Click();
    QVERIFY(std::abs(w.s.ParamK - 2.5611747521942) < 1e-9);
    QCOMPARE(w.form->Parameters()->RadioButton(1)->text(), QStringLiteral("K = 2.561"));
    QCOMPARE(w.form->RedrawCount(), redraws + 1);
    QVERIFY(w.dialogs.Log.empty());

    w.s.NumText[0].Assign("4");  // K no longer changes the loop
    w.form->Rglersur23dB1Click();
    QCOMPARE(w.dialogs.Log.size(), std::size_t{1});
    QVERIFY(w.dialogs.Log[0].text.startsWith(QStringLiteral("Aucune valeur de K entre 0 et")));
  }

  void CursorReadsTheColumnInBodeAndTheNearestPointInBlack() {
    Window w;
    // Column 0 is the lowest displayed decade, 10^-1.
    const QString left = tv::ui::CursorValuesText(w.s, w.form->Target(), 30, 100);
    QVERIFY2(left.contains(QStringLiteral("w= 0.1 rad/s")), qPrintable(left));
    // 4/(1+0.1j)^3: 10 log10(16/1.01^3) dB, -3 atan 0.1.
    QVERIFY2(left.contains(QStringLiteral("H1 : 11.912 dB, -17.132°")), qPrintable(left));
    QVERIFY(
        tv::ui::CursorValuesText(w.s, w.form->Target(), 10, 100).isEmpty());  // left of the sweep

    w.form->BitBtn1Click();  // Black
    const tv::Curve h1 = tv::DrawnCurves(w.s).front();
    const std::optional<tv::ui::DrawnValue> v = tv::ui::DrawnValueAt(w.s, h1, 1.0);
    QVERIFY(v);
    const int x =
        w.form->Target().PlotWidth - 50 +
        static_cast<int>(std::lround((w.form->Target().PlotWidth - 80) * v->PhaseDeg / 360));
    const int y =
        w.form->Target().PlotHeight / 2 + 30 -
        static_cast<int>(std::lround((w.form->Target().PlotHeight - 100) * v->GainDb / 80));
    const QString black = tv::ui::CursorValuesText(w.s, w.form->Target(), x, y);
    // Samples lie less than a pixel apart there: the nearest is within 1 %.
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("H1 : w= ([0-9.]+) rad/s")).match(black);
    QVERIFY2(m.hasMatch(), qPrintable(black));
    QVERIFY2(std::abs(m.captured(1).toDouble() - 1) < 0.01, qPrintable(black));
  }

  void DrawnMarginsGoToTheirCurve() {
    using tv::MarginKind;
    const std::vector<tv::MarginRecord> found = {{1, MarginKind::Phase, 51.8, 0.786, false},
                                                 {2, MarginKind::Gain, 6.1, 1.739, false},
                                                 {4, MarginKind::Phase, 20, 3, true},
                                                 {1, MarginKind::Phase, -3, 9, false}};
    const tv::ui::DrawnMargins h1 = tv::ui::DrawnMarginsOf(found, 1, true);
    QCOMPARE(h1.PhaseMargins.size(), std::size_t{2});
    QCOMPARE(h1.PhaseMargins[1].Value, -3.0);
    QVERIFY(h1.GainMargins.empty());
    QCOMPARE(tv::ui::DrawnMarginsOf(found, 2, true).GainMargins.size(), std::size_t{1});
    QCOMPARE(tv::ui::DrawnMarginsOf(found, 4, true).PhaseMargins.front().W, 3.0);
  }
};

QTEST_MAIN(MeasuresWindowTest)
#include "measures_window_test.moc"
