// The calls that draw a picture's frame, kept so that the same frame is known when it comes again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tv::ui {

// One call of the plot surface, with its arguments as the surface got them.
struct FrameCall {
  enum class Kind : std::uint8_t { Pen, Colour, Move, Line, Text, Font, Fill };
  Kind What = Kind::Move;
  int A = 0, B = 0, C = 0, D = 0;
  std::string Text;
  friend bool operator==(const FrameCall&, const FrameCall&) = default;
};

using FrameCalls = std::vector<FrameCall>;

// Whether the frame's first painting call is a white fill over the whole
// picture of width × height device pixels at ratio device pixels to a
// pixel: then what the frame leaves on the picture depends on its calls
// alone, not on what was there before.
inline bool CoversPicture(const FrameCalls& calls, int width, int height, double ratio) {
  for (const FrameCall& c : calls) {
    switch (c.What) {
      case FrameCall::Kind::Pen:
      case FrameCall::Kind::Colour:
      case FrameCall::Kind::Move:
      case FrameCall::Kind::Font: continue;
      case FrameCall::Kind::Fill:
        return c.A <= 0 && c.B <= 0 && (static_cast<double>(c.A) + c.C) * ratio >= width &&
               (static_cast<double>(c.B) + c.D) * ratio >= height;
      default: return false;
    }
  }
  return false;
}

}  // namespace tv::ui
