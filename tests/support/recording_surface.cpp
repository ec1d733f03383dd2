// Recording surface: keeps every drawing call with the pen and colour in force.
#include "support/recording_surface.h"

namespace tv {

void RecordingSurface::SetPen(PenStyle style, int width) {
  style_ = style;
  width_ = width;
  RecordedOp op(RecordedOp::Pen);
  op.w = width;
  op.h = static_cast<int>(style);
  op.penStyle = style;
  op.penWidth = width;
  Ops.push_back(std::move(op));
}

void RecordingSurface::SetColour(Rgb colour) {
  colour_ = colour;
  RecordedOp op(RecordedOp::Colour);
  op.colour = colour;
  Ops.push_back(std::move(op));
}

void RecordingSurface::MoveTo(int x, int y) {
  penX_ = x;
  penY_ = y;
  if (RecordMoves) {
    RecordedOp op(RecordedOp::Move);
    op.x = x;
    op.y = y;
    Ops.push_back(std::move(op));
  }
}

void RecordingSurface::LineTo(int x, int y) {
  RecordedOp op(RecordedOp::Line);
  op.x = penX_;
  op.y = penY_;
  op.w = x;
  op.h = y;
  op.colour = colour_;
  op.penWidth = width_;
  op.penStyle = style_;
  Ops.push_back(std::move(op));
  penX_ = x;
  penY_ = y;
}

void RecordingSurface::TextOut(int x, int y, std::string_view text) {
  RecordedOp op(RecordedOp::Text);
  op.x = x;
  op.y = y;
  op.colour = colour_;
  op.text = std::string(text);
  Ops.push_back(std::move(op));
}

int RecordingSurface::TextWidth(std::string_view text) {
  return CharWidth * static_cast<int>(text.size());
}

int RecordingSurface::TextHeight(std::string_view) { return fontHeight_; }

void RecordingSurface::SetFontHeight(int pixels) {
  fontHeight_ = pixels;
  RecordedOp op(RecordedOp::Font);
  op.h = pixels;
  Ops.push_back(std::move(op));
}

void RecordingSurface::FillWhite(int x, int y, int w, int h) {
  RecordedOp op(RecordedOp::Fill);
  op.x = x;
  op.y = y;
  op.w = w;
  op.h = h;
  Ops.push_back(std::move(op));
}

std::vector<RecordedOp> RecordingSurface::Lines() const {
  std::vector<RecordedOp> out;
  for (const auto& op : Ops)
    if (op.kind == RecordedOp::Line) out.push_back(op);
  return out;
}

std::vector<RecordedOp> RecordingSurface::Texts() const {
  std::vector<RecordedOp> out;
  for (const auto& op : Ops)
    if (op.kind == RecordedOp::Text) out.push_back(op);
  return out;
}

const RecordedOp* RecordingSurface::FindText(std::string_view text) const {
  for (const auto& op : Ops)
    if (op.kind == RecordedOp::Text && op.text == text) return &op;
  return nullptr;
}

bool RecordingSurface::HasLine(int x1, int y1, int x2, int y2) const {
  for (const auto& op : Ops) {
    if (op.kind != RecordedOp::Line) continue;
    if (op.x == x1 && op.y == y1 && op.w == x2 && op.h == y2) return true;
    if (op.x == x2 && op.y == y2 && op.w == x1 && op.h == y1) return true;
  }
  return false;
}

}  // namespace tv
