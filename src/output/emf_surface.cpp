// Enhanced metafile recording through libEMF's GDI calls, text measured through Qt.
#include "output/emf_surface.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "files/file_io.h"
#include "output/cp1252.h"
#include "output/fonts.h"

// libEMF brings the Windows headers, whose macros (min, max, TextOut, ...)
// clash with Qt, the standard library and our own names: it comes last, and
// nothing of it leaves this file.
#include <libEMF/emf.h>
#undef min
#undef max
#undef TextOut

namespace tv::ui {

namespace {

constexpr int kMaxPictureSide = 1 << 20;  // keeps the frame within 32 bits
constexpr int kMaxFontCell = 512;

COLORREF ToColorRef(Rgb c) { return RGB(c.R, c.G, c.B); }

int ClampedEnd(int start, int extent) {
  const std::int64_t end = std::int64_t{start} + extent + 1;
  return static_cast<int>(std::clamp<std::int64_t>(end, INT32_MIN, INT32_MAX));
}

// 0.01 mm units of a length of `pixels` at the reference resolution.
LONG FrameUnits(int pixels) {
  return static_cast<LONG>(std::lround(pixels * 2540.0 / EmfSurface::kReferenceDpi));
}

std::vector<WCHAR> ToUtf16(const QString& text) {
  std::vector<WCHAR> out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (QChar c : text) out.push_back(static_cast<WCHAR>(c.unicode()));
  return out;
}

}  // namespace

struct EmfSurface::Impl {
  int width = 1, height = 1;
  // The metafile is recorded into memory and written to disk only on Finish.
  char* buffer = nullptr;
  std::size_t bufferSize = 0;
  FILE* stream = nullptr;
  HDC dc = 0;
  bool finished = false;

  HPEN pen = 0;
  PenStyle style = PenStyle::Solid;
  int penWidth = 1;
  Rgb colour{};

  HFONT font = 0;
  int fontHeight = kDefaultFontHeight;
  QFont qfont;

  bool Drawing() const { return dc != 0; }

  void SelectNewPen() {
    HPEN created =
        CreatePen(style == PenStyle::Dotted ? PS_DOT : PS_SOLID, penWidth, ToColorRef(colour));
    if (!created) return;
    SelectObject(dc, created);
    if (pen) DeleteObject(pen);
    pen = created;
  }

  void SelectNewFont() {
    static const WCHAR kFace[] = {'D', 'e', 'j', 'a', 'V', 'u', ' ', 'S', 'a', 'n', 's', 0};
    // A positive height asks for the character cell, as on screen.
    HFONT created = CreateFontW(fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, kFace);
    if (!created) return;
    SelectObject(dc, created);
    if (font) DeleteObject(font);
    font = created;
  }

  // Ends the recording: our objects are deselected and deleted so that the
  // metafile frees every handle it made, then the metafile is completed into
  // the memory stream.
  void Close() {
    if (dc) {
      SelectObject(dc, GetStockObject(BLACK_PEN));
      SelectObject(dc, GetStockObject(SYSTEM_FONT));
      if (pen) DeleteObject(pen);
      if (font) DeleteObject(font);
      pen = 0;
      font = 0;
      HENHMETAFILE metafile = CloseEnhMetaFileWithFILE(dc);
      if (metafile) DeleteEnhMetaFile(metafile);
      dc = 0;
    }
    if (stream) {
      std::fclose(stream);
      stream = nullptr;
    }
  }

