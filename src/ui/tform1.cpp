// The main window: start-up, menus, the display and range controls, the picture and its resizing.
#include "ui/tform1.h"

#include <QPrinter>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/display_rules.h"
#include "files/transfer_file.h"
#include "render/primitives.h"
#include "render/redraw.h"
#include "ui/about_box.h"
#include "ui/cp1252.h"
#include "ui/file_names.h"
#include "ui/fonts.h"
#include "ui/parameter_controls.h"
#include "ui/qt_surface.h"
#include "ui/desktop_launcher.h"
#include "ui/picture_output.h"
#include "ui/tform2.h"
#include "ui/worksheet_commands.h"
#include "ui/tform3.h"

namespace tv::ui {

namespace {

constexpr char kTransferFilter[] = "Transfert|*.WWC";
constexpr char kTransferExtension[] = "*.WWC";

// Image1: paints the surface's picture at its top-left corner.
class PictureView : public QWidget {
 public:
  PictureView(QtSurface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
    setObjectName(QStringLiteral("Image1"));
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    surface_.Finish();
    QPainter p(this);
    p.drawImage(event->rect().topLeft(), surface_.Image(), event->rect());
  }

 private:
  QtSurface& surface_;
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

TForm1::TForm1(tv::DiagramState& s, Dialogs& dialogs, const QStringList& arguments,
               QWidget* parent)
    : QMainWindow(parent), s_(s), dialogs_(dialogs) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Tracevue"));
  setFont(WindowFont());
  surface_ = std::make_unique<QtSurface>(kClientWidth, kClientHeight);

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

  const int menuHeight = menuBar()->sizeHint().height();
  resize(kClientWidth, kClientHeight + menuHeight);
  setMaximumSize(kMaxClientWidth, kMaxClientHeight + menuHeight);

  StartUp(arguments);

  // The other windows come after the main window's start-up, whose redraws
  // therefore never use them.
  aboutBox_ = new TAboutBox(this);
  form3_ = new TForm3(dialogs_, this);
  launcher_ = std::make_unique<QtDesktopLauncher>();
  form2_ = new TForm2(s_, dialogs_, this);
  for (QAction* entry : {Ouvrirditeurdepoints1, Pressepapier1, Imprimer1, SauverlimageEMF1, Mspaint1,
                         Maple1, RponsetemporellecrationdunfichierMaple1})
    entry->setEnabled(true);
  for (QAction* entry : {N6, N5, H31}) entry->setEnabled(true);

