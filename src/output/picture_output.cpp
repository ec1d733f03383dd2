// The diagram's picture files and printed page for the command line, and the page they share.
#include "output/picture_output.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>
#include <QPageLayout>
#include <QPageSize>
#include <QSvgGenerator>
#include <algorithm>
#include <string_view>
#include <vector>

#include "files/file_io.h"
#include "render/primitives.h"
#include "render/print_layout.h"
#include "render/redraw.h"
#include "output/cp1252.h"
#include "output/file_names.h"
#include "output/emf_surface.h"
#include "output/painter_surface.h"
#include "output/qt_surface.h"

namespace tv::ui {

namespace {

const QString kCaption = QStringLiteral("Tracevue");

// Everything a redraw onto another target changes or appends to, given back
// when the guard goes out of scope.
class KeptDrawing {
 public:
  explicit KeptDrawing(DiagramState& s)
      : s_(s),
        canvas_(s.DrawCanvas),
        screen_(s.ScreenCanvas),
        margins_(s.MarginRecords),
        capture_(s.CapturePoints),
        black_(s.ForceBlack),
        paper_(s.OnPaper),
        marginWidth_(s.MarginPlotWidth),
        marginHeight_(s.MarginPlotHeight),
        width_(s.PlotWidth),
        height_(s.PlotHeight),
        originX_(s.OriginX),
        originY_(s.OriginY),
        curvePen_(s.CurvePenWidth),
        framePen_(s.FramePenWidth) {}
  KeptDrawing(const KeptDrawing&) = delete;
  KeptDrawing& operator=(const KeptDrawing&) = delete;
  ~KeptDrawing() {
    s_.DrawCanvas = canvas_;
    s_.ScreenCanvas = screen_;
    s_.MarginRecords = margins_;
    s_.CapturePoints = capture_;
    s_.ForceBlack = black_;
    s_.OnPaper = paper_;
    s_.MarginPlotWidth = marginWidth_;
    s_.MarginPlotHeight = marginHeight_;
    s_.PlotWidth = width_;
    s_.PlotHeight = height_;
    s_.OriginX = originX_;
    s_.OriginY = originY_;
    s_.CurvePenWidth = curvePen_;
    s_.FramePenWidth = framePen_;
  }
  // The character cell the kept target draws with.
  int FontHeight() const { return canvas_ ? canvas_->FontHeight() : 10; }

 private:
  DiagramState& s_;
  PlotSurface* const canvas_;
  PlotSurface* const screen_;
  std::vector<MarginRecord>* const margins_;
  const std::uint8_t capture_, black_, paper_;
  const int marginWidth_, marginHeight_;
  const int width_, height_, originX_, originY_, curvePen_, framePen_;
};

bool WriteBytes(const std::string& path, const QByteArray& bytes, std::string* error) {
  return WriteFileAtomically(
      path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), error);
}

}  // namespace

// The painter's origin is the printable area's top-left corner, as the page
// of a printer's drawing surface always is.
PrintPage PrinterPage(QPrinter& printer) {
  const QRect area = printer.pageRect(QPrinter::DevicePixel).toRect();
  return ComputePrintPage(printer.logicalDpiX(), printer.logicalDpiY(), area.width(),
                          area.height());
}

QRect PrintedPlotArea(const PrintGeometry& g) {
  return QRect(g.OriginX, g.OriginY, g.PlotWidth, g.PlotHeight);
}

bool EncodeBmp(const QImage& image, QByteArray& bytes) {
  QBuffer buffer(&bytes);
  return buffer.open(QIODevice::WriteOnly) &&
         image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
}

int PrinterFontHeight(int screenFontHeight) { return RoundPixel(screenFontHeight * 1.5); }

