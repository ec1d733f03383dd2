// Copied stamps against the painter: whole redraws and random drawings must come out pixel for
// pixel the same.
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QtTest>
#include <functional>
#include <type_traits>
#include <vector>

#include "core/diagram_state.h"
#include "core/headless_host.h"
#include "render/redraw.h"
#include "support/three_functions.h"
#include "output/painter_surface.h"
#include "output/qt_surface.h"

using tv::DiagramState;
using tv::PenStyle;
using tv::ui::PainterSurface;
using tv::ui::QtSurface;

namespace {

// The same drawing on the window's surface, which copies stamps, and on a
// painter surface over a picture of the same kind, which paints everything.
struct Pair {
  QtSurface fast;
  QImage referenceImage;
  PainterSurface reference;

  Pair(int w, int h)
      : fast(w, h),
        referenceImage(fast.Image().copy()),
        reference(referenceImage, 10, true, false) {}

  void Finish() {
    fast.Finish();
    reference.End();
  }
};

// The first differing pixel, for the failure message.
QString FirstDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return QStringLiteral("sizes differ");
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y))
        return QStringLiteral("(%1,%2): %3 instead of %4")
            .arg(x)
            .arg(y)
            .arg(a.pixel(x, y), 8, 16)
            .arg(b.pixel(x, y), 8, 16);
  return {};
}

using tv::scenes::ThreeFunctions;

// A scene, or a change of view: the document and where it is drawn.
using Setup = std::function<void(DiagramState&, tv::DrawTarget&)>;
using ViewChange = Setup;

// One state drawn on each surface of a pair, redrawn together.
struct Redraws {
  Pair pair{tv::scenes::kPlotWidth, tv::scenes::kPlotHeight};
  DiagramState fast, reference;
  tv::DrawTarget fastTarget, referenceTarget;
  tv::FrameResult fastFrame, referenceFrame;
  tv::HeadlessHost fastHost, referenceHost;

  explicit Redraws(const Setup& setup) {
    Prepare(fast, fastTarget, fastHost, pair.fast, setup);
    Prepare(reference, referenceTarget, referenceHost, pair.reference, setup);
  }
  static void Prepare(DiagramState& s, tv::DrawTarget& t, tv::HeadlessHost& host,
                      tv::PlotSurface& surface, const Setup& setup) {
    t = tv::scenes::OnSurface(s, host, surface);
    setup(s, t);
  }
  // Changes both states alike, then redraws both.
  template <class Change>
  bool Both(Change change) {
    if constexpr (std::is_invocable_v<Change, DiagramState&, tv::DrawTarget&>) {
      change(fast, fastTarget);
      change(reference, referenceTarget);
    } else {
      change(fast);
      change(reference);
    }
    const bool a = tv::RedrawDiagram(fast, fastTarget, fastFrame);
    const bool b = tv::RedrawDiagram(reference, referenceTarget, referenceFrame);
    return a && b;
  }
};

// One random drawing: many short lines as sweeps and ticks make them, some
// long ones, some reaching past the edges, texts among them, pens changing.
void RandomDrawing(tv::PlotSurface& s, quint32 seed, int w, int h, bool texts) {
  QRandomGenerator rng(seed);
  const tv::Rgb colours[] = {{0, 0, 255}, {255, 0, 0}, {128, 0, 128}, {0, 0, 0}, {0, 128, 0}};
  const char* words[] = {"10E-3", "0.01", "-180", "MP=45.2", "w", "log w", "H1=", "d\351cal\351"};
  for (int i = 0; i < 6000; ++i) {
    if (rng.bounded(7) == 0) {
      s.SetColour(colours[rng.bounded(5)]);
      s.SetPen(rng.bounded(2) ? PenStyle::Dotted : PenStyle::Solid,
               1 + static_cast<int>(rng.bounded(4)));
    }
    const int kind = static_cast<int>(rng.bounded(20));
    if (texts && kind == 0) {
      s.TextOut(static_cast<int>(rng.bounded(w + 40)) - 20,
                static_cast<int>(rng.bounded(h + 20)) - 10, words[rng.bounded(8)]);
      continue;
    }
    const int x = static_cast<int>(rng.bounded(w + 20)) - 10;
    const int y = static_cast<int>(rng.bounded(h + 20)) - 10;
    int dx, dy;
    if (kind < 14) {  // a sweep step
      dx = static_cast<int>(rng.bounded(3));
      dy = static_cast<int>(rng.bounded(41)) - 20;
    } else if (kind < 18) {  // a tick, a marker, a contour piece
      dx = static_cast<int>(rng.bounded(121)) - 60;
      dy = static_cast<int>(rng.bounded(121)) - 60;
    } else {  // a grid line or a jump
      dx = static_cast<int>(rng.bounded(2 * w)) - w;
      dy = static_cast<int>(rng.bounded(2 * h)) - h;
    }
    s.MoveTo(x, y);
    s.LineTo(x + dx, y + dy);
  }
}

