// The "Mesures" window: read-outs per drawn curve as sections of lines, the drawn margins beside
// the exact ones when they differ.
#include "ui/measures_window.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>

#include "analysis/asymptote_readouts.h"
#include "core/display_rules.h"
#include "core/format.h"
#include "core/translate.h"
#include "output/cp1252.h"
#include "output/fonts.h"
#include "ui/window_placement.h"
#include "render/locus_texts.h"
#include "render/asymptote_texts.h"

namespace tv::ui {

namespace {

// A value that left the doubles is said, never written as an infinity.
QString Real(double x) {
  if (!std::isfinite(x))
    return QCoreApplication::translate("tv::ui::MeasuresWindow", "non représentable");
  return QString::fromStdString(FormatBounded(x, true));
}

// "aucune" when the picture found none, else its values with their unit,
// unless they read as the exact ones.
void AddDrawn(QStringList& lines, const std::vector<std::string>& exact,
              const std::vector<MarginRecord>& drawn, const std::string& unit) {
  std::vector<std::string> texts;
  for (const MarginRecord& r : drawn) texts.push_back(MarginValueText(r.Value, r.W));
  if (exact == texts) return;
  if (drawn.empty()) {
    lines << QCoreApplication::translate("tv::ui::MeasuresWindow",
                                         "sur le tracé (échantillonné) : aucune");
    return;
  }
  for (const MarginRecord& r : drawn)
    lines << QCoreApplication::translate("tv::ui::MeasuresWindow",
                                         "sur le tracé (échantillonné) : ") +
                 QString::fromStdString(FormatReal(r.Value) + unit + Tr("Margins", " en w= ") +
                                        FormatReal(r.W));
}

QColor ColourOf(Rgb c) { return QColor(c.R, c.G, c.B); }

// The same to the bit: a coefficient of -0 is not one of 0.
bool SameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool SameCoefficients(const std::vector<CoefficientSet>& a, const std::vector<CoefficientSet>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const CoefficientSet& x, const CoefficientSet& y) {
                      return std::equal(x.begin(), x.end(), y.begin(), SameBits);
                    });
}

// What a curve's read-outs are found from, the same to the bit.
bool SameReadoutsSource(const CurveFactors& a, const PulsationRange& ra, const CurveFactors& b,
                        const PulsationRange& rb) {
  return SameCoefficients(a.Num, b.Num) && SameCoefficients(a.Den, b.Den) &&
         SameBits(ra.WMin, rb.WMin) && SameBits(ra.WMax, rb.WMax);
}

bool SameMargins(const std::vector<MarginRecord>& a, const std::vector<MarginRecord>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const MarginRecord& x, const MarginRecord& y) {
                      return x.Slot == y.Slot && x.Kind == y.Kind && x.Black == y.Black &&
                             SameBits(x.Value, y.Value) && SameBits(x.W, y.W);
                    });
}

}  // namespace

bool MeasuresWindow::SameSource(const CurveLines& a, const CurveLines& b) {
  return a.Source.Name == b.Source.Name && a.Source.Colour == b.Source.Colour &&
         a.Source.Product == b.Source.Product && a.Source.Factors == b.Source.Factors &&
         SameReadoutsSource(a.Factors, a.Range, b.Factors, b.Range) &&
         a.Drawn.Searched == b.Drawn.Searched &&
         SameMargins(a.Drawn.PhaseMargins, b.Drawn.PhaseMargins) &&
         SameMargins(a.Drawn.GainMargins, b.Drawn.GainMargins);
}

DrawnMargins DrawnMarginsOf(const std::vector<MarginRecord>& margins, int slot, bool searched) {
  DrawnMargins d;
  d.Searched = searched;
  for (const MarginRecord& r : margins)
    if (r.Slot == slot) (r.Kind == MarginKind::Phase ? d.PhaseMargins : d.GainMargins).push_back(r);
  return d;
}

