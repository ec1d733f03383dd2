// The locus window: opened from Analyse, kept while the selected parameter is stepped, computed
// anew when anything else changes, a click setting the parameter for every window.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <cmath>
#include <memory>
#include <vector>

#include "output/painter_surface.h"
#include "output/qt_surface.h"
#include "render/locus_view.h"
#include "render/step_view.h"
#include "support/scripted_dialogs.h"
#include "ui/locus_window.h"
#include "ui/parameter_controls.h"
#include "ui/readout_lines.h"
#include "ui/tform1.h"

using tv::ui::LocusWindow;
using tv::ui::ScriptedDialogs;
using tv::ui::TForm1;

namespace {

// K/(1+p)^3 with K = 4 selected on the panel: unstable beyond K = 8.
struct Window {
  tv::DiagramState s;
  ScriptedDialogs dialogs;
  std::unique_ptr<TForm1> form;
  Window() {
    form = std::make_unique<TForm1>(s, dialogs);
    s.NumText[0].Assign("K");
    s.DenText[0].Assign("1+3*p+3*p^2+p^3");
    s.ParamK = 4;
    form->CheckBox1->setChecked(true);
    form->Parameters()->RefreshParameterAvailability();
    form->Parameters()->RadioButton(1)->setChecked(true);  // K
  }
  LocusWindow& Locus() { return *form->PoleLocusWindow(); }
};

}  // namespace

class LocusWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // The read-outs look and measure as a selectable label of the same text
  // would, text after text, though they rewrite only the lines that changed.
  void ReadoutsShownAsALabel() {
    Window w;
    w.form->Lieudesples1->trigger();
    tv::ui::ReadoutLines& readouts = *w.Locus().Readouts;
    const QString wide(60, u'8');
    const struct {
      const char* name;
      QString text;
    } cases[] = {
        {"three narrow lines", QStringLiteral("K = 4\n\n-2.587")},
        {"wider than the minimum", wide + QStringLiteral("\n\n-2.5")},
        {"one more line", QStringLiteral("K = 1\n\n1\nStable pour 0 <= K < 8")},
        {"one line, wide", wide + wide},
        {"lines put before", QStringLiteral("a\nb\n") + wide + wide},
    };
    for (const auto& c : cases) {
      readouts.setText(c.text);
      QLabel label(c.text);
      label.setFont(readouts.font());
      label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label.setTextInteractionFlags(Qt::TextSelectableByMouse);
      label.setMinimumWidth(readouts.minimumWidth());
      label.setContentsMargins(readouts.Margins());
      QVERIFY2(readouts.sizeHint() == label.sizeHint(), c.name);
      QVERIFY2(readouts.minimumSizeHint() == label.minimumSizeHint(), c.name);
      const QSize size = label.sizeHint() + QSize(20, 30);
      label.resize(size);
      readouts.resize(size);
      // Over the window's background, whatever the format each is grabbed in.
      const auto shown = [](QWidget& widget) {
        return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
      };
      QVERIFY2(shown(readouts) == shown(label), c.name);
    }
  }

  void OpensFromAnalyseOverTheDefaultRange() {
    Window w;
    QVERIFY(!w.Locus().isVisible());
    w.form->Lieudesples1->trigger();
    QVERIFY(w.Locus().isVisible());
    QCOMPARE(w.Locus().windowTitle(), QStringLiteral("Lieu des pôles en boucle fermée"));
    QCOMPARE(w.Locus().From->text(), QStringLiteral("0"));
    QCOMPARE(w.Locus().To->text(), QStringLiteral("400"));
    QVERIFY2(w.Locus().Readouts->text().contains(QStringLiteral("Stable pour 0 <= K < 8")),
             qPrintable(w.Locus().Readouts->text()));
    // The current poles are drawn in black over the white picture.
    const tv::LocusFrame& f = w.Locus().Frame();
    const auto pole = w.Locus().Poles().Closed.back();
    QCOMPARE(w.Locus().Image().pixelColor(static_cast<int>(std::lround(f.X(pole.real()))),
                                          static_cast<int>(std::lround(f.Y(pole.imag())))),
             QColor(Qt::black));
  }

  void AStepMovesThePolesOnlyAnythingElseRecomputes() {
    Window w;
    w.Locus().ShowWindow();
    const int computed = w.Locus().LocusCount();
    const double before = w.Locus().Poles().Closed.back().real();
    w.form->Parameters()->StepSelectedParameter(1);
    QCOMPARE(w.Locus().LocusCount(), computed);
    QCOMPARE(w.Locus().Poles().Value, 5.0);
    QVERIFY(w.Locus().Poles().Closed.back().real() < before);
    QCOMPARE(w.Locus().To->text(), QStringLiteral("400"));
    w.s.DenText[0].Assign("1+2*p+p^2");
    w.form->Redraw();
    QCOMPARE(w.Locus().LocusCount(), computed + 1);
    w.Locus().To->setText(QStringLiteral("50"));
    emit w.Locus().To->editingFinished();
    QCOMPARE(w.Locus().LocusCount(), computed + 2);
    QCOMPARE(w.Locus().CurrentLocus().To, 50.0);
  }

  // A step puts the base back only where the last markers were: the picture
  // shown is the base drawn anew with the markers over it, step after step.
  void SteppedPictureIsTheBaseWithTheMarkers() {
    const struct {
      const char* name;
      const char* den;  // H1's denominator, over K
      tv::Parameter stepped;
      std::vector<double> values;
    } cases[] = {
        {"back and forth, unstable", nullptr, tv::Parameter::K, {5, 4, 12, 4}},
        {"out of the picture and back", nullptr, tv::Parameter::K, {399, 0.5, 4}},
        // T moves the open-loop poles' crosses too.
        {"open-loop poles moved", "1+3*T*p+3*T^2*p^2+T^3*p^3", tv::Parameter::T, {1.2, 0.7, 1}},
    };
    for (const auto& c : cases) {
      Window w;
      if (c.den) {
        w.s.DenText[0].Assign(c.den);
        w.s.ParamT = 1;
        w.form->Parameters()->RefreshParameterAvailability();
        w.form->Parameters()->RadioButton(3)->setChecked(true);  // T
      }
      w.Locus().ShowWindow();
      for (double k : c.values) {
        w.form->Parameters()->SetParameterValue(c.stepped, k);
        const QImage& shown = w.Locus().Image();
        tv::ui::QtSurface base(shown.width(), shown.height());
        tv::DrawTarget picture{.DrawCanvas = &base,
                               .ScreenCanvas = &base,
                               .PlotWidth = shown.width(),
                               .PlotHeight = shown.height(),
                               .CurvePenWidth = 2,
                               .FramePenWidth = 1};
        const LocusWindow& l = w.Locus();
        tv::DrawLocusBase(picture, l.CurrentLocus(), l.Frame(), tv::StepCaption(w.s, true));
        base.Finish();
        QImage expected = base.Image().copy();
        tv::ui::PainterSurface markers(expected, 10);
        picture.DrawCanvas = picture.ScreenCanvas = &markers;
        tv::DrawLocusMarkers(picture, l.CurrentLocus(), l.Frame(), l.Poles());
        markers.End();
        QVERIFY2(shown == expected, qPrintable(QStringLiteral("%1, at %2").arg(c.name).arg(k)));
      }
    }
  }

  // A click on the crossing sets K near 8 and redraws the main picture; a
  // click left of the open-loop pole gives a K that is not below 0.
  void AClickSetsTheParameter() {
    Window w;
    w.Locus().ShowWindow();
    const tv::LocusFrame& f = w.Locus().Frame();
    const int redraws = w.form->RedrawCount();
    QVERIFY(w.Locus().ClickAt(static_cast<int>(std::lround(f.X(0))),
                              static_cast<int>(std::lround(f.Y(std::sqrt(3.0))))));
    QVERIFY2(std::abs(w.s.ParamK - 8) < 0.1, qPrintable(QString::number(w.s.ParamK)));
    QCOMPARE(w.form->RedrawCount(), redraws + 1);
    QVERIFY(w.Locus().ClickAt(static_cast<int>(std::lround(f.X(-1.3))),
                              static_cast<int>(std::lround(f.Y(0)))));
    QVERIFY(w.s.ParamK >= 0 && w.s.ParamK < 0.1);
  }

  void NoParameterInTheTextsIsSaid() {
    Window w;
    w.s.NumText[0].Assign("2");
    w.form->Redraw();
    w.Locus().ShowWindow();
    QCOMPARE(w.Locus().CurrentLocus().Outcome, tv::LocusOutcome::Unused);
    QVERIFY(w.Locus().Readouts->text().contains(
        QStringLiteral("K n'apparaît dans aucune fonction cochée")));
  }
};

QTEST_MAIN(LocusWindowTest)
#include "locus_window_test.moc"
