// The window "Lieu des pôles en boucle fermée": the closed-loop poles over the selected parameter,
// kept while it is stepped, a click on a branch setting it.
#include "ui/locus_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

#include "core/format.h"
#include "render/step_view.h"
#include "output/cp1252.h"
#include "output/locus_output.h"
#include "output/painter_surface.h"
#include "ui/picture_commands.h"
#include "ui/readout_lines.h"
#include "output/qt_surface.h"
#include "render/locus_texts.h"
#include "render/plot_surface.h"

namespace tv::ui {

namespace {

QString Decimal(double v) { return QString::fromStdString(FormatRealFine(v)); }

bool ReadDecimal(const QLineEdit* edit, double* v) {
  QString text = edit->text().trimmed();
  text.replace(u',', u'.');
  bool ok = false;
  *v = text.toDouble(&ok);
  return ok && std::isfinite(*v);
}

// Draws on another surface and notes the boxes it drew in, each wide enough
// for the pen and the rounding of its ends.
class MarkedBoxes : public PlotSurface {
 public:
  MarkedBoxes(PlotSurface& on, std::vector<QRect>& boxes) : on_(on), boxes_(boxes) {}

  void SetPen(PenStyle style, int width) override {
    width_ = width;
    on_.SetPen(style, width);
  }
  void SetColour(Rgb colour) override { on_.SetColour(colour); }
  void MoveTo(int x, int y) override {
    x_ = x;
    y_ = y;
    on_.MoveTo(x, y);
  }
  void LineTo(int x, int y) override {
    const int margin = std::max(width_, 1) + 2;
    boxes_.push_back(
        QRect(QPoint(std::min(x_, x), std::min(y_, y)), QPoint(std::max(x_, x), std::max(y_, y)))
            .adjusted(-margin, -margin, margin, margin));
    x_ = x;
    y_ = y;
    on_.LineTo(x, y);
  }
  void TextOut(int x, int y, std::string_view text) override {
    boxes_.push_back(QRect(x, y, TextWidth(text), TextHeight(text)).adjusted(-2, -2, 2, 2));
    on_.TextOut(x, y, text);
  }
  int TextWidth(std::string_view text) override { return on_.TextWidth(text); }
  int TextHeight(std::string_view text) override { return on_.TextHeight(text); }
  void SetFontHeight(int pixels) override { on_.SetFontHeight(pixels); }
  int FontHeight() const override { return on_.FontHeight(); }
  void FillWhite(int x, int y, int w, int h) override {
    boxes_.push_back(QRect(x, y, w, h).adjusted(-1, -1, 1, 1));
    on_.FillWhite(x, y, w, h);
  }