std::vector<MeasureSection> CurveSections(const CurveReadouts& r, const DrawnMargins& drawn) {
  std::vector<MeasureSection> sections;
  if (!r.Defined) {
    sections.push_back({QCoreApplication::translate("tv::ui::MeasuresWindow", "Fonction nulle"),
                        {QCoreApplication::translate("tv::ui::MeasuresWindow", "aucune mesure")}});
    return sections;
  }

  MeasureSection phase{
      QCoreApplication::translate("tv::ui::MeasuresWindow", "Marges de phase (gain de 0 dB)"), {}};
  std::vector<std::string> exact;
  for (const GainCrossover& c : r.GainCrossovers) {
    phase.Lines << QCoreApplication::translate("tv::ui::MeasuresWindow", "w= %1 rad/s : MP= %2°")
                       .arg(Real(c.W), Real(c.PhaseMarginDeg));
    exact.push_back(MarginValueText(c.PhaseMarginDeg, c.W));
  }
  if (r.GainCrossovers.empty())
    phase.Lines << QCoreApplication::translate("tv::ui::MeasuresWindow",
                                               "le gain ne passe pas par 0 dB");
  if (drawn.Searched) AddDrawn(phase.Lines, exact, drawn.PhaseMargins, "°");
  sections.push_back(phase);

  MeasureSection gain{
      QCoreApplication::translate("tv::ui::MeasuresWindow", "Marges de gain (phase de -180°)"), {}};
  exact.clear();
  for (const PhaseCrossover& c : r.PhaseCrossovers) {
    gain.Lines << QCoreApplication::translate("tv::ui::MeasuresWindow", "w= %1 rad/s : MG= %2 dB")
                      .arg(Real(c.W), Real(c.GainMarginDb));
    exact.push_back(MarginValueText(c.GainMarginDb, c.W));
  }
  if (r.PhaseAt180)
    gain.Lines << QCoreApplication::translate("tv::ui::MeasuresWindow", "phase constante à -180°");
  else if (r.PhaseCrossovers.empty())
    gain.Lines << QCoreApplication::translate("tv::ui::MeasuresWindow",
                                              "la phase ne passe pas par -180°");
  if (drawn.Searched) AddDrawn(gain.Lines, exact, drawn.GainMargins, " dB");
  sections.push_back(gain);

  MeasureSection closed{
      QCoreApplication::translate("tv::ui::MeasuresWindow", "Boucle fermée H/(1+H)"), {}};
  if (r.ClosedLoop.PeakDb && r.ClosedLoop.PeakW && std::isinf(*r.ClosedLoop.PeakDb))
    closed.Lines << QCoreApplication::translate(
                        "tv::ui::MeasuresWindow",
                        "résonance infinie en w= %1 rad/s (pôles sur l'axe imaginaire)")
                        .arg(Real(*r.ClosedLoop.PeakW));
  else if (r.ClosedLoop.PeakDb && r.ClosedLoop.PeakW)
    closed.Lines << QCoreApplication::translate("tv::ui::MeasuresWindow",
                                                "pic : %1 dB en w= %2 rad/s")
                        .arg(Real(*r.ClosedLoop.PeakDb), Real(*r.ClosedLoop.PeakW));
  else if (r.ClosedLoop.NoResonance)
    closed.Lines << (r.ClosedLoop.HighFrequencyLimitDb &&
                             std::isfinite(*r.ClosedLoop.HighFrequencyLimitDb)
                         ? QCoreApplication::translate(
                               "tv::ui::MeasuresWindow",
                               "pas de résonance (limite en haute fréquence : %1 dB)")
                               .arg(Real(*r.ClosedLoop.HighFrequencyLimitDb))
                         : QCoreApplication::translate(
                               "tv::ui::MeasuresWindow",
                               "pas de résonance (le gain tend vers 0 en haute fréquence)"));
  else
    closed.Lines << QCoreApplication::translate("tv::ui::MeasuresWindow", "pic : non calculable");
  closed.Lines << (r.ClosedLoop.BandwidthW
                       ? QCoreApplication::translate("tv::ui::MeasuresWindow",
                                                     "bande passante à -3 dB : %1 rad/s")
                             .arg(Real(*r.ClosedLoop.BandwidthW))
                       : QCoreApplication::translate("tv::ui::MeasuresWindow",
                                                     "bande passante à -3 dB : non atteinte"));
  sections.push_back(closed);

  MeasureSection statics{QCoreApplication::translate("tv::ui::MeasuresWindow", "Régime permanent"),
                         {}};
  if (r.Class == 0) {
    statics.Lines << QCoreApplication::translate("tv::ui::MeasuresWindow",
                                                 "classe 0, gain statique %1 (%2 dB)")
                         .arg(Real(r.LowFrequencyGain), Real(*r.StaticGainDb));
  } else {
    const int n = r.Class > 0 ? r.Class : -r.Class;
    const QString what = r.Class > 0
                             ? QCoreApplication::translate("tv::ui::MeasuresWindow", "intégrateur")
                             : QCoreApplication::translate("tv::ui::MeasuresWindow", "dérivateur");
    statics.Lines << QCoreApplication::translate("tv::ui::MeasuresWindow",
                                                 "classe %1 (%2 %3%4), gain K= %5")
                         .arg(r.Class)
                         .arg(n)
                         .arg(what, n > 1 ? QStringLiteral("s") : QString(),
                              Real(r.LowFrequencyGain));
  }
  statics.Lines << (r.StepError
                        ? QCoreApplication::translate("tv::ui::MeasuresWindow",
                                                      "erreur statique pour un échelon : %1")
                              .arg(Real(*r.StepError))
                        : QCoreApplication::translate("tv::ui::MeasuresWindow",
                                                      "erreur statique pour un échelon : infinie"));
  sections.push_back(statics);
  return sections;
}

