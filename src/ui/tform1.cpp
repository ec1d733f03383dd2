// The main window: start-up, menus, the display and range controls, the picture and its resizing.
#include "ui/tform1.h"

#include <QPrinter>

#include <QAction>
#include <QButtonGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QStringList>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <utility>

#include "analysis/curve_table.h"
#include "analysis/tuning.h"

#include "core/format.h"
#include "core/display_rules.h"
#include "core/selection.h"
#include "expression/coefficients.h"
#include "files/file_io.h"
#include "files/transfer_file.h"
#include "render/primitives.h"
#include "render/redraw.h"
#include "ui/about_box.h"
#include "output/cp1252.h"
#include "ui/cursor_values.h"
#include "ui/locus_window.h"
#include "ui/measures_window.h"
#include "ui/nyquist_window.h"
#include "output/file_names.h"
#include "output/fonts.h"
#include "ui/parameter_controls.h"
#include "output/qt_surface.h"
#include "ui/step_window.h"
#include "ui/desktop_launcher.h"
#include "ui/picture_commands.h"
#include "ui/tform2.h"
#include "ui/window_placement.h"
#include "ui/worksheet_commands.h"
#include "ui/tform3.h"
#include "output/transfer_refusal.h"

namespace tv::ui {

namespace {

constexpr char kTransferFilter[] = "Transfert|*.WWC";
constexpr char kTransferExtension[] = "*.WWC";

// Image1: paints the surface's picture at its top-left corner; the values
// under the cursor follow the mouse in a tooltip, the picture stays as drawn.
// On a screen of another pixel ratio (the window moved, or the screen's
// setting changed) the picture is drawn anew at that ratio first.
class PictureView : public QWidget {
 public:
  PictureView(QtSurface& surface, std::function<QString(int, int)> valuesAt,
              std::function<void(double)> ratioChanged, QWidget* parent)
      : QWidget(parent),
        surface_(surface),
        valuesAt_(std::move(valuesAt)),
        ratioChanged_(std::move(ratioChanged)) {
    setObjectName(QStringLiteral("Image1"));
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    const double ratio = devicePixelRatioF();
    if (ratio != surface_.DevicePixelRatio() && ratioChanged_) ratioChanged_(ratio);
    surface_.Finish();
    QPainter p(this);
    const QImage& picture = surface_.Image();
    const QRect r = event->rect();
    // The source is in the picture's own pixels, ratio of them to a pixel.
    const double k = picture.devicePixelRatio();
    p.drawImage(QRectF(r), picture, QRectF(r.x() * k, r.y() * k, r.width() * k, r.height() * k));
  }

  void mouseMoveEvent(QMouseEvent* event) override {
    const QPoint at = event->position().toPoint();
    const QString text = valuesAt_ ? valuesAt_(at.x(), at.y()) : QString();
    if (text.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(event->globalPosition().toPoint() + QPoint(16, 16), text, this);
    QWidget::mouseMoveEvent(event);
  }

  void leaveEvent(QEvent* event) override {
    QToolTip::hideText();
    QWidget::leaveEvent(event);
  }

 private:
  QtSurface& surface_;
  std::function<QString(int, int)> valuesAt_;
  std::function<void(double)> ratioChanged_;
};

QToolButton* ArrowButton(const char* name, Qt::ArrowType arrow, int left, int top,
                         QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setArrowType(arrow);
  button->setGeometry(left, top, 23, 22);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

QCheckBox* CurveCheckBox(const char* name, const char* caption, QColor colour, int left,
                         QWidget* parent) {
  auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
  box->setObjectName(QString::fromLatin1(name));
  QFont font = WindowFont();
  font.setPixelSize(11);
  font.setBold(false);
  box->setFont(font);
  QPalette palette = box->palette();
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::ButtonText, colour);
  box->setPalette(palette);
  box->setGeometry(left, 0, 40, 17);
  return box;
}

QAction* MenuEntry(QMenu* menu, const char* name, const QString& caption, bool enabled) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  action->setEnabled(enabled);
  return action;
}

}  // namespace

TForm1::TForm1(tv::DiagramState& s, Dialogs& dialogs, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), s_(s), dialogs_(dialogs) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Tracevue"));
  setFont(WindowFont());
  // Drawn at the resolution of the screen the window opens on.
  surface_ = std::make_unique<QtSurface>(kClientWidth, kClientHeight, devicePixelRatioF());

