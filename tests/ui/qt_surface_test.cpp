// The Qt surface: pixels of lines where the coordinates say, pens, text cells, fills, fonts.
#include <QGuiApplication>
#include <QStringDecoder>
#include <QtTest>
#include <string>

#include "render/primitives.h"
#include "output/cp1252.h"
#include "output/fonts.h"
#include "output/qt_surface.h"

using tv::PenStyle;
using tv::ui::QtSurface;

namespace {

constexpr QRgb kWhite = 0xffffff;

QRgb At(const QtSurface& s, int x, int y) { return s.Image().pixel(x, y) & 0xffffff; }

// Every pixel of the picture that is not white.
QList<QPoint> Inked(const QtSurface& s) {
  QList<QPoint> points;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      if (At(s, x, y) != kWhite) points << QPoint(x, y);
  return points;
}

}  // namespace

class QtSurfaceTest : public QObject {
  Q_OBJECT

 private slots:
  // On a screen of ratio 2 the picture has four device pixels to a pixel,
  // with the layout of ratio 1: sizes, text measures and where lines land.
  void RatioTwoKeepsTheLayoutAtTheDevicesResolution() {
    tv::ui::QtSurface one(100, 50);
    tv::ui::QtSurface two(100, 50, 2.0);
    QCOMPARE(two.Width(), 100);
    QCOMPARE(two.Height(), 50);
    QCOMPARE(two.Image().size(), QSize(200, 100));
    QCOMPARE(two.TextWidth("MP1: 26.894"), one.TextWidth("MP1: 26.894"));
    QCOMPARE(two.TextHeight("1p"), one.TextHeight("1p"));
    for (tv::ui::QtSurface* surface : {&one, &two}) {
      surface->SetColour(tv::Rgb{0, 0, 255});
      surface->SetPen(tv::PenStyle::Solid, 1);
      surface->MoveTo(10, 20);
      surface->LineTo(90, 20);
      surface->Finish();
    }
    QCOMPARE(one.Image().pixel(50, 20) & 0xffffff, 0x0000ffu);
    // The one-pixel line is two device pixels thick, at twice the place.
    int blueRows = 0;
    for (int y = 36; y < 46; ++y) blueRows += (two.Image().pixel(100, y) & 0xffffff) == 0x0000ffu;
    QCOMPARE(blueRows, 2);
    QCOMPARE(two.Image().pixel(100, 44) & 0xffffff, 0xffffffu);
    // Back at ratio 1 the picture is the one it always was.
    two.SetDevicePixelRatio(1.0);
    two.SetColour(tv::Rgb{0, 0, 255});
    two.MoveTo(10, 20);
    two.LineTo(90, 20);
    two.Finish();
    QCOMPARE(two.Image(), one.Image());
  }

  void SolidLineCoversItsCoordinates() {
    QtSurface s(60, 40);
    s.SetColour({0, 0, 0});
    s.SetPen(PenStyle::Solid, 1);
    s.MoveTo(10, 20);
    s.LineTo(30, 20);
    s.Finish();
    for (int x = 10; x <= 29; ++x) QCOMPARE(At(s, x, 20), 0u);
    for (const QPoint& p : Inked(s)) {
      QCOMPARE(p.y(), 20);
      QVERIFY(p.x() >= 10 && p.x() <= 30);
    }
    // A vertical one too, in colour, the pen staying at its end.
    s.SetColour({255, 0, 0});
    s.LineTo(30, 35);
    s.Finish();
    for (int y = 21; y <= 34; ++y) QCOMPARE(At(s, 30, y), qRgb(255, 0, 0) & 0xffffff);
    QCOMPARE(At(s, 31, 25), kWhite);
    QCOMPARE(At(s, 29, 25), kWhite);
  }

  void WidePenCoversTwoRows() {
    QtSurface s(60, 40);
    s.SetColour({0, 0, 255});
    s.SetPen(PenStyle::Solid, 2);
    s.MoveTo(10, 20);
    s.LineTo(40, 20);
    s.Finish();
    QSet<int> rows;
    for (const QPoint& p : Inked(s)) rows.insert(p.y());
    QCOMPARE(rows.size(), 2);
    QVERIFY(rows.contains(20));
    QCOMPARE(At(s, 25, 20), qRgb(0, 0, 255) & 0xffffff);
  }

