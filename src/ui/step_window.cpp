// The window "Réponse temporelle": the step response of the ticked functions, redrawn after every
// redraw.
#include "ui/step_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPalette>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "analysis/curves.h"
#include "render/step_view.h"
#include "ui/picture_commands.h"
#include "output/qt_surface.h"
#include "output/step_output.h"
#include "ui/dialogs.h"
#include "ui/window_placement.h"

namespace tv::ui {

StepWindow::StepWindow(tv::DiagramState& s, QWidget* parent) : FollowingWindow(s, parent) {
  setObjectName(QStringLiteral("StepWindow"));
  setWindowTitle(tr("Réponse temporelle"));
  surface_ = std::make_unique<QtSurface>(kStepPictureWidth, kStepPictureHeight);
  surface_->SetFontHeight(10);
  picture_.DrawCanvas = picture_.ScreenCanvas = surface_.get();
  picture_.PlotWidth = kStepPictureWidth;
  picture_.PlotHeight = kStepPictureHeight;
  picture_.CurvePenWidth = 2;
  picture_.FramePenWidth = 1;

  // In the window itself, as the points editor's: a desktop's global menu
  // bar shows a window's menu only once it has been clicked.
  MainMenu->setNativeMenuBar(false);
  EnregistrerEchantillons = FileMenu->addAction(tr("Enregistrer les échantillons (CSV)..."));

  auto* bar = new QWidget(this);
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(8, 4, 8, 4);
  // Ticked when the window first opens: the product is usually the open loop
  // of a unity-feedback system.
  BoucleFermee = new QCheckBox(tr("Boucle fermée (retour unitaire)"), bar);
  BoucleFermee->setObjectName(QStringLiteral("BoucleFermee"));
  BoucleFermee->setChecked(true);
  row->addWidget(BoucleFermee);
  row->addSpacing(24);
  auto* label = new QLabel(QStringLiteral("t max (s)"), bar);
  row->addWidget(label);
  TMax = new QLineEdit(bar);
  TMax->setObjectName(QStringLiteral("TMax"));
  TMax->setFixedWidth(80);
  TMax->setPlaceholderText(QStringLiteral("auto"));
  label->setBuddy(TMax);
  row->addWidget(TMax);
  row->addSpacing(12);
  auto* inputLabel = new QLabel(tr("Entrée :"), bar);
  row->addWidget(inputLabel);
  Entree = new QComboBox(bar);
  Entree->setObjectName(QStringLiteral("Entree"));
  Entree->addItems({tr("échelon"), tr("rampe"), tr("impulsion")});
  inputLabel->setBuddy(Entree);
  row->addWidget(Entree);
  row->addStretch(1);
  Layout->addWidget(bar);

  Picture = new PictureArea({.Name = "StepPicture",
                             .Hint = QSize(kStepPictureWidth, kStepPictureHeight),
                             .Minimum = QSize(320, 240),
                             .Image = [this]() -> const QImage& { return Image(); },
                             .Resized = [this](int w, int h) { Resized(w, h); }},
                            this);
  Layout->addWidget(Picture, 1);
  surface_->OnDrawingStarted = [this] { Picture->update(); };
  // The picture at its default size, whatever the bars above it ask for.
  resize(kStepPictureWidth,
         kStepPictureHeight + MainMenu->sizeHint().height() + bar->sizeHint().height());

  connect(BoucleFermee, &QCheckBox::toggled, this, [this] { Recompute(); });
  connect(TMax, &QLineEdit::textChanged, this, [this] {
    // A text that is no duration is refused in red, as an invalid function
    // is, and the picture keeps its span until the text is corrected.
    const bool refused = !TMax->text().trimmed().isEmpty() && AskedTMax() == 0;
    QPalette palette = TMax->palette();
    palette.setColor(QPalette::Base,
                     refused ? QColor(255, 0, 0) : QApplication::palette().color(QPalette::Base));
    TMax->setPalette(palette);
    TMax->setToolTip(refused ? tr("Durée invalide : un nombre positif de secondes, ou vide "
                                  "pour une durée automatique")
                             : QString());
    if (refused) return;
    tMax_ = AskedTMax();
    Recompute();
  });
  connect(Entree, &QComboBox::currentIndexChanged, this, [this] { Recompute(); });
  connect(EnregistrerEchantillons, &QAction::triggered, this, [this] { SauverClick(".csv"); });
}

StepWindow::~StepWindow() = default;

void StepWindow::Place() {
  // Beside the main window when the screen has room, so that the Bode
  // picture stays in view; wholly on the screen in every case. Placed again
  // once the window system has given the frame.
  const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
  PlaceWindowBeside(*this, main);
  QTimer::singleShot(0, this, [this, main] { PlaceWindowBeside(*this, main); });
}

double StepWindow::AskedTMax() const {
  QString text = TMax->text().trimmed();
  text.replace(u',', u'.');
  bool ok = false;
  const double t = text.toDouble(&ok);
  return ok && std::isfinite(t) && t > 0 ? t : 0.0;
}

tv::InputKind StepWindow::AskedInput() const {
  switch (Entree->currentIndex()) {
    case 1: return tv::InputKind::Ramp;
    case 2: return tv::InputKind::Impulse;
    default: return tv::InputKind::Step;
  }
}

void StepWindow::DiagramRedrawn(const tv::DiagramState&, bool drawn) { Compute(drawn); }

void StepWindow::Recompute() {
  response_ = ComputeInputResponseOfTexts(s_, AskedInput(), BoucleFermee->isChecked(), tMax_);
  ++computeCount_;
  source_.reset();
  Repaint();
}

StepWindow::Source StepWindow::SourceNow() const {
  Source now{TickedFunctions(s_), {}, {}, AskedInput(), BoucleFermee->isChecked(), tMax_};
  for (int i : now.Factors) {
    now.Num.push_back(s_.NumCoeffs[static_cast<std::size_t>(i)]);
    now.Den.push_back(s_.DenCoeffs[static_cast<std::size_t>(i)]);
  }
  return now;
}

bool StepWindow::SameSource(const Source& a, const Source& b) {
  const auto sameBits = [](const std::vector<CoefficientSet>& x,
                           const std::vector<CoefficientSet>& y) {
    return x.size() == y.size() &&
           std::memcmp(x.data(), y.data(), x.size() * sizeof(CoefficientSet)) == 0;
  };
  return a.Factors == b.Factors && sameBits(a.Num, b.Num) && sameBits(a.Den, b.Den) &&
         a.Input == b.Input && a.Closed == b.Closed &&
         std::memcmp(&a.TMax, &b.TMax, sizeof a.TMax) == 0;
}

std::function<void()> StepWindow::ComputeAhead(const tv::DiagramState&) {
  ahead_.reset();
  Source now = SourceNow();
  if (source_ && SameSource(*source_, now)) return {};
  return [this, now = std::move(now)]() mutable {
    tv::InputResponse response = ComputeInputResponse(s_, now.Input, now.Closed, now.TMax);
    ahead_.emplace(std::move(now), std::move(response));
  };
}

void StepWindow::Compute(bool drawn) {
  std::optional<std::pair<Source, tv::InputResponse>> ahead = std::exchange(ahead_, std::nullopt);
  if (drawn) {
    // A step of a parameter that no ticked function reads leaves the response as it was.
    Source now = SourceNow();
    if (!source_ || !SameSource(*source_, now)) {
      if (ahead && SameSource(ahead->first, now))
        response_ = std::move(ahead->second);
      else
        response_ = ComputeInputResponse(s_, now.Input, now.Closed, now.TMax);
      ++computeCount_;
      source_ = std::move(now);
    }
  } else {
    response_ = tv::InputResponse{};
    response_.Input = AskedInput();
    response_.Samples.Outcome = StepOutcome::Invalid;
    source_.reset();
  }
  Repaint();
}

void StepWindow::Repaint() {
  ++redrawCount_;
  DrawInputView(picture_, response_, StepCaption(s_, BoucleFermee->isChecked()));
  Picture->update();
}

void StepWindow::Resized(int width, int height) {
  if (width == picture_.PlotWidth && height == picture_.PlotHeight) return;
  picture_.PlotWidth = width;
  picture_.PlotHeight = height;
  surface_->Resize(width, height);
  Repaint();
}

const QImage& StepWindow::Image() const {
  surface_->Finish();
  return surface_->Image();
}

void StepWindow::PressepapierClick() {
  // The copy leaves the window: it says the parameter values it was drawn with.
  QtSurface copy(picture_.PlotWidth, picture_.PlotHeight);
  copy.SetFontHeight(surface_->FontHeight());
  DrawTarget picture;
  picture.DrawCanvas = picture.ScreenCanvas = &copy;
  picture.PlotWidth = picture_.PlotWidth;
  picture.PlotHeight = picture_.PlotHeight;
  picture.CurvePenWidth = picture_.CurvePenWidth;
  picture.FramePenWidth = picture_.FramePenWidth;
  DrawInputView(picture, response_, StepCaption(s_, BoucleFermee->isChecked()),
                StepParameterLine(s_));
  PictureContext ctx{this, s_, picture, HostDialogs(s_), copy};
  CopyPictureToClipboard(ctx);
}

void StepWindow::ImprimerClick() {
  const std::string caption = StepCaption(s_, BoucleFermee->isChecked());
  const std::string parameters = StepParameterLine(s_);
  PrintPage(picture_, *surface_, [this, caption, parameters](const tv::DrawTarget& page) {
    // Only the page says the parameter values; the window's picture is drawn
    // again without them.
    DrawInputView(page, response_, caption, page.DrawCanvas == surface_.get() ? "" : parameters);
  });
  // The page was drawn on the printer: the window's own picture anew, shown.
  Repaint();
}

void StepWindow::SauverClick(const char* extension) {
  const QString ext = QString::fromLatin1(extension);
  const QString filter = ext == QLatin1String(".csv") ? tr("Échantillons (*%1)|*%1").arg(ext)
                                                      : tr("Image (*%1)|*%1").arg(ext);
  SaveAs(extension, filter, QStringLiteral("reponse"),
         [this](const std::string& path, std::string* error) {
           return WriteStepOutput(response_, StepCaption(s_, BoucleFermee->isChecked()), path,
                                  picture_.PlotWidth, picture_.PlotHeight, surface_->FontHeight(),
                                  false, error);
         });
}

}  // namespace tv::ui