  CreateMenus();
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("ClientArea"));
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  setCentralWidget(central);
  CreatePanel();
  layout->addWidget(Panel1);
  CreatePicture();
  layout->addWidget(imageArea_, 1);

  // The picture's vertical bar stands beside the plot, not over it.
  const int menuHeight = menuBar()->sizeHint().height();
  resize(kClientWidth + PictureBarWidth(), kClientHeight + menuHeight);
  setMaximumSize(kMaxClientWidth + PictureBarWidth(), kMaxClientHeight + menuHeight);

  StartUp(arguments);

  // The other windows come after the main window's start-up, whose redraws
  // therefore never use them.
  aboutBox_ = new TAboutBox(this);
  form3_ = new TForm3(*this, this);
  launcher_ = std::make_unique<QtDesktopLauncher>();
  form2_ = new TForm2(s_, this);
  for (QAction* entry :
       {Ouvrirditeurdepoints1, Pressepapier1, Imprimer1, SauverlimageEMF1, Mspaint1, Maple1,
        RponsetemporellecrationdunfichierMaple1, Rponsetemporelletrac1, Lieudesples1})
    entry->setEnabled(true);
  for (QAction* entry : {N6, N5, H31}) entry->setEnabled(true);

  central->installEventFilter(this);
  startedUp_ = true;
  MarkWorkSaved();
}

TForm1::~TForm1() {
  // The followers listen to this host: they go while the host is whole.
  followers_.DeleteAll();
  if (s_.Host == this) s_.Host = nullptr;
}