// Random runs as the sweeps hand them over: pens, colours, short segments,
// some long or wholly off the picture or far beyond it. The fast surface
// gets them as runs; the reference the same calls one by one. fills: 1, a
// white fill of the whole picture now and then between runs; 2, one at the
// very end, which only the painting's end makes.
void RandomRuns(Pair& pair, quint32 seed, int w, int h, int fills) {
  QRandomGenerator rng(seed);
  std::vector<tv::DrawStep> run;
  const auto handOver = [&] {
    pair.fast.DrawRun(run);
    for (const tv::DrawStep& s : run) {
      if (s.What == tv::DrawStep::Kind::Pen) pair.reference.SetPen(PenStyle(s.R), s.X1);
      if (s.What == tv::DrawStep::Kind::Colour) pair.reference.SetColour({s.R, s.G, s.B});
      if (s.What == tv::DrawStep::Kind::Segment) {
        pair.reference.MoveTo(s.X1, s.Y1);
        pair.reference.LineTo(s.X2, s.Y2);
      }
    }
    run.clear();
  };
  const auto fillAll = [&] {
    handOver();
    pair.fast.FillWhite(-1, 0, w + 1, h + 3);
    pair.reference.FillWhite(-1, 0, w + 1, h + 3);
  };
  const auto coordinate = [&](int size) {
    const int far = rng.bounded(40) == 0 ? 20000 : 0;
    return static_cast<int>(rng.bounded(size + 40)) - 20 + (rng.bounded(2) ? far : -far);
  };
  for (int i = 0; i < 6000; ++i) {
    if (fills == 1 && rng.bounded(2000) == 0) fillAll();
    tv::DrawStep step;
    const int kind = static_cast<int>(rng.bounded(12));
    if (kind == 0) {
      step.What = tv::DrawStep::Kind::Pen;
      step.R = rng.bounded(2) ? 2 : 0;
      step.X1 = 1 + static_cast<int>(rng.bounded(3));
    } else if (kind == 1) {
      step.What = tv::DrawStep::Kind::Colour;
      step.R = static_cast<std::uint8_t>(rng.bounded(2) * 255);
      step.B = static_cast<std::uint8_t>(rng.bounded(3) * 127);
    } else {
      step.X1 = coordinate(w);
      step.Y1 = coordinate(h);
      const int reach = kind < 10 ? 20 : 2 * w;
      step.X2 = step.X1 + static_cast<int>(rng.bounded(2 * reach + 1)) - reach;
      step.Y2 = step.Y1 + static_cast<int>(rng.bounded(2 * reach + 1)) - reach;
    }
    run.push_back(step);
    if (rng.bounded(400) == 0) handOver();
  }
  if (fills == 2) fillAll();
  handOver();
}

}  // namespace

class PixelStampsTest : public QObject {
  Q_OBJECT

 private slots:
  void RedrawsAreThePaintersPixels_data() {
    QTest::addColumn<Setup>("setup");
    QTest::newRow("first order H1, defaults") << Setup([](DiagramState& s, tv::DrawTarget&) {
      s.DenText[0].Assign("1+p");
      s.CurveTicked[0] = true;
    });
    QTest::newRow("Bode, three functions, margins") << Setup([](DiagramState& s, tv::DrawTarget&) {
      ThreeFunctions(s);
      s.ShowMargins = 1;
    });
    QTest::newRow("Bode, phase only") << Setup([](DiagramState& s, tv::DrawTarget&) {
      ThreeFunctions(s);
      s.BodeMode = 1;
    });
    QTest::newRow("Black, decades -6 to 5, margins") << Setup([](DiagramState& s, tv::DrawTarget&) {
      ThreeFunctions(s);
      s.BlackView = 1;
      s.DecadeMin = -6;
      s.DecadeMax = 5;
      s.ShowMargins = 1;
    });
    QTest::newRow("Bode, measured points") << Setup([](DiagramState& s, tv::DrawTarget&) {
      ThreeFunctions(s);
      s.PointCount = 20;
      for (int i = 0; i < s.PointCount; ++i)
        s.MeasuredPoints[static_cast<std::size_t>(i)] = {0.05 * (i + 1) * (i + 1), 20.0 - 3.5 * i,
                                                         -7.5 * i};
    });
    QTest::newRow("wide pens, black, shifted origin")
        << Setup([](DiagramState& s, tv::DrawTarget& t) {
             ThreeFunctions(s);
             s.ShowMargins = 1;
             t.ForceBlack = 1;
             t.OriginX = 7;
             t.OriginY = 3;
             t.CurvePenWidth = 4;
             t.FramePenWidth = 3;
           });
  }

