// The drawn curves as exact rational functions: which functions, their names and colours, their
// value at any p.
#include "analysis/curves.h"

#include "core/selection.h"
#include "core/translate.h"

namespace tv {

std::vector<int> TickedFunctions(const DiagramState& s) {
  std::vector<int> ticked;
  for (int i = 0; i < 3; ++i)
    if (s.CurveTicked[static_cast<std::size_t>(i)]) ticked.push_back(i);
  return ticked;
}

std::vector<Curve> DrawnCurves(const DiagramState& s) {
  std::vector<Curve> curves;
  const std::vector<int> ticked = TickedFunctions(s);
  for (int i : ticked)
    curves.push_back(Curve{"H" + std::to_string(i + 1), kCurveColours[i], false, {i}});
  if (!ticked.empty() && s.CurveTicked[3]) {
    Curve product{ProductCaption(s.CurveTicked.data()), kBlack, true, ticked};
    // The product of one function alone is drawn over it: its name must not
    // read as the function's own.
    if (ticked.size() == 1) product.Name += " (" + Tr("Courbes", "produit") + ")";
    curves.push_back(product);
  }
  return curves;
}

int Degree(const CoefficientSet& c) {
  for (int k = 5; k >= 0; --k)
    if (c[static_cast<std::size_t>(k)] != 0) return k;
  return -1;
}

std::complex<double> PolynomialAt(const CoefficientSet& c, std::complex<double> p) {
  std::complex<double> v = 0;
  for (int k = 5; k >= 0; --k) v = v * p + c[static_cast<std::size_t>(k)];
  return v;
}

}  // namespace tv