void TForm1::CreateMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));

  Fichier1 = bar->addMenu(tr("Fichier"));
  Fichier1->setObjectName(QStringLiteral("Fichier1"));
  N3 = MenuEntry(Fichier1, "N3", tr("Nouveau"), true);
  N1 = MenuEntry(Fichier1, "N1", tr("Ouvrir"), true);
  N2 = MenuEntry(Fichier1, "N2", tr("Enregistrer"), true);
  Pressepapier1 = MenuEntry(Fichier1, "Pressepapier1", tr("Presse-papier (Bitmap)"), false);
  Imprimer1 = MenuEntry(Fichier1, "Imprimer1", tr("Imprimer"), false);
  SauverlimageEMF1 = MenuEntry(Fichier1, "SauverlimageEMF1", tr("Sauver l'image (.EMF)"), false);
  Mspaint1 = MenuEntry(Fichier1, "Mspaint1", tr("Modifier l'image avec Mspaint (.Bmp)"), false);
  ExporterlescourbesCSV1 =
      MenuEntry(Fichier1, "ExporterlescourbesCSV1", tr("Exporter les courbes (CSV)..."), true);
  Maple1 =
      MenuEntry(Fichier1, "Maple1", tr("Réponse temporelle : ouverture directe de Maple"), false);
  RponsetemporellecrationdunfichierMaple1 =
      MenuEntry(Fichier1, "RponsetemporellecrationdunfichierMaple1",
                tr("Réponse temporelle : création d'un fichier Maple"), false);
  // The windows that follow the picture: one line each (entry, then how the
  // window is made), made when first opened.
  Rponsetemporelletrac1 = followers_.Add<StepWindow>(
      MenuEntry(Fichier1, "Rponsetemporelletrac1", tr("Réponse temporelle : tracé"), false),
      [this] { return new StepWindow(s_, this); });
  Ouvrirditeurdepoints1 =
      MenuEntry(Fichier1, "Ouvrirditeurdepoints1", tr("Ouvrir éditeur de points"), false);
  Quitter1 = MenuEntry(Fichier1, "Quitter1", tr("Quitter"), true);

  Dfinir1 = bar->addMenu(tr("Définir"));
  Dfinir1->setObjectName(QStringLiteral("Dfinir1"));
  // H1..H3 need the entry window, which exists once the start-up is over.
  N6 = MenuEntry(Dfinir1, "N6", QStringLiteral("H1"), false);
  N5 = MenuEntry(Dfinir1, "N5", QStringLiteral("H2"), false);
  H31 = MenuEntry(Dfinir1, "H31", QStringLiteral("H3"), false);
  GainK1 = MenuEntry(Dfinir1, "GainK1", tr("Gain K"), false);
  A1 = MenuEntry(Dfinir1, "A1", QStringLiteral("A"), false);
  B2 = MenuEntry(Dfinir1, "B2", QStringLiteral("B"), false);
  B1 = MenuEntry(Dfinir1, "B1", QStringLiteral("T"), false);
  W1 = MenuEntry(Dfinir1, "W1", QStringLiteral("W"), false);
  Ksi1 = MenuEntry(Dfinir1, "Ksi1", QStringLiteral("Ksi"), false);

  Analyse1 = bar->addMenu(tr("Analyse"));
  Analyse1->setObjectName(QStringLiteral("Analyse1"));
  // The exact read-outs: their window, and the tuning to the 2.3 dB contour.
  Mesures1 = followers_.Add<MeasuresWindow>(
      MenuEntry(Analyse1, "Mesures1", tr("Mesures..."), true),
      [this] { return new MeasuresWindow(s_, *this, this); },
      [this](MeasuresWindow& w) {
        w.show();
        w.raise();
        // The drawn margins come with a redraw; the picture itself stays the same.
        Redraw();
      });
  Rglersur23dB1 = MenuEntry(Analyse1, "Rglersur23dB1", tr("Régler sur 2,3 dB"), true);
  connect(Rglersur23dB1, &QAction::triggered, this, &TForm1::Rglersur23dB1Click);
  Asymptotes1 = MenuEntry(Analyse1, "Asymptotes1", tr("Asymptotes"), true);
  Asymptotes1->setCheckable(true);
  connect(Asymptotes1, &QAction::toggled, this, &TForm1::Asymptotes1Click);
  AbaquedeBlackNichols1 =
      MenuEntry(Analyse1, "AbaquedeBlackNichols1", tr("Abaque de Black-Nichols"), true);
  AbaquedeBlackNichols1->setCheckable(true);
  connect(AbaquedeBlackNichols1, &QAction::toggled, this, &TForm1::AbaquedeBlackNichols1Click);
  LieuNyquist1 = followers_.Add<NyquistWindow>(
      MenuEntry(Analyse1, "LieuNyquist1", tr("Lieu de Nyquist"), true),
      [this] { return new NyquistWindow(s_, this); });
  // Needs the panel, which exists once the start-up is over.
  Lieudesples1 =
      followers_.Add<LocusWindow>(MenuEntry(Analyse1, "Lieudesples1", tr("Lieu des pôles"), false),
                                  [this] { return MakeLocusWindow(); });

  // The menu title itself is the command.
  apropos = bar->addAction(tr("A propos"));
  apropos->setObjectName(QStringLiteral("apropos"));

  // The usual keys of a desktop program; the captions stay as they are.
  N3->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  N1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  N2->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  Imprimer1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  Pressepapier1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  Quitter1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  apropos->setShortcut(QKeySequence(Qt::Key_F1));

  connect(N3, &QAction::triggered, this, &TForm1::N3Click);
  connect(N1, &QAction::triggered, this, &TForm1::N1Click);
  connect(N2, &QAction::triggered, this, &TForm1::N2Click);
  connect(Quitter1, &QAction::triggered, this, &TForm1::Quitter1Click);
  connect(N6, &QAction::triggered, this, &TForm1::N6Click);
  connect(N5, &QAction::triggered, this, &TForm1::N5Click);
  connect(H31, &QAction::triggered, this, &TForm1::H31Click);
  connect(apropos, &QAction::triggered, this, &TForm1::AproposClick);
  connect(Ouvrirditeurdepoints1, &QAction::triggered, this, &TForm1::Ouvrirditeurdepoints1Click);
  connect(Pressepapier1, &QAction::triggered, this, &TForm1::Pressepapier1Click);
  connect(Imprimer1, &QAction::triggered, this, &TForm1::Imprimer1Click);
  connect(SauverlimageEMF1, &QAction::triggered, this, &TForm1::SauverlimageEMF1Click);
  connect(Mspaint1, &QAction::triggered, this, &TForm1::Mspaint1Click);
  connect(ExporterlescourbesCSV1, &QAction::triggered, this, &TForm1::ExporterlescourbesCSV1Click);
  connect(Maple1, &QAction::triggered, this, &TForm1::Maple1Click);
  connect(RponsetemporellecrationdunfichierMaple1, &QAction::triggered, this,
          &TForm1::RponsetemporellecrationdunfichierMaple1Click);
}

