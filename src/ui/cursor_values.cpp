// The tooltip over the picture: the same sampling and arithmetic as the sweeps, read back at the
// cursor.
#include "ui/cursor_values.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "core/format.h"
#include "render/black.h"
#include "render/primitives.h"
#include "response/response.h"

namespace tv::ui {

namespace {

constexpr double kPi = std::numbers::pi;

// A value that left the doubles is said, never written as an infinity.
QString Real(double x) {
  if (!std::isfinite(x))
    return QCoreApplication::translate("tv::ui::CursorValues", "non représentable");
  return QString::fromStdString(FormatBounded(x));
}

QString Coloured(const Curve& c, const QString& text) {
  return QStringLiteral("<font color=\"#%1%2%3\">%4</font>")
      .arg(c.Colour.R, 2, 16, QLatin1Char('0'))
      .arg(c.Colour.G, 2, 16, QLatin1Char('0'))
      .arg(c.Colour.B, 2, 16, QLatin1Char('0'))
      .arg(text.toHtmlEscaped());
}

QString Values(const DrawnValue& v) {
  return QStringLiteral("%1 dB, %2°").arg(Real(v.GainDb), Real(v.PhaseDeg));
}

}  // namespace

std::optional<DrawnValue> DrawnValueAt(const DiagramState& s, const Curve& c, double w) {
  bool enabled[3] = {false, false, false};
  for (int i : c.Factors) enabled[i] = true;
  const std::optional<Response> r = ProductResponse(s, enabled, w, w * w);
  if (!r || !std::isfinite(r->GainDb)) return std::nullopt;
  return DrawnValue{r->GainDb, r->PhaseRad * 180 / kPi};
}

std::optional<double> BodeColumnPulsation(const DiagramState& s, int plotWidth, int x) {
  const std::int64_t span = static_cast<std::int64_t>(s.DecadeMax) - s.DecadeMin;
  const int columns = plotWidth - 60;
  const int column = x - 30;
  if (columns <= 0 || span <= 0 || column < 0 || column > std::min(columns, kCoordinateLimit))
    return std::nullopt;
  const double r = static_cast<double>(span) / columns;
  return std::exp((s.DecadeMin + column * r) * std::numbers::ln10);
}

QString CursorValuesText(const DiagramState& s, const DrawTarget& t, int x, int y) {
  const std::vector<Curve> curves = DrawnCurves(s);
  if (curves.empty()) return QString();
  QStringList rows;
  if (s.BlackView != 1) {
    const std::optional<double> w = BodeColumnPulsation(s, t.PlotWidth, x);
    if (!w) return QString();
    rows << QStringLiteral("<b>w= %1 rad/s</b>").arg(Real(*w));
    for (const Curve& c : curves) {
      const std::optional<DrawnValue> v = DrawnValueAt(s, c, *w);
      rows << Coloured(
          c,
          QString::fromStdString(c.Name) + QStringLiteral(" : ") +
              (v ? Values(*v) : QCoreApplication::translate("tv::ui::CursorValues", "non défini")));
    }
    return rows.join(QStringLiteral("<br>"));
  }

  // The Black sweep's samples: 451 per decade, at w = 10^k m / 50.
  const BlackLayout l = ComputeBlackLayout(t);
  const std::int64_t from = std::max<std::int64_t>(s.DecadeMin, -30);
  const std::int64_t to = std::min<std::int64_t>(s.DecadeMax, 30);
  for (const Curve& c : curves) {
    double best = -1, bestW = 0;
    DrawnValue bestValue;
    for (std::int64_t k = from; k <= to; ++k) {
      const double decade = std::exp(static_cast<double>(k) * std::numbers::ln10);
      for (int m = 50; m <= 500; ++m) {
        const double w = decade * m / 50;
        const std::optional<DrawnValue> v = DrawnValueAt(s, c, w);
        if (!v) continue;
        const double dx = l.X0 + l.XS * (v->PhaseDeg / 360.0) - x;
        const double dy = l.Y0 - l.YS * v->GainDb / 80.0 - y;
        const double d = dx * dx + dy * dy;
        if (best < 0 || d < best) {
          best = d;
          bestW = w;
          bestValue = *v;
        }
      }
    }
    if (best >= 0)
      rows << Coloured(c,
                       QCoreApplication::translate("tv::ui::CursorValues", "%1 : w= %2 rad/s, %3")
                           .arg(QString::fromStdString(c.Name), Real(bestW), Values(bestValue)));
  }
  return rows.join(QStringLiteral("<br>"));
}

}  // namespace tv::ui
