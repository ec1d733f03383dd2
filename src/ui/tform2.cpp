// The points editor: its window, the guard on Memo1, reading, saving, clearing, capture and
// decoding.
#include "ui/tform2.h"

#include <QCoreApplication>
#include <QAction>
#include <QFile>
#include <QFrame>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QRadioButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <optional>
#include <utility>

#include "core/diagram_host.h"
#include "core/display_rules.h"
#include "files/file_io.h"
#include "ui/caption_fit.h"
#include "output/cp1252.h"
#include "output/file_names.h"
#include "output/fonts.h"
#include "ui/window_placement.h"

namespace tv::ui {

namespace {

constexpr char kProgramName[] = "Tracevue";
constexpr char kPointsFilter[] = "Fichier texte|*.txt";
constexpr char kPointsExtension[] = "*.txt";

QString Caption() { return QString::fromLatin1(kProgramName); }

// Both questions before the editor's text is replaced carry this text.
QString EraseWarning() {
  return QCoreApplication::translate("tv::ui::TForm2",
                                     "ATTENTION : les points contenus dans l'éditeur seront ") +
         QStringLiteral("\r\n") + QCoreApplication::translate("tv::ui::TForm2", "effacés.");
}

QFont EditorFont() {
  QFont font(ProgramFontFamily());
  font.setPixelSize(16);
  font.setBold(false);
  font.setItalic(false);
  return font;
}

// The folder part of a file name, its last '/' included ("" when there is none).
std::string FolderPart(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A line of the editor as the decoder reads it. The guard on Memo1 keeps out
// every character without a Windows-1252 byte; should one get in anyway, it
// reads as '?', which no number contains.
std::string DecodableBytes(const QString& line) {
  if (std::optional<std::string> bytes = ToCp1252(line)) return *std::move(bytes);
  std::string out;
  out.reserve(static_cast<std::size_t>(line.size()));
  for (QChar c : line) {
    const std::optional<std::string> one = ToCp1252(QString(c));
    out += one && one->size() == 1 ? *one : std::string("?");
  }
  return out;
}

QFrame* Group(QWidget* parent, const char* name, int left, int width) {
  auto* frame = new QFrame(parent);
  frame->setObjectName(QString::fromLatin1(name));
  frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  frame->setGeometry(left, 8, width, 57);
  return frame;
}

QRadioButton* Choice(QFrame* group, const char* name, const QString& caption, int top,
                     bool checked) {
  auto* button = new QRadioButton(caption, group);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(6, top, group->width() - 8, 22);
  button->setChecked(checked);
  return button;
}

}  // namespace

// ---- Memo1 ----

PointsMemo::PointsMemo(tv::DiagramState& s, QWidget* parent) : QPlainTextEdit(parent), s_(s) {}

void PointsMemo::Refuse() {
  if (s_.Host) s_.Host->Beep();
}

bool PointsMemo::IsWritable(const QString& text) {
  // Line ends of every kind become line breaks of the text, never characters.
  QString plain = text;
  plain.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
  return ToCp1252(plain).has_value();
}

void PointsMemo::keyPressEvent(QKeyEvent* event) {
  if (!event->text().isEmpty() && !IsWritable(event->text())) {
    Refuse();
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void PointsMemo::inputMethodEvent(QInputMethodEvent* event) {
  if (event->commitString().isEmpty() || IsWritable(event->commitString())) {
    QPlainTextEdit::inputMethodEvent(event);
    return;
  }
  // The composition goes on; only the committed text is refused.
  Refuse();
  QInputMethodEvent kept(event->preeditString(), event->attributes());
  kept.setCommitString(QString(), event->replacementStart(), event->replacementLength());
  QPlainTextEdit::inputMethodEvent(&kept);
}

bool PointsMemo::canInsertFromMimeData(const QMimeData* source) const {
  return source->hasText() && QPlainTextEdit::canInsertFromMimeData(source);
}

void PointsMemo::insertFromMimeData(const QMimeData* source) {
  if (!source->hasText()) return;
  if (!IsWritable(source->text())) {
    Refuse();
    return;
  }
  QPlainTextEdit::insertFromMimeData(source);
}

// ---- the window ----

TForm2::TForm2(tv::DiagramState& s, QWidget* parent) : QWidget(parent, Qt::Window), s_(s) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(tr("Editeur de points"));
  setFont(EditorFont());
  // The editor never keeps the program running once the main window is gone.
  setAttribute(Qt::WA_QuitOnClose, false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  CreateMenu();
  layout->setMenuBar(MainMenu1);
  CreatePanel();
  layout->addWidget(Panel1);

  auto* memo = new PointsMemo(s_, this);
  Memo1 = memo;
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setTabChangesFocus(false);
  layout->addWidget(Memo1, 1);

  // Without a frame yet, the outer size is the widget's; showEvent corrects
  // it by the frame once the window system has given one.
  resize(kOuterWidth, kOuterHeight);
  move(kLeft, kTop);
}

void TForm2::CreateMenu() {
  MainMenu1 = new QMenuBar(this);
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  MainMenu1->setNativeMenuBar(false);
  // Each title is itself the command.
  const auto entry = [this](const char* name, const QString& caption) {
    QAction* action = MainMenu1->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
  };
  Lire1 = entry("Lire1", tr("Lire..."));
  Sauvegarger1 = entry("Sauvegarger1", tr("Sauver... "));
  Effacer1 = entry("Effacer1", tr("Effacer"));
  Courbeencours1 = entry("Courbeencours1", tr("Courbe  --> Editeur"));
  Afficherlespoints1 = entry("Afficherlespoints1", tr("Afficher les points"));

  // The five commands side by side, none behind a "»": the entries are
  // packed closer than the style's default, and the bar's font is made
  // smaller until they fit the narrowest client area the window has.
  MainMenu1->setStyleSheet(
      QStringLiteral("QMenuBar { spacing: 0px; } QMenuBar::item { padding: 2px 2px; }"));
  FitCaptionToWidth(*MainMenu1, kNarrowestClientWidth);

  connect(Lire1, &QAction::triggered, this, &TForm2::Lire1Click);
  connect(Sauvegarger1, &QAction::triggered, this, &TForm2::Sauvegarger1Click);
  connect(Effacer1, &QAction::triggered, this, &TForm2::Effacer1Click);
  connect(Courbeencours1, &QAction::triggered, this, &TForm2::Courbeencours1Click);
  connect(Afficherlespoints1, &QAction::triggered, this, &TForm2::DecodePoints);
}

void TForm2::CreatePanel() {
  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFixedHeight(kPanelHeight);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

  // Each group is its own parent, so its two buttons exclude each other only.
  GroupPulsation = Group(Panel1, "GroupPulsation", 8, 73);
  RadioHz = Choice(GroupPulsation, "RadioHz", tr("Hz"), 4, false);
  RadioRadS = Choice(GroupPulsation, "RadioRadS", QStringLiteral("rad/s"), 28, true);

  GroupGain = Group(Panel1, "GroupGain", 88, 129);
  RadioGain = Choice(GroupGain, "RadioGain", QStringLiteral("Gain"), 4, false);
  RadioGainDb = Choice(GroupGain, "RadioGainDb", tr("Gain en dB"), 28, true);

  GroupPhase = Group(Panel1, "GroupPhase", 224, 97);
  RadioRad = Choice(GroupPhase, "RadioRad", QStringLiteral("rad"), 4, false);
  RadioDeg = Choice(GroupPhase, "RadioDeg", QStringLiteral("°"), 28, true);

  Label1 = new QLabel(tr(" Fréquence/pulsation           Gain          Phase"), Panel1);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setTextFormat(Qt::PlainText);
  Label1->move(0, 69);
  FitCaptionToWidth(*Label1, kNarrowestClientWidth);
  Label1->adjustSize();
}

void TForm2::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (placed_) return;
  placed_ = true;
  // The frame is known only once the window is on the screen.
  QTimer::singleShot(0, this, [this] {
    const QSize frame = frameGeometry().size() - size();
    if (frame.width() > 0 || frame.height() > 0)
      resize(kOuterWidth - frame.width(), kOuterHeight - frame.height());
    // A smaller screen than the window was laid out for: wholly on it.
    FitWindowInsideScreen(*this);
  });
}

tv::PointUnits TForm2::Units() const {
  tv::PointUnits units;
  units.Hertz = RadioHz->isChecked();
  units.RatioGain = RadioGain->isChecked();
  units.Radians = RadioRad->isChecked();
  return units;
}

QStringList TForm2::Lines() const {
  QStringList lines;
  for (QTextBlock b = Memo1->document()->firstBlock(); b.isValid(); b = b.next()) {
    // A soft line break (Shift+Enter) still ends a line of the file.
    const QString text = b.text();
    if (text.contains(QChar::LineSeparator))
      lines += text.split(QChar::LineSeparator);
    else
      lines += text;
  }
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  return lines;
}

void TForm2::SetLines(const QStringList& lines) {
  QString text = lines.join(u'\n');
  // A last empty line needs a line end after it to be a line.
  if (!lines.isEmpty() && lines.back().isEmpty()) text += u'\n';
  Memo1->setPlainText(text);
  Memo1->moveCursor(QTextCursor::Start);
  Memo1->horizontalScrollBar()->setValue(0);
  Memo1->verticalScrollBar()->setValue(0);
}

void TForm2::ClearText() { Memo1->clear(); }

void TForm2::AppendLine(std::string_view windows1252Line) {
  QTextCursor end(Memo1->document());
  end.movePosition(QTextCursor::End);
  const QString line = FromCp1252(windows1252Line);
  // A last empty block is no line yet (see Lines): the new line goes into it.
  QString insert = end.block().text().isEmpty() ? line : u'\n' + line;
  // An empty line is a line only with a line end after it.
  if (line.isEmpty()) insert += u'\n';
  end.insertText(insert);
}

void TForm2::ShowEditor() {
  if (isMinimized())
    showNormal();
  else
    show();
  raise();
  activateWindow();
}

void TForm2::DecodePoints() {
  std::vector<std::string> lines;
  const QStringList text = Lines();
  lines.reserve(static_cast<std::size_t>(text.size()));
  for (const QString& line : text) lines.push_back(DecodableBytes(line));
  const int count = tv::DecodePoints(s_, lines, Units());
  HostDialogs(s_).Message(this, FromCp1252(tv::PointsStoredMessage(count)), Caption(),
                          MessageIcon::None);
  if (s_.Host) s_.Host->Redraw();
}

void TForm2::ReportFileError(const QString& name, const std::string& reason) {
  HostDialogs(s_).Message(this, name + QStringLiteral("\r\n") + FromCp1252(reason), Caption(),
                          MessageIcon::Exclamation);
}

void TForm2::Lire1Click() {
  const QString name = HostDialogs(s_).OpenFileName(this, QString::fromLatin1(kPointsFilter),
                                                    QString::fromLatin1(kPointsExtension));
  if (name.isEmpty()) return;
  s_.PointsFileName = LocalPath(name);
  const tv::FileReadResult file = tv::ReadFileBytes(s_.PointsFileName, kMaxFileBytes);
  if (!file.Opened || !file.Complete) {
    ReportFileError(name, file.Error);
    return;
  }
  if (file.Truncated) {
    ReportFileError(name, "Lecture impossible : fichier trop volumineux.");
    return;
  }
  QStringList lines;
  for (const std::string& line : tv::SplitPointsText(file.Bytes)) lines += FromCp1252(line);
  SetLines(lines);
  DecodePoints();
}

void TForm2::Sauvegarger1Click() {
  const QStringList text = Lines();
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    std::optional<std::string> bytes = ToCp1252(text[i]);
    if (!bytes) {
      // Nothing of the text may be lost in the file: the save is refused.
      HostDialogs(s_).Message(this,
                              tr("La ligne %1 contient un caractère qui ne peut pas être "
                                 "écrit dans un fichier texte.")
                                  .arg(i + 1),
                              Caption(), MessageIcon::Exclamation);
      return;
    }
    lines.push_back(*std::move(bytes));
  }

  const QString preset = ShownPath(FolderPart(s_.PointsFileName));
  const QString chosen = HostDialogs(s_).SaveFileName(
      this, QString::fromLatin1(kPointsFilter), QString::fromLatin1(kPointsExtension), preset);
  if (chosen.isEmpty()) return;
  s_.PointsFileName = LocalPath(chosen);
  tv::ClearReadOnly(s_.PointsFileName);
  s_.PointsFileName = tv::PointsSaveName(s_.PointsFileName);

  std::string error;
  if (!tv::WriteFileAtomically(s_.PointsFileName, tv::JoinPointsText(lines), &error))
    ReportFileError(ShownPath(s_.PointsFileName), error);
}

void TForm2::Effacer1Click() {
  if (!HostDialogs(s_).YesNo(this, EraseWarning(), tr("Effacer les points ?"),
                             MessageIcon::Exclamation))
    return;
  s_.PointCount = 0;
  Memo1->clear();
  if (s_.Host) s_.Host->Redraw();
}

void TForm2::Courbeencours1Click() {
  if (!HostDialogs(s_).YesNo(this, EraseWarning(),
                             tr("Placer des points de la courbe courante dans l'éditeur ?"),
                             MessageIcon::Exclamation))
    return;
  // The renderers fill Memo1 during this one redraw, through the host.
  CaptureProductCurve(s_);
}

}  // namespace tv::ui
