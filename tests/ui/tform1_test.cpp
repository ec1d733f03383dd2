// The main window: start-up, curve boxes, modes and margins, range buttons, views, invalid
// functions, menus.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QGuiApplication>
#include <QFileInfo>
#include <QClipboard>
#include <QToolButton>
#include <QtTest>
#include <unistd.h>
#include <fstream>
#include <memory>

#include "core/diagram_state.h"
#include "core/selection.h"
#include "files/transfer_file.h"
#include "ui/about_box.h"
#include "output/file_names.h"
#include "ui/parameter_controls.h"
#include "support/scripted_dialogs.h"
#include "ui/tform1.h"
#include "ui/tform2.h"
#include "ui/tform3.h"

using tv::ui::Answer;
using tv::ui::MessageIcon;
using tv::ui::ScriptedDialogs;
using tv::ui::TForm1;

namespace {

struct Window {
  tv::DiagramState s;
  ScriptedDialogs dialogs;
  std::unique_ptr<TForm1> form;
  explicit Window(const QStringList& arguments = {}) {
    form = std::make_unique<TForm1>(s, dialogs, arguments);
  }
};

bool IsBlue(QRgb p) { return qRed(p) == 0 && qGreen(p) == 0 && qBlue(p) == 255; }

int CountPixels(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      n += (image.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
  return n;
}

}  // namespace

class TForm1Test : public QObject {
  Q_OBJECT

 private slots:
  void StartUpGivesTheDefaultWindow() {
    Window w;
    TForm1& f = *w.form;
    QCOMPARE(f.windowTitle(), QStringLiteral("Tracevue"));
    QCOMPARE(f.Target().PlotWidth, 1134);
    QCOMPARE(f.Target().PlotHeight, 678);
    QCOMPARE(f.pos(), QPoint(20, 20));
    QCOMPARE(f.CheckBox4->text(), QString());
    QCOMPARE(f.BitBtn1->text(), QStringLiteral("---> Black"));
    QVERIFY(f.RadioButton9->isChecked());
    QCOMPARE(w.s.BodeMode, 2);
    QCOMPARE(w.s.ShowMargins, 0);
    QCOMPARE(w.s.BlackView, 0);
    QCOMPARE(f.Target().FramePenWidth, 1);
    QCOMPARE(f.Target().CurvePenWidth, 2);
    QCOMPARE(w.s.MapleFileLetter, 'a');
    QVERIFY(!w.s.TempDir.empty());
    QCOMPARE(w.s.TempDir.back(), '/');
    QCOMPARE(f.RedrawCount(), 1);
    QCOMPARE(w.dialogs.Beeps, 0);
    // The first picture is the Bode frame: left axis from y 5 to H - 40 at x 30.
    const QImage& picture = f.Picture();
    QCOMPARE(picture.size(), QSize(1134, 678));
    QCOMPARE(picture.pixel(30, 100) & 0xffffff, 0u);
    QCOMPARE(picture.pixel(30, 637) & 0xffffff, 0u);
    QCOMPARE(picture.pixel(400, 100) & 0xffffff, 0xffffffu);
    // Texts "1" everywhere: no parameter is in use.
    for (int n = 1; n <= 6; ++n) QVERIFY(!f.Parameters()->RadioButton(n)->isEnabled());
    for (QAction* a : {f.GainK1, f.A1, f.B2, f.B1, f.W1, f.Ksi1}) QVERIFY(!a->isEnabled());
    QCOMPARE(f.Parameters()->RadioButton(1)->text(), QStringLiteral("K = 1"));
  }