void TForm1::CreatePanel() {
  Panel1 = new QFrame(centralWidget());
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFixedHeight(kPanelHeight);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setAutoFillBackground(true);
  buttonFace_ = Panel1->palette().color(QPalette::Button);
  {
    QPalette palette = Panel1->palette();
    palette.setColor(QPalette::Window, buttonFace_);
    Panel1->setPalette(palette);
  }

  parameters_ = new ParameterControls(Panel1, s_);
  parameters_->AttachMenuEntries(GainK1, A1, B2, B1, W1, Ksi1);

  SpeedButton1 = ArrowButton("SpeedButton1", Qt::LeftArrow, 8, 24, Panel1);
  SpeedButton2 = ArrowButton("SpeedButton2", Qt::RightArrow, 32, 24, Panel1);
  SpeedButton8 = ArrowButton("SpeedButton8", Qt::UpArrow, 56, 9, Panel1);
  SpeedButton6 = ArrowButton("SpeedButton6", Qt::DownArrow, 56, 33, Panel1);
  SpeedButton5 = ArrowButton("SpeedButton5", Qt::LeftArrow, 880, 40, Panel1);
  SpeedButton3 = ArrowButton("SpeedButton3", Qt::RightArrow, 904, 40, Panel1);

  BitBtn1 = new QPushButton(QStringLiteral("---> Black"), Panel1);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setGeometry(568, 0, 78, 27);

  CheckBox5 = new QCheckBox(tr("Marges"), Panel1);
  CheckBox5->setObjectName(QStringLiteral("CheckBox5"));
  CheckBox5->setGeometry(568, 32, 78, 17);

  Panel2 = new QFrame(Panel1);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  Panel2->setGeometry(648, 0, 124, 61);
  RadioButton7 = new QRadioButton(tr("Gain seul"), Panel2);
  RadioButton7->setObjectName(QStringLiteral("RadioButton7"));
  RadioButton7->setGeometry(0, 8, 124, 17);
  RadioButton8 = new QRadioButton(tr("Phase seule"), Panel2);
  RadioButton8->setObjectName(QStringLiteral("RadioButton8"));
  RadioButton8->setGeometry(0, 24, 124, 17);
  RadioButton9 = new QRadioButton(tr("Gain+Phase"), Panel2);
  RadioButton9->setObjectName(QStringLiteral("RadioButton9"));
  RadioButton9->setGeometry(0, 40, 124, 17);
  // Checked before any handler is connected: the start-up sets the mode itself.
  RadioButton9->setChecked(true);

  CheckBox1 = CurveCheckBox("CheckBox1", "H1", QColor(0, 0, 255), 776, Panel1);
  CheckBox2 = CurveCheckBox("CheckBox2", "H2", QColor(255, 0, 0), 816, Panel1);
  CheckBox3 = CurveCheckBox("CheckBox3", "H3", QColor(255, 0, 255), 856, Panel1);
  CheckBox4 = new QCheckBox(QStringLiteral("H1.H2.H3"), Panel1);
  CheckBox4->setObjectName(QStringLiteral("CheckBox4"));
  CheckBox4->setGeometry(896, 0, 130, 17);

  Label1 = new QLabel(tr("Cochez la fonction à tracer"), Panel1);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->move(776, 24);
  Label1->adjustSize();

  // State changes, not clicks: a box or radio button set from program code
  // runs its handler at once, nested inside the code that set it.
  connect(CheckBox1, &QCheckBox::toggled, this, &TForm1::CheckBox1Click);
  connect(CheckBox2, &QCheckBox::toggled, this, &TForm1::CheckBox2Click);
  connect(CheckBox3, &QCheckBox::toggled, this, &TForm1::CheckBox3Click);
  connect(CheckBox4, &QCheckBox::toggled, this, &TForm1::CheckBox4Click);
  connect(CheckBox5, &QCheckBox::toggled, this, &TForm1::CheckBox5Click);
  connect(RadioButton7, &QRadioButton::toggled, this, [this](bool on) {
    if (on) RadioButton7Click();
  });
  connect(RadioButton8, &QRadioButton::toggled, this, [this](bool on) {
    if (on) RadioButton8Click();
  });
  connect(RadioButton9, &QRadioButton::toggled, this, [this](bool on) {
    if (on) RadioButton9Click();
  });
  connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
  connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
  connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
  connect(SpeedButton3, &QToolButton::clicked, this, &TForm1::SpeedButton3Click);
  connect(SpeedButton5, &QToolButton::clicked, this, &TForm1::SpeedButton5Click);
  connect(SpeedButton6, &QToolButton::clicked, this, &TForm1::SpeedButton6Click);
  connect(SpeedButton8, &QToolButton::clicked, this, &TForm1::SpeedButton8Click);
}

void TForm1::CreatePicture() {
  imageArea_ = new QScrollArea(centralWidget());
  imageArea_->setObjectName(QStringLiteral("ImageArea"));
  imageArea_->setFrameShape(QFrame::NoFrame);
  imageArea_->setWidgetResizable(false);
  imageArea_->setBackgroundRole(QPalette::Base);
  // The picture is as tall as the whole client area, the panel included,
  // so its lowest rows are reached with the vertical bar, always there. The
  // bar has its own column right of the plot, which is as wide as the
  // client area less that column: every pixel of the picture's width shows,
  // and no horizontal bar is needed.
  imageArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  imageArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* view = new PictureView(
      *surface_, [this](int x, int y) { return CursorValuesText(s_, target_, x, y); },
      [this](double ratio) {
        surface_->SetDevicePixelRatio(ratio);
        Redraw();
      },
      imageArea_);
  view->resize(surface_->Width(), surface_->Height());
  imageArea_->setWidget(view);
  Image1 = view;
  surface_->OnDrawingStarted = [this] { Image1->update(); };
}

