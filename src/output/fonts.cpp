// Loading DejaVu Sans, finding the pixel size that gives a wanted character cell, and the command
// line's own font configuration.
#include "output/fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>
#include <QStringList>
#include <fontconfig/fontconfig.h>
#include <algorithm>
#include <cstdlib>

#include <unistd.h>

namespace tv::ui {

namespace {

constexpr char kRegularFile[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr char kBoldFile[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr char kFallbackFamily[] = "DejaVu Sans";
constexpr int kMaxCell = 512;

// DejaVu Sans as the font configuration of Debian draws it: grey antialiasing
// without colour fringes, slight hinting, FreeType's own hinter, its default
// filter; no hinting below 7.5 pixels.
constexpr char kCommandLineConfiguration[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <match target="font">
    <edit name="antialias" mode="assign"><bool>true</bool></edit>
    <edit name="hinting" mode="assign"><bool>true</bool></edit>
    <edit name="hintstyle" mode="assign"><const>hintslight</const></edit>
    <edit name="autohint" mode="assign"><bool>false</bool></edit>
    <edit name="lcdfilter" mode="assign"><const>lcddefault</const></edit>
  </match>
  <match target="font">
    <test name="family"><string>DejaVu Sans</string></test>
    <test qual="all" name="pixelsize" compare="less"><double>7.5</double></test>
    <edit name="hinting" mode="assign"><bool>false</bool></edit>
  </match>
</fontconfig>
)";

// Whether the command line's configuration holds the font: it is read from
// its file where it lies, not copied into memory by Qt.
bool fontInConfiguration = false;

QString LoadFamily() {
  if (fontInConfiguration) return QString::fromLatin1(kFallbackFamily);
  const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(kRegularFile));
  const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
  return families.isEmpty() ? QString::fromLatin1(kFallbackFamily) : families.front();
}

// The bold face is read at the first bold font (the windows'): a picture has
// none, and reading the file was a tenth of the fonts' start-up.
void LoadBold() {
  static const bool loaded = QFontDatabase::addApplicationFont(QString::fromLatin1(kBoldFile)) >= 0;
  (void)loaded;
}

QFont BaseFont(int pixels, bool bold) {
  QFont font(ProgramFontFamily());
  if (bold) LoadBold();
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setItalic(false);
  font.setStyleStrategy(QFont::PreferMatch);
  return font;
}

}  // namespace

QString ProgramFontFamily() {
  static const QString family = LoadFamily();
  return family;
}

QFont WindowFont() { return BaseFont(13, true); }

int PixelSizeForCell(int cell) {
  cell = std::clamp(cell, 1, kMaxCell);
  static QHash<int, int> known;
  if (auto it = known.constFind(cell); it != known.constEnd()) return it.value();
  int found = 1;
  for (int pixels = cell; pixels > 1; --pixels) {
    if (QFontMetrics(BaseFont(pixels, false)).height() <= cell) {
      found = pixels;
      break;
    }
  }
  known.insert(cell, found);
  return found;
}

bool UseCommandLineFontConfiguration() {
  // A configuration the user chose is kept; without the font's file there
  // would be no font at all.
  if (std::getenv("FONTCONFIG_FILE") || std::getenv("FONTCONFIG_PATH")) return false;
  if (access(kRegularFile, R_OK) != 0) return false;
  FcConfig* config = FcConfigCreate();
  if (!config) return false;
  const bool set =
      FcConfigParseAndLoadFromMemory(
          config, reinterpret_cast<const FcChar8*>(kCommandLineConfiguration), FcTrue) &&
      FcConfigBuildFonts(config) &&
      FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(kRegularFile)) &&
      FcConfigSetCurrent(config);
  fontInConfiguration = set;
  // Once current, the library holds its own reference.
  FcConfigDestroy(config);
  return set;
}

QFont PlotFont(int cell) { return BaseFont(PixelSizeForCell(cell), false); }

}  // namespace tv::ui
