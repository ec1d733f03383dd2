// The pictures drawn through Qt's SVG and printing modules or libEMF, reached through one table:
// the quick command line is linked without those libraries.
#pragma once

#include <functional>
#include <string>

#include "core/diagram_state.h"
#include "render/draw_target.h"
#include "render/plot_surface.h"

class QByteArray;

namespace tv::ui {

struct VectorOutput {
  // The diagram as .svg or .emf, and the printed page as .pdf, for the
  // command line (output/picture_output.h).
  bool (*ExportPicture)(DiagramState& s, const DrawTarget& screen, const std::string& path,
                        std::string* error);
  bool (*ExportPrintedPage)(DiagramState& s, const DrawTarget& screen, const std::string& path,
                            bool darker, std::string* error);
  // A width × height SVG picture with the font cell fontHeight, of what
  // draw puts on its surface, into bytes; false when it cannot be coded.
  bool (*SvgPicture)(QByteArray& bytes, int width, int height, int fontHeight,
                     const std::function<void(PlotSurface&)>& draw);
};

namespace detail {
inline const VectorOutput* linkedVectorOutput = nullptr;
}

// The table of a program linked with the vector pictures (every program
// with the windows: they are linked whole, and fill it before main); null in
// the quick command line, which hands the runs that need it to the whole
// program before it starts them.
inline const VectorOutput* LinkedVectorOutput() { return detail::linkedVectorOutput; }

}  // namespace tv::ui
