// A window that follows the picture: Fichier menu, picture area, its turn in the host's redraws.
#include "ui/following_window.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "output/cp1252.h"
#include "output/file_names.h"
#include "output/fonts.h"
#include "ui/dialogs.h"
#include "ui/picture_commands.h"

namespace tv::ui {

PictureArea::PictureArea(Setup setup, QWidget* parent) : QWidget(parent), setup_(std::move(setup)) {
  setObjectName(QString::fromLatin1(setup_.Name));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(setup_.Minimum);
  if (setup_.Moved) setMouseTracking(true);
  if (setup_.Pressed) setCursor(Qt::CrossCursor);
}

void PictureArea::paintEvent(QPaintEvent* event) {
  const QImage& image = setup_.Image();
  QPainter p(this);
  if (setup_.WhiteUnder) p.fillRect(event->rect(), Qt::white);
  p.drawImage(event->rect().topLeft(), image, event->rect());
}

void PictureArea::resizeEvent(QResizeEvent* event) {
  setup_.Resized(event->size().width(), event->size().height());
}

void PictureArea::mouseMoveEvent(QMouseEvent* event) {
  if (setup_.Moved) setup_.Moved(*event);
}

void PictureArea::mousePressEvent(QMouseEvent* event) {
  if (setup_.Pressed) setup_.Pressed(*event);
}

FollowingWindow::FollowingWindow(tv::DiagramState& s, QWidget* parent)
    : QWidget(parent, Qt::Window), s_(s) {
  setFont(WindowFont());
  Layout = new QVBoxLayout(this);
  Layout->setContentsMargins(0, 0, 0, 0);
  Layout->setSpacing(0);
  MainMenu = new QMenuBar(this);
  MainMenu->setObjectName(QStringLiteral("MainMenu"));
  FileMenu = MainMenu->addMenu(tr("Fichier"));
  Pressepapier = FileMenu->addAction(tr("Presse-papier (Bitmap)"));
  Imprimer = FileMenu->addAction(tr("Imprimer"));
  SauverPng = FileMenu->addAction(tr("Sauver l'image (.PNG)"));
  SauverSvg = FileMenu->addAction(tr("Sauver l'image (.SVG)"));
  Layout->setMenuBar(MainMenu);
  connect(Pressepapier, &QAction::triggered, this, [this] { PressepapierClick(); });
  connect(Imprimer, &QAction::triggered, this, [this] { ImprimerClick(); });
  connect(SauverPng, &QAction::triggered, this, [this] { SauverClick(".png"); });
  connect(SauverSvg, &QAction::triggered, this, [this] { SauverClick(".svg"); });
}

FollowingWindow::~FollowingWindow() {
  if (listenedTo_) listenedTo_->RemoveRedrawListener(this);
}

void FollowingWindow::ShowWindow() {
  show();
  raise();
  activateWindow();
}

void FollowingWindow::Place() {
  const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
  const QRect area = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 1024);
  const int right = main ? main->frameGeometry().right() + 8 : area.left();
  move(std::min(right, area.right() - frameGeometry().width()), area.top());
}

void FollowingWindow::showEvent(QShowEvent* event) {
  if (!placed_) {
    placed_ = true;
    Place();
  }
  if (s_.Host && listenedTo_ != s_.Host) {
    if (listenedTo_) listenedTo_->RemoveRedrawListener(this);
    listenedTo_ = s_.Host;
    listenedTo_->AddRedrawListener(this);
  }
  Opened();
  QWidget::showEvent(event);
}

void FollowingWindow::hideEvent(QHideEvent* event) {
  if (listenedTo_) listenedTo_->RemoveRedrawListener(this);
  listenedTo_ = nullptr;
  QWidget::hideEvent(event);
}

void FollowingWindow::SaveAs(
    const char* extension, const QString& filter, const QString& presetBase,
    const std::function<bool(const std::string& path, std::string* error)>& write) {
  const QString ext = QString::fromLatin1(extension);
  const QString chosen = HostDialogs(s_).SaveFileName(
      this, filter, QStringLiteral("*") + ext.toUpper(), presetBase + ext);
  if (chosen.isEmpty()) return;
  QString name = chosen;
  if (!name.endsWith(ext, Qt::CaseInsensitive)) name += ext;
  std::string error;
  if (!write(LocalPath(name), &error))
    HostDialogs(s_).Message(this,
                            tr("Impossible d'enregistrer le fichier « %1 » : %2")
                                .arg(QDir::toNativeSeparators(name), FromCp1252(error)),
                            QStringLiteral("Tracevue"), MessageIcon::Exclamation);
}

void FollowingWindow::PrintPage(const tv::DrawTarget& picture, QtSurface& screen,
                                std::function<void(const tv::DrawTarget& page)> drawPage) {
  PictureContext ctx{this, s_, picture, HostDialogs(s_), screen, std::move(drawPage)};
  PrintPicture(ctx, HostDialogs(s_).Printer());
}

}  // namespace tv::ui
