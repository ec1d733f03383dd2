// The built program without a display: pictures at the pixels the layout gives, outputs and exit
// codes.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Run {
  int Code = -1;
  QString Out;
  QString Err;
};

Run Tracevue(const QStringList& arguments, const QString& program = QStringLiteral(TRACEVUE_EXE),
             const std::vector<std::pair<QString, QString>>& settings = {}) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  // French whatever the machine's locale: the language has its own test.
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANGUAGE", "LC_ALL",
                           "LC_MESSAGES", "LANG", "FONTCONFIG_FILE", "FONTCONFIG_PATH"})
    env.remove(QString::fromLatin1(name));
  for (const auto& [name, value] : settings) env.insert(name, value);
  p.setProcessEnvironment(env);
  p.start(program, arguments);
  Run r;
  if (!p.waitForFinished(120000)) {
    p.kill();
    p.waitForFinished();
    return r;
  }
  r.Code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.Out = QString::fromUtf8(p.readAllStandardOutput());
  r.Err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

// The program's exit code for arguments given as raw bytes (QProcess would
// recode them), its output thrown away.
int TracevueWithBytes(const std::vector<std::string>& arguments) {
  std::vector<std::string> all = {TRACEVUE_EXE};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e)
    if (std::string(*e).rfind("DISPLAY=", 0) != 0 &&
        std::string(*e).rfind("WAYLAND_DISPLAY=", 0) != 0)
      env.emplace_back(*e);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  const int started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  if (started != 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

QRgb Rgb(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xffffff; }
constexpr QRgb kBlack = 0x000000;
constexpr QRgb kWhite = 0xffffff;
constexpr QRgb kBlue = 0x0000ff;

// Layout of the default Bode picture, 1134 x 678, decades -1 to 3, gain -40 to 50 dB.
constexpr int kW = 1134;
constexpr int kH = 678;
constexpr int kMidY = kH / 2;                             // 339
constexpr double kGainPixelsPerDb = (kH / 2 - 5) / 50.0;  // 6.68
constexpr double kPhasePixelsPerRad = (kMidY - 20) / 6.283185307179586;

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }
int DecadeX(int i) { return RoundEven(i * (kW - 60) / 4.0) + 30; }

// Pulsation of column x (x = i + 30).
double PulsationAt(int x) { return std::exp((-1 + (x - 30) * 4.0 / (kW - 60)) * std::log(10.0)); }

bool ColourNear(const QImage& image, int x, int y, QRgb colour, int reach) {
  for (int dy = -reach; dy <= reach; ++dy)
    if (y + dy >= 0 && y + dy < image.height() && Rgb(image, x, y + dy) == colour) return true;
  return false;
}

// A poppler tool's output; empty when it could not run.
QByteArray Poppler(const QString& tool, const QStringList& arguments) {
  QProcess p;
  p.start(tool, arguments);
  if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
    return {};
  return p.readAllStandardOutput();
}

// A word of a PDF page as pdftotext -bbox places it, in points from the top left.
struct PageWord {
  QRectF Box;
  QString Text;
};

