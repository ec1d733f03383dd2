// The metafile surface: header, records of lines, pens, texts and fills, and saving over or beside
// files.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "output/emf_surface.h"
#include "support/emf_reader.h"

using tv::PenStyle;
using tv::Rgb;
using tv::ui::EmfSurface;
using namespace tv::ui::test;

Q_DECLARE_METATYPE(tv::Rgb)

namespace {

std::vector<std::uint8_t> ReadBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray data = f.readAll();
  return {data.begin(), data.end()};
}

// COLORREF as stored in the records: red in the low byte.
std::uint32_t ColorRef(Rgb c) {
  return std::uint32_t{c.R} | std::uint32_t{c.G} << 8 | std::uint32_t{c.B} << 16;
}

// The pen or font handle selected last before record `before`.
std::uint32_t SelectedBefore(const EmfFile& f, std::size_t before,
                             const std::vector<std::uint32_t>& among) {
  std::uint32_t found = 0;
  for (std::size_t i = 0; i < before; ++i)
    if (f.Records[i].Type == kEmrSelectObject) {
      const std::uint32_t h = f.Records[i].U32(8);
      if (std::find(among.begin(), among.end(), h) != among.end()) found = h;
    }
  return found;
}

// The creation record of `handle` in force at record `before` (handles are reused once deleted).
const EmfRecord* CreatedBefore(const EmfFile& f, std::size_t before, std::uint32_t type,
                               std::uint32_t handle) {
  const EmfRecord* found = nullptr;
  for (std::size_t i : f.Find(type))
    if (i < before && f.Records[i].U32(8) == handle) found = &f.Records[i];
  return found;
}

std::vector<std::uint32_t> Handles(const EmfFile& f, std::uint32_t createType) {
  std::vector<std::uint32_t> out;
  for (std::size_t i : f.Find(createType)) out.push_back(f.Records[i].U32(8));
  return out;
}

}  // namespace

class EmfSurfaceTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;

  QString PathOf(const QString& name) const { return dir_.filePath(name); }

  // Finishes the surface into a fresh file and reads it back.
  EmfFile Save(EmfSurface& surface, const QString& name) {
    std::string error;
    const QString path = PathOf(name);
    const bool ok = surface.Finish(path.toStdString(), &error);
    if (!ok) qWarning("Finish failed: %s", error.c_str());
    std::string reason;
    auto file = ReadEmf(ReadBytes(path), &reason);
    if (!file) qWarning("unreadable metafile: %s", reason.c_str());
    return file ? *file : EmfFile{};
  }

 private slots:
  void initTestCase() { QVERIFY(dir_.isValid()); }

  void headerDescribesThePicture() {
    EmfSurface surface(400, 300);
    QCOMPARE(surface.PictureWidth(), 400);
    QCOMPARE(surface.PictureHeight(), 301);
    surface.MoveTo(0, 0);
    surface.LineTo(399, 300);
    const EmfFile f = Save(surface, "header.emf");
    QVERIFY(!f.Records.empty());

    QCOMPARE(f.Header().Type, std::uint32_t{kEmrHeader});
    QCOMPARE(f.Signature(), kEmfSignature);
    QCOMPARE(std::size_t{f.Bytes()}, f.FileSize);
    QCOMPARE(std::size_t{f.RecordCount()}, f.Records.size());
    QCOMPARE(f.Records.back().Type, std::uint32_t{kEmrEof});

    // 400 and 301 pixels at 96 dpi in 0.01 mm: 400 × 2540 / 96 = 10583.3, 301 × 2540 / 96 =
    // 7963.96.
    const EmfRect frame = f.Frame();
    QCOMPARE(frame.Left, 0);
    QCOMPARE(frame.Top, 0);
    QCOMPARE(frame.Right, 10583);
    QCOMPARE(frame.Bottom, 7964);

    // The bounds are the frame in pixels of the reference device.
    const double devicePerUnitX = f.DevicePixelsX() / (f.DeviceMillimetresX() * 100.0);
    const double devicePerUnitY = f.DevicePixelsY() / (f.DeviceMillimetresY() * 100.0);
    const EmfRect bounds = f.Bounds();
    QCOMPARE(bounds.Left, 0);
    QCOMPARE(bounds.Top, 0);
    QVERIFY(std::abs(bounds.Right - frame.Right * devicePerUnitX) <= 1.0);
    QVERIFY(std::abs(bounds.Bottom - frame.Bottom * devicePerUnitY) <= 1.0);

    // The picture's pixels are mapped onto the whole frame.
    const auto mapMode = f.Find(kEmrSetMapMode);
    QCOMPARE(mapMode.size(), std::size_t{1});
    QCOMPARE(f.Records[mapMode[0]].U32(8), std::uint32_t{8});  // anisotropic
    const auto window = f.Find(kEmrSetWindowExtEx);
    const auto viewport = f.Find(kEmrSetViewportExtEx);
    QCOMPARE(window.size(), std::size_t{1});
    QCOMPARE(viewport.size(), std::size_t{1});
    QCOMPARE(f.Records[window[0]].I32(8), 400);
    QCOMPARE(f.Records[window[0]].I32(12), 301);
    QVERIFY(std::abs(f.Records[viewport[0]].I32(8) - frame.Right * devicePerUnitX) <= 1.0);
    QVERIFY(std::abs(f.Records[viewport[0]].I32(12) - frame.Bottom * devicePerUnitY) <= 1.0);
  }

  void emptyPlotStillGivesAPicture() {
    EmfSurface surface(0, -5);
    QCOMPARE(surface.PictureWidth(), 1);
    QCOMPARE(surface.PictureHeight(), 1);
    const EmfFile f = Save(surface, "empty.emf");
    QVERIFY(!f.Records.empty());
    QCOMPARE(f.Records.back().Type, std::uint32_t{kEmrEof});
    QVERIFY(f.Frame().Right > 0);
  }

  void lineIsMoveAndLineTo() {
    EmfSurface surface(200, 100);
    surface.SetPen(PenStyle::Solid, 2);
    surface.SetColour(tv::kRed);
    surface.MoveTo(10, 20);
    surface.LineTo(110, 20);
    const EmfFile f = Save(surface, "line.emf");

    const auto moves = f.Find(kEmrMoveToEx);
    QCOMPARE(moves.size(), std::size_t{1});
    const std::size_t m = moves[0];
    QCOMPARE(f.Records[m].I32(8), 10);
    QCOMPARE(f.Records[m].I32(12), 20);
    QVERIFY(m + 1 < f.Records.size());
    QCOMPARE(f.Records[m + 1].Type, std::uint32_t{kEmrLineTo});
    QCOMPARE(f.Records[m + 1].I32(8), 110);
    QCOMPARE(f.Records[m + 1].I32(12), 20);

    // The pen in force is solid, 2 wide, red.
    const std::uint32_t pen = SelectedBefore(f, m, Handles(f, kEmrCreatePen));
    QVERIFY(pen != 0);
    const EmfRecord* created = CreatedBefore(f, m, kEmrCreatePen, pen);
    QVERIFY(created != nullptr);
    QCOMPARE(created->U32(12), std::uint32_t{0});  // PS_SOLID
    QCOMPARE(created->I32(16), 2);
    QCOMPARE(created->U32(24), ColorRef(tv::kRed));
  }

  void penRecords_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("width");
    QTest::addColumn<Rgb>("colour");
    QTest::addColumn<std::uint32_t>("gdiStyle");
    QTest::newRow("dottedPurple1") << int(PenStyle::Dotted) << 1 << tv::kPurple << std::uint32_t{2};
    QTest::newRow("solidBlue3") << int(PenStyle::Solid) << 3 << tv::kBlue << std::uint32_t{0};
    QTest::newRow("solidGreen4") << int(PenStyle::Solid) << 4 << tv::kGreen << std::uint32_t{0};
    QTest::newRow("dottedBlack1") << int(PenStyle::Dotted) << 1 << tv::kBlack << std::uint32_t{2};
  }

  void penRecords() {
    QFETCH(int, style);
    QFETCH(int, width);
    QFETCH(Rgb, colour);
    QFETCH(std::uint32_t, gdiStyle);
    EmfSurface surface(100, 100);
    // A different pen first, so the one under test is always made anew.
    surface.SetPen(PenStyle::Solid, 7);
    surface.SetColour(Rgb{1, 2, 3});
    surface.SetPen(static_cast<PenStyle>(style), width);
    surface.SetColour(colour);
    surface.MoveTo(0, 50);
    surface.LineTo(99, 50);
    const EmfFile f = Save(surface, "pen.emf");
    const std::size_t m = f.Find(kEmrMoveToEx).at(0);
    const std::uint32_t pen = SelectedBefore(f, m, Handles(f, kEmrCreatePen));
    const EmfRecord* created = CreatedBefore(f, m, kEmrCreatePen, pen);
    QVERIFY(created != nullptr);
    QCOMPARE(created->U32(12), gdiStyle);
    QCOMPARE(created->I32(16), width);
    QCOMPARE(created->U32(24), ColorRef(colour));
  }

  void everyPenAndFontIsDeleted() {
    EmfSurface surface(100, 100);
    for (int i = 1; i <= 5; ++i) {
      surface.SetPen(i % 2 ? PenStyle::Solid : PenStyle::Dotted, i);
      surface.SetColour(Rgb{static_cast<std::uint8_t>(i * 40), 0, 0});
      surface.SetFontHeight(8 + i);
      surface.MoveTo(0, i);
      surface.LineTo(50, i);
    }
    const EmfFile f = Save(surface, "handles.emf");
    std::vector<std::uint32_t> created = Handles(f, kEmrCreatePen);
    const auto fonts = Handles(f, kEmrExtCreateFontIndirectW);
    created.insert(created.end(), fonts.begin(), fonts.end());
    QVERIFY(created.size() >= 10);
    // Handle numbers are reused once deleted: creations and deletions alternate per handle.
    std::map<std::uint32_t, int> live;
    for (const EmfRecord& r : f.Records) {
      if (r.Type == kEmrCreatePen || r.Type == kEmrExtCreateFontIndirectW) {
        QCOMPARE(live[r.U32(8)], 0);
        live[r.U32(8)] = 1;
      } else if (r.Type == kEmrDeleteObject) {
        QCOMPARE(live[r.U32(8)], 1);
        live[r.U32(8)] = 0;
      }
    }
    for (const auto& [handle, count] : live) QCOMPARE(count, 0);
  }

  void textRecord_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("accent") << QByteArray("R\xE9ponse") << QString::fromUtf8("Réponse");
    QTest::newRow("euroFrom0x80") << QByteArray("50 \x80") << QString::fromUtf8("50 €");
    QTest::newRow("degree") << QByteArray("-180\xB0") << QString::fromUtf8("-180°");
    QTest::newRow("ascii") << QByteArray("MG=12.5 dB") << QString("MG=12.5 dB");
  }

  void textRecord() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    EmfSurface surface(300, 200);
    surface.SetColour(tv::kBlue);
    surface.TextOut(30, 40,
                    std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    const EmfFile f = Save(surface, "text.emf");

    const auto texts = f.Find(kEmrExtTextOutW);
    QCOMPARE(texts.size(), std::size_t{1});
    const std::size_t t = texts[0];
    const EmfRecord& r = f.Records[t];
    QCOMPARE(r.I32(36), 30);  // reference point: the top-left corner
    QCOMPARE(r.I32(40), 40);
    const std::uint32_t chars = r.U32(44);
    QCOMPARE(chars, std::uint32_t(expected.size()));
    QCOMPARE(QString::fromStdU16String(r.Utf16(r.U32(48), chars)), expected);

    // On an opaque white cell, in the pen's colour, in the screen's font.
    auto lastBefore = [&](std::uint32_t type) {
      std::optional<std::size_t> found;
      for (std::size_t i : f.Find(type))
        if (i < t) found = i;
      return found;
    };
    QVERIFY(lastBefore(kEmrSetBkMode).has_value());
    QCOMPARE(f.Records[*lastBefore(kEmrSetBkMode)].U32(8), std::uint32_t{2});  // OPAQUE
    QVERIFY(lastBefore(kEmrSetBkColor).has_value());
    QCOMPARE(f.Records[*lastBefore(kEmrSetBkColor)].U32(8), std::uint32_t{0xFFFFFF});
    QVERIFY(lastBefore(kEmrSetTextColor).has_value());
    QCOMPARE(f.Records[*lastBefore(kEmrSetTextColor)].U32(8), ColorRef(tv::kBlue));
    const std::uint32_t font = SelectedBefore(f, t, Handles(f, kEmrExtCreateFontIndirectW));
    const EmfRecord* created = CreatedBefore(f, t, kEmrExtCreateFontIndirectW, font);
    QVERIFY(created != nullptr);
    QCOMPARE(created->I32(12), EmfSurface::kDefaultFontHeight);  // the character cell
    // The face name with its terminating zero.
    QCOMPARE(QString::fromStdU16String(created->Utf16(40, 12)),
             QString::fromUtf16(u"DejaVu Sans", 12));
  }

  void emptyTextWritesNothing() {
    EmfSurface surface(100, 100);
    surface.TextOut(5, 5, "");
    const EmfFile f = Save(surface, "notext.emf");
    QVERIFY(f.Find(kEmrExtTextOutW).empty());
  }

  void textMeasuresFollowTheFont_data() {
    QTest::addColumn<int>("cell");
    QTest::newRow("cell10") << 10;
    QTest::newRow("cell14") << 14;
    QTest::newRow("cell24") << 24;
  }

  void textMeasuresFollowTheFont() {
    QFETCH(int, cell);
    EmfSurface surface(100, 100);
    surface.SetFontHeight(cell);
    QCOMPARE(surface.FontHeight(), cell);
    // The screen's font of that cell: the largest DejaVu Sans whose height fits it.
    QFont font("DejaVu Sans");
    int pixels = cell;
    for (; pixels > 1; --pixels) {
      font.setPixelSize(pixels);
      if (QFontMetrics(font).height() <= cell) break;
    }
    font.setPixelSize(pixels);
    const QFontMetrics metrics(font);
    QVERIFY(metrics.height() <= cell);
    QVERIFY(metrics.height() >= cell - 1);
    QCOMPARE(surface.TextHeight("1p"), metrics.height());
    QCOMPARE(surface.TextWidth("R\xE9ponse"),
             metrics.horizontalAdvance(QString::fromUtf8("Réponse")));
    QCOMPARE(surface.TextWidth("\x80"), metrics.horizontalAdvance(QString::fromUtf8("€")));
    QCOMPARE(surface.TextWidth(""), 0);

    surface.TextOut(0, 0, "x");
    const EmfFile f = Save(surface, "font.emf");
    const std::size_t t = f.Find(kEmrExtTextOutW).at(0);
    const std::uint32_t selected = SelectedBefore(f, t, Handles(f, kEmrExtCreateFontIndirectW));
    const EmfRecord* created = CreatedBefore(f, t, kEmrExtCreateFontIndirectW, selected);
    QVERIFY(created != nullptr);
    QCOMPARE(created->I32(12), cell);
  }

  void fillWhiteIsAPenlessWhiteRectangle() {
    EmfSurface surface(100, 100);
    surface.SetPen(PenStyle::Solid, 2);
    surface.FillWhite(5, 6, 20, 10);
    surface.FillWhite(5, 6, 0, 10);  // empty: nothing
    surface.MoveTo(1, 1);
    surface.LineTo(2, 2);
    const EmfFile f = Save(surface, "fill.emf");
    const auto rects = f.Find(kEmrRectangle);
    QCOMPARE(rects.size(), std::size_t{1});
    const std::size_t r = rects[0];
    // Without a pen the rectangle covers 20 × 10 pixels from (5, 6).
    const EmfRect box = EmfFile::Rect(f.Records[r], 8);
    QCOMPARE(box.Left, 5);
    QCOMPARE(box.Top, 6);
    QCOMPARE(box.Right, 26);
    QCOMPARE(box.Bottom, 17);
    // In force for the rectangle: the white stock brush and the null stock pen.
    const std::uint32_t whiteBrush = kStockObject | 0, blackBrush = kStockObject | 4,
                        nullPen = kStockObject | 8;
    const std::vector<std::uint32_t> created = Handles(f, kEmrCreatePen);
    std::vector<std::uint32_t> pens = created;
    pens.push_back(nullPen);
    QCOMPARE(SelectedBefore(f, r, pens), nullPen);
    QCOMPARE(SelectedBefore(f, r, {whiteBrush, blackBrush}), whiteBrush);
    // The line after it is drawn with the 2-pixel pen again.
    const std::size_t m = f.Find(kEmrMoveToEx).at(0);
    const std::uint32_t pen = SelectedBefore(f, m, pens);
    QVERIFY(pen != nullPen);
    const EmfRecord* again = CreatedBefore(f, m, kEmrCreatePen, pen);
    QVERIFY(again != nullptr);
    QCOMPARE(again->I32(16), 2);
  }

  void saveOverReadOnlyFile() {
    const QString path = PathOf("readonly.emf");
    {
      QFile old(path);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.write("previous picture");
    }
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    EmfSurface surface(50, 40);
    surface.MoveTo(1, 1);
    surface.LineTo(20, 20);
    std::string error;
    QVERIFY2(surface.Finish(path.toStdString(), &error), error.c_str());
    std::string reason;
    const auto f = ReadEmf(ReadBytes(path), &reason);
    QVERIFY2(f.has_value(), reason.c_str());
    QCOMPARE(f->Signature(), kEmfSignature);
    QVERIFY(QFileInfo(path).permissions() & QFileDevice::WriteOwner);
  }

  void saveIntoMissingFolderFails() {
    QTemporaryDir parent;
    QVERIFY(parent.isValid());
    const QString path = parent.filePath("absent/picture.emf");
    EmfSurface surface(50, 40);
    std::string error;
    QVERIFY(!surface.Finish(path.toStdString(), &error));
    QCOMPARE(error, std::string("Impossible de cr\xE9"
                                "er un fichier temporaire dans le dossier : "
                                "dossier ou fichier introuvable."));
    QVERIFY(!QFileInfo::exists(parent.filePath("absent")));
    QCOMPARE(QDir(parent.path())
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                 .size(),
             0);
  }

  // A write that fails (here past a file-size limit, which binds root too)
  // leaves the old file as it was and no temporary.
  void failedSaveKeepsTheExistingFile() {
    QTemporaryDir parent;
    QVERIFY(parent.isValid());
    const QString path = parent.filePath("kept.emf");
    {
      QFile old(path);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.write("previous picture");
    }
    EmfSurface surface(50, 40);
    std::string error;
    bool saved = true;
    {
      const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
      rlimit old{};
      ::getrlimit(RLIMIT_FSIZE, &old);
      rlimit lower = old;
      lower.rlim_cur = 100;
      QCOMPARE(::setrlimit(RLIMIT_FSIZE, &lower), 0);
      saved = surface.Finish(path.toStdString(), &error);
      ::setrlimit(RLIMIT_FSIZE, &old);
      std::signal(SIGXFSZ, oldHandler);
    }
    QVERIFY(!saved);
    QCOMPARE(error, std::string("\xC9"
                                "criture impossible : fichier trop volumineux."));
    QFile kept(path);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("previous picture"));
    QCOMPARE(QDir(parent.path())
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                 .size(),
             1);
  }

  void saveOntoAFolderFails() {
    QTemporaryDir parent;
    QVERIFY(parent.isValid());
    QVERIFY(QDir(parent.path()).mkdir("taken.emf"));
    EmfSurface surface(50, 40);
    std::string error;
    QVERIFY(!surface.Finish(parent.filePath("taken.emf").toStdString(), &error));
    QCOMPARE(error, std::string("\xC9"
                                "criture impossible : le nom d\xE9signe un dossier."));
    QVERIFY(QFileInfo(parent.filePath("taken.emf")).isDir());
    QCOMPARE(QDir(parent.path())
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                 .size(),
             1);
  }

  // The header's description is the program's name followed by the two
  // terminating nulls and the padding, nothing read from beyond it.
  void descriptionIsTheProgramName() {
    EmfSurface surface(50, 40);
    QVERIFY(surface.Finish(PathOf("described.emf").toStdString(), nullptr));
    const std::vector<std::uint8_t> bytes = ReadBytes(PathOf("described.emf"));
    QVERIFY(bytes.size() > 132);
    const auto u32 = [&](std::size_t at) {
      return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 |
             std::uint32_t{bytes[at + 2]} << 16 | std::uint32_t{bytes[at + 3]} << 24;
    };
    QCOMPARE(u32(4), 132u);   // header size
    QCOMPARE(u32(60), 11u);   // characters of the description
    QCOMPARE(u32(64), 108u);  // where it starts
    const std::string expected("T\0r\0a\0c\0e\0v\0u\0e\0\0\0\0\0\0\0\0\0", 24);
    QCOMPARE(std::string(bytes.begin() + 108, bytes.begin() + 132), expected);
  }

  // A device or pipe, directly or behind a link, is no file to replace: the
  // metafile used to be renamed over it.
  void finishRefusesASpecialFile_data() {
    QTest::addColumn<bool>("throughLink");
    QTest::newRow("pipe") << false;
    QTest::newRow("link-to-pipe") << true;
  }
  void finishRefusesASpecialFile() {
    QFETCH(bool, throughLink);
    QTemporaryDir parent;
    QVERIFY(parent.isValid());
    const QByteArray fifo = QFile::encodeName(parent.filePath("pipe.emf"));
    QCOMPARE(::mkfifo(fifo.constData(), 0644), 0);
    const QByteArray target = throughLink ? QFile::encodeName(parent.filePath("link.emf")) : fifo;
    if (throughLink) QCOMPARE(::symlink(fifo.constData(), target.constData()), 0);
    EmfSurface surface(50, 40);
    std::string error;
    QVERIFY(!surface.Finish(target.toStdString(), &error));
    QCOMPARE(error,
             std::string("\xC9"
                         "criture impossible : le nom ne d\xE9signe pas un fichier ordinaire."));
    struct stat st {};
    QCOMPARE(::lstat(fifo.constData(), &st), 0);
    QVERIFY(S_ISFIFO(st.st_mode));
    QCOMPARE(::lstat(target.constData(), &st), 0);
    QVERIFY(throughLink ? S_ISLNK(st.st_mode) : S_ISFIFO(st.st_mode));
    QCOMPARE(QDir(parent.path())
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
                 .size(),
             throughLink ? 2 : 1);
  }

  void finishOnlyOnce() {
    EmfSurface surface(50, 40);
    surface.MoveTo(0, 0);
    surface.LineTo(10, 10);
    const QString first = PathOf("once.emf");
    std::string error;
    QVERIFY(surface.Finish(first.toStdString(), &error));
    const auto bytes = ReadBytes(first);
    surface.LineTo(20, 20);  // ignored
    surface.TextOut(1, 1, "x");
    QVERIFY(!surface.IsOpen());
    QVERIFY(!surface.Finish(PathOf("twice.emf").toStdString(), &error));
    QVERIFY(!error.empty());
    QVERIFY(!QFileInfo::exists(PathOf("twice.emf")));
    QCOMPARE(ReadBytes(first), bytes);
  }

  // An independent reader, when installed, turns the file into the same picture.
  void independentReaderDrawsThePicture() {
    const QString tool = QStandardPaths::findExecutable("emf2svg-conv");
    if (tool.isEmpty()) QSKIP("emf2svg-conv is not installed");
    EmfSurface surface(400, 300);
    surface.SetPen(PenStyle::Solid, 3);
    surface.SetColour(tv::kBlack);
    surface.MoveTo(10, 20);
    surface.LineTo(110, 20);
    surface.MoveTo(390, 0);
    surface.LineTo(390, 300);
    surface.TextOut(150, 150, "R\xE9ponse");
    const QString emf = PathOf("reader.emf"), svg = PathOf("reader.svg");
    std::string error;
    QVERIFY2(surface.Finish(emf.toStdString(), &error), error.c_str());
    QProcess conv;
    conv.start(tool, {"-i", emf, "-o", svg});
    QVERIFY(conv.waitForFinished(30000));
    QCOMPARE(conv.exitCode(), 0);

    QFile svgFile(svg);
    QVERIFY(svgFile.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(svgFile.readAll()).contains(QString::fromUtf8("Réponse")));
    QSvgRenderer renderer(svg);
    QVERIFY(renderer.isValid());
    // Same shape as the picture: 400 × 301.
    const QSizeF size = renderer.defaultSize();
    QVERIFY(std::abs(size.width() / size.height() - 400.0 / 301.0) < 0.01);

    QImage image(400, 301, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      renderer.render(&painter, QRectF(0, 0, 400, 301));
    }
    // Within 2 pixels: the reader rounds and draws its own line widths.
    auto darkNear = [&](int x, int y) {
      for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
          if (qGray(image.pixel(x + dx, y + dy)) < 160) return true;
      return false;
    };
    QVERIFY(darkNear(60, 20));  // the horizontal line, where it was drawn
    QVERIFY(darkNear(390,
                     150));  // the vertical line near the right edge: the width maps onto the frame
    QVERIFY(!darkNear(60, 60));
    QVERIFY(!darkNear(200, 250));
  }
};

QTEST_MAIN(EmfSurfaceTest)
#include "emf_surface_test.moc"