  central->installEventFilter(this);
  startedUp_ = true;
}

TForm1::~TForm1() {
  if (s_.Host == this) s_.Host = nullptr;
  if (s_.DrawCanvas == surface_.get()) s_.DrawCanvas = nullptr;
  if (s_.ScreenCanvas == surface_.get()) s_.ScreenCanvas = nullptr;
}

void TForm1::CreateMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));

  Fichier1 = bar->addMenu(QStringLiteral("Fichier"));
  Fichier1->setObjectName(QStringLiteral("Fichier1"));
  N3 = MenuEntry(Fichier1, "N3", QStringLiteral("Nouveau"), true);
  N1 = MenuEntry(Fichier1, "N1", QStringLiteral("Ouvrir"), true);
  N2 = MenuEntry(Fichier1, "N2", QStringLiteral("Enregistrer"), true);
  Pressepapier1 = MenuEntry(Fichier1, "Pressepapier1", QStringLiteral("Presse-papier (Bitmap)"), false);
  Imprimer1 = MenuEntry(Fichier1, "Imprimer1", QStringLiteral("Imprimer"), false);
  SauverlimageEMF1 =
      MenuEntry(Fichier1, "SauverlimageEMF1", QStringLiteral("Sauver l'image (.EMF)"), false);
  Mspaint1 = MenuEntry(Fichier1, "Mspaint1",
                       QStringLiteral("Modifier l'image avec Mspaint (.Bmp)"), false);
  Maple1 = MenuEntry(Fichier1, "Maple1",
                     QStringLiteral("Réponse temporelle : ouverture directe de Maple"), false);
  RponsetemporellecrationdunfichierMaple1 =
      MenuEntry(Fichier1, "RponsetemporellecrationdunfichierMaple1",
                QStringLiteral("Réponse temporelle : création d'un fichier Maple"), false);
  Ouvrirditeurdepoints1 = MenuEntry(Fichier1, "Ouvrirditeurdepoints1",
                                    QStringLiteral("Ouvrir éditeur de points"), false);
  Quitter1 = MenuEntry(Fichier1, "Quitter1", QStringLiteral("Quitter"), true);

  Dfinir1 = bar->addMenu(QStringLiteral("Définir"));
  Dfinir1->setObjectName(QStringLiteral("Dfinir1"));
  // H1..H3 need the entry window, which exists once the start-up is over.
  N6 = MenuEntry(Dfinir1, "N6", QStringLiteral("H1"), false);
  N5 = MenuEntry(Dfinir1, "N5", QStringLiteral("H2"), false);
  H31 = MenuEntry(Dfinir1, "H31", QStringLiteral("H3"), false);
  GainK1 = MenuEntry(Dfinir1, "GainK1", QStringLiteral("Gain K"), false);
  A1 = MenuEntry(Dfinir1, "A1", QStringLiteral("A"), false);
  B2 = MenuEntry(Dfinir1, "B2", QStringLiteral("B"), false);
  B1 = MenuEntry(Dfinir1, "B1", QStringLiteral("T"), false);
  W1 = MenuEntry(Dfinir1, "W1", QStringLiteral("W"), false);
  Ksi1 = MenuEntry(Dfinir1, "Ksi1", QStringLiteral("Ksi"), false);

  Analyse1 = bar->addMenu(QStringLiteral("Analyse"));
  Analyse1->setObjectName(QStringLiteral("Analyse1"));

  // The menu title itself is the command.
  apropos = bar->addAction(QStringLiteral("A propos"));
  apropos->setObjectName(QStringLiteral("apropos"));

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

  parameters_ = new ParameterControls(Panel1, s_, dialogs_);
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

  CheckBox5 = new QCheckBox(QStringLiteral("Marges"), Panel1);
  CheckBox5->setObjectName(QStringLiteral("CheckBox5"));
  CheckBox5->setGeometry(568, 32, 78, 17);

  Panel2 = new QFrame(Panel1);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  Panel2->setGeometry(648, 0, 124, 61);
  RadioButton7 = new QRadioButton(QStringLiteral("Gain seul"), Panel2);
  RadioButton7->setObjectName(QStringLiteral("RadioButton7"));
  RadioButton7->setGeometry(0, 8, 124, 17);
  RadioButton8 = new QRadioButton(QStringLiteral("Phase seule"), Panel2);
  RadioButton8->setObjectName(QStringLiteral("RadioButton8"));
  RadioButton8->setGeometry(0, 24, 124, 17);
  RadioButton9 = new QRadioButton(QStringLiteral("Gain+Phase"), Panel2);
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

  Label1 = new QLabel(QStringLiteral("Cochez la fonction à tracer"), Panel1);
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
  // The plot is as wide as the client area; the vertical bar hides only the
  // outer ends of the right-hand phase ticks, so no horizontal bar is offered.
  imageArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* view = new PictureView(*surface_, imageArea_);
  view->resize(surface_->Width(), surface_->Height());
  imageArea_->setWidget(view);
  Image1 = view;
  surface_->OnDrawingStarted = [this] { Image1->update(); };
}