  void RedrawsAreThePaintersPixels() {
    QFETCH(Setup, setup);
    Redraws redraws(setup);
    // Twice: the second redraw copies what the first took.
    for (int round = 0; round < 2; ++round) {
      QVERIFY(redraws.Both([](DiagramState& s) { s.ParamKsi += 0.01; }));
    }
    redraws.pair.Finish();
    QVERIFY(redraws.pair.fast.Stamps()->Copied() > 0);
    QVERIFY2(redraws.pair.fast.Image() == redraws.pair.referenceImage,
             qPrintable(FirstDifference(redraws.pair.fast.Image(), redraws.pair.referenceImage)));
  }

  void SpinStepsAreThePaintersPixels_data() {
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<int>("parameter");  // 0: Ksi, 1: K, 2: W
    QTest::addColumn<int>("minCopiedPerStep");
    QTest::newRow("Bode, Ksi held down") << Setup([](DiagramState& s, tv::DrawTarget&) {
      ThreeFunctions(s);
      s.ShowMargins = 1;
    }) << 0 << 5000;
    QTest::newRow("Bode, W held down") << Setup([](DiagramState& s, tv::DrawTarget&) {
      ThreeFunctions(s);
      s.ShowMargins = 1;
    }) << 2 << 5000;
    QTest::newRow("Black, K held down") << Setup([](DiagramState& s, tv::DrawTarget&) {
      ThreeFunctions(s);
      s.BlackView = 1;
      s.ShowMargins = 1;
    }) << 1 << 2000;
  }

  void SpinStepsAreThePaintersPixels() {
    // Every picture while an arrow is held: each step reuses the stamps of
    // the steps before at new places.
    QFETCH(Setup, setup);
    QFETCH(int, parameter);
    QFETCH(int, minCopiedPerStep);
    Redraws redraws(setup);
    for (int step = 0; step < 25; ++step) {
      QVERIFY(redraws.Both([parameter](DiagramState& s) {
        if (parameter == 0) s.ParamKsi *= 1.15;
        if (parameter == 1) s.ParamK *= 1.3;
        if (parameter == 2) s.ParamW *= 1.2;
      }));
      redraws.pair.Finish();
      QVERIFY2(redraws.pair.fast.Image() == redraws.pair.referenceImage,
               qPrintable(QStringLiteral("step %1: ").arg(step) +
                          FirstDifference(redraws.pair.fast.Image(), redraws.pair.referenceImage)));
    }
    QVERIFY(redraws.pair.fast.Stamps()->Copied() > 25 * minCopiedPerStep);
  }

  void KeptFramesAreThePaintersPixels_data() {
    QTest::addColumn<Setup>("setup");
    // Changes the view after the frame was kept, and back: the picture must
    // leave the kept frame for the new one, then come back to it.
    QTest::addColumn<ViewChange>("viewChange");
    QTest::newRow("Bode, margins, decades") << Setup([](DiagramState& s, tv::DrawTarget&) {
      ThreeFunctions(s);
      s.ShowMargins = 1;
    }) << ViewChange([](DiagramState& s, tv::DrawTarget&) { s.DecadeMax += 1; });
    QTest::newRow("Bode, gain only, gain range") << Setup([](DiagramState& s, tv::DrawTarget&) {
      ThreeFunctions(s);
      s.BodeMode = 0;
    }) << ViewChange([](DiagramState& s, tv::DrawTarget&) { s.GainMaxDb += 20; });
    QTest::newRow("Bode, phase only, to gain and phase")
        << Setup([](DiagramState& s, tv::DrawTarget&) {
             ThreeFunctions(s);
             s.BodeMode = 1;
           })
        << ViewChange([](DiagramState& s, tv::DrawTarget&) { s.BodeMode = 2; });
    QTest::newRow("Black, margins, to the chart") << Setup([](DiagramState& s, tv::DrawTarget&) {
      ThreeFunctions(s);
      s.BlackView = 1;
      s.ShowMargins = 1;
    }) << ViewChange([](DiagramState& s, tv::DrawTarget&) { s.ShowNicholsChart = 1; });
    QTest::newRow("Black, wide pens, black, shifted origin")
        << Setup([](DiagramState& s, tv::DrawTarget& t) {
             ThreeFunctions(s);
             s.BlackView = 1;
             t.ForceBlack = 1;
             t.OriginX = 7;
             t.OriginY = 3;
             t.FramePenWidth = 3;
           })
        << ViewChange([](DiagramState&, tv::DrawTarget& t) { t.OriginY = 9; });
    QTest::newRow("Bode, to the Black view") << Setup([](DiagramState& s, tv::DrawTarget&) {
      ThreeFunctions(s);
      s.ShowMargins = 1;
    }) << ViewChange([](DiagramState& s, tv::DrawTarget&) { s.BlackView = 1; });
  }