 private:
  PlotSurface& on_;
  std::vector<QRect>& boxes_;
  int width_ = 1;
  int x_ = 0, y_ = 0;
};

}  // namespace

LocusWindow::LocusWindow(tv::DiagramState& s, std::function<std::optional<Parameter>()> selected,
                         std::function<void(Parameter, double)> setValue, QWidget* parent)
    : FollowingWindow(s, parent), selected_(std::move(selected)), setValue_(std::move(setValue)) {
  setObjectName(QStringLiteral("LocusWindow"));
  setWindowTitle(tr("Lieu des pôles en boucle fermée"));
  base_ = std::make_unique<QtSurface>(kLocusPictureWidth, kLocusPictureHeight);
  base_->SetFontHeight(10);
  picture_.DrawCanvas = picture_.ScreenCanvas = base_.get();
  picture_.PlotWidth = kLocusPictureWidth;
  picture_.PlotHeight = kLocusPictureHeight;
  picture_.CurvePenWidth = 2;
  picture_.FramePenWidth = 1;

  auto* bar = new QWidget(this);
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(8, 4, 8, 4);
  auto* fromLabel = new QLabel(tr("de"), bar);
  From = new QLineEdit(bar);
  From->setObjectName(QStringLiteral("From"));
  From->setFixedWidth(90);
  fromLabel->setBuddy(From);
  auto* toLabel = new QLabel(tr("à"), bar);
  To = new QLineEdit(bar);
  To->setObjectName(QStringLiteral("To"));
  To->setFixedWidth(90);
  toLabel->setBuddy(To);
  row->addWidget(fromLabel);
  row->addWidget(From);
  row->addSpacing(8);
  row->addWidget(toLabel);
  row->addWidget(To);
  row->addStretch(1);
  Layout->addWidget(bar);

  auto* body = new QWidget(this);
  auto* columns = new QHBoxLayout(body);
  columns->setContentsMargins(0, 0, 0, 0);
  Picture = new PictureArea({.Name = "LocusPicture",
                             .Hint = QSize(kLocusPictureWidth, kLocusPictureHeight),
                             .Minimum = QSize(320, 260),
                             .Image = [this]() -> const QImage& { return shown_; },
                             .Resized = [this](int w, int h) { Resized(w, h); },
                             .Pressed =
                                 [this](QMouseEvent& event) {
                                   if (event.button() == Qt::LeftButton)
                                     ClickAt(event.position().toPoint().x(),
                                             event.position().toPoint().y());
                                 },
                             .WhiteUnder = true},
                            body);
  columns->addWidget(Picture, 1);
  Readouts = new ReadoutLines(body);
  Readouts->setObjectName(QStringLiteral("Readouts"));
  Readouts->setMinimumWidth(300);
  Readouts->SetMargins(QMargins(8, 8, 8, 8));
  columns->addWidget(Readouts);
  Layout->addWidget(body, 1);
  resize(kLocusPictureWidth + 300,
         kLocusPictureHeight + MainMenu->sizeHint().height() + bar->sizeHint().height());

  connect(From, &QLineEdit::editingFinished, this, [this] { Update(true); });
  connect(To, &QLineEdit::editingFinished, this, [this] { Update(true); });
}

LocusWindow::~LocusWindow() {
  // Closing the window below moves the focus out of a range field, whose
  // editing then ends: it must not reach the members already gone.
  From->disconnect(this);
  To->disconnect(this);
}

Parameter LocusWindow::Selected() const {
  const std::optional<Parameter> p = selected_ ? selected_() : std::nullopt;
  return p.value_or(Parameter::K);
}

void LocusWindow::SetDefaultRange() {
  const auto [from, to] = DefaultLocusRange(ParameterValue(s_, Selected()));
  From->setText(Decimal(from));
  To->setText(Decimal(to));
  rangeFor_ = Selected();
}

std::pair<double, double> LocusWindow::Range() const {
  double from = 0, to = 0;
  if (ReadDecimal(From, &from) && ReadDecimal(To, &to) && from >= 0 && to > from) return {from, to};
  return DefaultLocusRange(ParameterValue(s_, Selected()));
}

void LocusWindow::ParameterChosen() {
  if (isVisible()) Update(true);
}

void LocusWindow::DiagramRedrawn(const tv::DiagramState&, bool drawn) { Update(drawn, true); }

void LocusWindow::Update(bool drawn, bool redrawn) {
  const Parameter p = Selected();
  if (rangeFor_ != p) SetDefaultRange();
  const std::pair<double, double> range = Range();
  const double value = ParameterValue(s_, p);
  if (!drawn) {
    // The redraw was refused: the texts as they stand do not compile.
    family_ = CharacteristicFamily(s_, p);
    locus_ = tv::Locus{};
    locus_.Param = p;
    locus_.Outcome = LocusOutcome::Invalid;
    poles_ = tv::LocusPoles{};
    computed_ = false;
    DrawBase();
  } else if (!computed_ || range != range_ || !family_.SameAs(s_, p)) {
    family_ = CharacteristicFamily(s_, p);
    range_ = range;
    locus_ = ComputeLocus(family_, range.first, range.second);
    poles_ = ComputeLocusPoles(family_, value);
    computed_ = true;
    ++locusCount_;
    DrawBase();
  } else {
    // A step of the selected parameter: the locus stays, the poles move,
    // found from the coefficients a redraw has just evaluated.
    poles_ = redrawn ? ComputeLocusPoles(family_, s_) : ComputeLocusPoles(family_, value);
  }
  DrawMarkers();
}

void LocusWindow::DrawBase() {
  frame_ = locus_.Outcome == LocusOutcome::Drawn ? LocusFrameOf(picture_, locus_, poles_)
                                                 : tv::LocusFrame{};
  DrawLocusBase(picture_, locus_, frame_, StepCaption(s_, true));
  base_->Finish();
  baseCopied_ = false;
}

void LocusWindow::DrawMarkers() {
  const QImage& base = base_->Image();
  // The boxes are in the picture's pixels: a picture of more device pixels
  // is copied whole.
  if (baseCopied_ && shown_.size() == base.size() && shown_.format() == base.format() &&
      base.devicePixelRatio() == 1) {
    // The shown picture is the base but where the last markers went: only
    // there are the base's pixels put back.
    const QRect whole = base.rect();
    const auto bytes = static_cast<std::size_t>(base.depth() / 8);
    for (const QRect& box : marked_) {
      const QRect r = box & whole;
      for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(shown_.scanLine(y) + r.left() * bytes, base.constScanLine(y) + r.left() * bytes,
                    static_cast<std::size_t>(r.width()) * bytes);
    }
  } else {
    shown_ = base.copy();
    baseCopied_ = true;
  }
  marked_.clear();
  {
    PainterSurface markers(shown_, base_->FontHeight());
    MarkedBoxes noted(markers, marked_);
    tv::DrawTarget on = picture_;
    on.DrawCanvas = on.ScreenCanvas = &noted;
    DrawLocusMarkers(on, locus_, frame_, poles_);
    markers.End();
  }
  QStringList lines;
  for (const std::string& line : LocusPoleLines(poles_, locus_.Param)) lines << FromCp1252(line);
  if (!lines.isEmpty()) lines << QString();
  for (const std::string& line : LocusRangeLines(locus_)) lines << FromCp1252(line);
  if (locus_.Outcome != LocusOutcome::Drawn) lines << FromCp1252(LocusOutcomeText(locus_));
  Readouts->setText(lines.join(u'\n'));
  Picture->update();
}

void LocusWindow::Resized(int width, int height) {
  if (width == picture_.PlotWidth && height == picture_.PlotHeight) return;
  picture_.PlotWidth = width;
  picture_.PlotHeight = height;
  base_->Resize(width, height);
  baseCopied_ = false;
  if (!computed_) return;
  DrawBase();
  DrawMarkers();
}

bool LocusWindow::ClickAt(int x, int y) {
  if (locus_.Outcome != LocusOutcome::Drawn || !frame_.Valid) return false;
  double value = 0;
  if (!NearestLocusValue(family_, locus_, frame_.At(x, y), &value)) return false;
  // Never below 0, as on the panel.
  if (setValue_) setValue_(locus_.Param, std::max(0.0, value));
  return true;
}

void LocusWindow::PressepapierClick() { QGuiApplication::clipboard()->setImage(shown_); }

void LocusWindow::ImprimerClick() {
  const std::string caption = StepCaption(s_, true);
  PrintPage(picture_, *base_, [this, caption](const tv::DrawTarget& page) {
    DrawLocusView(page, locus_, poles_, caption);
  });
  // The page was drawn on the printer: the window's own picture anew.
  picture_.DrawCanvas = picture_.ScreenCanvas = base_.get();
  DrawBase();
  DrawMarkers();
}

void LocusWindow::SauverClick(const char* extension) {
  SaveAs(extension, tr("Image (*%1)|*%1").arg(QString::fromLatin1(extension)),
         QStringLiteral("lieu"), [this](const std::string& path, std::string* error) {
           return WriteLocusOutput(locus_, poles_, StepCaption(s_, true), path, picture_.PlotWidth,
                                   picture_.PlotHeight, base_->FontHeight(), false, error);
         });
}

}  // namespace tv::ui
