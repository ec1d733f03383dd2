// The points editor: its window, decoding with the unit choices, reading, saving, clearing and the
// capture.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFrame>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "core/headless_host.h"
#include "support/recording_surface.h"
#include "render/redraw.h"
#include "support/scripted_dialogs.h"
#include "ui/tform2.h"

using tv::ui::MessageIcon;
using tv::ui::ScriptedDialogs;
using tv::ui::TForm2;

namespace {

// The main window's part in a capture: the editor's text box is the window's.
class EditorHost : public tv::HeadlessHost {
 public:
  TForm2* Editor = nullptr;
  void ClearEditorText() override { Editor->ClearText(); }
  void AppendEditorLine(std::string_view line) override { Editor->AppendLine(line); }
};

struct Fixture {
  tv::DiagramState s;
  EditorHost host;
  tv::RecordingSurface surface;
  tv::DrawTarget target = tv::ScreenTarget(&surface, 1134, 678);
  tv::FrameResult frame;
  ScriptedDialogs dialogs;
  int redraws = 0;
  std::unique_ptr<TForm2> form;

  Fixture() {
    tv::SetStartValues(s);
    s.Host = &host;
    host.AskedDialogs = &dialogs;
    form = std::make_unique<TForm2>(s);
    host.OnRedraw = [this] {
      ++redraws;
      tv::RedrawDiagram(s, target, frame);
    };
    host.Editor = form.get();
    // Ticking a box from program code redraws at once, as CheckBox4 does.
    host.OnBoxChanged = [this](int) {
      ++redraws;
      tv::RedrawDiagram(s, target, frame);
    };
  }
  const ScriptedDialogs::Shown& Last() const { return dialogs.Log.back(); }
};

std::string ReadAll(const QString& path) {
  std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteAll(const QString& path, const std::string& bytes) {
  std::ofstream out(QFile::encodeName(path).toStdString(), std::ios::binary | std::ios::trunc);
  out << bytes;
}

void SendKey(QWidget* w, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
  QApplication::sendEvent(w, &release);
}

void Paste(QPlainTextEdit* memo, const QString& text) {
  QApplication::clipboard()->setText(text);
  memo->paste();
}

void Commit(QWidget* w, const QString& text) {
  QInputMethodEvent commit;
  commit.setCommitString(text);
  QApplication::sendEvent(w, &commit);
}

const QString kStored = QStringLiteral(" point(s) mémorisé(s)");

}  // namespace

class TForm2Test : public QObject {
  Q_OBJECT