  void MenusHaveTheirCaptionsAndNames() {
    Window w;
    TForm1& f = *w.form;
    struct Entry {
      QAction* action;
      const char* name;
      QString caption;
    };
    const Entry entries[] = {
        {f.N3, "N3", QStringLiteral("Nouveau")},
        {f.N1, "N1", QStringLiteral("Ouvrir")},
        {f.N2, "N2", QStringLiteral("Enregistrer")},
        {f.Pressepapier1, "Pressepapier1", QStringLiteral("Presse-papier (Bitmap)")},
        {f.Imprimer1, "Imprimer1", QStringLiteral("Imprimer")},
        {f.SauverlimageEMF1, "SauverlimageEMF1", QStringLiteral("Sauver l'image (.EMF)")},
        {f.Mspaint1, "Mspaint1", QStringLiteral("Modifier l'image avec Mspaint (.Bmp)")},
        {f.Maple1, "Maple1", QStringLiteral("Réponse temporelle : ouverture directe de Maple")},
        {f.RponsetemporellecrationdunfichierMaple1, "RponsetemporellecrationdunfichierMaple1",
         QStringLiteral("Réponse temporelle : création d'un fichier Maple")},
        {f.Rponsetemporelletrac1, "Rponsetemporelletrac1",
         QStringLiteral("Réponse temporelle : tracé")},
        {f.Ouvrirditeurdepoints1, "Ouvrirditeurdepoints1",
         QStringLiteral("Ouvrir éditeur de points")},
        {f.Quitter1, "Quitter1", QStringLiteral("Quitter")},
        {f.N6, "N6", QStringLiteral("H1")},
        {f.N5, "N5", QStringLiteral("H2")},
        {f.H31, "H31", QStringLiteral("H3")},
        {f.GainK1, "GainK1", QStringLiteral("Gain K")},
        {f.A1, "A1", QStringLiteral("A")},
        {f.B2, "B2", QStringLiteral("B")},
        {f.B1, "B1", QStringLiteral("T")},
        {f.W1, "W1", QStringLiteral("W")},
        {f.Ksi1, "Ksi1", QStringLiteral("Ksi")},
        {f.apropos, "apropos", QStringLiteral("A propos")},
    };
    for (const Entry& e : entries) {
      QVERIFY2(e.action != nullptr, e.name);
      QCOMPARE(e.action->objectName(), QString::fromLatin1(e.name));
      QCOMPARE(e.action->text(), e.caption);
    }
    // Fichier, Définir, Analyse, then the about command on the bar itself, in this order.
    const QList<QAction*> bar = f.menuBar()->actions();
    QCOMPARE(bar.size(), 4);
    QCOMPARE(bar[0]->text(), QStringLiteral("Fichier"));
    QCOMPARE(bar[1]->text(), QStringLiteral("Définir"));
    QCOMPARE(bar[2]->menu(), f.Analyse1);
    QCOMPARE(bar[2]->text(), QStringLiteral("Analyse"));
    QCOMPARE(bar[3], f.apropos);
    QCOMPARE(bar[3]->menu(), nullptr);
    QCOMPARE(f.Fichier1->actions().size(), 13);
    QCOMPARE(f.Fichier1->actions().front(), f.N3);
    // The window's own time response comes right after the two Maple entries.
    QCOMPARE(f.Fichier1->actions().indexOf(f.Rponsetemporelletrac1),
             f.Fichier1->actions().indexOf(f.RponsetemporellecrationdunfichierMaple1) + 1);
    QCOMPARE(f.Dfinir1->actions().size(), 9);
    QVERIFY(f.N6->isEnabled());
  }