  void DottedLineLeavesGapsOnItsRow() {
    QtSurface s(80, 20);
    s.SetColour({0, 0, 0});
    s.SetPen(PenStyle::Dotted, 1);
    s.MoveTo(0, 5);
    s.LineTo(60, 5);
    s.Finish();
    int black = 0, white = 0;
    for (int x = 0; x < 60; ++x) (At(s, x, 5) == 0 ? black : white)++;
    QVERIFY(black >= 10);
    QVERIFY(white >= 10);
    for (const QPoint& p : Inked(s)) {
      QCOMPARE(p.y(), 5);
      QVERIFY(p.x() <= 60);
    }
    // Back to solid: no gaps.
    s.SetPen(PenStyle::Solid, 1);
    s.MoveTo(0, 10);
    s.LineTo(60, 10);
    s.Finish();
    for (int x = 0; x < 60; ++x) QCOMPARE(At(s, x, 10), 0u);
  }

  void PrimitivesLandWithTheOrigin() {
    // The whole way through the plot primitives: origin and rejection.
    QtSurface s(100, 80);
    tv::DrawTarget st;
    st.DrawCanvas = &s;
    st.ScreenCanvas = &s;
    st.PlotWidth = 100;
    st.PlotHeight = 50;
    st.OriginX = 20;
    st.OriginY = 30;
    tv::SetPen(st, PenStyle::Solid, 1);
    tv::UseColour(st, tv::kBlack);
    tv::PlotLine(st, 0, 1, 10, 1);
    tv::PlotLine(st, 0, 0, 10, 0);  // rejected
    s.Finish();
    for (int x = 20; x < 30; ++x) QCOMPARE(At(s, x, 31), 0u);
    for (const QPoint& p : Inked(s)) QCOMPARE(p.y(), 31);
  }

  void TextCellIsTenPixelsHigh() {
    QtSurface s(200, 60);
    s.SetFontHeight(10);
    QCOMPARE(s.FontHeight(), 10);
    QCOMPARE(s.TextHeight("1p"), 10);
    QCOMPARE(s.TextHeight(""), 10);
    QCOMPARE(QFontMetrics(tv::ui::PlotFont(10)).height(), 10);
    QVERIFY(s.TextWidth("10E-10") > s.TextWidth("1"));
    QCOMPARE(s.TextWidth(""), 0);
    // A larger cell for another target.
    s.SetFontHeight(15);
    QCOMPARE(s.TextHeight("1p"), 15);
  }

  void TextSitsBelowAndRightOfItsPoint() {
    QtSurface s(200, 60);
    s.SetFontHeight(10);
    s.SetColour({255, 0, 0});
    s.TextOut(50, 20, "H1=");
    s.Finish();
    const int w = s.TextWidth("H1=");
    const QList<QPoint> inked = Inked(s);
    QVERIFY(!inked.isEmpty());
    int reddest = 0;
    for (const QPoint& p : inked) {
      QVERIFY2(p.x() >= 50 && p.x() < 50 + w && p.y() >= 20 && p.y() < 30,
               qPrintable(QStringLiteral("ink at %1,%2").arg(p.x()).arg(p.y())));
      const QRgb c = s.Image().pixel(p);
      QVERIFY(qRed(c) >= qGreen(c));
      reddest = std::max(reddest, qRed(c) - qGreen(c));
    }
    QVERIFY(reddest > 200);  // the text takes the pen's colour
  }

