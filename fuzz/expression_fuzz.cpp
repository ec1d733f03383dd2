// Fuzzes the evaluator and the coefficient extraction: any bytes, any parameter values.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "core/diagram_state.h"
#include "expression/coefficients.h"
#include "expression/evaluator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first 48 bytes, when there are that many, are the six parameters
  // (any bit pattern: zeros, huge values, NaN, infinities); the rest is text.
  tv::ParameterValues params;
  if (size >= 48) {
    double v[6];
    std::memcpy(v, data, sizeof v);
    params = {v[0], v[1], v[2], v[3], v[4], v[5]};
    data += 48;
    size -= 48;
  }
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const tv::Evaluation e = tv::EvaluateExpression(text, params);
  if (!e.Ok && e.Value != 0) std::abort();  // a failure always gives 0

  tv::CoefficientSet c;
  c.fill(0.0);
  tv::ExtractCoefficients(text, params, c);
  return 0;
}
