// The drawn curves: which boxes give which curves, their names, and the exact product at p.
#include "analysis/curves.h"

#include <gtest/gtest.h>

#include "core/headless_host.h"

namespace tv {
namespace {

struct BoxCase {
  const char* Name;
  std::array<bool, 4> Boxes;
  std::vector<std::string> Curves;
};

class DrawnCurvesTest : public testing::TestWithParam<BoxCase> {};

TEST_P(DrawnCurvesTest, NamesFollowTheBoxes) {
  HeadlessHost host;
  DiagramState s;
  s.Host = &host;
  for (std::size_t b = 0; b < 4; ++b) s.CurveTicked[b] = GetParam().Boxes[b];
  std::vector<std::string> names;
  for (const Curve& c : DrawnCurves(s)) names.push_back(c.Name);
  EXPECT_EQ(names, GetParam().Curves);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, DrawnCurvesTest,
    testing::Values(BoxCase{"None", {false, false, false, false}, {}},
                    BoxCase{"ProductAloneWithoutFunctions", {false, false, false, true}, {}},
                    BoxCase{"TwoAndProduct", {true, false, true, true}, {"H1", "H3", "H1.H3"}},
                    // Drawn over H2: named so that it does not read as H2's own.
                    BoxCase{"OneAndProduct", {false, true, false, true}, {"H2", "H2 (produit)"}},
                    BoxCase{"AllWithoutProduct", {true, true, true, false}, {"H1", "H2", "H3"}}),
    [](const testing::TestParamInfo<BoxCase>& tested) { return tested.param.Name; });

TEST(DegreeTest, HighestNonZeroPower) {
  DiagramState s;
  s.DenCoeffs[1] = {1, 0, 1, 0, 0, 0};  // 1+p^2
  EXPECT_EQ(Degree(s.DenCoeffs[1]), 2);
  EXPECT_EQ(Degree(CoefficientSet{}), -1);
}

}  // namespace
}  // namespace tv
