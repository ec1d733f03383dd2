// The breaks as report fields.
#include "analysis/asymptote_readouts.h"

#include <gtest/gtest.h>

#include "analysis/readouts_report.h"
#include "core/headless_host.h"

namespace tv {
namespace {

TEST(BreaksReportFieldsTest, ExactNumbersKindsAndNulls) {
  // (1 - p/3) / (p (1 + 0.04 p + 0.01 p^2)): zero on the right, a pair, an integrator.
  CurveAsymptotes a;
  a.Valid = true;
  a.Class = 1;
  a.Breaks = {Break{3, 1, false, std::nullopt, true}, Break{10, 2, true, 0.2, false}};
  EXPECT_EQ(BreaksReportFields(a),
            "\"breaks\": [{\"w\": 3, \"order\": 1, \"kind\": \"zero\", \"ksi\": null}, "
            "{\"w\": 10, \"order\": 2, \"kind\": \"pole\", \"ksi\": 0.2}], "
            "\"initial_slope_db_per_decade\": -20");
  EXPECT_EQ(BreaksReportFields(FunctionAsymptotes({1}, {})),
            "\"breaks\": [], \"initial_slope_db_per_decade\": null");
}

TEST(BreaksReportFieldsTest, TwelveSignificantDigitsAtLeast) {
  const CurveAsymptotes a = FunctionAsymptotes({1}, {1, 3});  // break at 1/3
  EXPECT_NE(BreaksReportFields(a).find("\"w\": 0.3333333333333333,"), std::string::npos);
}

TEST(DrawnCurveBreaksTest, OnePerDrawnCurve) {
  HeadlessHost host;
  DiagramState s;
  s.Host = &host;
  s.CurveTicked[0] = s.CurveTicked[3] = true;
  s.NumCoeffs[0] = {1, -0.5};
  s.DenCoeffs[0] = {1, 0.04, 0.01};
  const std::vector<CurveBreaks> all = DrawnCurveBreaks(s);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].Which.Name, "H1");
  EXPECT_EQ(all[1].Which.Name, "H1 (produit)");  // the product of H1 alone
  EXPECT_EQ(all[0].Asymptotes.Breaks.size(), 2u);
}

TEST(DrawnCurveBreaksTest, ReportCarriesTheBreaksOfEachCurve) {
  HeadlessHost host;
  DiagramState s;
  SetStartValues(s);
  s.Host = &host;
  s.CurveTicked[0] = true;
  s.NumCoeffs[0] = {2};
  s.DenCoeffs[0] = {0, 1, 0.5};  // 2/(p (1 + p/2))
  EXPECT_NE(
      ReadoutsReport(s).find("\"breaks\": [{\"w\": 2, \"order\": 1, \"kind\": \"pole\", "
                             "\"ksi\": null}], \"initial_slope_db_per_decade\": -20, "
                             "\"nyquist\": {\"open_loop_rhp_poles\": 0, \"encirclements\": 0, "
                             "\"closed_loop_rhp_poles\": 0, \"stable\": true}}"),
      std::string::npos)
      << ReadoutsReport(s);
}

}  // namespace
}  // namespace tv