MeasuresWindow::MeasuresWindow(DiagramState& s, DiagramHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), s_(s), host_(host) {
  setObjectName(QStringLiteral("Mesures"));
  setWindowTitle(tr("Mesures"));
  setFont(WindowFont());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  // Read-only text, which the mouse selects and Ctrl+C copies like any text.
  view_ = new ReadoutView(this);
  view_->setObjectName(QStringLiteral("MeasuresView"));
  QPalette palette = view_->palette();
  palette.setColor(QPalette::Base, Qt::white);
  view_->setPalette(palette);
  layout->addWidget(view_, 1);
  auto* row = new QHBoxLayout;
  row->setContentsMargins(8, 4, 8, 4);
  Copier = new QPushButton(tr("Copier"), this);
  Copier->setObjectName(QStringLiteral("Copier"));
  Copier->setToolTip(tr("Copie toutes les mesures dans le presse-papier, en texte"));
  row->addWidget(Copier);
  row->addStretch(1);
  layout->addLayout(row);
  connect(Copier, &QPushButton::clicked, this,
          [this] { QGuiApplication::clipboard()->setText(PlainText()); });
  resize(460, 560);
}

MeasuresWindow::~MeasuresWindow() { Detach(); }

void MeasuresWindow::showEvent(QShowEvent* event) {
  if (!placed_) {
    placed_ = true;
    // Beside the main window, not over the picture it reads, when there is room.
    const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    PlaceWindowBeside(*this, main);
    QTimer::singleShot(0, this, [this, main] { PlaceWindowBeside(*this, main); });
  }
  host_.AddRedrawListener(this);
  s_.MarginRecords = &margins_;
  margins_.clear();
  // Until the next redraw: the current coefficients, no drawn margins yet.
  Rebuild(s_, true);
  QWidget::showEvent(event);
}

void MeasuresWindow::hideEvent(QHideEvent* event) {
  Detach();
  QWidget::hideEvent(event);
}

void MeasuresWindow::changeEvent(QEvent* event) {
  // Lines kept in the language they were written in are written anew.
  if (event->type() == QEvent::LanguageChange) curveLines_.clear();
  QWidget::changeEvent(event);
}

void MeasuresWindow::Detach() {
  host_.RemoveRedrawListener(this);
  if (s_.MarginRecords == &margins_) s_.MarginRecords = nullptr;
}

void MeasuresWindow::DiagramRedrawn(const DiagramState& s, bool drawn) {
  // Only the main picture tells: a page or a file drawn at its own size,
  // whose sampled margins are not those on screen, does not.
  Rebuild(s, drawn);
  margins_.clear();
}

