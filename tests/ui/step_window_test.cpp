// The time-response window: opened from the menu, told of every redraw only while shown, following
// Ksi.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "support/scripted_dialogs.h"
#include "output/step_output.h"
#include "ui/step_window.h"
#include "ui/tform1.h"

using tv::ui::ScriptedDialogs;
using tv::ui::StepWindow;
using tv::ui::TForm1;

namespace {

struct Window {
  tv::DiagramState s;
  ScriptedDialogs dialogs;
  std::unique_ptr<TForm1> form;
  // The second-order example: 1/(1+2ξp/W+p²/W²), W = 10, ξ = 0.2.
  Window() {
    form = std::make_unique<TForm1>(s, dialogs);
    s.NumText[0].Assign("1");
    s.DenText[0].Assign("1+2*KSI*p/W+p^2/W^2");
    s.ParamW = 10;
    s.ParamKsi = 0.2;
    form->CheckBox1->setChecked(true);
  }
  StepWindow& Step() { return *form->StepResponseWindow(); }
};

}  // namespace

class StepWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void OpensFromTheMenuWithTheLoopClosed() {
    Window w;
    QVERIFY(!w.Step().isVisible());
    w.form->Rponsetemporelletrac1->trigger();
    QVERIFY(w.Step().isVisible());
    QCOMPARE(w.Step().windowTitle(), QStringLiteral("Réponse temporelle"));
    QCOMPARE(w.Step().BoucleFermee->text(), QStringLiteral("Boucle fermée (retour unitaire)"));
    QVERIFY(w.Step().BoucleFermee->isChecked());
    QCOMPARE(w.Step().Response().Outcome, tv::StepOutcome::Drawn);
    // 1/(1+2ξp/W+p²/W²) closed by unit feedback settles at one half.
    QCOMPARE(w.Step().Response().Readouts.FinalValue, 0.5);
  }

  // A redraw computes the response again only when something it reads
  // changed; it is drawn again in every case.
  void ComputedAgainOnlyWhenWhatItReadsChanged() {
    const struct {
      const char* name;
      std::function<void(Window&)> change;
      bool computed;
    } cases[] = {
        {"nothing", [](Window&) {}, false},
        {"a parameter only H2 reads, H2 not ticked", [](Window& w) { w.s.ParamT = 3; }, false},
        {"Ksi, which H1 reads", [](Window& w) { w.s.ParamKsi = 0.3; }, true},
        {"H2 ticked", [](Window& w) { w.form->CheckBox2->setChecked(true); }, true},
        {"the input", [](Window& w) { w.Step().Entree->setCurrentIndex(1); }, true},
    };
    for (const auto& c : cases) {
      Window w;
      w.s.NumText[1].Assign("T");
      w.s.DenText[1].Assign("1+p");
      w.Step().ShowWindow();
      w.form->Redraw();
      const int computed = w.Step().ComputeCount();
      const int drawn = w.Step().RedrawCount();
      c.change(w);
      w.form->Redraw();
      QVERIFY2((w.Step().ComputeCount() > computed) == c.computed, c.name);
      QVERIFY2(w.Step().RedrawCount() > drawn, c.name);
      const tv::InputResponse fresh = tv::ComputeInputResponse(
          w.s, w.Step().AskedInput(), w.Step().BoucleFermee->isChecked(), 0);
      QVERIFY2(fresh.Samples.Y == w.Step().Response().Y, c.name);
    }
  }

  void ListensOnlyWhileShown() {
    Window w;
    const int closed = w.Step().RedrawCount();
    w.form->Redraw();
    QCOMPARE(w.Step().RedrawCount(), closed);
    w.Step().ShowWindow();
    const int shown = w.Step().RedrawCount();
    w.form->Redraw();
    QCOMPARE(w.Step().RedrawCount(), shown + 1);
    w.Step().hide();
    w.form->Redraw();
    QCOMPARE(w.Step().RedrawCount(), shown + 1);
  }

  // The Ksi arrow held: each step's redraw gives a smaller overshoot.
  void OvershootShrinksAsKsiGrows() {
    Window w;
    w.Step().ShowWindow();
    double previous = w.Step().Response().Readouts.OvershootPercent;
    for (int k = 0; k < 5; ++k) {
      w.s.ParamKsi += 0.1;
      w.form->Redraw();
      const double now = w.Step().Response().Readouts.OvershootPercent;
      QVERIFY2(now < previous, qPrintable(QString::number(now)));
      previous = now;
    }
  }

  void RefusedRedrawSaysSoInsteadOfACurve() {
    Window w;
    w.Step().ShowWindow();
    w.s.DenText[0].Assign("1+*p");
    w.form->Redraw();
    QCOMPARE(w.Step().Response().Outcome, tv::StepOutcome::Invalid);
    QVERIFY(w.Step().Response().Y.empty());
  }

  void TMaxFieldOverridesTheSpan() {
    Window w;
    w.Step().ShowWindow();
    w.Step().TMax->setText(QStringLiteral("2,5"));
    QCOMPARE(w.Step().Response().TMax, 2.5);
    w.Step().TMax->setText(QString());
    QVERIFY(w.Step().Response().TMax != 2.5);
  }

  // "Entrée :" switches the samples to the impulse response, the window's
  // CSV entry writes them, and the main window's writes the curves.
  void InputChoiceAndSamplesAsCsv() {
    Window w;
    w.Step().ShowWindow();
    const std::vector<double> slope = w.Step().Response().Slope;
    w.Step().Entree->setCurrentIndex(2);
    QCOMPARE(w.Step().InputResult().Input, tv::InputKind::Impulse);
    // The impulse response is the step's slope, sample for sample.
    QCOMPARE(w.Step().Response().Y.size(), slope.size());
    for (std::size_t k = 0; k < slope.size(); ++k)
      QVERIFY(std::abs(w.Step().Response().Y[k] - slope[k]) < 1e-9);
    QVERIFY(w.Step().InputResult().HasPeak);
    QTemporaryDir dir;
    w.dialogs.FileAnswers = {dir.filePath(QStringLiteral("impulse")),
                             dir.filePath(QStringLiteral("curves.csv"))};
    w.Step().EnregistrerEchantillons->trigger();
    QFile samples(dir.filePath(QStringLiteral("impulse.csv")));
    QVERIFY(samples.open(QIODevice::ReadOnly));
    QCOMPARE(samples.readLine(), QByteArray("t,y\n"));
    QCOMPARE(samples.readAll().count('\n'), static_cast<qsizetype>(w.Step().Response().T.size()));
    w.form->ExporterlescourbesCSV1->trigger();
    QFile curves(dir.filePath(QStringLiteral("curves.csv")));
    QVERIFY(curves.open(QIODevice::ReadOnly));
    QCOMPARE(curves.readLine(), QByteArray("w,H1_gain_db,H1_phase_deg\n"));
  }

  // Printed through Imprimer's page layout: black, and the window drawn again after.
  void PrintsThroughThePageLayout() {
    Window w;
    w.Step().ShowWindow();
    QTemporaryDir dir;
    QPrinter& printer = w.form->Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("step.pdf")));
    w.dialogs.PrintAnswers = {true};
    w.dialogs.YesNoAnswers = {false};
    const int before = w.Step().RedrawCount();
    w.Step().ImprimerClick();
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("step.pdf"))).size() > 1000);
    QCOMPARE(w.Step().RedrawCount(), before + 1);
    QCOMPARE(w.Step().Image().size(), QSize(tv::ui::kStepPictureWidth, tv::ui::kStepPictureHeight));
  }
};

QTEST_MAIN(StepWindowTest)
#include "step_window_test.moc"