  void TextCellIsOpaqueWhite() {
    QtSurface s(100, 40);
    s.SetFontHeight(10);
    s.SetColour({0, 0, 0});
    s.SetPen(PenStyle::Solid, 1);
    for (int y = 0; y < 40; ++y) {
      s.MoveTo(0, y);
      s.LineTo(99, y);
    }
    s.TextOut(10, 10, " ");
    s.Finish();
    const int w = s.TextWidth(" ");
    QVERIFY(w > 0);
    for (int y = 10; y < 20; ++y)
      for (int x = 10; x < 10 + w; ++x) QCOMPARE(At(s, x, y), kWhite);
    QCOMPARE(At(s, 10, 9), 0u);
    QCOMPARE(At(s, 10, 20), 0u);
    QCOMPARE(At(s, 9, 15), 0u);
    QCOMPARE(At(s, 10 + w, 15), 0u);
  }

  void Windows1252TextIsConverted() {
    QtSurface s(200, 40);
    // "é" is one byte (0xE9): as wide as the Unicode text, not as two UTF-8 halves.
    QCOMPARE(s.TextWidth("d\xE9sactiv\xE9"),
             QFontMetrics(s.Font()).horizontalAdvance(QStringLiteral("désactivé")));
  }

  // Every byte, alone and in one text, as the codec decodes it.
  void Windows1252BytesDecodeAsTheCodecDoes() {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    QStringDecoder codec("windows-1252");
    QCOMPARE(tv::ui::FromCp1252(all), codec.decode(QByteArray(all.data(), 256)));
    QCOMPARE(tv::ui::FromCp1252(std::string_view(all.data(), 0)), QString());
  }

  void FillWhiteClearsItsRectangleOnly() {
    QtSurface s(50, 50);
    s.SetColour({0, 0, 0});
    for (int y = 0; y < 50; ++y) {
      s.MoveTo(0, y);
      s.LineTo(49, y);
    }
    s.FillWhite(10, 10, 20, 5);
    s.Finish();
    QCOMPARE(At(s, 10, 10), kWhite);
    QCOMPARE(At(s, 29, 14), kWhite);
    QCOMPARE(At(s, 30, 14), 0u);
    QCOMPARE(At(s, 29, 15), 0u);
    QCOMPARE(At(s, 9, 10), 0u);
  }

  void DrawingStartsAreAnnouncedOncePerPainting() {
    QtSurface s(50, 50);
    int started = 0;
    s.OnDrawingStarted = [&] { ++started; };
    s.MoveTo(0, 1);
    s.LineTo(10, 1);
    s.LineTo(10, 20);
    s.TextOut(0, 30, "1");
    QCOMPARE(started, 1);
    s.Finish();
    s.FillWhite(0, 0, 5, 5);
    QCOMPARE(started, 2);
  }

  void ResizeGivesAWhitePictureAndKeepsThePen() {
    QtSurface s(50, 50);
    s.SetColour({0, 128, 0});
    s.SetPen(PenStyle::Solid, 1);
    s.MoveTo(0, 5);
    s.LineTo(40, 5);
    s.Resize(80, 30);
    QCOMPARE(s.Image().size(), QSize(80, 30));
    QVERIFY(Inked(s).isEmpty());
    s.MoveTo(0, 7);
    s.LineTo(70, 7);
    s.Finish();
    QCOMPARE(At(s, 60, 7), qRgb(0, 128, 0) & 0xffffff);
    // Sides below one pixel are taken as one.
    s.Resize(0, -5);
    QCOMPARE(s.Image().size(), QSize(1, 1));
  }

  void ManyPenChangesReuseTheirPens() {
    // More pens than the cache holds, used again and again, still draw right.
    QtSurface s(400, 40);
    for (int round = 0; round < 3; ++round) {
      for (int i = 0; i < 40; ++i) {
        s.SetColour({static_cast<std::uint8_t>(i), 0, 0});
        s.SetPen(i % 2 ? PenStyle::Dotted : PenStyle::Solid, 1 + i % 3);
        s.MoveTo(i * 10, 20);
        s.LineTo(i * 10, 25);
      }
    }
    s.Finish();
    QCOMPARE(At(s, 380, 22), qRgb(38, 0, 0) & 0xffffff);  // solid ones: no gap to miss
    QCOMPARE(At(s, 0, 22), 0u);
  }
};

QTEST_MAIN(QtSurfaceTest)
#include "qt_surface_test.moc"
