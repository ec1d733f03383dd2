// The values under the cursor: the column's pulsation in the Bode view, the nearest drawn point in
// the Black view.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "analysis/curves.h"
#include "core/diagram_state.h"
#include "render/draw_target.h"

namespace tv::ui {

// Gain and phase of a curve at w, computed as the picture computes them
// (the phase is the drawn one, never unwrapped); none where it is undefined.
struct DrawnValue {
  double GainDb = 0;
  double PhaseDeg = 0;
};
std::optional<DrawnValue> DrawnValueAt(const tv::DiagramState& s, const tv::Curve& c, double w);

// The pulsation of plot column x in the Bode view; none off the swept columns.
std::optional<double> BodeColumnPulsation(const tv::DiagramState& s, int plotWidth, int x);

// The tooltip's rich text at plot point (x, y), each curve in its colour;
// empty where there is nothing to read (no curve, off the sweep).
QString CursorValuesText(const tv::DiagramState& s, const tv::DrawTarget& t, int x, int y);

}  // namespace tv::ui
