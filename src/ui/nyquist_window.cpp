// The window "Lieu de Nyquist": the loci of the ticked functions and the closed loop's verdict,
// redrawn after every redraw.
#include "ui/nyquist_window.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QStringList>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <functional>

#include "core/format.h"
#include "output/cp1252.h"
#include "ui/dialogs.h"
#include "output/file_names.h"
#include "output/fonts.h"
#include "output/nyquist_output.h"
#include "output/picture_output.h"
#include "output/qt_surface.h"

namespace tv::ui {

namespace {

const QString kCaption = QStringLiteral("Tracevue");

QString Real(double x) { return QString::fromStdString(FormatReal(x)); }

// The picture: paints the surface's image, follows its own size and shows
// the values under the cursor.
class NyquistPictureWidget : public QWidget {
 public:
  NyquistPictureWidget(QtSurface& surface, const NyquistWindow& window,
                       std::function<void(int, int)> resized, QWidget* parent)
      : QWidget(parent), surface_(surface), window_(window), resized_(std::move(resized)) {
    setObjectName(QStringLiteral("NyquistPicture"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setMinimumSize(320, 280);
  }
  QSize sizeHint() const override { return QSize(kNyquistPictureWidth, kNyquistPictureHeight); }

 protected:
  void paintEvent(QPaintEvent* event) override {
    surface_.Finish();
    QPainter p(this);
    p.drawImage(event->rect().topLeft(), surface_.Image(), event->rect());
  }
  void resizeEvent(QResizeEvent* event) override {
    resized_(event->size().width(), event->size().height());
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    const QPoint at = event->position().toPoint();
    const QString text = window_.CursorText(at.x(), at.y());
    if (text.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(event->globalPosition().toPoint(), text, this);
  }

 private:
  QtSurface& surface_;
  const NyquistWindow& window_;
  std::function<void(int, int)> resized_;
};

}  // namespace

NyquistWindow::NyquistWindow(tv::DiagramState& s, QWidget* parent)
    : QWidget(parent, Qt::Window), s_(s) {
  setObjectName(QStringLiteral("NyquistWindow"));
  setWindowTitle(tr("Lieu de Nyquist"));
  setFont(WindowFont());
  surface_ = std::make_unique<QtSurface>(kNyquistPictureWidth, kNyquistPictureHeight);
  surface_->SetFontHeight(10);
  picture_.DrawCanvas = picture_.ScreenCanvas = surface_.get();
  picture_.PlotWidth = kNyquistPictureWidth;
  picture_.PlotHeight = kNyquistPictureHeight;
  picture_.CurvePenWidth = 2;
  picture_.FramePenWidth = 1;

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  MainMenu = new QMenuBar(this);
  MainMenu->setObjectName(QStringLiteral("MainMenu"));
  QMenu* file = MainMenu->addMenu(tr("Fichier"));
  Pressepapier = file->addAction(tr("Presse-papier (Bitmap)"));
  Imprimer = file->addAction(tr("Imprimer"));
  SauverPng = file->addAction(tr("Sauver l'image (.PNG)"));
  SauverSvg = file->addAction(tr("Sauver l'image (.SVG)"));
  layout->setMenuBar(MainMenu);

  auto* bar = new QWidget(this);
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(8, 4, 8, 4);
  ZoomCritique = new QCheckBox(tr("Zoom sur -1"), bar);
  ZoomCritique->setObjectName(QStringLiteral("ZoomCritique"));
  row->addWidget(ZoomCritique);
  row->addStretch(1);
  layout->addWidget(bar);

  Picture = new NyquistPictureWidget(
      *surface_, *this, [this](int w, int h) { Resized(w, h); }, this);
  layout->addWidget(Picture, 1);
  surface_->OnDrawingStarted = [this] { Picture->update(); };
  resize(kNyquistPictureWidth,
         kNyquistPictureHeight + MainMenu->sizeHint().height() + bar->sizeHint().height());

  connect(ZoomCritique, &QCheckBox::toggled, this, [this] { Repaint(); });
  connect(Pressepapier, &QAction::triggered, this, &NyquistWindow::PressepapierClick);
  connect(Imprimer, &QAction::triggered, this, &NyquistWindow::ImprimerClick);
  connect(SauverPng, &QAction::triggered, this, [this] { SauverClick(".png"); });
  connect(SauverSvg, &QAction::triggered, this, [this] { SauverClick(".svg"); });
}

NyquistWindow::~NyquistWindow() {
  if (listenedTo_) listenedTo_->RemoveRedrawListener(this);
}

void NyquistWindow::ShowWindow() {
  show();
  raise();
  activateWindow();
}

void NyquistWindow::showEvent(QShowEvent* event) {
  if (!placed_) {
    placed_ = true;
    // Right of the main window when the screen has room, else in the upper
    // right corner of the screen (the time-response window takes the lower).
    const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 1024);
    const int right = main ? main->frameGeometry().right() + 8 : area.left();
    move(std::min(right, area.right() - frameGeometry().width()), area.top());
  }
  if (s_.Host && listenedTo_ != s_.Host) {
    if (listenedTo_) listenedTo_->RemoveRedrawListener(this);
    listenedTo_ = s_.Host;
    listenedTo_->AddRedrawListener(this);
  }
  Recompute();
  QWidget::showEvent(event);
}

void NyquistWindow::hideEvent(QHideEvent* event) {
  if (listenedTo_) listenedTo_->RemoveRedrawListener(this);
  listenedTo_ = nullptr;
  QWidget::hideEvent(event);
}

void NyquistWindow::DiagramRedrawn(const tv::DiagramState&, bool drawn) {
  if (drawn) {
    loci_ = ComputeNyquistPicture(s_, s_.ShowMargins != 0);
  } else {
    loci_ = tv::NyquistPicture{};
    loci_.Outcome = NyquistOutcome::Invalid;
  }
  Repaint();
}

void NyquistWindow::Recompute() {
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
  PictureContext ctx{
      this,      s_,
      picture_,  HostDialogs(s_),
      *surface_, [this, zoom](const tv::DrawTarget& page) { DrawNyquistView(page, loci_, zoom); }};
  PrintPicture(ctx, HostDialogs(s_).Printer());
  // The page was drawn on the printer: the window's own picture anew, shown.
  Repaint();
}

void NyquistWindow::SauverClick(const char* extension) {
  const QString ext = QString::fromLatin1(extension);
  const QString chosen = HostDialogs(s_).SaveFileName(this, tr("Image (*%1)|*%1").arg(ext),
                                                      QStringLiteral("*") + ext.toUpper(),
                                                      QStringLiteral("nyquist") + ext);
  if (chosen.isEmpty()) return;
  QString name = chosen;
  if (!name.endsWith(ext, Qt::CaseInsensitive)) name += ext;
  std::string error;
  if (!WriteNyquistOutput(loci_, ZoomCritique->isChecked(), LocalPath(name), picture_.PlotWidth,
                          picture_.PlotHeight, surface_->FontHeight(), false, &error))
    HostDialogs(s_).Message(this,
                            tr("Impossible d'enregistrer le fichier « %1 » : %2")
                                .arg(QDir::toNativeSeparators(name), FromCp1252(error)),
                            kCaption, MessageIcon::Exclamation);
}

}  // namespace tv::ui
