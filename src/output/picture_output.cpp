// Picture commands of the Fichier menu and the command line's picture files.
#include "output/picture_output.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QByteArray>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <QPrinter>
#include <QPageLayout>
#include <QPageSize>
#include <QSvgGenerator>
#include <QUrl>
#include <algorithm>
#include <string_view>
#include <vector>

#include "core/diagram_host.h"
#include "files/file_io.h"
#include "render/primitives.h"
#include "render/print_layout.h"
#include "render/redraw.h"
#include "output/cp1252.h"
#include "output/file_names.h"
#include "ui/desktop_launcher.h"
#include "ui/dialogs.h"
#include "output/emf_surface.h"
#include "output/painter_surface.h"
#include "output/qt_surface.h"

namespace tv::ui {

namespace {

const QString kCaption = QStringLiteral("Tracevue");

void WriteFailed(PictureContext& ctx, const std::string& path, const QString& reason) {
  QString text = QCoreApplication::translate("tv::ui::PictureOutput",
                                             "Impossible d'enregistrer le fichier « %1 »")
                     .arg(ShownPath(path));
  if (!reason.isEmpty()) text += QStringLiteral(" : ") + reason;
  ctx.dialogs.Message(ctx.parent, text, kCaption, MessageIcon::Exclamation);
}

// The chosen name with the extension ".EMF". A name that already ends in
// ".emf" in another case keeps it: file names are case-sensitive here, and the
// file the user picked is the one to replace, not a new one beside it.
std::string MetafileName(const std::string& chosen) {
  const std::string replaced = ReplaceExtension(chosen, ".EMF");
  const bool hasEmfExtension = replaced.size() == chosen.size() &&
                               QtPath(chosen).endsWith(QLatin1String(".emf"), Qt::CaseInsensitive);
  return hasEmfExtension ? chosen : replaced;
}

// The printable area: the painter's origin is its top-left corner, as the
// page of a printer's drawing surface always is. Laid out in pixels of the
// screen's density, each drawn as dpi / 96 device pixels.
PrintPage PageOf(QPrinter& printer) {
  const QRect area = printer.pageRect(QPrinter::DevicePixel).toRect();
  return ComputePrintPage(printer.logicalDpiX(), printer.logicalDpiY(), area.width(),
                          area.height());
}

// The plot on the page, in pixels of the layout.
QRect PlotArea(const PrintGeometry& g) {
  return QRect(g.OriginX, g.OriginY, g.PlotWidth, g.PlotHeight);
}

void RedrawScreen(PictureContext& ctx) {
  if (ctx.drawPage) {
    ctx.drawPage(ctx.target);  // a window with a picture of its own
  } else if (ctx.s.Host) {
    ctx.s.Host->Redraw();
  } else {
    FrameResult frame;
    RedrawDiagram(ctx.s, ctx.target, frame);
  }
}

// The page on its own target; false when a ticked function was invalid.
bool DrawPage(PictureContext& ctx, const DrawTarget& page) {
  if (ctx.drawPage) {
    ctx.drawPage(page);
    return true;
  }
  FrameResult frame;
  return RedrawDiagram(ctx.s, page, frame);
}

// The picture in a 24-bit bitmap file's bytes.
bool EncodeBmp(const QImage& image, QByteArray& bytes) {
  QBuffer buffer(&bytes);
  return buffer.open(QIODevice::WriteOnly) &&
         image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
}

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

std::string PlatformTempDir() {
  QString dir = QDir::tempPath();
  // Qt gives nothing when TMPDIR names a folder that does not exist.
  if (dir.isEmpty()) dir = QStringLiteral("/tmp");
  dir = QDir::toNativeSeparators(dir);
  if (!dir.endsWith(QDir::separator())) dir += QDir::separator();
  return LocalPath(dir);
}

int PrinterFontHeight(int screenFontHeight) { return RoundPixel(screenFontHeight * 1.5); }

void CopyPictureToClipboard(PictureContext& ctx) {
  ctx.screen.Finish();
  QGuiApplication::clipboard()->setImage(ctx.screen.Image());
}

void PrintPicture(PictureContext& ctx, QPrinter& printer) {
  const PrintPage page = PageOf(printer);
  const PrintGeometry& geometry = page.Geometry;
  PainterSurface paper(printer, PrinterFontHeight(ctx.screen.FontHeight()));
  paper.SetScale(page.ScaleX, page.ScaleY);
  paper.SetClip(PlotArea(geometry));
  // The page clears the window's picture as it starts, as the screen's
  // redraw that follows does.
  DrawTarget t = ctx.target;
  t.DrawCanvas = &paper;
  t.MainPicture = false;
  t.OriginX = geometry.OriginX;
  t.OriginY = geometry.OriginY;
  t.PlotWidth = geometry.PlotWidth;
  t.PlotHeight = geometry.PlotHeight;
  PrintPenWidths pens = ComputePrintPenWidths(false);

  if (ctx.dialogs.Print(ctx.parent, printer)) {
    if (ctx.dialogs.YesNo(
            ctx.parent,
            QCoreApplication::translate("tv::ui::PictureOutput", "Noircir les traits ?"), kCaption,
            MessageIcon::None))
      pens = ComputePrintPenWidths(true);
    t.CurvePenWidth = pens.Curve;
    t.FramePenWidth = pens.Frame;
    printer.setDocName(kCaption);
    if (!paper.Begin()) {
      // Without this the user would wait for a page that never comes.
      ctx.dialogs.Message(ctx.parent,
                          QCoreApplication::translate("tv::ui::PictureOutput",
                                                      "Impossible de lancer l'impression."),
                          kCaption, MessageIcon::Exclamation);
    } else {
      t.ForceBlack = 1;
      t.OnPaper = 1;
      // The page writes the margins the window shows.
      t.MarginPlotWidth = ctx.target.PlotWidth;
      t.MarginPlotHeight = ctx.target.PlotHeight;
      DrawPage(ctx, t);
      if (!paper.End())
        ctx.dialogs.Message(ctx.parent,
                            QCoreApplication::translate("tv::ui::PictureOutput",
                                                        "L'impression n'a pas pu aboutir."),
                            kCaption, MessageIcon::Exclamation);
    }
  }
  RedrawScreen(ctx);
}

void SavePictureAsEmf(PictureContext& ctx) {
  DiagramState& s = ctx.s;
  // PlotWidth × (PlotHeight + 1)
  EmfSurface metafile(ctx.target.PlotWidth, ctx.target.PlotHeight);
  const QString preset = QtPath(ReplaceExtension(s.CurrentFileName, ".EMF"));
  const QString chosen = ctx.dialogs.SaveFileName(
      ctx.parent,
      QCoreApplication::translate("tv::ui::PictureOutput", "Métafichiers évolués (*.emf)|*.emf"),
      QStringLiteral("*.EMF"), preset);
  if (!chosen.isEmpty()) {
    s.CurrentFileName = MetafileName(LocalPath(chosen));
    // The window's picture is cleared as the metafile starts, as the
    // screen's redraw that follows does.
    DrawTarget t = ctx.target;
    t.DrawCanvas = &metafile;
    t.MainPicture = false;
    t.ForceBlack = 1;
    t.OnPaper = 1;
    DrawPage(ctx, t);
    std::string error;
    if (!metafile.Finish(s.CurrentFileName, &error))
      WriteFailed(ctx, s.CurrentFileName, FromCp1252(error));
  }
  RedrawScreen(ctx);
}

void EditPictureInPaintProgram(PictureContext& ctx, DesktopLauncher& launcher) {
  DiagramState& s = ctx.s;
  s.CurrentFileName = PlatformTempDir() + kPaintFileName;
  ctx.screen.Finish();
  QByteArray bytes;
  if (!EncodeBmp(ctx.screen.Image(), bytes)) {
    WriteFailed(ctx, s.CurrentFileName,
                QCoreApplication::translate("tv::ui::PictureOutput",
                                            "l'image n'a pas pu être codée en BMP"));
    return;
  }
  std::string error;
  if (!WriteBytes(s.CurrentFileName, bytes, &error)) {
    // No program is started on a file that is not there or is an old one.
    WriteFailed(ctx, s.CurrentFileName, FromCp1252(error));
    return;
  }
  const QString file = QtPath(s.CurrentFileName);
  for (const char* name : kPaintPrograms) {
    const QString program = launcher.FindProgram(QString::fromLatin1(name));
    if (!program.isEmpty() && launcher.StartProgram(program, {file})) return;
  }
  // The bitmap is there all the same: say where, and what to install, so
  // that it can be opened by hand. Once, whether the desktop's opener could
  // not start or found no application for the file afterwards.
  Dialogs* const dialogs = &ctx.dialogs;
  const QPointer<QWidget> parent = ctx.parent;
  const auto noPaintProgram = [dialogs, parent, file] {
    dialogs->Message(
        parent,
        QCoreApplication::translate("tv::ui::PictureOutput",
                                    "L'image a été enregistrée dans « %1 », mais aucun programme "
                                    "de dessin n'a pu l'ouvrir. Installez-en un, par exemple "
                                    "KolourPaint, Pinta ou GIMP, ou ouvrez ce fichier vous-même.")
            .arg(QDir::toNativeSeparators(file)),
        kCaption, MessageIcon::Exclamation);
  };
  if (!launcher.OpenUrl(QUrl::fromLocalFile(file), noPaintProgram)) noPaintProgram();
}

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
  const std::string temporary = CreateSweptTemporary(LocalPath(QDir::tempPath()), &temporaryError);
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
    const PrintPage page = PageOf(printer);
    PainterSurface paper(printer, PrinterFontHeight(FontHeightOf(screen)));
    paper.SetScale(page.ScaleX, page.ScaleY);
    paper.SetClip(PlotArea(page.Geometry));
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
