// Picture commands of the Fichier menu: clipboard, printer, enhanced metafile, paint program.
#pragma once

#include <functional>

#include "core/diagram_state.h"
#include "output/picture_output.h"
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

}  // namespace tv::ui
