// The program's fonts: DejaVu Sans loaded from its files, so windows and pictures look alike
// everywhere.
#pragma once

#include <QFont>
#include <QString>

namespace tv::ui {

// Registers DejaVu Sans from the fonts-dejavu-core files (once, DejaVu Sans
// Bold at the first bold font; a QGuiApplication must exist) and returns the
// family to use. When the files are missing the family is still asked for by
// name.
QString ProgramFontFamily();

// The windows' font: 13 pixels, bold.
QFont WindowFont();

// The pixel size of the program's family whose character cell
// (QFontMetrics::height) is closest to cell without exceeding it: the largest
// size with a cell of at most `cell` pixels (1 when even that is too high).
int PixelSizeForCell(int cell);

// For a run without a window, before Qt reads any font: the font library
// is given a configuration of its own instead of the system's, where DejaVu
// Sans (registered by ProgramFontFamily) is the only font and is drawn as the
// system's defaults draw it. The same figure on every machine, and the
// system's configuration (some sixty files) and installed fonts are not read:
// a sixth of a batch figure's time. False, the system's configuration kept,
// when the user set one (FONTCONFIG_FILE, FONTCONFIG_PATH) or the font's file
// is missing.
bool UseCommandLineFontConfiguration();

// The plot's font for a character cell of `cell` pixels, plain style.
QFont PlotFont(int cell);

}  // namespace tv::ui
