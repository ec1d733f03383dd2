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
  QString family;
  for (const char* file : {kRegularFile, kBoldFile}) {
    const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    if (id < 0 || !family.isEmpty()) continue;
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (!families.isEmpty()) family = families.front();
  }
  return family.isEmpty() ? QString::fromLatin1(kFallbackFamily) : family;
}

QFont BaseFont(int pixels, bool bold) {
  QFont font(ProgramFontFamily());
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