  void KeptFramesAreThePaintersPixels() {
    // The frame is kept at its second drawing and copied from then on; the
    // curves, margins and legends go over it at every step.
    QFETCH(Setup, setup);
    QFETCH(ViewChange, viewChange);
    Redraws redraws(setup);
    const auto step = [&](int n, const ViewChange& change) {
      QVERIFY(redraws.Both([&](DiagramState& s, tv::DrawTarget& t) {
        s.ParamKsi *= 1.15;
        s.ParamK *= 1.1;
        if (change) change(s, t);
      }));
      redraws.pair.Finish();
      QVERIFY2(redraws.pair.fast.Image() == redraws.pair.referenceImage,
               qPrintable(QStringLiteral("step %1: ").arg(n) +
                          FirstDifference(redraws.pair.fast.Image(), redraws.pair.referenceImage)));
    };
    for (int n = 0; n < 4; ++n) step(n, {});
    const int copied = redraws.pair.fast.FramesCopied();
    QVERIFY(copied > 0);
    const DiagramState before = redraws.fast;
    const tv::DrawTarget targetBefore = redraws.fastTarget;
    step(4, viewChange);
    QCOMPARE(redraws.pair.fast.FramesCopied(), copied);
    step(5, [&](DiagramState& s, tv::DrawTarget& t) {
      s.DecadeMin = before.DecadeMin;
      s.DecadeMax = before.DecadeMax;
      s.GainMaxDb = before.GainMaxDb;
      s.BodeMode = before.BodeMode;
      s.BlackView = before.BlackView;
      s.ShowNicholsChart = before.ShowNicholsChart;
      t.OriginY = targetBefore.OriginY;
    });
    step(6, {});
    step(7, {});
    QVERIFY(redraws.pair.fast.FramesCopied() > copied);
  }

  void RandomDrawingsAreThePaintersPixels_data() {
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("texts");
    QTest::addColumn<int>("minCopied");
    // The same drawing three times: what the edges clip and the long lines
    // are copied at their own places from the third.
    QTest::addColumn<bool>("inPlace");
    QTest::newRow("lines, window size") << 1u << 1134 << 678 << false << 5000 << false;
    QTest::newRow("lines and texts, window size") << 2u << 1134 << 678 << true << 5000 << false;
    QTest::newRow("small picture, mostly edges") << 3u << 90 << 60 << true << 100 << false;
    // Everything lies near an edge: all painted.
    QTest::newRow("narrow strip") << 4u << 1134 << 12 << true << 0 << false;
    QTest::newRow("narrow strip, in place") << 5u << 1134 << 12 << true << 3000 << true;
    QTest::newRow("small picture, in place") << 6u << 90 << 60 << false << 8000 << true;
  }