void TForm1::StartUp(const QStringList& arguments) {
  s_.CapturePoints = 0;
  move(20, 20);
  target_ = ScreenTarget(surface_.get(), kClientWidth, kClientHeight);
  target_.Sweeps = &sweeps_;
  s_.Host = this;
  ResetDiagram(s_);
  surface_->SetFontHeight(10);
  s_.BodeMode = 2;
  s_.ShowMargins = 0;
  s_.BlackView = 0;
  Redraw();
  UpdateProductCaption();
  RefreshParameterAvailability();
  s_.TempDir = PlatformTempDir();
  s_.MapleFileLetter = 'a';
  if (!arguments.isEmpty()) {
    s_.CurrentFileName = TransferFileNameFromArgument(LocalPath(arguments.front()));
    const std::string path = ResolveTransferFileName(s_.CurrentFileName);
    const std::string problem = LoadTransferFile(path);
    if (problem.empty()) transferPath_ = QFileInfo(QtPath(path)).absoluteFilePath();
    // The window is not on the screen yet: the message comes once it is,
    // and the program starts all the same, with its defaults.
    if (!problem.empty())
      QTimer::singleShot(0, this, [this, path, problem] { ReportRefusedFile(path, problem); });
  }
}

std::string TForm1::LoadTransferFile(const std::string& path) {
  std::string problem;
  if (const std::optional<DiagramState> work = ReadTransferFile(s_, path, &problem))
    ShowLoadedWork(s_, *work);
  return problem;
}

void TForm1::ReportRefusedFile(const std::string& path, const std::string& problem) {
  dialogs_.Message(this, TransferFileRefusal(path, problem), QStringLiteral("Tracevue"),
                   MessageIcon::Exclamation);
}

int TForm1::PictureBarWidth() const {
  return imageArea_ ? imageArea_->verticalScrollBar()->sizeHint().width() : 0;
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (fitted_) return;
  fitted_ = true;
  // On a small or scaled screen the window is made to fit it: the picture
  // then scrolls, and the panel takes two rows (ArrangePanel). Fitted again
  // once the window system has given the frame.
  FitWindowInsideScreen(*this);
  QTimer::singleShot(0, this, [this] { FitWindowInsideScreen(*this); });
}