  void PanelControlsSitWhereTheyBelong() {
    Window w;
    TForm1& f = *w.form;
    struct Placed {
      QWidget* widget;
      QPoint pos;
    };
    const Placed placed[] = {
        {f.CheckBox1, {776, 0}},    {f.CheckBox2, {816, 0}},     {f.CheckBox3, {856, 0}},
        {f.CheckBox4, {896, 0}},    {f.Label1, {776, 24}},       {f.CheckBox5, {568, 32}},
        {f.BitBtn1, {568, 0}},      {f.Panel2, {648, 0}},        {f.RadioButton7, {0, 8}},
        {f.RadioButton8, {0, 24}},  {f.RadioButton9, {0, 40}},   {f.SpeedButton1, {8, 24}},
        {f.SpeedButton2, {32, 24}}, {f.SpeedButton5, {880, 40}}, {f.SpeedButton3, {904, 40}},
        {f.SpeedButton8, {56, 9}},  {f.SpeedButton6, {56, 33}},
    };
    for (const Placed& p : placed) QCOMPARE(p.widget->pos(), p.pos);
    for (QToolButton* b : {f.SpeedButton1, f.SpeedButton2, f.SpeedButton3, f.SpeedButton5,
                           f.SpeedButton6, f.SpeedButton8})
      QCOMPARE(b->size(), QSize(23, 22));
    QCOMPARE(f.SpeedButton1->arrowType(), Qt::LeftArrow);
    QCOMPARE(f.SpeedButton3->arrowType(), Qt::RightArrow);
    QCOMPARE(f.SpeedButton8->arrowType(), Qt::UpArrow);
    QCOMPARE(f.SpeedButton6->arrowType(), Qt::DownArrow);
    QCOMPARE(f.Panel1->height(), 65);
    QCOMPARE(f.Label1->text(), QStringLiteral("Cochez la fonction à tracer"));
    QCOMPARE(f.CheckBox1->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(f.CheckBox2->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(f.CheckBox3->palette().color(QPalette::WindowText), QColor(255, 0, 255));
    QCOMPARE(f.CheckBox1->font().pixelSize(), 11);
    QCOMPARE(f.font().pixelSize(), 13);
    QVERIFY(f.font().bold());
    QCOMPARE(f.Image1->cursor().shape(), Qt::CrossCursor);
  }

  void ProductCaptionFollowsTheBoxes_data() {
    QTest::addColumn<bool>("h1");
    QTest::addColumn<bool>("h2");
    QTest::addColumn<bool>("h3");
    QTest::addColumn<QString>("caption");
    QTest::newRow("none") << false << false << false << QString();
    QTest::newRow("H1 and H3") << true << false << true << QStringLiteral("H1.H3");
    QTest::newRow("H2 and H3") << false << true << true << QStringLiteral("H2.H3");
    QTest::newRow("all") << true << true << true << QStringLiteral("H1.H2.H3");
    QTest::newRow("H2 alone") << false << true << false << QStringLiteral("H2");
  }
  void ProductCaptionFollowsTheBoxes() {
    QFETCH(bool, h1);
    QFETCH(bool, h2);
    QFETCH(bool, h3);
    QFETCH(QString, caption);
    Window w;
    TForm1& f = *w.form;
    // Tick everything first so that "none" is reached by unticking.
    for (QCheckBox* b : {f.CheckBox1, f.CheckBox2, f.CheckBox3}) b->setChecked(true);
    f.CheckBox1->setChecked(h1);
    f.CheckBox2->setChecked(h2);
    f.CheckBox3->setChecked(h3);
    QCOMPARE(f.CheckBox4->text(), caption);
  }

  // Qt gives no temporary folder when TMPDIR names one that is gone: the
  // worksheets must still go to a folder that exists.
  void TemporaryFolderFallsBackWhenTmpdirIsGone() {
    const QByteArray saved = qgetenv("TMPDIR");
    const bool had = qEnvironmentVariableIsSet("TMPDIR");
    qputenv("TMPDIR", "/nonexistent-tracevue-folder");
    Window w;
    if (had)
      qputenv("TMPDIR", saved);
    else
      qunsetenv("TMPDIR");
    QCOMPARE(QString::fromStdString(w.s.TempDir), QStringLiteral("/tmp/"));
  }

  void BoxesSetFromCodeRunTheirHandlersAtOnce() {
    Window w;
    TForm1& f = *w.form;
    const int before = f.RedrawCount();
    tv::SetCurveTicked(f.State(), 3, true);
    QCOMPARE(f.RedrawCount(), before + 1);
    QCOMPARE(f.CheckBox4->text(), QStringLiteral("H3"));
    QVERIFY(f.CheckBox3->isChecked());
    tv::SetCurveTicked(f.State(), 3, true);  // no change, no handler
    QCOMPARE(f.RedrawCount(), before + 1);
    tv::SetCurveTicked(f.State(), 4, true);
    QCOMPARE(f.RedrawCount(), before + 2);
    QVERIFY(f.CheckBox4->isChecked());
    tv::SetCurveTicked(f.State(), 0, true);  // no such box
    tv::SetCurveTicked(f.State(), 5, true);
    QCOMPARE(f.RedrawCount(), before + 2);
    // A click writes the document before the handler draws.
    f.CheckBox1->click();
    QVERIFY(f.State().CurveTicked[0]);
    QCOMPARE(f.RedrawCount(), before + 3);
  }

  void ModeButtonsSwitchMarginsOffWithOneMessage_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("mode");
    QTest::newRow("Gain seul") << 7 << 0;
    QTest::newRow("Phase seule") << 8 << 1;
  }
  void ModeButtonsSwitchMarginsOffWithOneMessage() {
    QFETCH(int, button);
    QFETCH(int, mode);
    Window w;
    TForm1& f = *w.form;
    QRadioButton* chosen = button == 7 ? f.RadioButton7 : f.RadioButton8;

    f.CheckBox5->setChecked(true);
    QCOMPARE(w.s.ShowMargins, 1);
    chosen->setChecked(true);
    QCOMPARE(w.dialogs.Count(QStringLiteral("message")), 1);
    const ScriptedDialogs::Shown& shown = w.dialogs.Log.back();
    QCOMPARE(shown.text, QStringLiteral("Recherche des marges désactivée"));
    QCOMPARE(shown.caption, QStringLiteral("Tracevue"));
    QCOMPARE(shown.icon, MessageIcon::Exclamation);
    QVERIFY(chosen->isChecked());
    QVERIFY(!f.CheckBox5->isChecked());
    QCOMPARE(w.s.ShowMargins, 0);
    QCOMPARE(w.s.BodeMode, mode);

    // Margins off: the other mode button shows nothing.
    (button == 7 ? f.RadioButton8 : f.RadioButton7)->setChecked(true);
    QCOMPARE(w.dialogs.Count(QStringLiteral("message")), 1);
    QCOMPARE(w.s.BodeMode, button == 7 ? 1 : 0);
  }

  void AsymptotesItemDrawsOverTheCurvesAndComesOffCleanly() {
    Window w;
    TForm1& f = *w.form;
    QCOMPARE(f.Asymptotes1->text(), QStringLiteral("Asymptotes"));
    QVERIFY(f.Asymptotes1->isCheckable());
    QVERIFY(!f.Asymptotes1->isChecked());
    QVERIFY(f.Analyse1->actions().contains(f.Asymptotes1));
    w.s.DenText[0].Assign("1+0.5*p");
    f.CheckBox1->setChecked(true);
    const QImage without = f.Picture().copy();
    const int before = f.RedrawCount();
    f.Asymptotes1->setChecked(true);
    QCOMPARE(w.s.ShowAsymptotes, 1);
    QCOMPARE(f.RedrawCount(), before + 1);
    QVERIFY(f.Picture() != without);
    f.Asymptotes1->setChecked(false);
    QCOMPARE(w.s.ShowAsymptotes, 0);
    QCOMPARE(f.Picture(), without);
  }

  void MarginsBoxBringsBackGainAndPhase() {
    Window w;
    TForm1& f = *w.form;
    f.RadioButton7->setChecked(true);
    QCOMPARE(w.s.BodeMode, 0);
    const int before = f.RedrawCount();
    f.CheckBox5->setChecked(true);
    QVERIFY(f.RadioButton9->isChecked());
    QCOMPARE(w.s.BodeMode, 2);
    QCOMPARE(w.s.ShowMargins, 1);
    // The box's redraw, then the one of Gain+Phase.
    QCOMPARE(f.RedrawCount(), before + 2);
    QCOMPARE(w.dialogs.Count(QStringLiteral("message")), 0);
    f.CheckBox5->setChecked(false);
    QCOMPARE(w.s.ShowMargins, 0);
    QCOMPARE(w.s.BodeMode, 2);
  }

  void RangeButtonsStopAtTheirLimits_data() {
    QTest::addColumn<int>("button");  // SpeedButton number
    QTest::addColumn<int>("decadeMin");
    QTest::addColumn<int>("decadeMax");
    QTest::addColumn<int>("gainMax");
    QTest::addColumn<int>("wantMin");
    QTest::addColumn<int>("wantMax");
    QTest::addColumn<int>("wantGainMax");
    QTest::addColumn<bool>("redraws");
    QTest::newRow("1 lowers the low bound") << 1 << -1 << 3 << 50 << -2 << 3 << 50 << true;
    QTest::newRow("1 stops at -6") << 1 << -6 << 3 << 50 << -6 << 3 << 50 << false;
    QTest::newRow("2 raises the low bound") << 2 << -1 << 3 << 50 << 0 << 3 << 50 << true;
    QTest::newRow("2 keeps one decade") << 2 << 2 << 3 << 50 << 2 << 3 << 50 << false;
    QTest::newRow("5 lowers the high bound") << 5 << -1 << 3 << 50 << -1 << 2 << 50 << true;
    QTest::newRow("5 keeps one decade") << 5 << 2 << 3 << 50 << 2 << 3 << 50 << false;
    QTest::newRow("3 raises the high bound") << 3 << -1 << 3 << 50 << -1 << 4 << 50 << true;
    QTest::newRow("3 stops at 5") << 3 << -1 << 5 << 50 << -1 << 5 << 50 << false;
    QTest::newRow("8 widens the gain") << 8 << -1 << 3 << 90 << -1 << 3 << 100 << true;
    QTest::newRow("8 stops at 100") << 8 << -1 << 3 << 100 << -1 << 3 << 100 << false;
    QTest::newRow("6 narrows the gain") << 6 << -1 << 3 << 20 << -1 << 3 << 10 << true;
    QTest::newRow("6 stops at 10") << 6 << -1 << 3 << 10 << -1 << 3 << 10 << false;
  }
  void RangeButtonsStopAtTheirLimits() {
    QFETCH(int, button);
    QFETCH(int, decadeMin);
    QFETCH(int, decadeMax);
    QFETCH(int, gainMax);
    QFETCH(int, wantMin);
    QFETCH(int, wantMax);
    QFETCH(int, wantGainMax);
    QFETCH(bool, redraws);
    Window w;
    TForm1& f = *w.form;
    w.s.DecadeMin = decadeMin;
    w.s.DecadeMax = decadeMax;
    w.s.GainMaxDb = gainMax;
    w.s.GainMinDb = 10 - gainMax;
    QToolButton* b = nullptr;
    switch (button) {
      case 1: b = f.SpeedButton1; break;
      case 2: b = f.SpeedButton2; break;
      case 3: b = f.SpeedButton3; break;
      case 5: b = f.SpeedButton5; break;
      case 6: b = f.SpeedButton6; break;
      default: b = f.SpeedButton8; break;
    }
    const int before = f.RedrawCount();
    b->click();
    QCOMPARE(w.s.DecadeMin, wantMin);
    QCOMPARE(w.s.DecadeMax, wantMax);
    QCOMPARE(w.s.GainMaxDb, wantGainMax);
    QCOMPARE(w.s.GainMinDb, 10 - wantGainMax);
    QCOMPARE(f.RedrawCount(), before + (redraws ? 1 : 0));
  }

  void GainButtonsWalkTheWholeScale() {
    Window w;
    TForm1& f = *w.form;
    for (int i = 0; i < 6; ++i) f.SpeedButton8Click();
    QCOMPARE(w.s.GainMaxDb, 100);
    QCOMPARE(w.s.GainMinDb, -90);
    for (int i = 0; i < 12; ++i) f.SpeedButton6Click();
    QCOMPARE(w.s.GainMaxDb, 10);
    QCOMPARE(w.s.GainMinDb, 0);
    QCOMPARE(f.RedrawCount(), 1 + 5 + 9);
  }

  void BitBtn1SwitchesTheView() {
    Window w;
    TForm1& f = *w.form;
    f.RadioButton8->setChecked(true);
    f.BitBtn1->click();
    QCOMPARE(w.s.BlackView, 1);
    QCOMPARE(f.BitBtn1->text(), QStringLiteral("--> Bode"));
    QVERIFY(!f.SpeedButton6->isEnabled());
    QVERIFY(!f.SpeedButton8->isEnabled());
    QVERIFY(f.Panel2->isHidden());
    QVERIFY(f.SpeedButton1->isEnabled());
    QVERIFY(f.CheckBox5->isEnabled());
    QCOMPARE(w.s.BodeMode, 1);  // kept while hidden
    f.BitBtn1->click();
    QCOMPARE(w.s.BlackView, 0);
    QCOMPARE(f.BitBtn1->text(), QStringLiteral("--> Black"));
    QVERIFY(f.SpeedButton6->isEnabled());
    QVERIFY(f.SpeedButton8->isEnabled());
    QVERIFY(!f.Panel2->isHidden());
    QVERIFY(f.RadioButton8->isChecked());
  }

  void InvalidTickedFunctionTurnsThePanelRed() {
    Window w;
    TForm1& f = *w.form;
    const QColor face = f.PanelColour();
    QVERIFY(face != QColor(255, 0, 0));
    const QImage before = f.Picture().copy();
    w.s.NumText[1].Assign("1+p");
    w.s.DenText[1].Assign("p^2+p");  // decreasing powers: refused
    f.CheckBox2->setChecked(true);
    QCOMPARE(w.dialogs.Beeps, 40);
    QCOMPARE(f.PanelColour(), QColor(255, 0, 0));
    QCOMPARE(f.Panel1->toolTip(),
             QStringLiteral("H2 : dénominateur invalide : développez le polynôme en puissances "
                            "croissantes de p"));
    QCOMPARE(f.Picture(), before);  // nothing drawn
    // A valid function ticked as well does not help while H2 stays ticked.
    f.CheckBox1->setChecked(true);
    QCOMPARE(w.dialogs.Beeps, 80);
    QCOMPARE(f.PanelColour(), QColor(255, 0, 0));
    QCOMPARE(f.Picture(), before);
    // Unticking H2 draws again and gives the panel its colour back.
    f.CheckBox2->setChecked(false);
    QCOMPARE(w.dialogs.Beeps, 80);
    QCOMPARE(f.PanelColour(), face);
    QCOMPARE(f.Panel1->toolTip(), QString());
    QVERIFY(f.Picture() != before);
  }

  void UntickedInvalidFunctionDoesNotPreventDrawing() {
    Window w;
    TForm1& f = *w.form;
    w.s.NumText[1].Assign("1+p");
    w.s.DenText[1].Assign("p^2+p");
    w.s.DenText[0].Assign("1+p");
    f.CheckBox1->setChecked(true);
    QCOMPARE(w.dialogs.Beeps, 0);
    QVERIFY(f.PanelColour() != QColor(255, 0, 0));
    // H1 = 1/(1+p) is drawn in blue: at w = 100 (x = 836) its gain is about -40 dB.
    const QImage& picture = f.Picture();
    const double gainOffset = -10.0 * std::log(1.0 + 1e4) / 2.302585 * ((339 - 5) / 50.0);
    const int y = 339 - static_cast<int>(std::lround(gainOffset));
    bool blue = false;
    for (int dy = -2; dy <= 2; ++dy) blue = blue || IsBlue(picture.pixel(836, y + dy));
    QVERIFY(blue);
  }

  void NouveauResetsFunctionsAndUnticksTheBoxes() {
    Window w;
    TForm1& f = *w.form;
    w.s.NumText[0].Assign("K");
    w.s.ParamK = 3;
    w.s.DecadeMin = -4;
    f.CheckBox1->setChecked(true);
    f.CheckBox4->setChecked(true);
    f.BitBtn1->click();
    w.dialogs.YesNoCancelAnswers.push_back(Answer::No);  // the changed work given up
    f.N3->trigger();
    QVERIFY(!f.CheckBox1->isChecked());
    QVERIFY(!f.CheckBox4->isChecked());
    QCOMPARE(w.s.NumText[0].Str(), std::string("1"));
    QCOMPARE(w.s.ParamK, 1.0);
    QCOMPARE(w.s.DecadeMin, -1);
    QCOMPARE(w.s.BlackView, 1);  // the view is kept
    QCOMPARE(f.CheckBox4->text(), QString());
    QVERIFY(!f.Parameters()->RadioButton(1)->isEnabled());
  }

  void TransferFileRoundTripsThroughTheMenu() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("loop.WWC"));
    {
      Window w;
      TForm1& f = *w.form;
      w.s.NumText[1].Assign("K");
      w.s.DenText[1].Assign("1+T*p");
      w.s.ParamK = 2.5;
      f.CheckBox2->setChecked(true);
      w.dialogs.FileAnswers.push_back(path);
      f.N2->trigger();
      QCOMPARE(w.dialogs.Log.back().kind, QStringLiteral("save"));
      QCOMPARE(w.dialogs.Log.back().extra, QStringLiteral("Transfert|*.WWC"));
      QVERIFY(QFile::exists(path));
    }
    Window w;
    TForm1& f = *w.form;
    w.dialogs.FileAnswers.push_back(path);
    f.N1->trigger();
    QCOMPARE(w.s.NumText[1].Str(), std::string("K"));
    QCOMPARE(w.s.ParamK, 2.5);
    QVERIFY(!f.CheckBox1->isChecked());
    QVERIFY(f.CheckBox2->isChecked());
    QVERIFY(f.CheckBox4->isChecked());
    QCOMPARE(f.CheckBox4->text(), QStringLiteral("H2"));
    QVERIFY(f.Parameters()->RadioButton(1)->isEnabled());   // K
    QVERIFY(f.Parameters()->RadioButton(3)->isEnabled());   // T
    QVERIFY(!f.Parameters()->RadioButton(2)->isEnabled());  // A
    QCOMPARE(f.Parameters()->RadioButton(1)->text(), QStringLiteral("K = 2.5"));
    // Cancelled dialogs change nothing.
    w.dialogs.FileAnswers.push_back(QString());
    const int before = f.RedrawCount();
    f.N1->trigger();
    QCOMPARE(f.RedrawCount(), before);
  }

