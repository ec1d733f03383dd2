// The window "Lieu des pôles en boucle fermée": the closed-loop poles over the selected parameter,
// kept while it is stepped, a click on a branch setting it.
#include "ui/locus_window.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/format.h"
#include "render/step_view.h"
#include "output/cp1252.h"
#include "ui/dialogs.h"
#include "output/file_names.h"
#include "output/fonts.h"
#include "output/locus_output.h"
#include "output/painter_surface.h"
#include "output/picture_output.h"
#include "output/qt_surface.h"
#include "render/locus_texts.h"

namespace tv::ui {

namespace {

// The picture: paints the image shown, follows its own size, and hands the
// clicks on.
class LocusPicture : public QWidget {
 public:
  LocusPicture(const QImage& image, std::function<void(int, int)> resized,
               std::function<void(int, int)> clicked, QWidget* parent)
      : QWidget(parent), image_(image), resized_(std::move(resized)), clicked_(std::move(clicked)) {
    setObjectName(QStringLiteral("LocusPicture"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(320, 260);
    setCursor(Qt::CrossCursor);
  }
  QSize sizeHint() const override { return QSize(kLocusPictureWidth, kLocusPictureHeight); }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter p(this);
    p.fillRect(event->rect(), Qt::white);
    p.drawImage(event->rect().topLeft(), image_, event->rect());
  }
  void resizeEvent(QResizeEvent* event) override {
    resized_(event->size().width(), event->size().height());
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton)
      clicked_(event->position().toPoint().x(), event->position().toPoint().y());
  }

 private:
  const QImage& image_;
  std::function<void(int, int)> resized_;
  std::function<void(int, int)> clicked_;
};

QString Decimal(double v) { return QString::fromStdString(FormatRealFine(v)); }

bool ReadDecimal(const QLineEdit* edit, double* v) {
  QString text = edit->text().trimmed();
  text.replace(u',', u'.');
  bool ok = false;
  *v = text.toDouble(&ok);
  return ok && std::isfinite(*v);
}

}  // namespace

LocusWindow::LocusWindow(tv::DiagramState& s, std::function<std::optional<Parameter>()> selected,
                         std::function<void(Parameter, double)> setValue, QWidget* parent)
    : QWidget(parent, Qt::Window),
      s_(s),
      selected_(std::move(selected)),
      setValue_(std::move(setValue)) {
  setObjectName(QStringLiteral("LocusWindow"));
  setWindowTitle(tr("Lieu des pôles en boucle fermée"));
  setFont(WindowFont());
  base_ = std::make_unique<QtSurface>(kLocusPictureWidth, kLocusPictureHeight);
  base_->SetFontHeight(10);
  picture_.DrawCanvas = picture_.ScreenCanvas = base_.get();
  picture_.PlotWidth = kLocusPictureWidth;
  picture_.PlotHeight = kLocusPictureHeight;
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
  layout->addWidget(bar);

  auto* body = new QWidget(this);
  auto* columns = new QHBoxLayout(body);
  columns->setContentsMargins(0, 0, 0, 0);
  Picture = new LocusPicture(
      shown_, [this](int w, int h) { Resized(w, h); }, [this](int x, int y) { ClickAt(x, y); },
      body);
  columns->addWidget(Picture, 1);
  Readouts = new QLabel(body);
  Readouts->setObjectName(QStringLiteral("Readouts"));
  Readouts->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Readouts->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Readouts->setMinimumWidth(300);
  Readouts->setContentsMargins(8, 8, 8, 8);
  columns->addWidget(Readouts);
  layout->addWidget(body, 1);
  resize(kLocusPictureWidth + 300,
         kLocusPictureHeight + MainMenu->sizeHint().height() + bar->sizeHint().height());

  connect(From, &QLineEdit::editingFinished, this, [this] { Update(true); });
  connect(To, &QLineEdit::editingFinished, this, [this] { Update(true); });
  connect(Pressepapier, &QAction::triggered, this, &LocusWindow::PressepapierClick);
  connect(Imprimer, &QAction::triggered, this, &LocusWindow::ImprimerClick);
  connect(SauverPng, &QAction::triggered, this, [this] { SauverClick(".png"); });
  connect(SauverSvg, &QAction::triggered, this, [this] { SauverClick(".svg"); });
}

LocusWindow::~LocusWindow() {
  if (listenedTo_) listenedTo_->RemoveRedrawListener(this);
}

void LocusWindow::ShowWindow() {
  show();
  raise();
  activateWindow();
}

void LocusWindow::showEvent(QShowEvent* event) {
  if (!placed_) {
    placed_ = true;
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
  Update(true);
  QWidget::showEvent(event);
}

void LocusWindow::hideEvent(QHideEvent* event) {
  if (listenedTo_) listenedTo_->RemoveRedrawListener(this);
  listenedTo_ = nullptr;
  QWidget::hideEvent(event);
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

void LocusWindow::DiagramRedrawn(const tv::DiagramState&, bool drawn) { Update(drawn); }

void LocusWindow::Update(bool drawn) {
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
    // A step of the selected parameter: the locus stays, the poles move.
    poles_ = ComputeLocusPoles(family_, value);
  }
  DrawMarkers();
}

void LocusWindow::DrawBase() {
  frame_ = locus_.Outcome == LocusOutcome::Drawn ? LocusFrameOf(picture_, locus_, poles_)
                                                 : tv::LocusFrame{};
  DrawLocusBase(picture_, locus_, frame_, StepCaption(s_, true));
  base_->Finish();
}

void LocusWindow::DrawMarkers() {
  shown_ = base_->Image().copy();
  {
    PainterSurface markers(shown_, base_->FontHeight());
    tv::DrawTarget on = picture_;
    on.DrawCanvas = on.ScreenCanvas = &markers;
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
  PictureContext ctx{
      this, s_, picture_, HostDialogs(s_), *base_, [this, caption](const tv::DrawTarget& page) {
        DrawLocusView(page, locus_, poles_, caption);
      }};
  PrintPicture(ctx, HostDialogs(s_).Printer());
  // The page was drawn on the printer: the window's own picture anew.
  picture_.DrawCanvas = picture_.ScreenCanvas = base_.get();
  DrawBase();
  DrawMarkers();
}

void LocusWindow::SauverClick(const char* extension) {
  const QString ext = QString::fromLatin1(extension);
  const QString chosen = HostDialogs(s_).SaveFileName(this, tr("Image (*%1)|*%1").arg(ext),
                                                      QStringLiteral("*") + ext.toUpper(),
                                                      QStringLiteral("lieu") + ext);
  if (chosen.isEmpty()) return;
  QString name = chosen;
  if (!name.endsWith(ext, Qt::CaseInsensitive)) name += ext;
  std::string error;
  if (!WriteLocusOutput(locus_, poles_, StepCaption(s_, true), LocalPath(name), picture_.PlotWidth,
                        picture_.PlotHeight, base_->FontHeight(), false, &error))
    HostDialogs(s_).Message(this,
                            tr("Impossible d'enregistrer le fichier « %1 » : %2")
                                .arg(QDir::toNativeSeparators(name), FromCp1252(error)),
                            QStringLiteral("Tracevue"), MessageIcon::Exclamation);
}

}  // namespace tv::ui