std::function<void()> MeasuresWindow::ComputeAhead(const DiagramState& s) {
  ahead_.clear();
  // The curves whose coefficients or range changed: those the redraw will
  // build lines for, unless their drawn margins say otherwise.
  std::vector<AheadReadouts> wanted;
  const PulsationRange range = DisplayedRange(s);
  for (const Curve& c : DrawnCurves(s)) {
    AheadReadouts a{FactorsOf(s, c), range, {}};
    const auto kept =
        std::find_if(curveLines_.begin(), curveLines_.end(), [&a](const CurveLines& k) {
          return SameReadoutsSource(k.Factors, k.Range, a.Factors, a.Range);
        });
    if (kept == curveLines_.end()) wanted.push_back(std::move(a));
  }
  if (wanted.empty()) return {};
  return [this, wanted = std::move(wanted)]() mutable {
    for (AheadReadouts& a : wanted) a.Readouts = ComputeReadouts(a.Factors, a.Range);
    ahead_ = std::move(wanted);
  };
}

void MeasuresWindow::Rebuild(const DiagramState& s, bool drawn) {
  const std::vector<AheadReadouts> ahead = std::exchange(ahead_, {});
  lines_.clear();
  std::vector<CurveLines> built;
  if (!drawn) {
    lines_.push_back(
        {tr("Une fonction cochée est invalide : rien n'est tracé."), Qt::black, false, 8});
  } else {
    const bool searched = MarginsSearched(s);
    const std::vector<Curve> curves = DrawnCurves(s);
    const PulsationRange range = DisplayedRange(s);
    for (const Curve& c : curves) {
      const int slot = c.Product ? 4 : c.Factors.front() + 1;
      CurveLines now{c, FactorsOf(s, c), range, DrawnMarginsOf(margins_, slot, searched), {}};
      // A curve whose texts do not read the stepped parameter keeps its lines.
      const auto kept = std::find_if(curveLines_.begin(), curveLines_.end(),
                                     [&now](const CurveLines& k) { return SameSource(k, now); });
      if (kept != curveLines_.end())
        now.Lines = std::move(kept->Lines);
      else {
        const auto known = std::find_if(ahead.begin(), ahead.end(), [&now](const AheadReadouts& a) {
          return SameReadoutsSource(a.Factors, a.Range, now.Factors, now.Range);
        });
        now.Lines = CurveLinesOf(s, c, now.Factors, range, now.Drawn,
                                 known != ahead.end() ? &known->Readouts : nullptr);
      }
      lines_.insert(lines_.end(), now.Lines.begin(), now.Lines.end());
      built.push_back(std::move(now));
    }
    if (curves.empty()) lines_.push_back({tr("Aucune courbe tracée."), Qt::black, false, 8});
  }
  curveLines_ = std::move(built);
  ShowLines();
}

std::vector<MeasuresWindow::Line> MeasuresWindow::CurveLinesOf(
    const DiagramState& s, const Curve& c, const CurveFactors& factors, const PulsationRange& range,
    const DrawnMargins& drawn, const CurveReadouts* known) {
  std::vector<Line> lines;
  const CurveReadouts r = known ? *known : ComputeReadouts(factors, range);
  const QColor colour = ColourOf(c.Colour);
  lines.push_back({QString::fromStdString(c.Name), colour, true, 8});
  for (const MeasureSection& section : CurveSections(r, drawn)) {
    lines.push_back({section.Title, colour, true, 20});
    for (const QString& line : section.Lines) lines.push_back({line, colour, false, 32});
  }
  // The asymptotic diagram: initial slope and class, then the breaks.
  lines.push_back({tr("Asymptotes"), colour, true, 20});
  for (const std::string& line : BreaksWindowLines(c, AsymptotesOf(s, c)))
    lines.push_back({FromCp1252(line).trimmed(), colour, false, 32});
  if (c.Product) {
    // The loop closed by unit feedback: its poles, as the locus window lists them.
    std::vector<std::string> poles = LocusPoleLines(ClosedLoopPolesOf(s, c.Factors), {});
    if (!poles.empty())
      poles.front() = "P\xF4les en boucle ferm\xE9"
                      "e";
    for (std::size_t k = 0; k < poles.size(); ++k)
      lines.push_back({FromCp1252(poles[k]).trimmed(), colour, k == 0, k == 0 ? 20 : 32});
  }
  lines.push_back({QString(), colour, false, 8});
  return lines;
}

QString MeasuresWindow::PlainText() const {
  // Two spaces per level of indent, as the window shows them.
  QString text;
  for (const Line& line : lines_) text += QString((line.Indent - 8) / 6, u' ') + line.Text + u'\n';
  return text;
}

void MeasuresWindow::ShowLines() { view_->SetLines(lines_); }

}  // namespace tv::ui
