// Picture commands of the Fichier menu: clipboard, printer, enhanced metafile, paint program.
#include "ui/picture_commands.h"

#include <QBuffer>
#include <QByteArray>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPointer>
#include <QPrinter>
#include <QUrl>
#include <QWidget>
#include <string_view>

#include "core/diagram_host.h"
#include "files/file_io.h"
#include "output/cp1252.h"
#include "output/emf_surface.h"
#include "output/file_names.h"
#include "output/painter_surface.h"
#include "output/qt_surface.h"
#include "render/print_layout.h"
#include "render/redraw.h"
#include "ui/desktop_launcher.h"
#include "ui/dialogs.h"

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

// The page on its own target.
void DrawPage(PictureContext& ctx, const DrawTarget& page) {
  if (ctx.drawPage) {
    ctx.drawPage(page);
  } else {
    FrameResult frame;
    RedrawDiagram(ctx.s, page, frame);
  }
}

}  // namespace

void CopyPictureToClipboard(PictureContext& ctx) {
  ctx.screen.Finish();
  QGuiApplication::clipboard()->setImage(ctx.screen.Image());
}

void PrintPicture(PictureContext& ctx, QPrinter& printer) {
  const PrintPage page = PrinterPage(printer);
  const PrintGeometry& geometry = page.Geometry;
  PainterSurface paper(printer, PrinterFontHeight(ctx.screen.FontHeight()));
  paper.SetScale(page.ScaleX, page.ScaleY);
  paper.SetClip(PrintedPlotArea(geometry));
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
  if (!WriteFileAtomically(
          s.CurrentFileName,
          std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), &error)) {
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

}  // namespace tv::ui
