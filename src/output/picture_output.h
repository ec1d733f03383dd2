// The picture out of the program: clipboard, printer, enhanced metafile, paint program, picture
// files.
#pragma once

#include <functional>
#include <string>

#include "core/diagram_state.h"
#include "render/draw_target.h"

class QPrinter;
class QWidget;

namespace tv::ui {

class Dialogs;
class DesktopLauncher;
class QtSurface;

// What the picture and worksheet commands need beside the host (s.Host,
// whose redraw brings the screen back and whose boxes say what is drawn).
struct PictureContext {
  QWidget* parent = nullptr;     // owner of the dialogs
  tv::DiagramState& s;           // the document; its file name follows the saved picture
  const tv::DrawTarget& target;  // the window's picture (target.ScreenCanvas == &screen)
  Dialogs& dialogs;
  QtSurface& screen;
  // What a page shows, drawn on the target given; when empty, the diagram
  // (RedrawDiagram). A window with a picture of its own prints through it.
  std::function<void(const tv::DrawTarget& page)> drawPage = {};
};

// Paint programs tried in turn before the desktop's default application.
inline constexpr const char* kPaintPrograms[] = {"kolourpaint", "pinta", "gimp"};
// The bitmap handed to the paint program, in the temporary directory.
inline constexpr char kPaintFileName[] = "Temporaire.bmp";

// The platform's temporary directory, looked up anew, ending with a separator.
std::string PlatformTempDir();

// The character cell of the printer's font: the screen's times 1.5, rounded.
int PrinterFontHeight(int screenFontHeight);

// "Presse-papier (Bitmap)": the window's picture as last drawn, as an image
// on the clipboard. Nothing is redrawn.
void CopyPictureToClipboard(PictureContext& ctx);

// "Imprimer", on a printer chosen beforehand: the page geometry is taken from
// it before the print dialog opens. Prints in black; the screen values come
// back and the window is redrawn whether printed or cancelled.
void PrintPicture(PictureContext& ctx, QPrinter& printer);

// "Sauver l'image (.EMF)": the diagram in black as an enhanced metafile of
// the window's PlotWidth × (PlotHeight + 1), under a name chosen from CurrentFileName.
void SavePictureAsEmf(PictureContext& ctx);

// "Modifier l'image avec Mspaint (.Bmp)": the window's picture as a 24-bit
// Temporaire.bmp in the temporary directory, opened in the first paint program
// found (kPaintPrograms), else with the desktop's default application.
void EditPictureInPaintProgram(PictureContext& ctx, DesktopLauncher& launcher);

// For the command line, without a window: draws the diagram on a picture of
// the size of screen (the command line's main picture, whose font it takes)
// and writes it to path, replacing it atomically. The format follows the
// extension, in any case: .png and .bmp as on screen, .svg as on screen
// (vector), .emf in black as "Sauver l'image". The margin log and the curve
// capture are left out of this redraw. False with a French reason (Windows-1252) in *error on
// failure: an unknown extension, an invalid ticked function, a file that cannot be written.
bool ExportPicture(tv::DiagramState& s, const tv::DrawTarget& screen, const std::string& path,
                   std::string* error);

// For the command line: the page "Imprimer" gives on a PDF printer, A4
// portrait with the printer's own margins, without a question: in black, pen
// widths 3 and 2 (4 and 3 when darker, the answer Yes to "Noircir les
// traits ?"), the document titled "Tracevue", written to path and replacing
// it atomically; the window's margins those of screen. The margin log and the
// curve capture are left out of this redraw. False with a French reason
// (Windows-1252) in *error on failure.
bool ExportPrintedPage(tv::DiagramState& s, const tv::DrawTarget& screen, const std::string& path,
                       bool darker, std::string* error);

}  // namespace tv::ui