bool ExportPrintedPage(DiagramState& s, const std::string& path, bool darker, std::string* error) {
  const auto fail = [error](const std::string& reason) {
    if (error) *error = reason;
    return false;
  };
  // The printer writes its file itself: into a temporary one first, so that
  // the file asked for is only ever replaced whole. One left by a killed
  // export is removed by a later one.
  std::string temporaryError;
  const std::string temporary = CreateSweptTemporary(PlatformTempDir(), &temporaryError);
  if (temporary.empty()) return fail(temporaryError);
  const struct Remover {
    QString Name;
    ~Remover() { QFile::remove(Name); }
  } pdf{QtPath(temporary)};
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf.Name);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setDocName(kCaption);
  printer.setCreator(kCaption);

  bool begun = false, drawn = false, ended = false;
  {
    const KeptDrawing kept(s);
    const PrintPage page = PrinterPage(printer);
    PainterSurface paper(printer, PrinterFontHeight(kept.FontHeight()));
    paper.SetScale(page.ScaleX, page.ScaleY);
    paper.SetClip(PrintedPlotArea(page.Geometry));
    const PrintPenWidths pens = ComputePrintPenWidths(darker);
    s.DrawCanvas = &paper;
    // No screen to clear: the page starts white.
    s.ScreenCanvas = nullptr;
    s.MarginRecords = nullptr;
    s.CapturePoints = 0;
    s.OriginX = page.Geometry.OriginX;
    s.OriginY = page.Geometry.OriginY;
    s.MarginPlotWidth = s.PlotWidth;
    s.MarginPlotHeight = s.PlotHeight;
    s.PlotWidth = page.Geometry.PlotWidth;
    s.PlotHeight = page.Geometry.PlotHeight;
    s.CurvePenWidth = pens.Curve;
    s.FramePenWidth = pens.Frame;
    s.ForceBlack = 1;
    s.OnPaper = 1;
    begun = paper.Begin();
    drawn = begun && RedrawDiagram(s);
    ended = paper.End();
  }

  if (!begun || !ended) return fail("la page n'a pas pu \xEAtre produite");
  if (!drawn)
    return fail("une fonction coch\xE9"
                "e est invalide : rien n'est dessin\xE9");
  QFile written(pdf.Name);
  if (!written.open(QIODevice::ReadOnly)) return fail("la page n'a pas pu \xEAtre relue");
  const QByteArray bytes = written.readAll();
  std::string writeError;
  if (!WriteBytes(path, bytes, &writeError)) return fail(writeError);
  return true;
}

bool ExportPicture(DiagramState& s, const std::string& path, std::string* error) {
  const auto fail = [error](const std::string& reason) {
    if (error) *error = reason;
    return false;
  };
  const QString suffix = QFileInfo(QtPath(path)).suffix().toLower();
  enum class Format { Png, Bmp, Svg, Emf } format;
  if (suffix == QLatin1String("png"))
    format = Format::Png;
  else if (suffix == QLatin1String("bmp"))
    format = Format::Bmp;
  else if (suffix == QLatin1String("svg"))
    format = Format::Svg;
  else if (suffix == QLatin1String("emf"))
    format = Format::Emf;
  else
    return fail("format d'image inconnu : .png, .bmp, .svg ou .emf");

  // Given back on every way out.
  const KeptDrawing kept(s);
  const int fontHeight = kept.FontHeight();
  s.MarginRecords = nullptr;
  s.CapturePoints = 0;

  const int width = std::max(1, s.PlotWidth);
  const int height = std::max(1, s.PlotHeight);
  QByteArray bytes;
  bool drawn = false;
  std::string reason;
  switch (format) {
    case Format::Png:
    case Format::Bmp: {
      QtSurface picture(width, height);
      picture.SetFontHeight(fontHeight);
      s.DrawCanvas = s.ScreenCanvas = &picture;
      s.ForceBlack = 0;
      drawn = RedrawDiagram(s);
      picture.Finish();
      if (drawn) {
        bool encoded = false;
        if (format == Format::Bmp) {
          encoded = EncodeBmp(picture.Image(), bytes);
        } else {
          QBuffer buffer(&bytes);
          encoded = buffer.open(QIODevice::WriteOnly) && picture.Image().save(&buffer, "PNG");
        }
        if (!encoded)
          reason = "l'image n'a pas pu \xEAtre cod\xE9"
                   "e";
      }
      break;
    }
    case Format::Svg: {
      QBuffer buffer(&bytes);
      buffer.open(QIODevice::WriteOnly);
      QSvgGenerator generator;
      SetUpSvgPicture(generator, &buffer, width, height);
      PainterSurface picture(generator, fontHeight);
      // The plot is cleared on the picture itself, as on screen.
      s.DrawCanvas = s.ScreenCanvas = &picture;
      s.ForceBlack = 0;
      drawn = RedrawDiagram(s);
      if (!picture.End() && drawn)
        reason = "l'image n'a pas pu \xEAtre cod\xE9"
                 "e";
      break;
    }
    case Format::Emf: {
      EmfSurface metafile(s.PlotWidth, s.PlotHeight);
      // As the metafile of the window: no clearing (there is no screen), black.
      s.DrawCanvas = &metafile;
      s.ScreenCanvas = nullptr;
      s.ForceBlack = 1;
      s.OnPaper = 1;
      drawn = RedrawDiagram(s);
      s.ForceBlack = 0;
      if (drawn) {
        std::string emfError;
        if (!metafile.Finish(path, &emfError)) return fail(emfError);
        return true;
      }
      break;
    }
  }
  if (!drawn)
    return fail("une fonction coch\xE9"
                "e est invalide : rien n'est dessin\xE9");
  if (!reason.empty()) return fail(reason);
  std::string writeError;
  if (!WriteBytes(path, bytes, &writeError)) return fail(writeError);
  return true;
}

}  // namespace tv::ui
