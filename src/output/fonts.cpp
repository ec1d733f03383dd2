// Loading DejaVu Sans and finding the pixel size that gives a wanted character cell.
#include "output/fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>
#include <QStringList>
#include <algorithm>

namespace tv::ui {

namespace {

constexpr char kRegularFile[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr char kBoldFile[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr char kFallbackFamily[] = "DejaVu Sans";
constexpr int kMaxCell = 512;

QString LoadFamily() {
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

QFont PlotFont(int cell) { return BaseFont(PixelSizeForCell(cell), false); }

}  // namespace tv::ui