  void RandomDrawingsAreThePaintersPixels() {
    QFETCH(quint32, seed);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, texts);
    QFETCH(int, minCopied);
    QFETCH(bool, inPlace);
    Pair pair(width, height);
    // Twice over the same surfaces: the second pass copies nearly all.
    for (int pass = 0; pass < (inPlace ? 3 : 2); ++pass) {
      const quint32 drawing = inPlace ? seed : seed + 100 * pass;
      RandomDrawing(pair.fast, drawing, width, height, texts);
      RandomDrawing(pair.reference, drawing, width, height, texts);
    }
    pair.Finish();
    QVERIFY(pair.fast.Stamps()->Copied() >= minCopied);
    QVERIFY2(pair.fast.Image() == pair.referenceImage,
             qPrintable(FirstDifference(pair.fast.Image(), pair.referenceImage)));
  }

  void RunsAreThePaintersPixels_data() {
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("fills");
    QTest::newRow("runs, window size") << 11u << 1134 << 678 << 0;
    QTest::newRow("runs between fills of the picture") << 12u << 1134 << 678 << 1;
    QTest::newRow("a fill of the picture last") << 13u << 300 << 200 << 2;
    QTest::newRow("runs on a small picture") << 14u << 90 << 60 << 1;
  }

  void RunsAreThePaintersPixels() {
    QFETCH(quint32, seed);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, fills);
    Pair pair(width, height);
    // The second pass copies what the first took.
    for (int pass = 0; pass < 2; ++pass) RandomRuns(pair, seed, width, height, fills);
    pair.Finish();
    QVERIFY2(pair.fast.Image() == pair.referenceImage,
             qPrintable(FirstDifference(pair.fast.Image(), pair.referenceImage)));
  }

  void StampsAreKeptPerMagnitudeOfThePlace() {
    // The painter rounds this short dotted segment of a 4-pixel pen one way
    // below y = 256 and another way above: a stamp taken at one place must
    // not be copied at the other.
    Pair pair(1134, 678);
    for (auto* s : {static_cast<tv::PlotSurface*>(&pair.fast),
                    static_cast<tv::PlotSurface*>(&pair.reference)}) {
      s->SetColour({255, 0, 0});
      s->SetPen(PenStyle::Dotted, 4);
      for (int y = 20; y < 660; y += 12) {
        for (int x : {20, 300, 700, 1000}) {
          s->MoveTo(x, y);
          s->LineTo(x + 2, y - 4);
        }
      }
    }
    pair.Finish();
    QVERIFY(pair.fast.Stamps()->Copied() > 150);
    QVERIFY2(pair.fast.Image() == pair.referenceImage,
             qPrintable(FirstDifference(pair.fast.Image(), pair.referenceImage)));
  }

  void TextsAreCopiedFromTheirSecondShowingAtAPlace() {
    // Labels stand where they stood in the redraw before; a margin's value
    // changes with every step and is painted, never taken.
    QtSurface s(200, 100);
    s.SetColour({0, 0, 255});
    const tv::ui::PixelStamps& stamps = *s.Stamps();
    struct Showing {
      int x, y;
      const char* text;
      int taken, copied;
    };
    const Showing showings[] = {
        {50, 40, "MP=45.2", 0, 0},  // first showing: painted
        {50, 40, "MP=45.2", 1, 1},  // second: taken and copied
        {50, 40, "MP=45.2", 1, 2},  // then copied
        {50, 40, "MP=46.0", 1, 2},  // another value at the place
        {51, 40, "MP=45.2", 1, 2},  // the same value elsewhere
    };
    for (const Showing& sh : showings) {
      s.TextOut(sh.x, sh.y, sh.text);
      QCOMPARE(stamps.Taken(), sh.taken);
      QCOMPARE(stamps.Copied(), sh.copied);
    }
  }

  void OnlyThePictureSurfaceStamps() {
    // A printer page or an SVG is drawn call by call; so is a picture
    // whose pixels are not 32-bit.
    QImage gray(50, 50, QImage::Format_Grayscale8);
    PainterSurface plain(gray, 10, true, true);
    QVERIFY(plain.Stamps() == nullptr);
    QImage rgb(50, 50, QImage::Format_RGB32);
    PainterSurface unasked(rgb, 10, true, false);
    QVERIFY(unasked.Stamps() == nullptr);
  }

  void LineClippedAtTheEdgeIsWholeInAWiderPicture() {
    // Kept for its place in a picture that cut it off: a wider picture (the
    // window resized) shows the rest of it.
    QtSurface s(100, 40);
    const auto draw = [&s] {
      s.SetColour({0, 0, 0});
      s.SetPen(PenStyle::Solid, 2);
      s.MoveTo(20, 20);
      s.LineTo(130, 22);
    };
    for (int n = 0; n < 3; ++n) draw();
    s.Resize(160, 40);
    draw();
    s.Finish();
    QVERIFY(s.Stamps()->Copied() > 0);
    QCOMPARE(s.Image().pixel(120, 21) & 0xffffff, 0u);
  }

  void PictureSharedWithACopyIsNotWrittenThrough() {
    // A copy handed out (the clipboard, a saved picture) keeps its pixels
    // when the surface draws on afterwards.
    QtSurface s(60, 30);
    s.SetColour({0, 0, 0});
    s.SetPen(PenStyle::Solid, 1);
    s.MoveTo(5, 5);
    s.LineTo(6, 9);
    s.Finish();
    const QImage copy = s.Image();
    s.MoveTo(20, 5);
    s.LineTo(21, 9);
    s.MoveTo(5, 15);
    s.LineTo(6, 19);
    s.Finish();
    QCOMPARE(copy.pixel(20, 6) & 0xffffff, 0xffffffu);
    QCOMPARE(s.Image().pixel(20, 6) & 0xffffff, 0u);
    QCOMPARE(copy.pixel(5, 5) & 0xffffff, 0u);
  }
};

QTEST_MAIN(PixelStampsTest)
#include "pixel_stamps_test.moc"