  ~Impl() {
    Close();
    std::free(buffer);
  }
};

EmfSurface::EmfSurface(int plotWidth, int plotHeight) : d_(std::make_unique<Impl>()) {
  d_->width = std::clamp(plotWidth, 1, kMaxPictureSide);
  d_->height = std::clamp(plotHeight, 0, kMaxPictureSide - 1) + 1;
  d_->qfont = PlotFont(d_->fontHeight);

  d_->stream = open_memstream(&d_->buffer, &d_->bufferSize);
  if (!d_->stream) return;
  const RECT frame{0, 0, FrameUnits(d_->width), FrameUnits(d_->height)};
  // The library takes the description as strings ended by a null, the last
  // one followed by a second null, and reads up to the third null it meets:
  // the array must hold all three.
  static const WCHAR kDescription[] = {'T', 'r', 'a', 'c', 'e', 'v', 'u', 'e', 0, 0, 0};
  d_->dc = CreateEnhMetaFileWithFILEW(0, d_->stream, &frame, kDescription);
  if (!d_->dc) {
    d_->Close();
    return;
  }

  // Picture pixels are mapped onto the frame, whatever the resolution of the
  // reference device the metafile library assumes.
  const double deviceXPerUnit =
      GetDeviceCaps(d_->dc, HORZRES) / (GetDeviceCaps(d_->dc, HORZSIZE) * 100.0);
  const double deviceYPerUnit =
      GetDeviceCaps(d_->dc, VERTRES) / (GetDeviceCaps(d_->dc, VERTSIZE) * 100.0);
  SetMapMode(d_->dc, MM_ANISOTROPIC);
  SetWindowExtEx(d_->dc, d_->width, d_->height, nullptr);
  SetViewportExtEx(d_->dc, std::max(1, static_cast<int>(std::lround(frame.right * deviceXPerUnit))),
                   std::max(1, static_cast<int>(std::lround(frame.bottom * deviceYPerUnit))),
                   nullptr);

  // Text is written on an opaque white cell.
  SetBkMode(d_->dc, OPAQUE);
  SetBkColor(d_->dc, RGB(255, 255, 255));
  SetTextColor(d_->dc, ToColorRef(d_->colour));
  d_->SelectNewPen();
  d_->SelectNewFont();
}

EmfSurface::~EmfSurface() = default;

int EmfSurface::PictureWidth() const { return d_->width; }
int EmfSurface::PictureHeight() const { return d_->height; }
bool EmfSurface::IsOpen() const { return d_->Drawing(); }

void EmfSurface::SetPen(PenStyle style, int width) {
  width = std::max(width, 0);
  if (!d_->Drawing() || (style == d_->style && width == d_->penWidth)) return;
  d_->style = style;
  d_->penWidth = width;
  d_->SelectNewPen();
}

void EmfSurface::SetColour(Rgb colour) {
  if (!d_->Drawing() || colour == d_->colour) return;
  d_->colour = colour;
  SetTextColor(d_->dc, ToColorRef(colour));
  d_->SelectNewPen();
}

void EmfSurface::MoveTo(int x, int y) {
  if (d_->Drawing()) MoveToEx(d_->dc, x, y, nullptr);
}

void EmfSurface::LineTo(int x, int y) {
  if (d_->Drawing()) ::LineTo(d_->dc, x, y);
}

void EmfSurface::TextOut(int x, int y, std::string_view text) {
  if (!d_->Drawing() || text.empty()) return;
  const std::vector<WCHAR> utf16 = ToUtf16(FromCp1252(text));
  TextOutW(d_->dc, x, y, utf16.data(), static_cast<int>(utf16.size()));
}

int EmfSurface::TextWidth(std::string_view text) {
  return QFontMetrics(d_->qfont).horizontalAdvance(FromCp1252(text));
}

int EmfSurface::TextHeight(std::string_view) { return QFontMetrics(d_->qfont).height(); }

void EmfSurface::SetFontHeight(int pixels) {
  pixels = std::clamp(pixels, 1, kMaxFontCell);
  if (pixels == d_->fontHeight) return;
  d_->fontHeight = pixels;
  d_->qfont = PlotFont(pixels);
  if (d_->Drawing()) d_->SelectNewFont();
}

int EmfSurface::FontHeight() const { return d_->fontHeight; }

void EmfSurface::FillWhite(int x, int y, int w, int h) {
  if (!d_->Drawing() || w <= 0 || h <= 0) return;
  // Without a pen a rectangle covers one pixel less each way: w × h pixels.
  HGDIOBJ oldBrush = SelectObject(d_->dc, GetStockObject(WHITE_BRUSH));
  SelectObject(d_->dc, GetStockObject(NULL_PEN));
  Rectangle(d_->dc, x, y, ClampedEnd(x, w), ClampedEnd(y, h));
  SelectObject(d_->dc, d_->pen);
  if (oldBrush) SelectObject(d_->dc, oldBrush);
}

bool EmfSurface::Finish(const std::string& path, std::string* error) {
  auto fail = [&](const char* reason) {
    if (error) *error = reason;
    return false;
  };
  if (d_->finished) return fail("le m\xE9tafichier a d\xE9j\xE0 \xE9t\xE9 enregistr\xE9");
  d_->finished = true;
  const bool recorded = d_->Drawing();
  d_->Close();
  if (!recorded || !d_->buffer || d_->bufferSize == 0)
    return fail("le m\xE9tafichier n'a pas pu \xEAtre enregistr\xE9 en m\xE9moire");
  // Through the one writer of every file: its checks (no device or pipe is
  // replaced), its read-only handling and its reasons.
  return WriteFileAtomically(path, std::string_view(d_->buffer, d_->bufferSize), error);
}

}  // namespace tv::ui
