// The window "Lieu de Nyquist": the loci of the ticked functions and the closed loop's verdict,
// redrawn after every redraw.
#include "ui/nyquist_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStringList>
#include <QToolTip>
#include <cmath>
#include <utility>

#include "core/format.h"
#include "ui/dialogs.h"
#include "output/nyquist_output.h"
#include "ui/picture_commands.h"
#include "output/qt_surface.h"

namespace tv::ui {

namespace {

QString Real(double x) { return QString::fromStdString(FormatReal(x)); }

}  // namespace

NyquistWindow::NyquistWindow(tv::DiagramState& s, QWidget* parent) : FollowingWindow(s, parent) {
  setObjectName(QStringLiteral("NyquistWindow"));
  setWindowTitle(tr("Lieu de Nyquist"));
  surface_ = std::make_unique<QtSurface>(kNyquistPictureWidth, kNyquistPictureHeight);
  surface_->SetFontHeight(10);
  picture_.DrawCanvas = picture_.ScreenCanvas = surface_.get();
  picture_.PlotWidth = kNyquistPictureWidth;
  picture_.PlotHeight = kNyquistPictureHeight;
  picture_.CurvePenWidth = 2;
  picture_.FramePenWidth = 1;

  auto* bar = new QWidget(this);
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(8, 4, 8, 4);
  ZoomCritique = new QCheckBox(tr("Zoom sur -1"), bar);
  ZoomCritique->setObjectName(QStringLiteral("ZoomCritique"));
  row->addWidget(ZoomCritique);
  row->addStretch(1);
  Layout->addWidget(bar);

  Picture =
      new PictureArea({.Name = "NyquistPicture",
                       .Hint = QSize(kNyquistPictureWidth, kNyquistPictureHeight),
                       .Minimum = QSize(320, 280),
                       .Image = [this]() -> const QImage& { return Image(); },
                       .Resized = [this](int w, int h) { Resized(w, h); },
                       .Moved =
                           [this](QMouseEvent& event) {
                             const QPoint at = event.position().toPoint();
                             const QString text = CursorText(at.x(), at.y());
                             if (text.isEmpty())
                               QToolTip::hideText();
                             else
                               QToolTip::showText(event.globalPosition().toPoint(), text, Picture);
                           }},
                      this);
  Layout->addWidget(Picture, 1);
  surface_->OnDrawingStarted = [this] { Picture->update(); };
  resize(kNyquistPictureWidth,
         kNyquistPictureHeight + MainMenu->sizeHint().height() + bar->sizeHint().height());

  connect(ZoomCritique, &QCheckBox::toggled, this, [this] { Repaint(); });
}

NyquistWindow::~NyquistWindow() = default;

std::function<void()> NyquistWindow::ComputeAhead(const tv::DiagramState&) {
  ahead_.reset();
  // The work reads the window's loci, which nothing changes before the redraw
  // is told.
  return
      [this, margins = s_.ShowMargins != 0] { ahead_ = ComputeNyquistPicture(s_, margins, loci_); };
}

void NyquistWindow::DiagramRedrawn(const tv::DiagramState&, bool drawn) {
  std::optional<tv::NyquistPicture> ahead = std::exchange(ahead_, std::nullopt);
  if (drawn && ahead) {
    loci_ = std::move(*ahead);
  } else if (drawn) {
    loci_ = ComputeNyquistPicture(s_, s_.ShowMargins != 0, loci_);
  } else {
    loci_ = tv::NyquistPicture{};
    loci_.Outcome = NyquistOutcome::Invalid;
  }
  Repaint();
}

void NyquistWindow::Opened() {
  loci_ = ComputeNyquistPictureOfTexts(s_, s_.ShowMargins != 0);
  Repaint();
}

void NyquistWindow::Repaint() {
  ++redrawCount_;
  frame_ = DrawNyquistView(picture_, loci_, ZoomCritique->isChecked());
  Picture->update();
}

void NyquistWindow::Resized(int width, int height) {
  if (width == picture_.PlotWidth && height == picture_.PlotHeight) return;
  picture_.PlotWidth = width;
  picture_.PlotHeight = height;
  surface_->Resize(width, height);
  Repaint();
}

const QImage& NyquistWindow::Image() const {
  surface_->Finish();
  return surface_->Image();
}

QString NyquistWindow::CursorText(int x, int y) const {
  QStringList rows;
  for (const NyquistNearest& n : NearestPoints(loci_, frame_, x, y)) {
    const NyquistPoint& p = n.Point;
    const double gain = 20 * std::log10(std::abs(p.H));
    const QString text = tr("%1 : w= %2 rad/s, Re= %3, Im= %4, %5 dB, %6°")
                             .arg(QString::fromStdString(n.Name), Real(p.W), Real(p.H.real()),
                                  Real(p.H.imag()), Real(gain), Real(p.PhaseDeg));
    rows << QStringLiteral("<font color=\"#%1%2%3\">%4</font>")
                .arg(n.Colour.R, 2, 16, QLatin1Char('0'))
                .arg(n.Colour.G, 2, 16, QLatin1Char('0'))
                .arg(n.Colour.B, 2, 16, QLatin1Char('0'))
                .arg(text.toHtmlEscaped());
  }
  return rows.join(QStringLiteral("<br>"));
}

void NyquistWindow::PressepapierClick() {
  PictureContext ctx{this, s_, picture_, HostDialogs(s_), *surface_};
  CopyPictureToClipboard(ctx);
}

void NyquistWindow::ImprimerClick() {
  const bool zoom = ZoomCritique->isChecked();
  PrintPage(picture_, *surface_,
            [this, zoom](const tv::DrawTarget& page) { DrawNyquistView(page, loci_, zoom); });
  // The page was drawn on the printer: the window's own picture anew, shown.
  Repaint();
}

void NyquistWindow::SauverClick(const char* extension) {
  SaveAs(extension, tr("Image (*%1)|*%1").arg(QString::fromLatin1(extension)),
         QStringLiteral("nyquist"), [this](const std::string& path, std::string* error) {
           return WriteNyquistOutput(loci_, ZoomCritique->isChecked(), path, picture_.PlotWidth,
                                     picture_.PlotHeight, surface_->FontHeight(), false, error);
         });
}

}  // namespace tv::ui