void TForm1::ArrangePanel(int width) {
  // Right of this, the view's controls and the curve boxes; narrower than the
  // row's end, they go under the parameters, so that none is out of reach.
  constexpr int kSecondRowFrom = 560;
  constexpr int kRowEnd = 1030;
  const bool wrap = width < kRowEnd;
  if (wrap == panelWrapped_) return;
  panelWrapped_ = wrap;
  constexpr int kSecondRowTop = kPanelHeight - 4;
  for (QWidget* control : Panel1->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (wrap && control->x() >= kSecondRowFrom)
      control->move(control->pos() + QPoint(-kSecondRowFrom, kSecondRowTop));
    else if (!wrap && control->y() >= kSecondRowTop)
      control->move(control->pos() + QPoint(kSecondRowFrom, -kSecondRowTop));
  }
  Panel1->setFixedHeight(wrap ? kSecondRowTop + kPanelHeight : kPanelHeight);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::Resize) {
    const QSize size = static_cast<QResizeEvent*>(event)->size();
    ArrangePanel(size.width());
    Resized(size.width() - PictureBarWidth(), size.height());
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::Resized(int clientWidth, int clientHeight) {
  if (clientWidth == target_.PlotWidth && clientHeight == target_.PlotHeight) return;
  ClearPlot(target_);
  target_.PlotWidth = clientWidth;
  target_.PlotHeight = clientHeight;
  surface_->Resize(clientWidth, clientHeight);
  Image1->resize(surface_->Width(), surface_->Height());
  Redraw();
  Image1->update();
}

// ---- DiagramHost ----

QCheckBox* TForm1::CurveBox(int box) const {
  switch (box) {
    case 1: return CheckBox1;
    case 2: return CheckBox2;
    case 3: return CheckBox3;
    case 4: return CheckBox4;
    default: return nullptr;
  }
}

void TForm1::CurveTickChanged(int box) {
  // The box's toggled signal runs its click handling, as a click would.
  if (QCheckBox* b = CurveBox(box))
    b->setChecked(s_.CurveTicked[static_cast<std::size_t>(box - 1)]);
}

void TForm1::SetPanelInvalid(bool invalid) {
  QPalette palette = Panel1->palette();
  palette.setColor(QPalette::Window, invalid ? QColor(255, 0, 0) : buttonFace_);
  Panel1->setPalette(palette);
  Panel1->setToolTip(invalid ? RefusedFunctionsText() : QString());
}

QString TForm1::RefusedFunctionsText() const {
  // The ticked functions that are refused, each with what to change when that is known.
  QStringList lines;
  const ParameterValues params = ParametersOf(s_);
  CoefficientSet scratch{};
  for (int i = 0; i < 3; ++i) {
    if (!s_.CurveTicked[static_cast<std::size_t>(i)]) continue;
    const std::string_view num = s_.NumText[i].View();
    const std::string_view den = s_.DenText[i].View();
    const bool numOk = ExtractPolynomial(num, params, scratch);
    if (numOk && ExtractPolynomial(den, params, scratch)) continue;
    QString line =
        (numOk ? tr("H%1 : dénominateur invalide") : tr("H%1 : numérateur invalide")).arg(i + 1);
    const std::string reason = RefusalReason(numOk ? den : num, params);
    if (!reason.empty()) line += QStringLiteral(" : ") + QString::fromStdString(reason);
    lines << line;
  }
  return lines.join(u'\n');
}

QColor TForm1::PanelColour() const { return Panel1->palette().color(QPalette::Window); }

void TForm1::RefreshParameterCaptions() {
  if (parameters_) parameters_->RefreshParameterCaptions();
}

void TForm1::RefreshParameterAvailability() {
  if (parameters_) parameters_->RefreshParameterAvailability();
}

// The start-up's redraws come before the points editor exists; they never
// capture, so the editor's text is only reached once it is there.
void TForm1::ClearEditorText() {
  if (form2_) form2_->ClearText();
}

void TForm1::AppendEditorLine(std::string_view line) {
  if (form2_) form2_->AppendLine(line);
}

void TForm1::Ouvrirditeurdepoints1Click() { form2_->ShowEditor(); }

// ---- picture and worksheet commands ----

PictureContext TForm1::PictureCommands() {
  return PictureContext{this, s_, target_, dialogs_, *surface_};
}

void TForm1::Pressepapier1Click() {
  PictureContext ctx = PictureCommands();
  CopyPictureToClipboard(ctx);
}

void TForm1::Imprimer1Click() {
  PictureContext ctx = PictureCommands();
  PrintPicture(ctx, Printer());
}

void TForm1::SauverlimageEMF1Click() {
  PictureContext ctx = PictureCommands();
  SavePictureAsEmf(ctx);
}

void TForm1::Mspaint1Click() {
  PictureContext ctx = PictureCommands();
  EditPictureInPaintProgram(ctx, *launcher_);
}

void TForm1::ExporterlescourbesCSV1Click() {
  // The numbers of the picture on screen: none while a ticked function is
  // refused (the picture shows nothing new then).
  for (int i = 0; i < 3; ++i) {
    CoefficientSet scratch{};
    if (s_.CurveTicked[static_cast<std::size_t>(i)] &&
        (!ExtractCoefficients(s_.NumText[i].View(), s_, scratch) ||
         !ExtractCoefficients(s_.DenText[i].View(), s_, scratch))) {
      dialogs_.Message(this, tr("Une fonction cochée est invalide : rien n'est exporté"),
                       QStringLiteral("Tracevue"), MessageIcon::Exclamation);
      return;
    }
  }
  const QString chosen =
      dialogs_.SaveFileName(this, tr("Courbes (*.csv)|*.csv"), QStringLiteral("*.csv"),
                            QtPath(ReplaceExtension(s_.CurrentFileName, ".csv")));
  if (chosen.isEmpty()) return;
  QString name = chosen;
  if (!name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) name += QLatin1String(".csv");
  std::string error;
  if (!WriteFileAtomically(LocalPath(name), CurveTableCsv(SweepDrawnCurves(s_, target_.PlotWidth)),
                           &error))
    dialogs_.Message(this,
                     tr("Impossible d'enregistrer le fichier « %1 » : %2")
                         .arg(QDir::toNativeSeparators(name), FromCp1252(error)),
                     QStringLiteral("Tracevue"), MessageIcon::Exclamation);
}

void TForm1::Maple1Click() {
  PictureContext ctx = PictureCommands();
  OpenWorksheetInMaple(ctx, *launcher_);
}

void TForm1::RponsetemporellecrationdunfichierMaple1Click() {
  PictureContext ctx = PictureCommands();
  SaveWorksheetFile(ctx);
}

// ---- analysis ----

void TForm1::Mesures1Click() { Mesures1->trigger(); }

void TForm1::Rglersur23dB1Click() {
  const std::optional<Parameter> p = parameters_->SelectedParameter();
  if (!p) {
    dialogs_.Message(this, tr("Choisissez d'abord le paramètre à régler."),
                     QStringLiteral("Tracevue"), MessageIcon::Exclamation);
    return;
  }
  const std::optional<double> value = TuneClosedLoopPeak(s_, *p);
  if (!value) {
    dialogs_.Message(this,
                     tr("Aucune valeur de %1 entre 0 et %2 ne donne un pic de "
                        "2,3 dB avec une boucle fermée stable.")
                         .arg(QString::fromUtf8(Info(*p).Name.data(),
                                                static_cast<qsizetype>(Info(*p).Name.size())),
                              QString::fromStdString(FormatReal(kTuningHighest))),
                     QStringLiteral("Tracevue"), MessageIcon::Exclamation);
    return;
  }
  parameters_->SetParameterValue(*p, *value);
}

LocusWindow* TForm1::MakeLocusWindow() {
  auto* window = new LocusWindow(
      s_, [this] { return parameters_->SelectedParameter(); },
      [this](Parameter p, double v) { parameters_->SetParameterValue(p, v); }, this);
  connect(parameters_->Group(), &QButtonGroup::idToggled, window, [window](int, bool checked) {
    if (checked) window->ParameterChosen();
  });
  return window;
}

StepWindow* TForm1::StepResponseWindow() { return followers_.Get<StepWindow>(); }
LocusWindow* TForm1::PoleLocusWindow() { return followers_.Get<LocusWindow>(); }
MeasuresWindow* TForm1::Measures() const { return followers_.Find<MeasuresWindow>(); }
NyquistWindow* TForm1::Nyquist() const { return followers_.Find<NyquistWindow>(); }

void TForm1::ScrollToTop() { imageArea_->verticalScrollBar()->setValue(0); }

void TForm1::Beep() { dialogs_.Beep(); }

void TForm1::AlarmBeep() { tv::AlarmBeep(this); }

// ---- redraw and captions ----

void TForm1::Redraw() {
  ++redrawCount_;
  RedrawDiagram(s_, target_, frame_);
}

void TForm1::ClearPicture() { ClearPlot(target_); }

const QImage& TForm1::Picture() const {
  surface_->Finish();
  return surface_->Image();
}

void TForm1::UpdateProductCaption() {
  CheckBox4->setText(QString::fromStdString(ProductCaption(s_.CurveTicked.data())));
}

// ---- display controls ----

void TForm1::CheckBox1Click() {
  s_.CurveTicked[0] = CheckBox1->isChecked();
  Redraw();
  UpdateProductCaption();
}

void TForm1::CheckBox2Click() {
  s_.CurveTicked[1] = CheckBox2->isChecked();
  Redraw();
  UpdateProductCaption();
}

void TForm1::CheckBox3Click() {
  s_.CurveTicked[2] = CheckBox3->isChecked();
  Redraw();
  UpdateProductCaption();
}

void TForm1::CheckBox4Click() {
  s_.CurveTicked[3] = CheckBox4->isChecked();
  Redraw();
}

void TForm1::Asymptotes1Click() {
  s_.ShowAsymptotes = Asymptotes1->isChecked() ? 1 : 0;
  Redraw();
}

void TForm1::AbaquedeBlackNichols1Click() {
  s_.ShowNicholsChart = AbaquedeBlackNichols1->isChecked() ? 1 : 0;
  Redraw();
}

void TForm1::CheckBox5Click() {
  s_.ShowMargins = CheckBox5->isChecked() ? 1 : 0;
  Redraw();
  if (s_.ShowMargins == 1) {
    SearchMargins(s_);
    RadioButton9->setChecked(true);
  }
}

void TForm1::SetModeWithoutMargins(std::uint8_t mode) {
  if (s_.ShowMargins == 1)
    dialogs_.Message(this, tr("Recherche des marges désactivée"), QStringLiteral("Tracevue"),
                     MessageIcon::Exclamation);
  s_.BodeMode = mode;
  s_.ShowMargins = 0;
  CheckBox5->setChecked(false);
  Redraw();
}

void TForm1::RadioButton7Click() { SetModeWithoutMargins(0); }

void TForm1::RadioButton8Click() { SetModeWithoutMargins(1); }

void TForm1::RadioButton9Click() {
  s_.BodeMode = 2;
  Redraw();
}

void TForm1::BitBtn1Click() {
  s_.BlackView = static_cast<std::uint8_t>(1 - s_.BlackView);
  const bool bode = s_.BlackView == 0;
  SpeedButton8->setEnabled(bode);
  SpeedButton6->setEnabled(bode);
  Panel2->setVisible(bode);
  BitBtn1->setText(bode ? QStringLiteral("--> Black") : QStringLiteral("--> Bode"));
  Redraw();
}

void TForm1::SpeedButton1Click() {
  if (s_.DecadeMin > -6) {
    --s_.DecadeMin;
    Redraw();
  }
}

void TForm1::SpeedButton2Click() {
  if (s_.DecadeMax - s_.DecadeMin > 1) {
    ++s_.DecadeMin;
    Redraw();
  }
}

void TForm1::SpeedButton5Click() {
  if (s_.DecadeMax - s_.DecadeMin > 1) {
    --s_.DecadeMax;
    Redraw();
  }
}

void TForm1::SpeedButton3Click() {
  if (s_.DecadeMax < 5) {
    ++s_.DecadeMax;
    Redraw();
  }
}

void TForm1::SpeedButton8Click() {
  if (s_.GainMaxDb < kGainTopHighestDb) {
    SetGainScaleTop(s_, s_.GainMaxDb + kGainTopStepDb);
    Redraw();
  }
}

void TForm1::SpeedButton6Click() {
  if (s_.GainMaxDb > kGainTopLowestDb) {
    SetGainScaleTop(s_, s_.GainMaxDb - kGainTopStepDb);
    Redraw();
  }
}

// ---- menus ----

std::string TForm1::WorkSnapshot() const {
  const TransferFileBytes bytes = EncodeTransferFile(s_);
  std::string work(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  for (bool ticked : s_.CurveTicked) work += ticked ? '1' : '0';
  return work;
}

bool TForm1::MayDiscardWork() {
  if (WorkSnapshot() == savedWork_) return true;
  switch (dialogs_.YesNoCancel(this, tr("Enregistrer les modifications ?"),
                               QStringLiteral("Tracevue"), MessageIcon::Question)) {
    case Answer::Yes: return SaveWork();
    case Answer::No: return true;
    case Answer::Cancel: break;
  }
  return false;
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (MayDiscardWork())
    event->accept();
  else
    event->ignore();
}

void TForm1::N3Click() {
  if (!MayDiscardWork()) return;
  ResetDiagram(s_);
  for (int box = 1; box <= 4; ++box) SetCurveTicked(s_, box, false);
  Redraw();
  RefreshParameterAvailability();
  transferPath_.clear();
  MarkWorkSaved();
}

void TForm1::N1Click() {
  if (!MayDiscardWork()) return;
  const QString name = dialogs_.OpenFileName(this, QString::fromLatin1(kTransferFilter),
                                             QString::fromLatin1(kTransferExtension));
  if (name.isEmpty()) return;
  const std::string path = LocalPath(name);
  // A file that is no transfer file leaves the work on the screen as it is.
  const std::string problem = LoadTransferFile(path);
  if (!problem.empty()) {
    ReportRefusedFile(path, problem);
    return;
  }
  transferPath_ = name;
  MarkWorkSaved();
}

void TForm1::N2Click() { SaveWork(); }

bool TForm1::SaveWork() {
  // In the folder of the file last loaded or saved, under its name.
  const QString name =
      dialogs_.SaveFileName(this, QString::fromLatin1(kTransferFilter),
                            QString::fromLatin1(kTransferExtension), transferPath_);
  if (name.isEmpty()) return false;
  std::string error;
  // The user's work must not be lost without a word: a failed save is said.
  if (!SaveTransferFile(s_, LocalPath(name), &error)) {
    dialogs_.Message(this, FromCp1252(error), QStringLiteral("Tracevue"), MessageIcon::Exclamation);
    return false;
  }
  transferPath_ = name;
  MarkWorkSaved();
  return true;
}

void TForm1::DefineFunction(int i) {
  if (!form3_) return;
  DefineTransferFunction(i, s_, target_, frame_, *form3_);
}

void TForm1::N6Click() { DefineFunction(1); }

void TForm1::N5Click() { DefineFunction(2); }

void TForm1::H31Click() { DefineFunction(3); }

void TForm1::Quitter1Click() { close(); }

void TForm1::AproposClick() {
  if (aboutBox_) dialogs_.ShowModal(*aboutBox_);
}

}  // namespace tv::ui