QList<PageWord> PageWords(const QString& pdf, QSizeF* pageSize) {
  const QString html = QString::fromUtf8(
      Poppler(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
  static const QRegularExpression page(
      QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)")re"));
  if (const QRegularExpressionMatch m = page.match(html); m.hasMatch())
    *pageSize = QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
  static const QRegularExpression word(QStringLiteral(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
  QList<PageWord> words;
  for (QRegularExpressionMatchIterator it = word.globalMatch(html); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    words.append({QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                         QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
                  m.captured(5)});
  }
  return words;
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

class CliTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

 private slots:
  void initTestCase() { QVERIFY(dir_.isValid()); }

  void BodeExportHasTheFrameAndTheCurve() {
    const QString out = Path("bode.png");
    const Run r = Tracevue({QStringLiteral("--export"), out, QStringLiteral("--num1"),
                            QStringLiteral("1"), QStringLiteral("--den1"), QStringLiteral("1+p")});
    QCOMPARE(r.Code, 0);
    QCOMPARE(r.Err, QString());
    QCOMPARE(r.Out, QString());
    QImage image(out);
    QCOMPARE(image.size(), QSize(kW, kH));

    // Left axis and decade lines, solid, one pixel wide, from y 5 to H - 40.
    QCOMPARE(DecadeX(1), 298);  // 268.5 rounds to the even 268
    QCOMPARE(DecadeX(3), 836);  // 805.5 rounds to 806
    for (int i = 0; i <= 4; ++i) {
      const int x = i == 0 ? 30 : DecadeX(i);
      for (int y : {120, 250, 450, 630}) QCOMPARE(Rgb(image, x, y), kBlack);
      QCOMPARE(Rgb(image, x + 1, 120), kWhite);
      QCOMPARE(Rgb(image, x - 1, 120), kWhite);
      QCOMPARE(Rgb(image, x, kH - 20), kWhite);  // below the axis end
    }
    // Gain grid: dotted lines every 66.8 px above the middle line.
    for (int k = 1; k <= 5; ++k) {
      const int y = RoundEven(kH / 2 - k * (kMidY - 5) / 5.0);
      int black = 0, white = 0;
      for (int x = 400; x < 460; ++x) (Rgb(image, x, y) == kBlack ? black : white)++;
      QVERIFY2(black > 5 && white > 5, qPrintable(QStringLiteral("grid row %1").arg(y)));
      for (int x = 400; x < 460; ++x) QCOMPARE(Rgb(image, x, y + 2), kWhite);
    }
    // The -180 degree line is solid across.
    const int minus180 = kMidY - RoundEven(-2 * (kMidY - 20) / 4.0);
    QCOMPARE(minus180, 499);
    for (int x = 400; x < 460; ++x) QCOMPARE(Rgb(image, x, minus180), kBlack);

    // H1 = 1/(1+p) in blue: gain and phase where the formulas put them.
    for (int x : {350, 500, 700, 900, 950}) {  // beyond, the gain leaves the picture
      const double w = PulsationAt(x);
      const double gainDb = -10.0 * std::log(1.0 + w * w) / 2.302585;
      const int yGain = kMidY - RoundEven(gainDb * kGainPixelsPerDb);
      QVERIFY2(ColourNear(image, x, yGain, kBlue, 2),
               qPrintable(QStringLiteral("gain at x=%1").arg(x)));
      const double phase = -std::atan(w);
      const int yPhase = kMidY - RoundEven(phase * kPhasePixelsPerRad);
      QVERIFY2(ColourNear(image, x, yPhase, kBlue, 1),
               qPrintable(QStringLiteral("phase at x=%1").arg(x)));
      // Nothing blue far from the two curves in that column.
      for (int y = 60; y < kH; ++y)
        if (std::abs(y - yGain) > 3 && std::abs(y - yPhase) > 3) QVERIFY(Rgb(image, x, y) != kBlue);
    }
    // The formula label sits on the first rows of the legend, in blue.
    bool labelled = false;
    for (int y = 10; y < 45; ++y)
      for (int x = 60; x < 200; ++x)
        labelled = labelled || (qBlue(image.pixel(x, y)) > 200 && qRed(image.pixel(x, y)) < 80);
    QVERIFY(labelled);
  }

  void BlackAndBmpOutputs() {
    const QString out = Path("black.bmp");
    const Run r = Tracevue(
        {QStringLiteral("--view"), QStringLiteral("black"), QStringLiteral("--black"),
         QStringLiteral("--num1"), QStringLiteral("K"), QStringLiteral("--den1"),
         QStringLiteral("p+p^2"), QStringLiteral("--set"), QStringLiteral("k=2"),
         QStringLiteral("--size"), QStringLiteral("800x600"), QStringLiteral("--export"), out});
    QCOMPARE(r.Code, 0);
    QImage image(out, "BMP");
    QCOMPARE(image.size(), QSize(800, 600));
    // All black: no pixel keeps a colour of its own.
    int coloured = 0, black = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y);
        coloured += std::abs(qRed(p) - qBlue(p)) > 40 || std::abs(qRed(p) - qGreen(p)) > 40;
        black += (p & 0xffffff) == 0;
      }
    QCOMPARE(coloured, 0);
    QVERIFY(black > 1000);
  }

  void MarginTextsGoToStandardOutput() {
    const Run r =
        Tracevue({QStringLiteral("--export"), Path("margins.png"), QStringLiteral("--num1"),
                  QStringLiteral("1"), QStringLiteral("--den1"), QStringLiteral("p+p^2"),
                  QStringLiteral("--mode"), QStringLiteral("gain"), QStringLiteral("--margins")});
    QCOMPARE(r.Code, 0);
    const QStringList lines = r.Out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1);  // one gain crossing, no phase crossing of -180
    static const QRegularExpression mp(
        QStringLiteral("^MP1: (\\d+\\.?\\d*) en w= (\\d+\\.?\\d*)$"));
    const QRegularExpressionMatch m = mp.match(lines.front());
    QVERIFY2(m.hasMatch(), qPrintable(lines.front()));
    // 1/(p(1+p)) crosses 0 dB near w = 0.786 with about 51.8 degrees left.
    QVERIFY(std::abs(m.captured(2).toDouble() - 0.786) < 0.01);
    QVERIFY(std::abs(m.captured(1).toDouble() - 51.8) < 0.6);
  }

  // The product 1/(p(1+p)) . 4: one gain crossover, none of -180 degrees.
  void ReportListsTheReadOutsOfTheDrawnCurves() {
    const QString report = Path("readouts.json");
    const Run r =
        Tracevue({QStringLiteral("--num1"), QStringLiteral("1"), QStringLiteral("--den1"),
                  QStringLiteral("p+p^2"), QStringLiteral("--num2"), QStringLiteral("4"),
                  QStringLiteral("--den2"), QStringLiteral("1"), QStringLiteral("--curves"),
                  QStringLiteral("1,2,4"), QStringLiteral("--report"), report});
    QCOMPARE(r.Code, 0);
    QFile f(report);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QJsonArray curves = QJsonDocument::fromJson(f.readAll()).object()[u"curves"].toArray();
    QCOMPARE(curves.size(), 3);
    const QJsonObject h1 = curves[0].toObject();
    QCOMPARE(h1[u"name"].toString(), QStringLiteral("H1"));
    QCOMPARE(h1[u"class"].toInt(), 1);
    QVERIFY(h1[u"static_gain_db"].isNull());
    QVERIFY(h1[u"phase_crossovers"].toArray().isEmpty());
    const QJsonObject gc = h1[u"gain_crossovers"].toArray()[0].toObject();
    const double w = std::sqrt((std::sqrt(5.0) - 1) / 2);
    QVERIFY(std::abs(gc[u"w"].toDouble() - w) < 1e-12);
    const double pm = 90 - std::atan(w) * 180 / std::numbers::pi;
    QVERIFY(std::abs(gc[u"phase_margin_deg"].toDouble() - pm) < 1e-9);
    // 1/(p^2 + p + 1) closed: peak 1/(2 ksi sqrt(1 - ksi^2)) with ksi = 1/2.
    const QJsonObject closed = h1[u"closed_loop"].toObject();
    QVERIFY(std::abs(closed[u"peak_db"].toDouble() - 20 * std::log10(2 / std::sqrt(3.0))) < 1e-9);
    QCOMPARE(curves[1].toObject()[u"static_gain_db"].toDouble(), 20 * std::log10(4.0));
    QCOMPARE(curves[2].toObject()[u"name"].toString(), QStringLiteral("H1.H2"));
  }

  void TuneSetsTheParameterOrExitsWithFive() {
    const QString report = Path("tuned.json");
    Run r = Tracevue({QStringLiteral("--num1"), QStringLiteral("K"), QStringLiteral("--den1"),
                      QStringLiteral("p+p^2"), QStringLiteral("--tune"), QStringLiteral("k"),
                      QStringLiteral("--report"), report});
    QCOMPARE(r.Code, 0);
    QVERIFY2(r.Out.startsWith(QStringLiteral("K=1.39")), qPrintable(r.Out));
    QFile f(report);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QJsonObject closed = QJsonDocument::fromJson(f.readAll())
                                   .object()[u"curves"]
                                   .toArray()[0]
                                   .toObject()[u"closed_loop"]
                                   .toObject();
    QVERIFY(std::abs(closed[u"peak_db"].toDouble() - 2.3) < 1e-9);
    r = Tracevue({QStringLiteral("--num1"), QStringLiteral("1"), QStringLiteral("--den1"),
                  QStringLiteral("1+p"), QStringLiteral("--tune"), QStringLiteral("T"),
                  QStringLiteral("--export"), Path("never.png")});
    QCOMPARE(r.Code, 5);
    QVERIFY(r.Out.isEmpty());
    QVERIFY(!QFileInfo::exists(Path("never.png")));
  }

  void SaveThenLoadAndCapture() {
    const QString file = Path("loop.WWC");
    Run r = Tracevue({QStringLiteral("--num2"), QStringLiteral("K"), QStringLiteral("--den2"),
                      QStringLiteral("(1+T*p)"), QStringLiteral("--set"), QStringLiteral("K=2"),
                      QStringLiteral("--decades"), QStringLiteral("-2:2"), QStringLiteral("--save"),
                      file});
    QCOMPARE(r.Code, 0);
    QCOMPARE(QFileInfo(file).size(), 554);

    const QString capture = Path("capture.txt");
    // The name's extension is replaced by .WWC, as at start.
    r = Tracevue({Path("loop.txt"), QStringLiteral("--capture"), capture});
    QCOMPARE(r.Code, 0);
    QFile f(capture);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.endsWith("\r\n"));
    const QList<QByteArray> lines = bytes.split('\n');
    QCOMPARE(lines.size() - 1, 108);  // columns 0, 10, ..., 1070
    // First column: w = 0.01; H2 = 2/(1+p) there has 6.02 dB.
    const QList<QByteArray> first = lines.front().trimmed().split(' ');
    QCOMPARE(first.front(), QByteArray("0.01"));
    QVERIFY(std::abs(first[3].toDouble() - 6.0206) < 0.01);
  }

  void Help() {
    const Run r = Tracevue({QStringLiteral("--help")});
    QCOMPARE(r.Code, 0);
    QVERIFY(r.Out.contains(QStringLiteral("--export")));
    QVERIFY(r.Out.contains(QStringLiteral("Codes de sortie")));
    // The parser's own headings are in French too.
    QVERIFY2(r.Out.startsWith(QStringLiteral("Usage : tracevue [FICHIER.WWC]")), qPrintable(r.Out));
    QVERIFY(r.Out.contains(QStringLiteral("\nOptions :\n")));
    QVERIFY(!r.Out.contains(QStringLiteral("Usage:")));
  }

  // English from --lang or the locale: the same picture below the margin texts, the same
  // margins in English words, the help in English.
  void EnglishExportHasTheFrenchLayout() {
    const QString example = QStringLiteral(TRACEVUE_SOURCE_DIR "/examples/third-order.WWC");
    const QString fr = Path("fr.png"), en = Path("en.png");
    const Run french =
        Tracevue({QStringLiteral("--margins"), QStringLiteral("--export"), fr, example});
    const Run english =
        Tracevue({QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("--margins"),
                  QStringLiteral("--export"), en, example});
    QCOMPARE(english.Code, 0);
    QString translated = french.Out;
    translated.replace(QStringLiteral("MP"), QStringLiteral("PM"))
        .replace(QStringLiteral("MG"), QStringLiteral("GM"))
        .replace(QStringLiteral(" globale"), QStringLiteral(" global"))
        .replace(QStringLiteral(" en w="), QStringLiteral(" at w="));
    QCOMPARE(english.Out, translated);
    const QImage a(fr), b(en);
    QCOMPARE(b.size(), a.size());
    QVERIFY(a.copy(0, 0, a.width(), 110) != b.copy(0, 0, b.width(), 110));
    QCOMPARE(b.copy(0, 110, b.width(), b.height() - 110),
             a.copy(0, 110, a.width(), a.height() - 110));
    const Run help = Tracevue({QStringLiteral("--help"), QStringLiteral("--lang=en")});
    QVERIFY(help.Out.startsWith(QStringLiteral("Usage: tracevue")));
    QVERIFY(help.Out.contains(QStringLiteral("\nExit codes:\n")));
    QCOMPARE(
        Tracevue({QStringLiteral("--lang"), QStringLiteral("de"), QStringLiteral("--help")}).Code,
        2);
  }

  // The version alone, even beside a refused option, like --help.
  void Version() {
    for (const QStringList& args :
         {QStringList{QStringLiteral("--version")},
          QStringList{QStringLiteral("--version"), QStringLiteral("--x")}}) {
      const Run r = Tracevue(args);
      QCOMPARE(r.Code, 0);
      QCOMPARE(r.Out, QStringLiteral("tracevue " TRACEVUE_VERSION "\n"));
    }
  }

  void AsymptotesOptionDrawsTheDashedAsymptote() {
    const QString out = Path("asymptotes.png");
    const QStringList function = {QStringLiteral("--mode"), QStringLiteral("gain"),
                                  QStringLiteral("--num1"), QStringLiteral("2"),
                                  QStringLiteral("--den1"), QStringLiteral("1+0.5*p")};
    const Run r = Tracevue(
        QStringList{QStringLiteral("--asymptotes"), QStringLiteral("--export"), out} + function);
    QCOMPARE(r.Code, 0);
    QImage image(out);
    // At the break w = 2 the asymptote is at 6 dB, the curve 3 dB lower: blue
    // dashes on the asymptote's row around the break's column.
    const int x = RoundEven(30 + (std::log10(2.0) + 1) * (kW - 60) / 4.0);
    const int y = RoundEven(kMidY - 20 * std::log10(2.0) * kGainPixelsPerDb);
    int dashed = 0;
    for (int dx = -20; dx <= 0; ++dx) dashed += ColourNear(image, x + dx, y, kBlue, 1) ? 1 : 0;
    QVERIFY2(dashed >= 8 && dashed < 21, qPrintable(QString::number(dashed)));
    QVERIFY(Tracevue({QStringLiteral("--asymptotes=1"), QStringLiteral("--export"), out}).Code ==
            2);
  }

  // The samples of 1/(1+2p) against 1 - e^{-t/2} to 1e-12, the read-outs as drawn.
  void StepResponseAsSamplesAndReadouts() {
    const Run r =
        Tracevue({QStringLiteral("--step"), Path("step.csv"), QStringLiteral("--num1"),
                  QStringLiteral("1"), QStringLiteral("--den1"), QStringLiteral("1+2*p")});
    QCOMPARE(r.Code, 0);
    const QStringList readouts = r.Out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(readouts.size(), 4);
    QCOMPARE(readouts[0], QStringLiteral("Valeur finale : 1"));
    QCOMPARE(readouts[1], QStringLiteral("Dépassement D% : aucun"));
    QCOMPARE(readouts[2], QStringLiteral("Temps de réponse à 5 % : 5.991 s"));
    QFile csv(Path("step.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(csv.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.front(), QStringLiteral("t,y"));
    QVERIFY(lines.size() > 200);
    for (qsizetype k = 1; k < lines.size(); ++k) {
      const QStringList fields = lines[k].split(u',');
      QCOMPARE(fields.size(), 2);
      const double time = fields[0].toDouble(), y = fields[1].toDouble();
      QVERIFY2(std::abs(y - (1 - std::exp(-time / 2))) < 1e-12, qPrintable(lines[k]));
    }
    QVERIFY(r.Err.isEmpty());

    // A span the samples cannot resolve is brought back, and a CSV says so.
    const Run far =
        Tracevue({QStringLiteral("--step"), Path("far.csv"), QStringLiteral("--num1"),
                  QStringLiteral("1"), QStringLiteral("--den1"), QStringLiteral("1+2*p"),
                  QStringLiteral("--t-max"), QStringLiteral("1e20")});
    QCOMPARE(far.Code, 0);
    QVERIFY2(far.Err.startsWith(QStringLiteral("tracevue : t max ramené de 1e20 à ")),
             qPrintable(far.Err));
  }

  // --input: the class-1 loop 4/(p(1+0.5p)) closed follows a ramp 1/K behind;
  // --export .csv: the curves at the picture's 1134 - 60 + 1 columns.
  void RampAndCurvesAsNumbers() {
    const QStringList loop = {QStringLiteral("--num1"),   QStringLiteral("4"),
                              QStringLiteral("--den1"),   QStringLiteral("p+0.5*p^2"),
                              QStringLiteral("--curves"), QStringLiteral("1")};
    Run r = Tracevue(loop + QStringList{QStringLiteral("--closed-loop"), QStringLiteral("--input"),
                                        QStringLiteral("ramp"), QStringLiteral("--step"),
                                        Path("ramp.csv")});
    QCOMPARE(r.Code, 0);
    QCOMPARE(r.Out, QStringLiteral("Erreur de traînage : 0.25\n"));
    r = Tracevue(loop + QStringList{QStringLiteral("--export"), Path("curves.csv")});
    QCOMPARE(r.Code, 0);
    QFile csv(Path("curves.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(csv.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.front(), QStringLiteral("w,H1_gain_db,H1_phase_deg"));
    QCOMPARE(lines.size(), 1 + 1134 - 60 + 1);
    // 4/(0.1 j (1 + 0.05 j)) at w = 0.1, to 15 significant digits.
    const QStringList first = lines[1].split(u',');
    QCOMPARE(first.size(), 3);
    QCOMPARE(first[0], QStringLiteral("0.1"));
    QVERIFY(std::abs(first[1].toDouble() - 32.0303573072407) < 1e-9);
    QVERIFY(std::abs(first[2].toDouble() + 92.8624052261118) < 1e-9);
  }

  // 10/(1+p)^3: the verdict on the standard output, the locus as CSV, the
  // count in the report.
  void NyquistVerdictLocusAndReport() {
    const QStringList loop{QStringLiteral("--num1"), QStringLiteral("10"), QStringLiteral("--den1"),
                           QStringLiteral("1+3*p+3*p^2+p^3")};
    const Run r = Tracevue(loop + QStringList{QStringLiteral("--nyquist"), Path("nyquist.csv"),
                                              QStringLiteral("--report"), Path("nyquist.json")});
    QCOMPARE(r.Code, 0);
    const QStringList verdict = r.Out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(verdict.size(), 3);
    QCOMPARE(verdict[0], QStringLiteral("H1 : P = 0, N = 2, Z = N + P = 2"));
    QCOMPARE(verdict[1],
             QStringLiteral("Boucle fermée instable : 2 pôle(s) à partie réelle positive"));
    QFile csv(Path("nyquist.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(csv.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.front(), QStringLiteral("w,re,im"));
    QVERIFY(lines.size() > 100);
    for (qsizetype k = 1; k < lines.size(); ++k) {
      const QStringList fields = lines[k].split(u',');
      QCOMPARE(fields.size(), 3);
      const std::complex<double> h =
          10.0 / std::pow(std::complex<double>(1.0, fields[0].toDouble()), 3);
      QVERIFY2(std::abs(h - std::complex<double>(fields[1].toDouble(), fields[2].toDouble())) <
                   1e-12 * std::max(1.0, std::abs(h)),
               qPrintable(lines[k]));
    }
    QFile f(Path("nyquist.json"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QJsonObject n = QJsonDocument::fromJson(f.readAll())
                              .object()[u"curves"]
                              .toArray()[0]
                              .toObject()[u"nyquist"]
                              .toObject();
    QCOMPARE(n[u"open_loop_rhp_poles"].toInt(), 0);
    QCOMPARE(n[u"encirclements"].toInt(), 2);
    QCOMPARE(n[u"closed_loop_rhp_poles"].toInt(), 2);
    QCOMPARE(n[u"stable"].toBool(), false);
    // At K = 8 the locus goes through -1: N does not exist.
    QCOMPARE(Tracevue({QStringLiteral("--num1"), QStringLiteral("8"), QStringLiteral("--den1"),
                       QStringLiteral("1+3*p+3*p^2+p^3"), QStringLiteral("--nyquist"),
                       Path("limit.png"), QStringLiteral("--nyquist-zoom")})
                 .Out.split(u'\n')[1],
             QStringLiteral("Limite de stabilité : pôle en boucle fermée en w= 1.732 rad/s"));
  }

  // K/(1+p)^3 over K from 0 to 400: stable below K = 8; every CSV row a root of (1+p)^3 + K;
  // the report's product has the poles at K = 8 (-3 and +-j sqrt(3)) and the interval.
  void LocusAsSamplesStabilityAndReport() {
    const QStringList loop = {QStringLiteral("--num1"),   QStringLiteral("K"),
                              QStringLiteral("--den1"),   QStringLiteral("1+3*p+3*p^2+p^3"),
                              QStringLiteral("--curves"), QStringLiteral("1,4")};
    Run r = Tracevue(loop + QStringList{QStringLiteral("--set"), QStringLiteral("K=4"),
                                        QStringLiteral("--locus"), Path("locus.csv")});
    QCOMPARE(r.Code, 0);
    QVERIFY2(r.Out.contains(QStringLiteral("Stable pour 0 <= K < 8\n")), qPrintable(r.Out));
    QVERIFY(r.Out.contains(QStringLiteral("Axe imaginaire franchi pour K = 8 en w = 1.73205")));
    QFile csv(Path("locus.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(csv.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.front(), QStringLiteral("value,re,im"));
    QVERIFY(lines.size() > 3 * 64);
    for (qsizetype k = 1; k < lines.size(); ++k) {
      const QStringList f = lines[k].split(u',');
      QCOMPARE(f.size(), 3);
      const std::complex<double> z(f[1].toDouble(), f[2].toDouble());
      const std::complex<double> one = z + 1.0;
      QVERIFY2(std::abs(one * one * one + f[0].toDouble()) < 1e-9 * (1 + f[0].toDouble()),
               qPrintable(lines[k]));
    }
    r = Tracevue(loop + QStringList{QStringLiteral("--set"), QStringLiteral("K=8"),
                                    QStringLiteral("--locus-range"), QStringLiteral("0:20"),
                                    QStringLiteral("--report"), Path("locus.json")});
    QCOMPARE(r.Code, 0);
    QFile f(Path("locus.json"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QJsonArray curves = QJsonDocument::fromJson(f.readAll()).object()[u"curves"].toArray();
    QCOMPARE(curves.size(), 2);
    QVERIFY(!curves[0].toObject().contains(u"stability"));
    const QJsonObject product = curves[1].toObject();
    const QJsonArray poles = product[u"closed_loop_poles"].toArray();
    QCOMPARE(poles.size(), 3);
    QVERIFY(std::abs(poles[0].toObject()[u"im"].toDouble() - std::sqrt(3.0)) < 1e-12);
    QVERIFY(std::abs(poles[2].toObject()[u"re"].toDouble() + 3) < 1e-12);
    const QJsonObject stability = product[u"stability"].toObject();
    QCOMPARE(stability[u"parameter"].toString(), QStringLiteral("K"));
    const QJsonArray interval = stability[u"intervals"].toArray()[0].toArray();
    QCOMPARE(interval[0].toDouble(), 0.0);
    QVERIFY(std::abs(interval[1].toDouble() - 8) < 1e-9);
  }

  void BadUsageExitsWithTwo_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");
    const QString png = QStringLiteral("/tmp/never-written.png");
    QTest::newRow("unknown option")
        << QStringList{QStringLiteral("--bogus"), QStringLiteral("--export"), png}
        << QStringLiteral("--bogus");
    QTest::newRow("negative parameter")
        << QStringList{QStringLiteral("--set"), QStringLiteral("K=-1"), QStringLiteral("--export"),
                       png}
        << QStringLiteral("--set");
    QTest::newRow("locus range backwards")
        << QStringList{QStringLiteral("--locus-range"), QStringLiteral("5:1"),
                       QStringLiteral("--locus"), png}
        << QStringLiteral("--locus-range");
    QTest::newRow("locus of no parameter")
        << QStringList{QStringLiteral("--locus-param"), QStringLiteral("Z"),
                       QStringLiteral("--locus"), png}
        << QStringLiteral("--locus-param");
    QTest::newRow("unknown parameter")
        << QStringList{QStringLiteral("--set"), QStringLiteral("Z=1"), QStringLiteral("--export"),
                       png}
        << QStringLiteral("--set");
    QTest::newRow("decades reversed")
        << QStringList{QStringLiteral("--decades"), QStringLiteral("3:1"),
                       QStringLiteral("--export"), png}
        << QStringLiteral("--decades");
    QTest::newRow("decades beyond 5")
        << QStringList{QStringLiteral("--decades"), QStringLiteral("0:6"),
                       QStringLiteral("--export"), png}
        << QStringLiteral("--decades");
    QTest::newRow("gain not a multiple of 10")
        << QStringList{QStringLiteral("--gain-max"), QStringLiteral("55"),
                       QStringLiteral("--export"), png}
        << QStringLiteral("--gain-max");
    QTest::newRow("mode") << QStringList{QStringLiteral("--mode"), QStringLiteral("x"),
                                         QStringLiteral("--export"), png}
                          << QStringLiteral("--mode");
    QTest::newRow("size too small")
        << QStringList{QStringLiteral("--size"), QStringLiteral("50x50"),
                       QStringLiteral("--export"), png}
        << QStringLiteral("--size");
    QTest::newRow("picture format")
        << QStringList{QStringLiteral("--export"), QStringLiteral("/tmp/x.gif")}
        << QStringLiteral("--export");
    QTest::newRow("missing value") << QStringList{QStringLiteral("--export")}
                                   << QStringLiteral("l'option --export attend une valeur");
    QTest::newRow("value on a switch")
        << QStringList{QStringLiteral("--margins=1"), QStringLiteral("--export"), png}
        << QStringLiteral("l'option --margins ne prend pas de valeur");
    QTest::newRow("two transfer files")
        << QStringList{QStringLiteral("a.WWC"), QStringLiteral("b.WWC"), QStringLiteral("--export"),
                       png}
        << QStringLiteral("« b.WWC » en trop");
    QTest::newRow("no action") << QStringList{QStringLiteral("--num1"), QStringLiteral("1")}
                               << QStringLiteral("--export");
    QTest::newRow("t max not positive")
        << QStringList{QStringLiteral("--t-max"), QStringLiteral("-1"), QStringLiteral("--step"),
                       png}
        << QStringLiteral("--t-max");
    QTest::newRow("input") << QStringList{QStringLiteral("--input"), QStringLiteral("sine"),
                                          QStringLiteral("--step"), png}
                           << QStringLiteral("--input");
    // 81 characters without spaces: cut, it would lose its p^5 term.
    QTest::newRow("text longer than 80")
        << QStringList{QStringLiteral("--den1"),
                       QStringLiteral("1+0.0001*p+0.0002*p^2+0.0003*p^3+0.0004*p^4+0.00005*p^5") +
                           QStringLiteral("+0.0000000000000000000*p^5"),
                       QStringLiteral("--export"), png}
        << QStringLiteral("--den1 : le texte fait");
    QTest::newRow("curves") << QStringList{QStringLiteral("--curves"), QStringLiteral("1,5"),
                                           QStringLiteral("--export"), png}
                            << QStringLiteral("--curves");
  }
  void BadUsageExitsWithTwo() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    const Run r = Tracevue(arguments);
    QCOMPARE(r.Code, 2);
    QVERIFY2(r.Err.contains(named), qPrintable(r.Err));
    QVERIFY(!QFile::exists(QStringLiteral("/tmp/never-written.png")));
  }

  // Every output is checked before the first is written; the failing one
  // comes last, after outputs that alone would be written.
  void FailingCommandWritesNothing_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    const QStringList first{QStringLiteral("--num1"),   QStringLiteral("1"),
                            QStringLiteral("--den1"),   QStringLiteral("1+p"),
                            QStringLiteral("--export"), Path("w.png"),
                            QStringLiteral("--save"),   Path("w.WWC")};
    QTest::newRow("step format") << first + QStringList{QStringLiteral("--step"), Path("w.pdf")}
                                 << 2;
    QTest::newRow("nyquist format")
        << first + QStringList{QStringLiteral("--nyquist"), Path("w.emf")} << 2;
    QTest::newRow("worksheet of nothing")
        << QStringList{QStringLiteral("--save"), Path("w.WWC"), QStringLiteral("--worksheet"),
                       Path("w.mws")}
        << 2;
    QTest::newRow("report into a missing folder")
        << first + QStringList{QStringLiteral("--report"), Path("none/w.json")} << 4;
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("folder.csv")));
    QTest::newRow("step onto a folder")
        << first + QStringList{QStringLiteral("--step"), Path("folder.csv")} << 4;
    // The peak of 1/(2 + 2 Ksi p/W + p^2/W^2) is the same for every W.
    QTest::newRow("peak independent of the parameter")
        << QStringList{QStringLiteral("--num1"),   QStringLiteral("1"),
                       QStringLiteral("--den1"),   QStringLiteral("1+2*Ksi*p/W+p^2/W^2"),
                       QStringLiteral("--set"),    QStringLiteral("Ksi=0.3"),
                       QStringLiteral("--tune"),   QStringLiteral("W"),
                       QStringLiteral("--export"), Path("w.png")}
        << 5;
  }
  void FailingCommandWritesNothing() {
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    const Run r = Tracevue(arguments);
    QCOMPARE(r.Code, code);
    QVERIFY2(r.Err.startsWith(QStringLiteral("tracevue : ")), qPrintable(r.Err));
    const QStringList left = QDir(dir_.path()).entryList({QStringLiteral("w.*")}, QDir::AllEntries);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(u' ')));
  }

  void InvalidTickedFunctionExitsWithThree() {
    const QString out = Path("invalid.png");
    const Run r =
        Tracevue({QStringLiteral("--num2"), QStringLiteral("1+p"), QStringLiteral("--den2"),
                  QStringLiteral("p^2+p"), QStringLiteral("--export"), out});
    QCOMPARE(r.Code, 3);
    QVERIFY2(r.Err.contains(QStringLiteral("H2 : dénominateur invalide : développez")),
             qPrintable(r.Err));
    QVERIFY(!QFile::exists(out));
    // Unticked, the same function does not stop the drawing.
    const Run ok =
        Tracevue({QStringLiteral("--num2"), QStringLiteral("1+p"), QStringLiteral("--den2"),
                  QStringLiteral("p^2+p"), QStringLiteral("--curves"), QStringLiteral("none"),
                  QStringLiteral("--export"), out});
    QCOMPARE(ok.Code, 0);
    QVERIFY(QFile::exists(out));
  }

  // The printed page, as a teacher's handout: A4 portrait, texts large
  // enough to read, margin texts apart, nothing in the paper's margins.
  void PrintedPageIsReadable_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("marginTexts");
    const QStringList third = {QStringLiteral("--num1"),    QStringLiteral("K"),
                               QStringLiteral("--den1"),    QStringLiteral("1+3*p+3*p^2+p^3"),
                               QStringLiteral("--set"),     QStringLiteral("K=4"),
                               QStringLiteral("--decades"), QStringLiteral("-1:2"),
                               QStringLiteral("--curves"),  QStringLiteral("1,4"),
                               QStringLiteral("--margins")};
    QTest::newRow("bode") << third << 4;
    QTest::newRow("black") << (third +
                               QStringList{QStringLiteral("--view"), QStringLiteral("black")})
                           << 4;
    QTest::newRow("darker-lines") << (third + QStringList{QStringLiteral("--black-lines")}) << 4;
  }
  void PrintedPageIsReadable() {
    QFETCH(QStringList, arguments);
    QFETCH(int, marginTexts);
    const QString pdf = Path("page.pdf");
    QFile::remove(pdf);
    const Run r = Tracevue(arguments + QStringList{QStringLiteral("--export"), pdf});
    QCOMPARE(r.Code, 0);
    QCOMPARE(r.Out.count(QStringLiteral("\n")), marginTexts);
    QVERIFY(ReadAll(pdf).startsWith("%PDF"));

    QSizeF page;
    const QList<PageWord> words = PageWords(pdf, &page);
    QVERIFY2(!words.isEmpty(),
             "pdftotext (poppler-utils, ./scripts/install-deps.sh --test) found no text");
    QCOMPARE(page, QSizeF(595, 842));  // A4 portrait, in points

    // Each margin text runs from its "MP" or "MG" to the next one or the
    // line's end: none may reach the next one on its line.
    QMap<int, QList<PageWord>> lines;
    for (const PageWord& w : words) lines[qRound(w.Box.top() * 10)].append(w);
    int starts = 0;
    for (QList<PageWord>& line : lines) {
      std::sort(line.begin(), line.end(),
                [](const PageWord& a, const PageWord& b) { return a.Box.left() < b.Box.left(); });
      for (qsizetype i = 1; i < line.size(); ++i) {
        if (!line[i].Text.startsWith(QStringLiteral("MG")) &&
            !line[i].Text.startsWith(QStringLiteral("MP")))
          continue;
        QVERIFY2(
            line[i - 1].Box.right() + 1 < line[i].Box.left(),
            qPrintable(
                QStringLiteral("« %1 » runs into « %2 »").arg(line[i - 1].Text, line[i].Text)));
      }
      for (const PageWord& w : line)
        starts +=
            w.Text.startsWith(QStringLiteral("MP")) || w.Text.startsWith(QStringLiteral("MG"));
    }
    QCOMPARE(starts, marginTexts);

    // The capitals and digits of a margin text, as printed: at 600 dpi,
    // 2.5 mm is 59 device pixels.
    const PageWord* mp = nullptr;
    for (const PageWord& w : words)
      if (w.Text.startsWith(QStringLiteral("MP"))) mp = &w;
    QVERIFY(mp);
    constexpr int kDpi = 600;
    const auto px = [](double points) { return QString::number(qRound(points * kDpi / 72)); };
    const QString crop = Path("word");
    Poppler(
        QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-gray"), QStringLiteral("-x"),
         px(mp->Box.left()), QStringLiteral("-y"), px(mp->Box.top() - 2), QStringLiteral("-W"),
         px(mp->Box.width()), QStringLiteral("-H"), px(mp->Box.height() + 4),
         QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, crop});
    const QImage glyphs(crop + QStringLiteral(".png"));
    QVERIFY(!glyphs.isNull());
    int top = glyphs.height(), bottom = -1;
    for (int y = 0; y < glyphs.height(); ++y)
      for (int x = 0; x < glyphs.width(); ++x)
        if (qGray(glyphs.pixel(x, y)) < 128) {
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
    const double heightMm = (bottom - top + 1) * 25.4 / kDpi;
    QVERIFY2(heightMm >= 2.5,
             qPrintable(QStringLiteral("« %1 » is %2 mm high").arg(mp->Text).arg(heightMm)));

    // The paper's margins, 7 mm at the sides and 14 mm at top and bottom, stay blank.
    constexpr int kCheckDpi = 50;
    const QString whole = Path("whole");
    Poppler(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QString::number(kCheckDpi), QStringLiteral("-gray"),
             QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, whole});
    const QImage sheet(whole + QStringLiteral(".png"));
    QVERIFY(!sheet.isNull());
    const QRect inside(qFloor(7 * kCheckDpi / 25.4), qFloor(14 * kCheckDpi / 25.4),
                       qCeil((210 - 14) * kCheckDpi / 25.4), qCeil((297 - 28) * kCheckDpi / 25.4));
    int outside = 0;
    for (int y = 0; y < sheet.height(); ++y)
      for (int x = 0; x < sheet.width(); ++x)
        outside += !inside.contains(x, y) && qGray(sheet.pixel(x, y)) < 200;
    QCOMPARE(outside, 0);
  }

  void UnreadableOrUnwritableFilesExitWithFour() {
    Run r = Tracevue({QStringLiteral("--export"), QStringLiteral("/nonexistent-folder/out.png")});
    QCOMPARE(r.Code, 4);
    QVERIFY(r.Err.contains(QStringLiteral("/nonexistent-folder/out.png")));
    r = Tracevue({Path("missing"), QStringLiteral("--export"), Path("never.png")});
    QCOMPARE(r.Code, 4);
    QVERIFY(r.Err.contains(QStringLiteral("missing.WWC")));
    QVERIFY(!QFile::exists(Path("never.png")));
    r = Tracevue({QStringLiteral("--points"), Path("nopoints.txt"), QStringLiteral("--export"),
                  Path("never.png")});
    QCOMPARE(r.Code, 4);
    QVERIFY(r.Err.contains(QStringLiteral("nopoints.txt")));
    // A file that is there but is no transfer file: its name and the reason.
    QFile notTransfer(Path("points.WWC"));
    QVERIFY(notTransfer.open(QIODevice::WriteOnly));
    notTransfer.write("1 0 0\r\n10 -3 -45\r\n");
    notTransfer.close();
    r = Tracevue({Path("points.WWC"), QStringLiteral("--save"), Path("never.WWC")});
    QCOMPARE(r.Code, 4);
    QVERIFY2(r.Err.contains(Path("points.WWC")) &&
                 r.Err.contains(QStringLiteral("il fait 18 octets au lieu de 554")),
             qPrintable(r.Err));
    QVERIFY(!QFile::exists(Path("never.WWC")));
  }

  // The program the user starts makes a PNG alone and hands an SVG to the
  // whole program beside it; without it, it says so and writes nothing.
  void QuickProgramWithoutTheWholeOne() {
    QVERIFY(QDir().mkpath(Path("alone")));
    const QString quick = Path("alone/tracevue");
    QFile::remove(quick);
    QVERIFY(QFile::copy(QStringLiteral(TRACEVUE_EXE), quick));
    const QStringList curve = {QStringLiteral("--num1"), QStringLiteral("1"),
                               QStringLiteral("--den1"), QStringLiteral("1+p")};
    Run r = Tracevue(curve + QStringList{QStringLiteral("--export"), Path("alone.png")}, quick);
    QCOMPARE(r.Code, 0);
    QVERIFY(QFile::exists(Path("alone.png")));
    r = Tracevue(curve + QStringList{QStringLiteral("--export"), Path("alone.svg")}, quick);
    QCOMPARE(r.Code, 4);
    QVERIFY2(r.Err.contains(QStringLiteral("tracevue-full")), qPrintable(r.Err));
    QVERIFY(!QFile::exists(Path("alone.svg")));
  }

  // The command line's own font configuration draws the texts as the
  // system's (Debian's defaults) does: the same pixels.
  void CommandLineFontsDrawAsTheSystemOnes() {
    const QStringList figureFile = {
        QStringLiteral("--margins"),
        QStringLiteral(TRACEVUE_SOURCE_DIR "/examples/third-order.WWC")};
    QCOMPARE(Tracevue(figureFile + QStringList{QStringLiteral("--export"), Path("own.png")}).Code,
             0);
    QCOMPARE(Tracevue(figureFile + QStringList{QStringLiteral("--export"), Path("system.png")},
                      QStringLiteral(TRACEVUE_EXE),
                      {{QStringLiteral("FONTCONFIG_PATH"), QStringLiteral("/etc/fonts")}})
                 .Code,
             0);
    const QImage own(Path("own.png")), system(Path("system.png"));
    QVERIFY(!own.isNull());
    QCOMPARE(own, system);
  }

  // An EMF export onto a pipe, directly or through a link, is refused like
  // every other output, and the pipe stays a pipe.
  void MetafileOntoASpecialFileExitsWithFour() {
    const std::string fifo = QFile::encodeName(Path("pipe.emf")).toStdString();
    const std::string link = QFile::encodeName(Path("link.emf")).toStdString();
    QCOMPARE(::mkfifo(fifo.c_str(), 0644), 0);
    QCOMPARE(::symlink(fifo.c_str(), link.c_str()), 0);
    for (const std::string& target : {fifo, link}) {
      QCOMPARE(TracevueWithBytes({"--export", target}), 4);
      struct stat st {};
      QCOMPARE(::stat(fifo.c_str(), &st), 0);
      QVERIFY(S_ISFIFO(st.st_mode));
    }
  }

  // Names that are not UTF-8 reach the file system byte for byte, on input
  // and on output.
  void FileNamesAreTakenByteForByte() {
    const std::string dir = QFile::encodeName(dir_.path()).toStdString() + "/";
    const std::string picture = dir + "a b\xFF\xFE c.png";
    QCOMPARE(TracevueWithBytes({"--num1", "1", "--den1", "1+p", "--export", picture}), 0);
    QVERIFY(IsRegularFile(picture));
    const std::string transfer = dir + "\xE9t\xE9 1.WWC";
    QCOMPARE(TracevueWithBytes({"--num1", "1", "--den1", "1+p", "--save", transfer}), 0);
    QVERIFY(IsRegularFile(transfer));
    const std::string points = dir + "pts\xFF.txt";
    std::ofstream(points, std::ios::binary) << "1 0 -180\r\n";
    const std::string out = dir + "from-bytes.png";
    QCOMPARE(TracevueWithBytes({"--points", points, "--export", out, transfer}), 0);
    QVERIFY(IsRegularFile(out));
    QImage image(QString::fromStdString(out));
    QCOMPARE(Rgb(image, DecadeX(1), kMidY), QRgb{0x008000});
    // Nothing was written under a recoded name.
    for (const auto& entry : std::filesystem::directory_iterator(dir))
      QVERIFY2(entry.path().filename().string().find("\xEF\xBF\xBD") == std::string::npos,
               entry.path().c_str());
    // QTemporaryDir cannot remove what Qt cannot name.
    for (const std::string& name : {picture, transfer, points}) std::filesystem::remove(name);
  }

  void VectorPicturesAndWorksheet() {
    const QStringList lag = {QStringLiteral("--num1"), QStringLiteral("1"),
                             QStringLiteral("--den1"), QStringLiteral("1+T*p")};
    // The metafile: an EMR_HEADER record (type 1) with the " EMF" signature.
    const QString emf = Path("fig.emf");
    QCOMPARE(Tracevue(lag + QStringList{QStringLiteral("--export"), emf}).Code, 0);
    QFile emfFile(emf);
    QVERIFY(emfFile.open(QIODevice::ReadOnly));
    const QByteArray head = emfFile.read(44);
    QCOMPARE(head.size(), 44);
    QCOMPARE(static_cast<unsigned char>(head[0]), 1u);
    QCOMPARE(head.mid(40, 4), QByteArray(" EMF"));

    // The SVG: a document Qt can render, with the blue curve of H1 in it.
    const QString svg = Path("fig.svg");
    QCOMPARE(Tracevue(lag + QStringList{QStringLiteral("--export"), svg}).Code, 0);
    QFile svgFile(svg);
    QVERIFY(svgFile.open(QIODevice::ReadOnly));
    const QByteArray text = svgFile.readAll();
    QVERIFY(text.contains("<svg"));
    QVERIFY(text.contains("#0000ff"));

    // The worksheet: 1460 bytes; --closed-loop closes the loop, its absence does not.
    const QString open = Path("open.mws");
    const QString closed = Path("closed.mws");
    QCOMPARE(Tracevue(lag + QStringList{QStringLiteral("--worksheet"), open}).Code, 0);
    QCOMPARE(Tracevue(lag + QStringList{QStringLiteral("--worksheet"), closed,
                                        QStringLiteral("--closed-loop")})
                 .Code,
             0);
    QFile a(open), b(closed);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    const QByteArray openBytes = a.readAll(), closedBytes = b.readAll();
    QCOMPARE(openBytes.size(), 1460);
    QCOMPARE(closedBytes.size(), 1460);
    QVERIFY(!openBytes.contains(";H:=H/(1+H)"));
    QVERIFY(closedBytes.contains(";H:=H/(1+H)"));
    // The H1 run starts with four places before its first line end.
    QVERIFY(openBytes.contains("H1:=(1)/\r\n(1+T*P)"));

    // With no function ticked there is no response to hand to Maple.
    const Run none = Tracevue({QStringLiteral("--worksheet"), Path("none.mws")});
    QCOMPARE(none.Code, 2);
    QVERIFY(!QFile::exists(Path("none.mws")));
  }

  void MeasuredPointsAreDrawnInGreen() {
    const QString points = Path("points.txt");
    QFile f(points);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("1 0 -180\r\n");  // w = 1 rad/s: on the 0 dB line and on the -180 degree line
    f.close();
    const QString out = Path("points.png");
    const Run r = Tracevue({QStringLiteral("--points"), points, QStringLiteral("--export"), out});
    QCOMPARE(r.Code, 0);
    QImage image(out);
    const QRgb green = 0x008000;
    QCOMPARE(Rgb(image, DecadeX(1), kMidY), green);
    QCOMPARE(Rgb(image, DecadeX(1) + 2, kMidY + 2), green);  // 5 x 5 square
    QCOMPARE(Rgb(image, DecadeX(1), 499), green);            // 3 x 3 on the phase line
  }
};

QTEST_GUILESS_MAIN(CliTest)
#include "cli_test.moc"