void TForm1::StartUp(const QStringList& arguments) {
  s_.CapturePoints = 0;
  move(20, 20);
  s_.PlotWidth = kClientWidth;
  s_.PlotHeight = kClientHeight;
  s_.Host = this;
  s_.DrawCanvas = surface_.get();
  s_.ScreenCanvas = surface_.get();
  ResetDiagram(s_);
  surface_->SetFontHeight(10);
  s_.BodeMode = 2;
  s_.ShowMargins = 0;
  s_.BlackView = 0;
  s_.ForceBlack = 0;
  Redraw();
  s_.FramePenWidth = 1;
  s_.CurvePenWidth = 2;
  s_.OriginX = 0;
  s_.OriginY = 0;
  UpdateProductCaption();
  RefreshParameterAvailability();
  {
    QString temp = QDir::toNativeSeparators(QDir::tempPath());
    if (!temp.endsWith(QDir::separator())) temp += QDir::separator();
    s_.TempDir = LocalPath(temp);
  }
  s_.MapleFileLetter = 'a';
  if (!arguments.isEmpty()) {
    s_.CurrentFileName = TransferFileNameFromArgument(LocalPath(arguments.front()));
    LoadTransferFile(s_, ResolveTransferFileName(s_.CurrentFileName));
  }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::Resize) {
    const QSize size = static_cast<QResizeEvent*>(event)->size();
    Resized(size.width(), size.height());
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::Resized(int clientWidth, int clientHeight) {
  if (clientWidth == s_.PlotWidth && clientHeight == s_.PlotHeight) return;
  ClearPlot(s_);
  s_.PlotWidth = clientWidth;
  s_.PlotHeight = clientHeight;
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

bool TForm1::IsCurveBoxChecked(int box) const {
  const QCheckBox* b = CurveBox(box);
  return b != nullptr && b->isChecked();
}

void TForm1::SetCurveBoxChecked(int box, bool checked) {
  if (QCheckBox* b = CurveBox(box)) b->setChecked(checked);
}

void TForm1::SetPanelInvalid(bool invalid) {
  QPalette palette = Panel1->palette();
  palette.setColor(QPalette::Window, invalid ? QColor(255, 0, 0) : buttonFace_);
  Panel1->setPalette(palette);
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
  return PictureContext{this, s_, dialogs_, *surface_};
}

QPrinter& TForm1::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
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

void TForm1::Maple1Click() {
  PictureContext ctx = PictureCommands();
  OpenWorksheetInMaple(ctx, *launcher_);
}

void TForm1::RponsetemporellecrationdunfichierMaple1Click() {
  PictureContext ctx = PictureCommands();
  SaveWorksheetFile(ctx);
}

void TForm1::ScrollToTop() { imageArea_->verticalScrollBar()->setValue(0); }

void TForm1::Beep() { dialogs_.Beep(); }

void TForm1::AlarmBeep() { tv::AlarmBeep(this); }

// ---- redraw and captions ----

void TForm1::Redraw() {
  ++redrawCount_;
  RedrawDiagram(s_);
}

void TForm1::ClearPicture() { ClearPlot(s_); }

const QImage& TForm1::Picture() const {
  surface_->Finish();
  return surface_->Image();
}

void TForm1::UpdateProductCaption() {
  QStringList names;
  if (CheckBox1->isChecked()) names << QStringLiteral("H1");
  if (CheckBox2->isChecked()) names << QStringLiteral("H2");
  if (CheckBox3->isChecked()) names << QStringLiteral("H3");
  CheckBox4->setText(names.join(u'.'));
}

// ---- display controls ----

void TForm1::CheckBox1Click() {
  Redraw();
  UpdateProductCaption();
}

void TForm1::CheckBox2Click() {
  Redraw();
  UpdateProductCaption();
}

void TForm1::CheckBox3Click() {
  Redraw();
  UpdateProductCaption();
}

void TForm1::CheckBox4Click() { Redraw(); }

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
    dialogs_.Message(this, QStringLiteral("Recherche des marges désactivée"),
                     QStringLiteral("Tracevue"), MessageIcon::Exclamation);
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

void TForm1::N3Click() {
  ResetDiagram(s_);
  for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4}) box->setChecked(false);
  Redraw();
  RefreshParameterAvailability();
}

void TForm1::N1Click() {
  const QString name = dialogs_.OpenFileName(this, QString::fromLatin1(kTransferFilter),
                                             QString::fromLatin1(kTransferExtension));
  if (name.isEmpty()) return;
  LoadTransferFile(s_, LocalPath(name));
}

void TForm1::N2Click() {
  const QString name = dialogs_.SaveFileName(this, QString::fromLatin1(kTransferFilter),
                                             QString::fromLatin1(kTransferExtension), QString());
  if (name.isEmpty()) return;
  std::string error;
  // The user's work must not be lost without a word: a failed save is said.
  if (!SaveTransferFile(s_, LocalPath(name), &error))
    dialogs_.Message(this, FromCp1252(error), QStringLiteral("Tracevue"), MessageIcon::Exclamation);
}

void TForm1::DefineFunction(int i) {
  if (!form3_) return;
  DefineTransferFunction(i, s_, *form3_, dialogs_);
}

void TForm1::N6Click() { DefineFunction(1); }

void TForm1::N5Click() { DefineFunction(2); }

void TForm1::H31Click() { DefineFunction(3); }

void TForm1::Quitter1Click() { close(); }

void TForm1::AproposClick() {
  if (aboutBox_) dialogs_.ShowModal(*aboutBox_);
}

}  // namespace tv::ui