  // Work changed since its last load or save is never dropped without the
  // question; Enregistrer proposes the file the work came from.
  void ChangedWorkIsNotDroppedWithoutAQuestion() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("travail.WWC"));
    Window w;
    TForm1& f = *w.form;
    // Nothing changed: Nouveau and Ouvrir ask nothing.
    f.N3->trigger();
    w.dialogs.FileAnswers.push_back(QString());
    f.N1->trigger();
    QCOMPARE(w.dialogs.Count(QStringLiteral("yesnocancel")), 0);

    w.s.NumText[0].Assign("K");
    f.CheckBox1->setChecked(true);
    // Annuler keeps the work; so does a save dialog cancelled after Oui.
    w.dialogs.YesNoCancelAnswers = {Answer::Cancel, Answer::Yes};
    w.dialogs.FileAnswers.push_back(QString());
    f.N3->trigger();
    f.N3->trigger();
    QCOMPARE(w.dialogs.Log[w.dialogs.Log.size() - 3].text,
             QStringLiteral("Enregistrer les modifications ?"));
    QVERIFY(f.CheckBox1->isChecked());
    w.dialogs.YesNoCancelAnswers = {Answer::Cancel};
    QVERIFY(!f.close());
    QCOMPARE(w.dialogs.Count(QStringLiteral("yesnocancel")), 3);

    // Oui saves, then the work goes.
    w.dialogs.YesNoCancelAnswers = {Answer::Yes};
    w.dialogs.FileAnswers.push_back(path);
    f.N3->trigger();
    QVERIFY(QFile::exists(path));
    QVERIFY(!f.CheckBox1->isChecked());

    // Loaded, then a parameter stepped: asked again; Non gives it up.
    w.dialogs.FileAnswers.push_back(path);
    f.N1->trigger();
    QVERIFY(f.CheckBox1->isChecked());
    QVERIFY(f.close());  // unchanged since loaded
    w.s.ParamK = 4;
    w.dialogs.YesNoCancelAnswers = {Answer::No};
    QVERIFY(f.close());
    QCOMPARE(w.dialogs.Count(QStringLiteral("yesnocancel")), 5);

    w.dialogs.FileAnswers.push_back(QString());
    f.N2->trigger();
    QCOMPARE(w.dialogs.Log.back().kind, QStringLiteral("save"));
    QCOMPARE(w.dialogs.Log.back().text, path);
  }

  // A name that is not UTF-8 on the command line names its file byte for byte.
  void FirstArgumentWithBytesThatAreNotUtf8IsLoaded() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    tv::DiagramState written;
    tv::ResetDiagram(written);
    written.NumText[1].Assign("K");
    const tv::TransferFileBytes bytes = tv::EncodeTransferFile(written);
    const std::string path = QFile::encodeName(dir.path()).toStdString() + "/\xE9t\xE9 1.WWC";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    char program[] = "tracevue";
    std::string argument = path;
    char* argv[] = {program, argument.data(), nullptr};
    Window w(tv::ui::ArgumentsFromArgv(2, argv));
    QCOMPARE(w.s.CurrentFileName, path);
    QCOMPARE(w.s.NumText[1].Str(), std::string("K"));
    QVERIFY(w.form->CheckBox2->isChecked());
    ::unlink(path.c_str());  // QTemporaryDir cannot remove what Qt cannot name
  }

  void FirstArgumentIsLoadedAtStart() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    tv::DiagramState written;
    tv::ResetDiagram(written);
    written.DenText[2].Assign("1+p");
    const tv::TransferFileBytes bytes = tv::EncodeTransferFile(written);
    QFile file(dir.filePath(QStringLiteral("loop.WWC")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    file.close();

    // The extension given is replaced by .WWC.
    Window w({dir.filePath(QStringLiteral("loop.txt"))});
    TForm1& f = *w.form;
    QCOMPARE(QString::fromStdString(w.s.CurrentFileName), dir.filePath(QStringLiteral("loop.WWC")));
    QVERIFY(f.CheckBox3->isChecked());
    QVERIFY(!f.CheckBox1->isChecked());
    QVERIFY(f.CheckBox4->isChecked());
    QCOMPARE(f.CheckBox4->text(), QStringLiteral("H3"));
    QCOMPARE(w.s.DenText[2].Str(), std::string("1+p"));
  }

  // A points text opened by mistake, from the menu or at start: a message
  // naming it and saying why, and the work on the screen as it was.
  void FileThatIsNoTransferFileIsRefused() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString points = dir.filePath(QStringLiteral("mesures.txt"));
    QFile file(points);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("0.1 -0.02 -1.1\r\n1 -3.5 -45.2\r\n");
    file.close();

    Window w;
    TForm1& f = *w.form;
    w.s.NumText[0].Assign("K");
    w.s.DenText[0].Assign("1+T*p");
    f.CheckBox1->setChecked(true);
    const tv::TransferFileBytes before = tv::EncodeTransferFile(w.s);
    const QImage picture = f.Picture().copy();
    const int redraws = f.RedrawCount();
    w.dialogs.YesNoCancelAnswers.push_back(Answer::No);
    w.dialogs.FileAnswers.push_back(points);
    f.N1->trigger();
    QCOMPARE(w.dialogs.Count(QStringLiteral("message")), 1);
    const QString text = w.dialogs.Log.back().text;
    QVERIFY2(text.contains(points) &&
                 text.contains(QStringLiteral("pas un fichier de transfert")) &&
                 text.contains(QStringLiteral("30 octets au lieu de 554")),
             qPrintable(text));
    QCOMPARE(w.dialogs.Log.back().icon, MessageIcon::Exclamation);
    QVERIFY(tv::EncodeTransferFile(w.s) == before);
    QVERIFY(f.CheckBox1->isChecked() && !f.CheckBox2->isChecked() && !f.CheckBox4->isChecked());
    QCOMPARE(f.RedrawCount(), redraws);
    QCOMPARE(f.Picture(), picture);
    QVERIFY(f.PanelColour() != QColor(255, 0, 0));

    // At start the window comes up with its defaults, and the message once it is there.
    Window started({points});
    QCOMPARE(started.dialogs.Count(QStringLiteral("message")), 0);
    QTRY_COMPARE(started.dialogs.Count(QStringLiteral("message")), 1);
    QVERIFY(started.dialogs.Log.back().text.contains(dir.filePath(QStringLiteral("mesures.WWC"))));
    QCOMPARE(started.s.NumText[0].Str(), std::string("1"));
    QVERIFY(!started.form->CheckBox4->isChecked());
  }

  void MenuEntriesHaveTheUsualKeys() {
    Window w;
    TForm1& f = *w.form;
    const QList<QPair<QAction*, QString>> keys = {{f.N3, QStringLiteral("Ctrl+N")},
                                                  {f.N1, QStringLiteral("Ctrl+O")},
                                                  {f.N2, QStringLiteral("Ctrl+S")},
                                                  {f.Imprimer1, QStringLiteral("Ctrl+P")},
                                                  {f.Pressepapier1, QStringLiteral("Ctrl+C")},
                                                  {f.Quitter1, QStringLiteral("Ctrl+Q")},
                                                  {f.apropos, QStringLiteral("F1")}};
    for (const auto& [entry, key] : keys)
      QCOMPARE(entry->shortcut().toString(QKeySequence::PortableText), key);
    QCOMPARE(f.N1->text(), QStringLiteral("Ouvrir"));
    // A key press reaches the command: Ctrl+N is Nouveau.
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    w.s.NumText[0].Assign("K");
    f.CheckBox1->setChecked(true);
    w.dialogs.YesNoCancelAnswers.push_back(Answer::No);
    QTest::keyClick(&f, Qt::Key_N, Qt::ControlModifier);
    QVERIFY(!f.CheckBox1->isChecked());
    QCOMPARE(w.s.NumText[0].Str(), std::string("1"));
  }

  void FailedSaveIsSaid() {
    Window w;
    TForm1& f = *w.form;
    w.dialogs.FileAnswers.push_back(QStringLiteral("/nonexistent-folder/x.WWC"));
    f.N2->trigger();
    QCOMPARE(w.dialogs.Count(QStringLiteral("message")), 1);
    QCOMPARE(w.dialogs.Log.back().caption, QStringLiteral("Tracevue"));
    QVERIFY(!w.dialogs.Log.back().text.isEmpty());
  }

  void AboutBoxIsShownModally() {
    Window w;
    TForm1& f = *w.form;
    QDialog* shown = nullptr;
    w.dialogs.ModalScripts.push_back([&](QDialog& d) { shown = &d; });
    f.apropos->trigger();
    QCOMPARE(w.dialogs.Count(QStringLiteral("modal")), 1);
    QCOMPARE(shown, static_cast<QDialog*>(f.AboutBox()));
    tv::ui::TAboutBox& box = *f.AboutBox();
    QCOMPARE(box.windowTitle(), QStringLiteral("A propos"));
    QCOMPARE(box.size(), QSize(318, 132));
    QCOMPARE(box.ProductName->text(), QStringLiteral("Tracevue"));
    QCOMPARE(box.Version->text(), QStringLiteral("Version " TRACEVUE_VERSION));
    QVERIFY(box.Version->y() > box.ProductName->y());
    QCOMPARE(box.ProgramIcon->size(), QSize(33, 33));
    QCOMPARE(box.OKButton->text(), QStringLiteral("OK"));
    QCOMPARE(box.font().pixelSize(), 13);
    // The picture is drawn, not blank.
    const QImage icon = tv::ui::TAboutBox::ProgramIconPixmap().toImage();
    QCOMPARE(icon.size(), QSize(33, 33));
    QVERIFY(CountPixels(icon, qRgb(0, 0, 255)) > 10);
  }

  void DefiningAFunctionTicksItAndEnablesItsParameters() {
    Window w;
    TForm1& f = *w.form;
    w.dialogs.ModalScripts.push_back([](QDialog& d) {
      auto& form = static_cast<tv::ui::TForm3&>(d);
      form.Edit1->setText(QStringLiteral("1"));
      form.Edit2->setText(QStringLiteral("1+T*p"));
    });
    f.N5->trigger();
    QCOMPARE(w.dialogs.Count(QStringLiteral("modal")), 1);
    QVERIFY(f.CheckBox2->isChecked());
    QCOMPARE(f.CheckBox4->text(), QStringLiteral("H2"));
    QCOMPARE(w.s.DenText[1].Str(), std::string("1+T*p"));
    QVERIFY(f.Parameters()->RadioButton(3)->isEnabled());  // T
    QVERIFY(f.B1->isEnabled());
    QVERIFY(!f.Parameters()->RadioButton(1)->isEnabled());
    QVERIFY(!f.GainK1->isEnabled());
    // The spin arrows redraw through the window.
    const int before = f.RedrawCount();
    f.Parameters()->RadioButton(3)->setChecked(true);
    f.Parameters()->StepSelectedParameter(1.0);
    QCOMPARE(w.s.ParamT, 2.0);
    QCOMPARE(f.RedrawCount(), before + 1);
    QCOMPARE(f.Parameters()->RadioButton(3)->text(), QStringLiteral("T = 2"));
  }

  void FichierCommandsReachTheirModules() {
    Window w;
    TForm1& f = *w.form;
    for (QAction* entry : {f.Pressepapier1, f.Imprimer1, f.SauverlimageEMF1, f.Mspaint1, f.Maple1,
                           f.RponsetemporellecrationdunfichierMaple1})
      QVERIFY2(entry->isEnabled(), qPrintable(entry->objectName()));

    // With no function ticked the worksheet commands ask nothing.
    f.RponsetemporellecrationdunfichierMaple1->trigger();
    QCOMPARE(w.dialogs.Count(QStringLiteral("save")), 0);

    // With H1 ticked: the file first, then the loop question, then 1460 bytes.
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("step.mws"));
    f.CheckBox1->setChecked(true);
    w.dialogs.FileAnswers.push_back(name);
    w.dialogs.YesNoAnswers.push_back(true);
    f.RponsetemporellecrationdunfichierMaple1->trigger();
    QCOMPARE(QFileInfo(name).size(), 1460);
    QCOMPARE(w.dialogs.Log.back().kind, QStringLiteral("yesno"));

    // The clipboard receives the picture as drawn, colours included.
    f.Pressepapier1->trigger();
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
             f.Picture().convertToFormat(QImage::Format_RGB32));
  }

  void OpeningThePointsEditorShowsIt() {
    Window w;
    TForm1& f = *w.form;
    QVERIFY(f.Ouvrirditeurdepoints1->isEnabled());
    QVERIFY(!f.Form2()->isVisible());
    f.Ouvrirditeurdepoints1->trigger();
    QVERIFY(f.Form2()->isVisible());
  }

  void PointsEditorTakesTheCapture() {
    Window w;
    TForm1& f = *w.form;
    w.s.CapturePoints = 1;
    f.Redraw();
    w.s.CapturePoints = 0;
    // Capture ticks H1.H2.H3 (its handler redraws, nested) and then keeps
    // one line every 10 columns: 0, 10, ..., 1070.
    QVERIFY(f.CheckBox4->isChecked());
    const QStringList lines = f.Form2()->Lines();
    QCOMPARE(lines.size(), 108);
    QVERIFY(lines.front().startsWith(QStringLiteral("0.1   ")));
  }

  // The vertical bar has a column of its own: the whole width of the
  // picture shows, its right-hand labels included.
  void ScrollBarStandsBesideThePicture() {
    Window w;
    TForm1& f = *w.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    // The test platform's screen is 800 x 600, smaller than the window: the
    // window is fitted to it, and every control of the panel stays in it.
    const QRect screen = f.screen()->availableGeometry();
    QTRY_VERIFY(screen.contains(f.frameGeometry()));
    QCOMPARE(f.Target().PlotWidth, f.centralWidget()->width() - f.PictureBarWidth());
    for (const QWidget* control : f.Panel1->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      QVERIFY2(f.Panel1->rect().contains(control->geometry()), qPrintable(control->objectName()));
    const auto* area = f.findChild<QScrollArea*>(QStringLiteral("ImageArea"));
    QVERIFY(area != nullptr);
    const QScrollBar* bar = area->verticalScrollBar();
    QTRY_VERIFY(bar->isVisible());
    QVERIFY(f.PictureBarWidth() > 0);
    QCOMPARE(area->viewport()->width(), f.Target().PlotWidth);
    const QPoint barLeft = bar->mapTo(&f, QPoint(0, 0));
    const QPoint pictureRight = f.Image1->mapTo(&f, QPoint(f.Image1->width(), 0));
    QVERIFY2(
        barLeft.x() >= pictureRight.x(),
        qPrintable(
            QStringLiteral("bar at %1, picture to %2").arg(barLeft.x()).arg(pictureRight.x())));
  }

  void ResizeRedrawsAtTheNewSize() {
    Window w;
    TForm1& f = *w.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.resize(900 + f.PictureBarWidth(), 500 + f.menuBar()->height());
    QTRY_COMPARE(f.Target().PlotWidth, f.centralWidget()->width() - f.PictureBarWidth());
    QCOMPARE(f.Target().PlotWidth, 900);
    QCOMPARE(f.Target().PlotHeight, f.centralWidget()->height());
    QCOMPARE(f.Picture().size(), QSize(f.Target().PlotWidth, f.Target().PlotHeight));
    QCOMPARE(f.Image1->size(), f.Picture().size());
    // The last decade line stands at W - 30.
    QCOMPARE(f.Picture().pixel(f.Target().PlotWidth - 30, 100) & 0xffffff, 0u);
    // The window never grows past its limit.
    f.resize(2000, 2000);
    QTRY_VERIFY(f.width() <= TForm1::kMaxClientWidth + f.PictureBarWidth());
    QVERIFY(f.Target().PlotWidth <= TForm1::kMaxClientWidth);
    QVERIFY(f.Target().PlotHeight <= TForm1::kMaxClientHeight);
  }
};

QTEST_MAIN(TForm1Test)
#include "tform1_test.moc"
