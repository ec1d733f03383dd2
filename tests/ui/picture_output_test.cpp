// Picture output: printing to PDF, clipboard, metafile save, paint program, picture files, French
// dialogs.
#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QMimeDatabase>
#include <QPrinter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "render/margin_record.h"
#include "support/emf_reader.h"
#include "support/picture_bench.h"
#include "support/recording_launcher.h"
#include "render/primitives.h"
#include "output/emf_surface.h"
#include "output/file_names.h"
#include "output/painter_surface.h"
#include "output/translations.h"

using tv::ui::EmfSurface;
using tv::ui::PainterSurface;
using tv::ui::QtSurface;
using tv::ui::ScriptedDialogs;
using tv::ui::test::PictureBench;
using tv::ui::test::RecordingLauncher;
using Snapshot = tv::ui::test::RedrawSnapshot;

namespace {

constexpr QRgb kBlueRgb = 0x0000ff;

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xffffff; }

int CountColour(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += At(image, x, y) == colour;
  return n;
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::string Local(const QString& path) { return QFile::encodeName(path).toStdString(); }

quint32 U32(const QByteArray& b, int at) {
  return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 |
         quint32(quint8(b[at + 2])) << 16 | quint32(quint8(b[at + 3])) << 24;
}
quint16 U16(const QByteArray& b, int at) { return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8); }

std::optional<tv::ui::test::EmfFile> ReadEmfFile(const QString& path) {
  const QByteArray bytes = ReadAll(path);
  std::vector<std::uint8_t> v(bytes.begin(), bytes.end());
  std::string reason;
  return tv::ui::test::ReadEmf(v, &reason);
}

// A PDF printer at 600 dpi on A4 without margins: the page is the paper.
void SetUpPdfPrinter(QPrinter& printer, const QString& file, QPageLayout::Orientation orientation) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(file);
  printer.setResolution(600);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(orientation);
  printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

// A4 is 595 × 842 points; at 600 dpi a point is 600/72 device pixels.
constexpr int kA4ShortPx = 4958;  // round(595 × 600 / 72) = round(4958.33)
constexpr int kA4LongPx = 7017;   // round(842 × 600 / 72) = round(7016.67)
// The same in the printed page's pixels, 90 per inch.
constexpr int kA4ShortLayout = kA4ShortPx * 90 / 600;  // 743
constexpr int kA4LongLayout = kA4LongPx * 90 / 600;    // 1052

// Prints after turning the page to landscape in the dialog, as a user might.
class LandscapeInDialog : public ScriptedDialogs {
 public:
  bool Print(QWidget* parent, QPrinter& printer) override {
    printer.setPageOrientation(QPageLayout::Landscape);
    return ScriptedDialogs::Print(parent, printer);
  }
};

}  // namespace

class PictureOutputTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> tmp_;
  QByteArray savedTmpDir_;

  QString TmpPath(const QString& name) const { return tmp_->filePath(name); }

 private slots:
  void initTestCase() { savedTmpDir_ = qgetenv("TMPDIR"); }

  // Each test has its own temporary directory, which the program takes as
  // the platform's one.
  void init() {
    qputenv("TMPDIR", savedTmpDir_);
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
    qputenv("TMPDIR", QFile::encodeName(tmp_->path()));
  }
  void cleanup() {
    qputenv("TMPDIR", savedTmpDir_);
    tmp_.reset();
  }

  // ---- PainterSurface ----

  // Lines, dotted lines, fills and texts land on the same pixels as on screen.
  void PainterSurfaceDrawsLikeTheScreen() {
    QtSurface screen(120, 60);
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      PainterSurface page(image);
      for (tv::PlotSurface* surface :
           {static_cast<tv::PlotSurface*>(&screen), static_cast<tv::PlotSurface*>(&page)}) {
        surface->FillWhite(0, 0, 120, 60);
        surface->SetColour(tv::kRed);
        surface->SetPen(tv::PenStyle::Solid, 2);
        surface->MoveTo(5, 50);
        surface->LineTo(100, 10);
        surface->SetPen(tv::PenStyle::Dotted, 1);
        surface->SetColour(tv::kBlack);
        surface->MoveTo(0, 30);
        surface->LineTo(119, 30);
        surface->SetColour(tv::kBlue);
        surface->TextOut(10, 25, "H1 \xE9");
      }
      QVERIFY(page.End());
    }
    screen.Finish();
    QCOMPARE(screen.Image().convertToFormat(QImage::Format_RGB32), image);
    // The text cell is opaque: the black dotted line is hidden under it.
    QtSurface measure(1, 1);
    const int textEnd = 10 + measure.TextWidth("H1 \xE9");
    QVERIFY(textEnd > 20);
    for (int x = 10; x < textEnd; ++x) QVERIFY(At(image, x, 30) != 0u);
    int blackBefore = 0;
    for (int x = 0; x < 10; ++x) blackBefore += At(image, x, 30) == 0u;
    QVERIFY(blackBefore >= 3);
    int bluish = 0;  // the text is smoothed: its pixels are shades of blue
    for (int x = 10; x < textEnd; ++x)
      for (int y = 25; y < 40; ++y) {
        const QRgb c = image.pixel(x, y);
        bluish += qBlue(c) == 255 && qRed(c) < 128 && qRed(c) == qGreen(c);
      }
    QVERIFY(bluish > 5);
  }

  // The cell asked for is the one on the device, whatever its resolution.
  void PainterSurfaceMeasuresAgainstTheDevice_data() {
    QTest::addColumn<int>("cell");
    QTest::newRow("cell-10") << 10;
    QTest::newRow("cell-15") << 15;
    QTest::newRow("cell-40") << 40;
  }
  void PainterSurfaceMeasuresAgainstTheDevice() {
    QFETCH(int, cell);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, TmpPath("m.pdf"), QPageLayout::Portrait);
    PainterSurface page(printer, cell);
    QCOMPARE(page.FontHeight(), cell);
    QVERIFY(page.TextHeight("1p") <= cell);
    QVERIFY(page.TextHeight("1p") >= cell - 3);
    QVERIFY(page.TextWidth("10000") > page.TextWidth("1"));
    QVERIFY(!page.IsActive());  // measuring starts no job
  }

  void PainterSurfaceReportsARefusedDevice() {
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, TmpPath("missing/dir/x.pdf"), QPageLayout::Portrait);
    PainterSurface page(printer);
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    QVERIFY(!page.Begin());
    page.MoveTo(0, 0);
    page.LineTo(10, 10);  // ignored, no crash
    QVERIFY(!page.End());
  }

  // ---- Imprimer ----

  void PrintToPdf_data() {
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("darker");
    QTest::addColumn<int>("plotWidth");
    QTest::addColumn<int>("plotHeight");
    QTest::addColumn<int>("curvePen");
    QTest::addColumn<int>("framePen");
    // The page in pixels of 90 per inch: 4958 × 90 / 600 = 743 and
    // 7017 × 90 / 600 = 1052 (rounded down); origin round(90 × 7 / 25.4) = 25,
    // round(90 × 14 / 25.4) = 50.
    // Portrait: 743 − 50 wide; 1052 − 100 = 952 high, cut to the width.
    QTest::newRow("portrait-normal-lines") << int(QPageLayout::Portrait) << false
                                           << kA4ShortLayout - 50 << kA4ShortLayout - 50 << 3 << 2;
    QTest::newRow("portrait-darker-lines") << int(QPageLayout::Portrait) << true
                                           << kA4ShortLayout - 50 << kA4ShortLayout - 50 << 4 << 3;
    // Landscape: 1052 − 50 wide, 743 − 100 high, not cut.
    QTest::newRow("landscape-normal-lines") << int(QPageLayout::Landscape) << false
                                            << kA4LongLayout - 50 << kA4ShortLayout - 100 << 3 << 2;
  }
  void PrintToPdf() {
    QFETCH(int, orientation);
    QFETCH(bool, darker);
    QFETCH(int, plotWidth);
    QFETCH(int, plotHeight);
    QFETCH(int, curvePen);
    QFETCH(int, framePen);
    PictureBench b;
    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = TmpPath("page.pdf");
    SetUpPdfPrinter(printer, pdf, QPageLayout::Orientation(orientation));
    b.dialogs.PrintAnswers = {true};
    b.dialogs.YesNoAnswers = {darker};

    tv::ui::PrintPicture(b.ctx, printer);

    QCOMPARE(b.dialogs.Log.size(), size_t(2));
    QCOMPARE(b.dialogs.Log[0].kind, QStringLiteral("print"));
    QCOMPARE(b.dialogs.Log[1].kind, QStringLiteral("yesno"));
    QCOMPARE(b.dialogs.Log[1].text, QStringLiteral("Noircir les traits ?"));
    QCOMPARE(b.dialogs.Log[1].caption, QStringLiteral("Tracevue"));
    QCOMPARE(b.dialogs.Log[1].icon, tv::ui::MessageIcon::None);
    QCOMPARE(printer.docName(), QStringLiteral("Tracevue"));

    // One redraw on the page, then one on the screen.
    QCOMPARE(b.host.Redraws.size(), size_t(2));
    const auto& onPage = b.host.Redraws[0];
    QCOMPARE(onPage.Kind, Snapshot::Painter);
    QCOMPARE(onPage.OriginX, 25);
    QCOMPARE(onPage.OriginY, 50);
    QCOMPARE(onPage.PlotWidth, plotWidth);
    QCOMPARE(onPage.PlotHeight, plotHeight);
    QCOMPARE(onPage.CurvePen, curvePen);
    QCOMPARE(onPage.FramePen, framePen);
    QCOMPARE(onPage.ForceBlack, 1);
    QCOMPARE(onPage.FontHeight, 15);
    QCOMPARE(b.host.Redraws[1].Canvas, static_cast<tv::PlotSurface*>(&b.screen));

    QVERIFY(b.ScreenRestored());
    QCOMPARE(b.screenRedraws, 1);
    const QByteArray bytes = ReadAll(pdf);
    QVERIFY(bytes.startsWith("%PDF"));
    QVERIFY(bytes.size() > 2000);
  }

  void CancelledPrintRestoresAndRedraws() {
    PictureBench b;
    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = TmpPath("never.pdf");
    SetUpPdfPrinter(printer, pdf, QPageLayout::Portrait);
    b.dialogs.PrintAnswers = {false};
    tv::ui::PrintPicture(b.ctx, printer);
    QCOMPARE(b.dialogs.Count("yesno"), 0);
    QCOMPARE(b.host.Redraws.size(), size_t(1));
    QCOMPARE(b.host.Redraws[0].Canvas, static_cast<tv::PlotSurface*>(&b.screen));
    QVERIFY(b.ScreenRestored());
    QCOMPARE(b.screenRedraws, 1);
    QVERIFY(!QFile::exists(pdf));
  }

  // The geometry comes from the printer as it was before the dialog opened.
  void PageTurnedInTheDialogKeepsTheGeometry() {
    PictureBench b;
    LandscapeInDialog dialogs;
    tv::ui::PictureContext ctx{nullptr, b.s, b.target, dialogs, b.screen, b.DrawOn()};
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, TmpPath("turned.pdf"), QPageLayout::Portrait);
    dialogs.PrintAnswers = {true};
    dialogs.YesNoAnswers = {false};
    tv::ui::PrintPicture(ctx, printer);
    QVERIFY(b.host.Redraws.size() >= 1);
    QCOMPARE(b.host.Redraws[0].PlotWidth, kA4ShortLayout - 50);
    QCOMPARE(b.host.Redraws[0].PlotHeight, kA4ShortLayout - 50);
    QVERIFY(b.ScreenRestored());
  }

  void PrintJobThatCannotStartIsReported() {
    PictureBench b;
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, TmpPath("no/such/dir/page.pdf"), QPageLayout::Portrait);
    b.dialogs.PrintAnswers = {true};
    b.dialogs.YesNoAnswers = {false};
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    tv::ui::PrintPicture(b.ctx, printer);
    QCOMPARE(b.dialogs.Count("message"), 1);
    QVERIFY(b.ScreenRestored());
    QCOMPARE(b.screenRedraws, 1);
  }

  // ---- Presse-papier ----

  void ClipboardHoldsTheScreenPicture() {
    PictureBench b;
    tv::ui::CopyPictureToClipboard(b.ctx);
    const QImage copied =
        QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(copied, b.screen.Image().convertToFormat(QImage::Format_RGB32));
    QVERIFY(CountColour(copied, kBlueRgb) > 20);  // H1 in its colour
    QCOMPARE(b.screenRedraws, 0);
    QVERIFY(b.host.Redraws.empty());
  }

  // ---- Sauver l'image (.EMF) ----

  void MetafilePresetName_data() {
    QTest::addColumn<QString>("currentFileName");
    QTest::addColumn<QString>("preset");
    QTest::newRow("no-file-yet") << QString() << QStringLiteral(".EMF");
    QTest::newRow("command-line-file")
        << QStringLiteral("dir/loop.WWC") << QStringLiteral("dir/loop.EMF");
    QTest::newRow("dotted-folder")
        << QStringLiteral("dir.v2/loop") << QStringLiteral("dir.v2/loop.EMF");
  }
  void MetafilePresetName() {
    QFETCH(QString, currentFileName);
    QFETCH(QString, preset);
    PictureBench b;
    b.s.CurrentFileName = Local(currentFileName);
    b.dialogs.FileAnswers = {QString()};  // cancelled
    tv::ui::SavePictureAsEmf(b.ctx);
    QCOMPARE(b.dialogs.Log.size(), size_t(1));
    QCOMPARE(b.dialogs.Log[0].kind, QStringLiteral("save"));
    QCOMPARE(b.dialogs.Log[0].text, preset);
    QCOMPARE(b.dialogs.Log[0].extra, QStringLiteral("Métafichiers évolués (*.emf)|*.emf"));
    QCOMPARE(b.s.CurrentFileName, Local(currentFileName));
    QVERIFY(b.ScreenRestored());
    QCOMPARE(b.screenRedraws, 1);
  }

  void MetafilePresetAfterThePaintProgram() {
    PictureBench b;
    RecordingLauncher launcher;
    launcher.Available = {QStringLiteral("kolourpaint")};
    tv::ui::EditPictureInPaintProgram(b.ctx, launcher);
    b.dialogs.FileAnswers = {QString()};
    tv::ui::SavePictureAsEmf(b.ctx);
    QCOMPARE(b.dialogs.Log.back().text,
             QDir(tmp_->path()).filePath(QStringLiteral("Temporaire.EMF")));
  }

  void MetafileSaved_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("other-extension") << QStringLiteral("pic.wwc") << QStringLiteral("pic.EMF");
    QTest::newRow("no-extension") << QStringLiteral("pic") << QStringLiteral("pic.EMF");
    // On a case-sensitive file system the file picked is the one replaced.
    QTest::newRow("lower-case-emf") << QStringLiteral("pic.emf") << QStringLiteral("pic.emf");
  }
  void MetafileSaved() {
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    PictureBench b;
    b.dialogs.FileAnswers = {TmpPath(chosen)};
    tv::ui::SavePictureAsEmf(b.ctx);
    QCOMPARE(b.s.CurrentFileName, Local(TmpPath(written)));
    const auto emf = ReadEmfFile(TmpPath(written));
    QVERIFY(emf.has_value());
    QCOMPARE(emf->Signature(), tv::ui::test::kEmfSignature);
    QVERIFY(emf->Records.size() > 50);
    // Drawn in black with the screen's pens, then the screen is back.
    QCOMPARE(b.host.Redraws.size(), size_t(2));
    QCOMPARE(b.host.Redraws[0].Kind, Snapshot::Metafile);
    QCOMPARE(b.host.Redraws[0].ForceBlack, 1);
    QCOMPARE(b.host.Redraws[0].CurvePen, 2);
    QCOMPARE(b.host.Redraws[0].FramePen, 1);
    QCOMPARE(b.host.Redraws[0].OriginX, 0);
    for (std::size_t i : emf->Find(tv::ui::test::kEmrCreatePen))
      QCOMPARE(emf->Records[i].U32(24) & 0xffffff, 0u);
    QVERIFY(b.ScreenRestored());
    QCOMPARE(b.screenRedraws, 1);
    QCOMPARE(b.dialogs.Count("message"), 0);
  }

  void MetafileReplacesAReadOnlyFile() {
    PictureBench b;
    const QString target = TmpPath("locked.EMF");
    {
      QFile f(target);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("old");
    }
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup));
    b.dialogs.FileAnswers = {target};
    tv::ui::SavePictureAsEmf(b.ctx);
    QCOMPARE(b.dialogs.Count("message"), 0);
    const auto emf = ReadEmfFile(target);
    QVERIFY(emf.has_value());
    QCOMPARE(emf->Header().Type, std::uint32_t(tv::ui::test::kEmrHeader));
  }

  void MetafileThatCannotBeWrittenIsReported() {
    PictureBench b;
    const QString target = TmpPath("no/such/dir/pic.EMF");
    b.dialogs.FileAnswers = {target};
    tv::ui::SavePictureAsEmf(b.ctx);
    QCOMPARE(b.dialogs.Count("message"), 1);
    QVERIFY(b.dialogs.Log.back().text.contains(target));
    // The safe writer's French reason, as for every other file.
    QVERIFY2(
        b.dialogs.Log.back().text.endsWith(QStringLiteral(" : dossier ou fichier introuvable.")),
        qPrintable(b.dialogs.Log.back().text));
    QCOMPARE(b.dialogs.Log.back().icon, tv::ui::MessageIcon::Exclamation);
    QVERIFY(b.ScreenRestored());
    QCOMPARE(b.screenRedraws, 1);
  }

  // ---- Modifier l'image (.Bmp) ----

  void PaintBitmapIsTheScreenIn24Bits() {
    PictureBench b;
    RecordingLauncher launcher;
    launcher.Available = {QStringLiteral("kolourpaint")};
    tv::ui::EditPictureInPaintProgram(b.ctx, launcher);
    const QString bmp = QDir(tmp_->path()).filePath(QStringLiteral("Temporaire.bmp"));
    QCOMPARE(b.s.CurrentFileName, Local(bmp));
    const QByteArray bytes = ReadAll(bmp);
    QVERIFY(bytes.size() > 54);
    QVERIFY(bytes.startsWith("BM"));
    QCOMPARE(U32(bytes, 18), quint32(PictureBench::kWidth));
    QCOMPARE(U16(bytes, 28), quint16(24));
    // Rows of 400 × 3 bytes are already 4-byte aligned.
    QCOMPARE(U32(bytes, 2), quint32(bytes.size()));
    QCOMPARE(bytes.size(), 54 + PictureBench::kWidth * PictureBench::kHeight * 3);
    QImage read;
    QVERIFY(read.loadFromData(bytes, "BMP"));
    QCOMPARE(read.convertToFormat(QImage::Format_RGB32),
             b.screen.Image().convertToFormat(QImage::Format_RGB32));
    QCOMPARE(b.screenRedraws, 0);
  }

  void PaintProgramChosen_data() {
    QTest::addColumn<QStringList>("available");
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<bool>("urlOpens");
    QTest::addColumn<QStringList>("started");  // programs asked to start, in order
    QTest::addColumn<bool>("urlAsked");
    QTest::addColumn<bool>("message");
    const QString k = QStringLiteral("kolourpaint"), p = QStringLiteral("pinta"),
                  g = QStringLiteral("gimp");
    QTest::newRow("all-found-kolourpaint-first")
        << QStringList{g, p, k} << QStringList{} << true << QStringList{k} << false << false;
    QTest::newRow("pinta-only") << QStringList{p} << QStringList{} << true << QStringList{p}
                                << false << false;
    QTest::newRow("gimp-only") << QStringList{g} << QStringList{} << true << QStringList{g} << false
                               << false;
    QTest::newRow("first-refuses-next-tried")
        << QStringList{k, g} << QStringList{k} << true << QStringList{k, g} << false << false;
    QTest::newRow("none-found-desktop-opens")
        << QStringList{} << QStringList{} << true << QStringList{} << true << false;
    QTest::newRow("nothing-starts")
        << QStringList{p} << QStringList{p} << false << QStringList{p} << true << true;
  }
  void PaintProgramChosen() {
    QFETCH(QStringList, available);
    QFETCH(QStringList, failing);
    QFETCH(bool, urlOpens);
    QFETCH(QStringList, started);
    QFETCH(bool, urlAsked);
    QFETCH(bool, message);
    PictureBench b;
    RecordingLauncher launcher;
    launcher.Available = available;
    launcher.Failing = failing;
    launcher.UrlOpens = urlOpens;
    tv::ui::EditPictureInPaintProgram(b.ctx, launcher);
    const QString bmp = QDir(tmp_->path()).filePath(QStringLiteral("Temporaire.bmp"));
    QCOMPARE(launcher.Started.size(), started.size());
    for (int i = 0; i < started.size(); ++i) {
      QCOMPARE(launcher.Started[i].first, RecordingLauncher::PathOf(started[i]));
      QCOMPARE(launcher.Started[i].second, QStringList{bmp});
    }
    QCOMPARE(!launcher.Urls.isEmpty(), urlAsked);
    if (urlAsked) QCOMPARE(launcher.Urls.front(), QUrl::fromLocalFile(bmp));
    QCOMPARE(b.dialogs.Count("message"), message ? 1 : 0);
    if (message) QVERIFY(b.dialogs.Log.back().text.contains(bmp));
  }

  // The desktop's opener started, then found no application for a bitmap:
  // one message, naming the file and the paint programs to install.
  void PaintProgramMissingIsSaidOnceWhenTheOpenerGivesUp() {
    PictureBench b;
    RecordingLauncher launcher;
    tv::ui::EditPictureInPaintProgram(b.ctx, launcher);
    QCOMPARE(b.dialogs.Count("message"), 0);
    QCOMPARE(launcher.Failures.size(), 1);
    QVERIFY(launcher.Failures.front());
    launcher.Failures.front()();
    QCOMPARE(b.dialogs.Count("message"), 1);
    const QString text = b.dialogs.Log.back().text;
    QVERIFY2(text.contains(QDir(tmp_->path()).filePath(QStringLiteral("Temporaire.bmp"))) &&
                 text.contains(QStringLiteral("KolourPaint, Pinta ou GIMP")),
             qPrintable(text));
    QCOMPARE(b.dialogs.Log.back().caption, QStringLiteral("Tracevue"));
  }

  void PaintBitmapThatCannotBeWrittenStartsNothing() {
    PictureBench b;
    QVERIFY(QDir(tmp_->path()).mkdir(QStringLiteral("Temporaire.bmp")));  // in the way
    RecordingLauncher launcher;
    launcher.Available = {QStringLiteral("kolourpaint")};
    tv::ui::EditPictureInPaintProgram(b.ctx, launcher);
    QCOMPARE(b.dialogs.Count("message"), 1);
    QVERIFY(b.dialogs.Log.back().text.contains(QStringLiteral("Temporaire.bmp")));
    QVERIFY(launcher.Started.isEmpty());
    QVERIFY(launcher.Urls.isEmpty());
  }

  void TemporaryDirectory_data() {
    QTest::addColumn<bool>("exists");
    QTest::newRow("tmpdir-exists") << true;
    QTest::newRow("tmpdir-missing-falls-back-to-tmp") << false;
  }
  void TemporaryDirectory() {
    QFETCH(bool, exists);
    if (!exists) qputenv("TMPDIR", QFile::encodeName(TmpPath("gone")));
    const QString expected = exists ? tmp_->path() + QLatin1Char('/') : QStringLiteral("/tmp/");
    QCOMPARE(QFile::decodeName(QByteArray::fromStdString(tv::ui::PlatformTempDir())), expected);
  }

  // ---- Picture files of the command line ----

  void ExportPictureFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("png") << QStringLiteral("pic.png");
    QTest::newRow("png-upper-case") << QStringLiteral("pic.PNG");
    QTest::newRow("bmp") << QStringLiteral("pic.bmp");
    QTest::newRow("svg") << QStringLiteral("pic.svg");
    QTest::newRow("emf") << QStringLiteral("pic.emf");
  }
  void ExportPictureFiles() {
    QFETCH(QString, name);
    PictureBench b;
    std::vector<tv::MarginRecord> log;
    b.s.MarginRecords = &log;
    b.s.ShowMargins = 1;
    const QString path = TmpPath(name);
    std::string error;
    QVERIFY(tv::ui::ExportPicture(b.s, b.target, Local(path), &error));
    QVERIFY(error.empty());
    QVERIFY(b.ScreenRestored());
    QCOMPARE(b.s.MarginRecords, &log);
    QVERIFY(log.empty());
    const QByteArray bytes = ReadAll(path);
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png") || suffix == QLatin1String("bmp")) {
      QImage image;
      QVERIFY(image.loadFromData(bytes));
      QCOMPARE(image.size(), QSize(PictureBench::kWidth, PictureBench::kHeight));
      // The left axis of the Bode frame runs down x = 30 from y = 5.
      QCOMPARE(At(image, 30, 20), 0u);
      QCOMPARE(At(image, 30, 2), 0xffffffu);
      QVERIFY(CountColour(image, kBlueRgb) > 20);
      if (suffix == QLatin1String("bmp")) QCOMPARE(U16(bytes, 28), quint16(24));
    } else if (suffix == QLatin1String("svg")) {
      QSvgRenderer renderer(bytes);
      QVERIFY(renderer.isValid());
      QCOMPARE(renderer.viewBoxF(), QRectF(0, 0, PictureBench::kWidth, PictureBench::kHeight));
      QImage image(PictureBench::kWidth, PictureBench::kHeight, QImage::Format_RGB32);
      image.fill(Qt::gray);
      {
        QPainter p(&image);
        renderer.render(&p);
      }
      QCOMPARE(At(image, 30, 2), 0xffffffu);  // the plot is cleared to white
      QVERIFY(qGray(image.pixel(30, 20)) < 100);
      QVERIFY(bytes.contains("#0000ff"));  // colours as on screen
    } else {
      QVERIFY(bytes.size() > 1000);
      QCOMPARE(U32(bytes, 0), quint32(tv::ui::test::kEmrHeader));
      const auto emf = ReadEmfFile(path);
      QVERIFY(emf.has_value());
      for (std::size_t i : emf->Find(tv::ui::test::kEmrCreatePen))
        QCOMPARE(emf->Records[i].U32(24) & 0xffffff, 0u);
    }
  }

  void ExportPictureFailures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("numerator");
    QTest::newRow("unknown-format") << QStringLiteral("pic.gif") << QStringLiteral("1");
    QTest::newRow("invalid-function") << QStringLiteral("pic.png") << QStringLiteral("1+*p");
    QTest::newRow("missing-folder-png") << QStringLiteral("none/pic.png") << QStringLiteral("1");
    QTest::newRow("missing-folder-svg") << QStringLiteral("none/pic.svg") << QStringLiteral("1");
    QTest::newRow("missing-folder-emf") << QStringLiteral("none/pic.emf") << QStringLiteral("1");
  }
  void ExportPictureFailures() {
    QFETCH(QString, name);
    QFETCH(QString, numerator);
    PictureBench b;
    b.s.NumText[0].Assign(numerator.toStdString());
    const QString path = TmpPath(name);
    std::string error;
    QVERIFY(!tv::ui::ExportPicture(b.s, b.target, Local(path), &error));
    QVERIFY(!error.empty());
    QVERIFY(!QFile::exists(path));
    QVERIFY(b.ScreenRestored());
  }

  // ---- French standard dialogs ----

  void FrenchTranslationsInstalled() {
    QVERIFY(tv::ui::InstallFrenchTranslations(*QCoreApplication::instance()));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Oui"));
    // What the file dialog shows in its columns: type, size, date.
    tv::ui::UseFrenchLocale();
    QCOMPARE(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"),
             QStringLiteral("Dossier"));
    QVERIFY2(QLocale().formattedDataSize(2048).contains(QStringLiteral("Kio")),
             qPrintable(QLocale().formattedDataSize(2048)));
    QCOMPARE(QLocale().toString(QDate(2026, 12, 9), QStringLiteral("d MMMM yyyy")),
             QStringLiteral("9 décembre 2026"));
    const QString plain = QMimeDatabase().mimeTypeForName(QStringLiteral("text/plain")).comment();
    QVERIFY2(plain.contains(QStringLiteral("texte")), qPrintable(plain));
    QLocale::setDefault(QLocale::c());
  }
};

QTEST_MAIN(PictureOutputTest)
#include "picture_output_test.moc"