 private slots:
  void WindowLayout();
  void DecodeWithUnits_data();
  void DecodeWithUnits();
  void EmptyEditorStoresNothing();
  void StoreKeepsFiveHundred();
  void LinesOfTheTextBox_data();
  void LinesOfTheTextBox();
  void ReadMixedLineEnds();
  void ReadCancelledOrFailing_data();
  void ReadCancelledOrFailing();
  void Save_data();
  void Save();
  void SaveFailureKeepsOldFile();
  void SaveRefusesUnwritableText();
  void TextBoxRefusesUnwritableCharacters_data();
  void TextBoxRefusesUnwritableCharacters();
  void Erase_data();
  void Erase();
  void CaptureOfTheProductCurve();
  void CaptureDeclined();
  void ClosingOnlyHides();
};

void TForm2Test::WindowLayout() {
  Fixture f;
  TForm2& w = *f.form;
  QCOMPARE(w.windowTitle(), QStringLiteral("Editeur de points"));
  QVERIFY(w.isWindow());
  QVERIFY(w.isHidden());
  QCOMPARE(w.frameGeometry().topLeft(), QPoint(800, 20));
  QCOMPARE(w.frameGeometry().size(), QSize(337, 736));
  QCOMPARE(w.font().pixelSize(), 16);
  QVERIFY(!w.font().bold());

  const QList<QAction*> entries = w.MainMenu1->actions();
  QCOMPARE(entries.size(), 5);
  const QStringList captions = {"Lire...", "Sauver... ", "Effacer", "Courbe  --> Editeur",
                                "Afficher les points"};
  for (int i = 0; i < 5; ++i) {
    QCOMPARE(entries[i]->text(), captions[i]);
    QVERIFY(entries[i]->menu() == nullptr);  // the title is the command
  }

  QCOMPARE(w.Panel1->height(), 97);
  QCOMPARE(w.GroupPulsation->pos(), QPoint(8, 8));
  QCOMPARE(w.GroupGain->pos(), QPoint(88, 8));
  QCOMPARE(w.GroupPhase->pos(), QPoint(224, 8));
  QCOMPARE(w.RadioHz->text(), QStringLiteral("Hz"));
  QCOMPARE(w.RadioRadS->text(), QStringLiteral("rad/s"));
  QCOMPARE(w.RadioGain->text(), QStringLiteral("Gain"));
  QCOMPARE(w.RadioGainDb->text(), QStringLiteral("Gain en dB"));
  QCOMPARE(w.RadioRad->text(), QStringLiteral("rad"));
  QCOMPARE(w.RadioDeg->text(), QStringLiteral("°"));
  QVERIFY(w.RadioRadS->isChecked() && w.RadioGainDb->isChecked() && w.RadioDeg->isChecked());
  // Each pair excludes within itself only.
  w.RadioHz->setChecked(true);
  w.RadioGain->setChecked(true);
  QVERIFY(!w.RadioRadS->isChecked() && !w.RadioGainDb->isChecked() && w.RadioDeg->isChecked());
  QCOMPARE(w.Label1->text(), QStringLiteral(" Fréquence/pulsation           Gain          Phase"));
  QCOMPARE(w.Label1->pos(), QPoint(0, 69));

  QCOMPARE(w.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
  QCOMPARE(w.Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  QCOMPARE(w.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  // The text box fills what the menu and the panel leave.
  QCOMPARE(w.Memo1->geometry().bottom(), w.height() - 1);
  QCOMPARE(w.Memo1->width(), w.width());
  QCOMPARE(w.Memo1->y(), w.Panel1->geometry().bottom() + 1);
}

void TForm2Test::DecodeWithUnits_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("hertz");
  QTest::addColumn<bool>("ratio");
  QTest::addColumn<bool>("radians");
  QTest::addColumn<int>("count");
  QTest::addColumn<double>("w");
  QTest::addColumn<double>("gain");
  QTest::addColumn<double>("phase");

  const double log10 = 20 * std::log(10.0) / 2.302585;  // a little above 20 dB
  QTest::newRow("spaces") << "10 -3 -45" << false << false << false << 1 << 10.0 << -3.0 << -45.0;
  QTest::newRow("semicolons") << "10;-3;-45" << false << false << false << 1 << 10.0 << -3.0
                              << -45.0;
  QTest::newRow("tabs") << "10\t-3\t-45" << false << false << false << 1 << 10.0 << -3.0 << -45.0;
  QTest::newRow("hertz") << "1 0 0" << true << false << false << 1 << 6.2831853 << 0.0 << 0.0;
  QTest::newRow("ratio gain") << "1 10 0" << false << true << false << 1 << 1.0 << log10 << 0.0;
  QTest::newRow("radians") << "1 0 3.14159265" << false << false << true << 1 << 1.0 << 0.0
                           << 180.0;
  QTest::newRow("all three units")
      << "0.5 10 3.14159265" << true << true << true << 1 << 0.5 * 6.2831853 << log10 << 180.0;
  QTest::newRow("ratio gain zero") << "1 0 0" << false << true << false << 0 << 0.0 << 0.0 << 0.0;
  QTest::newRow("bad lines around a good one") << "\n1 2\nabc\n7 8 9\n\n"
                                               << false << false << false << 1 << 7.0 << 8.0 << 9.0;
}

void TForm2Test::DecodeWithUnits() {
  QFETCH(QString, text);
  QFETCH(bool, hertz);
  QFETCH(bool, ratio);
  QFETCH(bool, radians);
  QFETCH(int, count);
  QFETCH(double, w);
  QFETCH(double, gain);
  QFETCH(double, phase);
  Fixture f;
  f.s.PointCount = 3;
  (hertz ? f.form->RadioHz : f.form->RadioRadS)->setChecked(true);
  (ratio ? f.form->RadioGain : f.form->RadioGainDb)->setChecked(true);
  (radians ? f.form->RadioRad : f.form->RadioDeg)->setChecked(true);
  f.form->Memo1->setPlainText(text);

  f.form->Afficherlespoints1->trigger();

  QCOMPARE(f.s.PointCount, count);
  if (count == 1) {
    QVERIFY(qFuzzyCompare(f.s.MeasuredPoints[0].PulsationRadS, w));
    QVERIFY(qFuzzyCompare(1 + f.s.MeasuredPoints[0].GainDb, 1 + gain));
    QVERIFY(qFuzzyCompare(1 + f.s.MeasuredPoints[0].PhaseDeg, 1 + phase));
  }
  QCOMPARE(f.dialogs.Count("message"), 1);
  QCOMPARE(f.Last().text, QString::number(count) + kStored);
  QCOMPARE(f.Last().caption, QStringLiteral("Tracevue"));
  QCOMPARE(f.Last().icon, MessageIcon::None);
  QCOMPARE(f.redraws, 1);
  // Decoding reads the text, never changes it.
  QCOMPARE(f.form->Memo1->toPlainText(), text);
}

void TForm2Test::EmptyEditorStoresNothing() {
  Fixture f;
  f.s.PointCount = 4;
  f.form->DecodePoints();
  QCOMPARE(f.s.PointCount, 0);
  QCOMPARE(f.Last().text, "0" + kStored);
  QCOMPARE(f.redraws, 1);
}

void TForm2Test::StoreKeepsFiveHundred() {
  Fixture f;
  QStringList lines;
  for (int i = 1; i <= 501; ++i) lines += QStringLiteral("%1 -%1 0.5").arg(i);
  f.form->SetLines(lines);
  f.form->DecodePoints();
  QCOMPARE(f.s.PointCount, 500);
  QCOMPARE(f.Last().text, "500" + kStored);
  QCOMPARE(f.s.MeasuredPoints[499].PulsationRadS, 500.0);
  QCOMPARE(f.s.MeasuredPoints[499].GainDb, -500.0);
  QCOMPARE(f.form->Lines().size(), 501);
}

void TForm2Test::LinesOfTheTextBox_data() {
  QTest::addColumn<QStringList>("lines");
  QTest::newRow("none") << QStringList{};
  QTest::newRow("one") << QStringList{"1 2 3"};
  QTest::newRow("one empty") << QStringList{""};
  QTest::newRow("empty last") << QStringList{"a", ""};
  QTest::newRow("empty first and middle") << QStringList{"", "b", "", "c"};
  QTest::newRow("blanks kept") << QStringList{"  1 2 3  ", "\t"};
}

// A line appended by the capture, a text read from a file, and the lines the
// editor saves or decodes are the same lines.
void TForm2Test::LinesOfTheTextBox() {
  QFETCH(QStringList, lines);
  Fixture f;
  f.form->Memo1->setPlainText("ancien");
  f.form->ClearText();
  for (const QString& line : lines) f.form->AppendLine(line.toStdString());
  QCOMPARE(f.form->Lines(), lines);

  f.form->SetLines(QStringList{"x", "y"});
  f.form->SetLines(lines);
  QCOMPARE(f.form->Lines(), lines);
  QCOMPARE(f.form->Memo1->textCursor().position(), 0);
}

void TForm2Test::ReadMixedLineEnds() {
  QTemporaryDir dir;
  const QString path = dir.filePath("mesures.txt");
  // Every byte comes back on saving, those Windows-1252 leaves undefined and
  // the no-break space included.
  WriteAll(path, "1 2 3\r4;5;6\n7\t8\t9\r\n\r\n# \xE9t\xE9 1 2 3\r\n\x81\xA0\x80\r\n10 20 30");
  Fixture f;
  f.form->Memo1->setPlainText("ancien");
  f.form->Memo1->moveCursor(QTextCursor::End);
  f.dialogs.FileAnswers.push_back(path);

  f.form->Lire1->trigger();

  QCOMPARE(f.dialogs.Log.front().kind, QStringLiteral("open"));
  QCOMPARE(f.dialogs.Log.front().extra, QStringLiteral("Fichier texte|*.txt"));
  QCOMPARE(f.form->Lines(), (QStringList{"1 2 3", "4;5;6", "7\t8\t9", "", "# été 1 2 3",
                                         QString::fromUtf16(u"\u0081\u00A0€"), "10 20 30"}));
  QCOMPARE(f.form->Memo1->textCursor().position(), 0);
  QCOMPARE(QString::fromStdString(f.s.PointsFileName), path);
  QCOMPARE(f.s.PointCount, 4);
  QCOMPARE(f.s.MeasuredPoints[1].GainDb, 5.0);
  QCOMPARE(f.s.MeasuredPoints[3].PhaseDeg, 30.0);
  QCOMPARE(f.Last().text, "4" + kStored);
  QCOMPARE(f.redraws, 1);

  // Saved back, the file has the same lines, each ended by CR LF.
  f.dialogs.FileAnswers.push_back(dir.filePath("copie.txt"));
  f.form->Sauvegarger1->trigger();
  QCOMPARE(
      ReadAll(dir.filePath("copie.txt")),
      std::string(
          "1 2 3\r\n4;5;6\r\n7\t8\t9\r\n\r\n# \xE9t\xE9 1 2 3\r\n\x81\xA0\x80\r\n10 20 30\r\n"));
}

void TForm2Test::ReadCancelledOrFailing_data() {
  QTest::addColumn<QString>("answer");
  QTest::addColumn<QString>("reason");
  QTest::newRow("cancelled") << ""
                             << "";
  QTest::newRow("missing file") << "absent.txt"
                                << "introuvable";
  QTest::newRow("folder") << "."
                          << "Lecture impossible";
}

void TForm2Test::ReadCancelledOrFailing() {
  QFETCH(QString, answer);
  QFETCH(QString, reason);
  QTemporaryDir dir;
  Fixture f;
  f.form->Memo1->setPlainText("1 2 3");
  f.s.PointCount = 2;
  const QString name = answer.isEmpty() ? QString() : dir.filePath(answer);
  f.dialogs.FileAnswers.push_back(name);

  f.form->Lire1Click();

  QCOMPARE(f.form->Memo1->toPlainText(), QStringLiteral("1 2 3"));
  QCOMPARE(f.s.PointCount, 2);
  QCOMPARE(f.redraws, 0);
  if (answer.isEmpty()) {
    QCOMPARE(f.dialogs.Log.size(), size_t{1});
    return;
  }
  QCOMPARE(f.Last().kind, QStringLiteral("message"));
  QVERIFY2(f.Last().text.contains(name), qPrintable(f.Last().text));
  QVERIFY2(f.Last().text.contains(reason), qPrintable(f.Last().text));
  QCOMPARE(f.Last().icon, MessageIcon::Exclamation);
}

void TForm2Test::Save_data() {
  QTest::addColumn<QString>("chosen");
  QTest::addColumn<QString>("written");
  QTest::addColumn<bool>("readOnly");
  QTest::newRow("no extension") << "pts"
                                << "pts.txt" << false;
  QTest::newRow("other extension") << "pts.dat"
                                   << "pts.txt" << false;
  QTest::newRow("read-only file of the chosen name") << "pts.txt"
                                                     << "pts.txt" << true;
  QTest::newRow("read-only file behind a bare name") << "pts"
                                                     << "pts.txt" << true;
}

void TForm2Test::Save() {
  QFETCH(QString, chosen);
  QFETCH(QString, written);
  QFETCH(bool, readOnly);
  QTemporaryDir dir;
  const QString target = dir.filePath(written);
  if (readOnly) {
    WriteAll(target, "ancien contenu plus long que le nouveau\r\n");
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
  }
  Fixture f;
  f.s.PointsFileName = QFile::encodeName(dir.filePath("avant/mesures.txt")).toStdString();
  f.s.PointCount = 3;
  f.form->SetLines(QStringList{"1 2 3", "", "été"});
  f.dialogs.FileAnswers.push_back(dir.filePath(chosen));

  f.form->Sauvegarger1->trigger();

  QCOMPARE(f.dialogs.Log.front().kind, QStringLiteral("save"));
  QCOMPARE(f.dialogs.Log.front().text, dir.filePath("avant/"));  // the preset name
  QCOMPARE(f.dialogs.Log.front().extra, QStringLiteral("Fichier texte|*.txt"));
  QCOMPARE(f.dialogs.Log.size(), size_t{1});
  QCOMPARE(ReadAll(target), std::string("1 2 3\r\n\r\n\xE9t\xE9\r\n"));
  QCOMPARE(QString::fromStdString(f.s.PointsFileName), target);
  QCOMPARE(f.s.PointCount, 3);
  QCOMPARE(f.redraws, 0);
  if (chosen != written) QVERIFY(!QFile::exists(dir.filePath(chosen)));
}

void TForm2Test::SaveFailureKeepsOldFile() {
  QTemporaryDir dir;
  const QString old = dir.filePath("pts.txt");
  WriteAll(old, "ancien\r\n");
  Fixture f;
  f.form->SetLines(QStringList{"1 2 3"});
  f.dialogs.FileAnswers.push_back(dir.filePath("absent/pts"));
  f.form->Sauvegarger1Click();
  QCOMPARE(f.Last().kind, QStringLiteral("message"));
  QVERIFY2(f.Last().text.contains(dir.filePath("absent/pts.txt")), qPrintable(f.Last().text));
  QVERIFY2(f.Last().text.contains("introuvable"), qPrintable(f.Last().text));
  QCOMPARE(f.Last().icon, MessageIcon::Exclamation);
  QCOMPARE(ReadAll(old), std::string("ancien\r\n"));
  QVERIFY(!QDir(dir.filePath("absent")).exists());

  // A file that cannot be replaced: the name of a folder.
  QDir(dir.path()).mkdir("dossier.txt");
  f.dialogs.FileAnswers.push_back(dir.filePath("dossier"));
  f.form->Sauvegarger1Click();
  QVERIFY2(f.Last().text.contains("dossier.txt"), qPrintable(f.Last().text));
  QVERIFY(QFileInfo(dir.filePath("dossier.txt")).isDir());
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);  // no temporary left
}

void TForm2Test::SaveRefusesUnwritableText() {
  QTemporaryDir dir;
  Fixture f;
  f.form->Memo1->setPlainText("1 2 3\nw = 2\u03C0 rad/s");
  f.form->Sauvegarger1Click();
  QCOMPARE(f.dialogs.Count("save"), 0);
  QCOMPARE(f.Last().kind, QStringLiteral("message"));
  QVERIFY2(f.Last().text.contains("ligne 2"), qPrintable(f.Last().text));
  QVERIFY(f.s.PointsFileName.empty());
  // Decoding such a line reads the character as one that no number holds.
  f.form->Memo1->setPlainText("1 2 3\n1 2 3\u03C0");
  f.form->DecodePoints();
  QCOMPARE(f.s.PointCount, 1);
}

void TForm2Test::TextBoxRefusesUnwritableCharacters_data() {
  QTest::addColumn<QString>("way");
  QTest::addColumn<QString>("input");
  QTest::addColumn<QString>("result");
  QTest::addColumn<int>("beeps");
  QTest::newRow("typed accented letter") << "key"
                                         << "é"
                                         << "1 é" << 0;
  QTest::newRow("typed euro sign") << "key"
                                   << "€"
                                   << "1 €" << 0;
  QTest::newRow("typed greek letter") << "key"
                                      << "\u03C0"
                                      << "1 " << 1;
  QTest::newRow("typed emoji") << "key"
                               << "\U0001F600"
                               << "1 " << 1;
  QTest::newRow("committed accented letter") << "input method"
                                             << "è"
                                             << "1 è" << 0;
  QTest::newRow("committed ideogram") << "input method"
                                      << "\u6C34"
                                      << "1 " << 1;
  QTest::newRow("pasted lines") << "paste"
                                << "2 3\r\n4 5 6"
                                << "1 2 3\n4 5 6" << 0;
  QTest::newRow("paste with a minus sign refused whole") << "paste"
                                                         << "2 \u22123"
                                                         << "1 " << 1;
}

void TForm2Test::TextBoxRefusesUnwritableCharacters() {
  QFETCH(QString, way);
  QFETCH(QString, input);
  QFETCH(QString, result);
  QFETCH(int, beeps);
  Fixture f;
  f.form->Memo1->setPlainText("1 ");
  f.form->Memo1->moveCursor(QTextCursor::End);
  if (way == "paste")
    Paste(f.form->Memo1, input);
  else if (way == "key")
    SendKey(f.form->Memo1, input);
  else
    Commit(f.form->Memo1, input);
  QCOMPARE(f.form->Memo1->toPlainText(), result);
  QCOMPARE(f.host.BeepCount, beeps);
}

void TForm2Test::Erase_data() {
  QTest::addColumn<bool>("yes");
  QTest::newRow("yes") << true;
  QTest::newRow("no") << false;
}

void TForm2Test::Erase() {
  QFETCH(bool, yes);
  Fixture f;
  f.form->Memo1->setPlainText("1 2 3\n4 5 6");
  f.s.PointCount = 2;
  f.dialogs.YesNoAnswers.push_back(yes);

  f.form->Effacer1->trigger();

  QCOMPARE(f.Last().kind, QStringLiteral("yesno"));
  QCOMPARE(f.Last().text,
           QStringLiteral("ATTENTION : les points contenus dans l'éditeur seront \r\neffacés."));
  QCOMPARE(f.Last().caption, QStringLiteral("Effacer les points ?"));
  QCOMPARE(f.Last().icon, MessageIcon::Exclamation);
  QCOMPARE(f.s.PointCount, yes ? 0 : 2);
  QCOMPARE(f.form->Memo1->toPlainText(), yes ? QString() : QStringLiteral("1 2 3\n4 5 6"));
  QCOMPARE(f.redraws, yes ? 1 : 0);
}

void TForm2Test::CaptureOfTheProductCurve() {
  Fixture f;
  f.s.DenText[0].Assign("1+p");
  f.s.CurveTicked[0] = true;
  f.s.MeasuredPoints[0] = {1, 0, -45};
  f.s.PointCount = 1;
  f.form->Memo1->setPlainText("ancien 1 2 3");
  f.dialogs.YesNoAnswers.push_back(true);

  f.form->Courbeencours1->trigger();

  QCOMPARE(f.Last().text,
           QStringLiteral("ATTENTION : les points contenus dans l'éditeur seront \r\neffacés."));
  QCOMPARE(f.Last().caption,
           QStringLiteral("Placer des points de la courbe courante dans l'éditeur ?"));
  QCOMPARE(f.Last().icon, MessageIcon::Exclamation);
  QCOMPARE(f.s.CapturePoints, 0);
  QVERIFY(f.s.CurveTicked[3]);
  QCOMPARE(f.s.PointCount, 0);  // the captured text is not decoded
  // The capture's redraw, and the one its ticking of the product box ran.
  QCOMPARE(f.redraws, 2);
  const QStringList lines = f.form->Lines();
  QCOMPARE(lines.size(), 108);  // columns 0, 10, ..., 1070

  f.form->DecodePoints();
  QCOMPARE(f.s.PointCount, 108);
  QCOMPARE(f.Last().text, "108" + kStored);
  // Columns of 4 decades over 1134 - 60 pixels; 1 / (1 + jw).
  const double pi = std::acos(-1.0);
  for (int k = 0; k < 108; ++k) {
    const double w = std::pow(10.0, -1 + 10.0 * k * 4 / 1074);
    const double gain = -10 * std::log(1 + w * w) / 2.302585;
    const double phase = -std::atan(w) * 180 / pi;
    const tv::MeasuredPoint& p = f.s.MeasuredPoints[static_cast<std::size_t>(k)];
    QVERIFY2(std::abs(p.PulsationRadS - w) <= 5.1e-6, qPrintable(lines[k]));
    QVERIFY2(std::abs(p.GainDb - gain) <= 5.1e-6, qPrintable(lines[k]));
    QVERIFY2(std::abs(p.PhaseDeg - phase) <= 5.1e-6, qPrintable(lines[k]));
  }
}

void TForm2Test::CaptureDeclined() {
  Fixture f;
  f.s.CurveTicked[0] = true;
  f.s.PointCount = 1;
  f.form->Memo1->setPlainText("1 2 3");
  f.dialogs.YesNoAnswers.push_back(false);
  f.form->Courbeencours1Click();
  QCOMPARE(f.redraws, 0);
  QVERIFY(!f.s.CurveTicked[3]);
  QCOMPARE(f.s.PointCount, 1);
  QCOMPARE(f.form->Memo1->toPlainText(), QStringLiteral("1 2 3"));
}

void TForm2Test::ClosingOnlyHides() {
  Fixture f;
  QPointer<TForm2> form = f.form.get();
  f.form->ShowEditor();
  QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
  QVERIFY(f.form->isVisible());
  f.form->RadioHz->setChecked(true);
  f.form->Memo1->setPlainText("1 2 3");
  QVERIFY(f.form->close());
  QVERIFY(!form.isNull());
  QVERIFY(f.form->isHidden());
  f.form->ShowEditor();
  QVERIFY(f.form->isVisible());
  QVERIFY(f.form->RadioHz->isChecked());
  QCOMPARE(f.form->Memo1->toPlainText(), QStringLiteral("1 2 3"));
  QVERIFY(f.form->Units().Hertz);
}

QTEST_MAIN(TForm2Test)
#include "tform2_test.moc"
