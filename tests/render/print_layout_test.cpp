// Page geometry of printed diagrams: margins in device pixels, plot size, the square cut, pen widths.
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
