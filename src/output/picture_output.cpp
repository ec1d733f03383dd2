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
#include "output/svg_picture.h"
#include "output/png_output.h"
#include "output/qt_surface.h"

namespace tv::ui {

namespace {

const QString kCaption = QStringLiteral("Tracevue");

// A picture drawn apart from the main one: no clearing of the window's
// picture, no capture, no margin log, no following window told.
DrawTarget ApartFrom(const DrawTarget& screen, PlotSurface* canvas) {
  DrawTarget t = screen;
  t.DrawCanvas = canvas;
  t.ScreenCanvas = nullptr;
  t.MainPicture = false;
  return t;
}

// The character cell the main picture draws with.
int FontHeightOf(const DrawTarget& screen) {
  return screen.DrawCanvas ? screen.DrawCanvas->FontHeight() : 10;
}

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

bool ExportPrintedPage(DiagramState& s, const DrawTarget& screen, const std::string& path,
                       bool darker, std::string* error) {
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
    const PrintPage page = PrinterPage(printer);
    PainterSurface paper(printer, PrinterFontHeight(FontHeightOf(screen)));
    paper.SetScale(page.ScaleX, page.ScaleY);
    paper.SetClip(PrintedPlotArea(page.Geometry));
    const PrintPenWidths pens = ComputePrintPenWidths(darker);
    // No screen to clear: the page starts white.
    DrawTarget t = ApartFrom(screen, &paper);
    t.OriginX = page.Geometry.OriginX;
    t.OriginY = page.Geometry.OriginY;
    t.MarginPlotWidth = screen.PlotWidth;
    t.MarginPlotHeight = screen.PlotHeight;
    t.PlotWidth = page.Geometry.PlotWidth;
    t.PlotHeight = page.Geometry.PlotHeight;
    t.CurvePenWidth = pens.Curve;
    t.FramePenWidth = pens.Frame;
    t.ForceBlack = 1;
    t.OnPaper = 1;
    FrameResult frame;
    begun = paper.Begin();
    drawn = begun && RedrawDiagram(s, t, frame);
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

bool ExportPicture(DiagramState& s, const DrawTarget& screen, const std::string& path,
                   std::string* error) {
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

  const int fontHeight = FontHeightOf(screen);
  const int width = std::max(1, screen.PlotWidth);
  const int height = std::max(1, screen.PlotHeight);
  FrameResult frame;
  QByteArray bytes;
  bool drawn = false;
  std::string reason;
  switch (format) {
    case Format::Png:
    case Format::Bmp: {
      QtSurface picture(width, height);
      picture.SetFontHeight(fontHeight);
      DrawTarget t = ApartFrom(screen, &picture);
      t.ScreenCanvas = &picture;
      t.ForceBlack = 0;
      drawn = RedrawDiagram(s, t, frame);
      picture.Finish();
      if (drawn) {
        bool encoded = false;
        if (format == Format::Bmp) {
          encoded = EncodeBmp(picture.Image(), bytes);
        } else {
          encoded = EncodePng(picture.Image(), bytes);
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
      DrawTarget t = ApartFrom(screen, &picture);
      t.ScreenCanvas = &picture;
      t.ForceBlack = 0;
      drawn = RedrawDiagram(s, t, frame);
      if (!picture.End() && drawn)
        reason = "l'image n'a pas pu \xEAtre cod\xE9"
                 "e";
      break;
    }
    case Format::Emf: {
      EmfSurface metafile(screen.PlotWidth, screen.PlotHeight);
      // As the metafile of the window: no clearing (there is no screen), black.
      DrawTarget t = ApartFrom(screen, &metafile);
      t.ForceBlack = 1;
      t.OnPaper = 1;
      drawn = RedrawDiagram(s, t, frame);
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
