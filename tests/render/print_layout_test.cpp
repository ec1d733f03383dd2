// Page geometry of printed diagrams: margins, plot size and the square cut, in device pixels and in
// pixels of the screen; pen widths.
#include "render/print_layout.h"

#include <gtest/gtest.h>

#include <climits>

namespace tv {
namespace {

struct GeometryCase {
  const char* name;
  int dpiX, dpiY, pageW, pageH;
  PrintGeometry expected;
};

// Origins: round(dpi × 7 / 25.4) and round(dpi × 14 / 25.4).
const GeometryCase kCases[] = {
    // 600 × 7 / 25.4 = 165.35, 600 × 14 / 25.4 = 330.71; 7016 − 662 = 6354 > 4630: cut.
    {"A4Portrait600", 600, 600, 4960, 7016, {165, 331, 4630, 4630}},
    // 7016 − 330 = 6686 wide, 4960 − 662 = 4298 high: not cut.
    {"A4Landscape600", 600, 600, 7016, 4960, {165, 331, 6686, 4298}},
    // 300 × 7 / 25.4 = 82.68, 300 × 14 / 25.4 = 165.35; 3508 − 330 = 3178 > 2314: cut.
    {"A4Portrait300", 300, 300, 2480, 3508, {83, 165, 2314, 2314}},
    // Each axis takes its own resolution: 1200 × 7 / 25.4 = 330.71, 600 × 14 / 25.4 = 330.71.
    {"Anisotropic1200x600", 1200, 600, 9920, 3508, {331, 331, 9258, 2846}},
    // 72 × 7 / 25.4 = 19.84, 72 × 14 / 25.4 = 39.69; 842 − 80 = 762 > 555: cut.
    {"A4Portrait72", 72, 72, 595, 842, {20, 40, 555, 555}},
    // Height exactly equal to the width stays.
    // 254 dpi: exactly 70 and 140 pixels; 510 − 280 = 230 = the width.
    {"HeightEqualToWidth", 254, 254, 370, 510, {70, 140, 230, 230}},
    // A page smaller than its margins gives an empty plot, not a negative one.
    {"PageSmallerThanMargins", 600, 600, 200, 500, {165, 331, 0, 0}},
    {"ZeroResolution", 0, 0, 1000, 800, {0, 0, 1000, 800}},
    {"NegativeResolution", -600, -600, 1000, 800, {0, 0, 1000, 800}},
    {"NegativePage", 600, 600, -10, -10, {165, 331, 0, 0}},
    // The margins subtracted from INT_MAX: no overflow on the way.
    {"HugePage", 600, 600, INT_MAX, INT_MAX, {165, 331, INT_MAX - 330, INT_MAX - 662}},
};

class PrintGeometryTest : public testing::TestWithParam<GeometryCase> {};

TEST_P(PrintGeometryTest, OriginAndPlotSize) {
  const GeometryCase& c = GetParam();
  const PrintGeometry g = ComputePrintGeometry(c.dpiX, c.dpiY, c.pageW, c.pageH);
  EXPECT_EQ(g.OriginX, c.expected.OriginX);
  EXPECT_EQ(g.OriginY, c.expected.OriginY);
  EXPECT_EQ(g.PlotWidth, c.expected.PlotWidth);
  EXPECT_EQ(g.PlotHeight, c.expected.PlotHeight);
  EXPECT_LE(g.PlotHeight, g.PlotWidth);
}

INSTANTIATE_TEST_SUITE_P(Pages, PrintGeometryTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<GeometryCase>& tested) {
                           return std::string(tested.param.name);
                         });

// The same sheet at any resolution is the same page in pixels of 90 per
// inch: A4 is 744 × 1052 of them (210 and 297 mm, rounded down), margins
// round(90 × 7 / 25.4) = 25 and round(90 × 14 / 25.4) = 50.
struct PageCase {
  const char* name;
  int dpiX, dpiY, pageW, pageH;
  double scaleX, scaleY;
  PrintGeometry expected;
};

const PageCase kPages[] = {
    {"A4Portrait600", 600, 600, 4960, 7016, 600 / 90.0, 600 / 90.0, {25, 50, 694, 694}},
    {"A4Portrait1200", 1200, 1200, 9920, 14032, 1200 / 90.0, 1200 / 90.0, {25, 50, 694, 694}},
    {"A4Portrait300", 300, 300, 2480, 3508, 300 / 90.0, 300 / 90.0, {25, 50, 694, 694}},
    // 1052 − 50 = 1002 wide, 744 − 100 = 644 high: not cut.
    {"A4Landscape600", 600, 600, 7016, 4960, 600 / 90.0, 600 / 90.0, {25, 50, 1002, 644}},
    // Each axis its own scale; the page in pixels is the same sheet.
    {"Anisotropic1200x600", 1200, 600, 9920, 7016, 1200 / 90.0, 600 / 90.0, {25, 50, 694, 694}},
    // A printer at the layout's density: its device pixels are the layout's.
    {"LayoutDensity", 90, 90, 744, 1052, 1.0, 1.0, {25, 50, 694, 694}},
    {"ZeroResolution", 0, 0, 1000, 800, 1.0, 1.0, {0, 0, 0, 0}},
    {"HugePage",
     600,
     600,
     INT_MAX,
     INT_MAX,
     600 / 90.0,
     600 / 90.0,
     {25, 50, 322122547 - 50, 322122547 - 100}},
};

class PrintPageTest : public testing::TestWithParam<PageCase> {};

TEST_P(PrintPageTest, LaidOutInPixelsOfTheScreen) {
  const PageCase& c = GetParam();
  const PrintPage page = ComputePrintPage(c.dpiX, c.dpiY, c.pageW, c.pageH);
  EXPECT_DOUBLE_EQ(page.ScaleX, c.scaleX);
  EXPECT_DOUBLE_EQ(page.ScaleY, c.scaleY);
  EXPECT_EQ(page.Geometry.OriginX, c.expected.OriginX);
  EXPECT_EQ(page.Geometry.OriginY, c.expected.OriginY);
  EXPECT_EQ(page.Geometry.PlotWidth, c.expected.PlotWidth);
  EXPECT_EQ(page.Geometry.PlotHeight, c.expected.PlotHeight);
  // The plot and its margins, scaled back, stay within the printable area.
  EXPECT_LE((page.Geometry.PlotWidth + 2 * page.Geometry.OriginX) * page.ScaleX, c.pageW + 0.0);
}

INSTANTIATE_TEST_SUITE_P(Pages, PrintPageTest, testing::ValuesIn(kPages),
                         [](const testing::TestParamInfo<PageCase>& tested) {
                           return std::string(tested.param.name);
                         });

TEST(PrintPenWidthsTest, NormalAndDarker) {
  const PrintPenWidths normal = ComputePrintPenWidths(false);
  EXPECT_EQ(normal.Curve, 3);
  EXPECT_EQ(normal.Frame, 2);
  const PrintPenWidths darker = ComputePrintPenWidths(true);
  EXPECT_EQ(darker.Curve, 4);
  EXPECT_EQ(darker.Frame, 3);
}

}  // namespace
}  // namespace tv
