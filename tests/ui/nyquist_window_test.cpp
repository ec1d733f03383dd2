// The Nyquist window: opened from the Analyse menu, following K while shown, the cursor's values,
// saved and printed.
#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>

#include "support/scripted_dialogs.h"
#include "ui/nyquist_window.h"
#include "ui/tform1.h"

using tv::ui::NyquistWindow;
using tv::ui::ScriptedDialogs;
using tv::ui::TForm1;

namespace {

struct Window {
  tv::DiagramState s;
  ScriptedDialogs dialogs;
  std::unique_ptr<TForm1> form;
  // The third-order example K/(1+p)^3 at K = 4.
  Window() {
    form = std::make_unique<TForm1>(s, dialogs);
    s.NumText[0].Assign("K");
    s.DenText[0].Assign("1+3*p+3*p^2+p^3");
    s.ParamK = 4;
    form->CheckBox1->setChecked(true);
    form->LieuNyquist1->trigger();
  }
  NyquistWindow& Nyquist() { return *form->Nyquist(); }
};

}  // namespace

class NyquistWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // Stepping K from 4 to 10 through 8: stable, at the limit, two poles on the right.
  void VerdictFollowsTheRedrawsWhileShown() {
    Window w;
    QVERIFY(w.Nyquist().isVisible());
    QVERIFY(w.Nyquist().Loci().Loop.Verdict.Stable());
    w.s.ParamK = 8;
    w.form->Redraw();
    QVERIFY(w.Nyquist().Loci().Loop.Verdict.LimitW.has_value());
    w.s.ParamK = 10;
    w.form->Redraw();
    QCOMPARE(w.Nyquist().Loci().Loop.Verdict.ClosedLoopRhp, 2);
    w.Nyquist().hide();
    const int hidden = w.Nyquist().RedrawCount();
    w.form->Redraw();
    QCOMPARE(w.Nyquist().RedrawCount(), hidden);
    w.s.DenText[0].Assign("1+*p");
    w.form->Redraw();
    w.Nyquist().ShowWindow();
    QCOMPARE(w.Nyquist().Loci().Outcome, tv::NyquistOutcome::Invalid);
  }

  // Over the point where the locus crosses the negative real axis (-0.5 at
  // w = sqrt(3)), the tooltip names it.
  void CursorReadsTheNearestPoint() {
    Window w;
    const tv::NyquistFrame& f = w.Nyquist().Frame();
    const tv::NyquistNearest n =
        tv::NearestPoints(w.Nyquist().Loci(), f, static_cast<int>(f.X(-0.5)),
                          static_cast<int>(f.Y(0.0)))
            .front();
    QVERIFY2(std::abs(std::abs(n.Point.W) - std::sqrt(3.0)) < 0.1,
             qPrintable(QString::number(n.Point.W)));
    QVERIFY(std::abs(n.Point.PhaseDeg) > 170 && std::abs(n.Point.PhaseDeg) < 190);
    QVERIFY(w.Nyquist().CursorText(0, 0).startsWith(QStringLiteral("<font")));
  }

  void SavesAndPrints() {
    Window w;
    QTemporaryDir dir;
    w.dialogs.FileAnswers = {dir.filePath(QStringLiteral("locus"))};
    w.Nyquist().SauverClick(".svg");
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("locus.svg"))).size() > 1000);
    QPrinter& printer = w.form->Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("nyquist.pdf")));
    w.dialogs.PrintAnswers = {true};
    w.dialogs.YesNoAnswers = {false};
    w.Nyquist().ImprimerClick();
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("nyquist.pdf"))).size() > 1000);
  }
};

QTEST_MAIN(NyquistWindowTest)
#include "nyquist_window_test.moc"
