// The diagram's picture files and printed page for the command line, and the page they share.
#pragma once

#include <functional>
#include <string>

#include "core/diagram_state.h"
#include "render/draw_target.h"

class QByteArray;
class QImage;
class QPrinter;
class QRect;

namespace tv {
struct PrintGeometry;
struct PrintPage;
}  // namespace tv

namespace tv::ui {

// The character cell of the printer's font: the screen's times 1.5, rounded.
int PrinterFontHeight(int screenFontHeight);

// The page of printer laid out in pixels of the screen's density, each drawn
// as dpi / 96 device pixels, from its printable area.
PrintPage PrinterPage(QPrinter& printer);
// The plot on the page, in pixels of the layout.
QRect PrintedPlotArea(const PrintGeometry& g);
// The picture in a 24-bit bitmap file's bytes; false when it cannot be coded.
bool EncodeBmp(const QImage& image, QByteArray& bytes);

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
