// Where a picture is drawn (DrawTarget) and what its frame derived (FrameResult), apart from the
// document the renderers draw.
#pragma once

#include <array>
#include <cstdint>

namespace tv {

class PlotSurface;
class SweepMemo;

// The surface a renderer draws the document onto and how: the window's
// picture, a printed page, a metafile, a picture file or a recorder. The
// renderers only read it; each output builds its own.
struct DrawTarget {
  // DrawCanvas is where primitives draw; ScreenCanvas is the on-screen image,
  // the only surface ClearRect ever touches. Neither is owned.
  PlotSurface* DrawCanvas = nullptr;
  PlotSurface* ScreenCanvas = nullptr;
  std::int32_t PlotWidth = 0, PlotHeight = 0;
  std::int32_t OriginX = 0, OriginY = 0;
  std::int32_t CurvePenWidth = 0, FramePenWidth = 0;
  std::uint8_t ForceBlack = 0;
  // Set while a printed page, its PDF or a metafile is drawn: every curve as
  // wide as the gain curves (phase curves in dots of the paper), each named
  // at its end, cut to the frame, and the decade lines clear of the legend.
  // The screen and its pictures are drawn without it.
  std::uint8_t OnPaper = 0;
  // The window's plot while a page is drawn at another size: the Bode view
  // then searches the margins at the window's columns and scales, so that
  // the page writes the values the window shows. 0 when drawing at the
  // window's own size.
  std::int32_t MarginPlotWidth = 0, MarginPlotHeight = 0;
  // The main picture, the window's or the command line's: only its frame
  // writes beyond the picture (the curve capture into the points editor, the
  // margin log) and tells the windows that follow it. A page or a picture
  // file drawn apart does neither.
  bool MainPicture = true;
  // Where the views keep the responses they sampled for the next redraw
  // (the window's picture); none: every sample is computed.
  SweepMemo* Sweeps = nullptr;
};

// The window's picture at start-up: pens 2 (curves) and 1 (frame), colour,
// no origin offset.
inline DrawTarget ScreenTarget(PlotSurface* surface, int width, int height) {
  DrawTarget t;
  t.DrawCanvas = surface;
  t.ScreenCanvas = surface;
  t.PlotWidth = width;
  t.PlotHeight = height;
  t.CurvePenWidth = 2;
  t.FramePenWidth = 1;
  return t;
}

// What the last frame drawn derived. A frame overwrites only what its view
// derives: the Black view leaves the Bode scales of an earlier frame. The
// main window keeps the one of its picture for the cursor's values, the
// point capture and the read-outs.
struct FrameResult {
  // Bode scales: the 0 dB row, pixels per dB and per radian, the -180
  // degree row (mode 2 only).
  std::uint16_t MidY = 0;
  double GainPixelsPerDb = 0;
  double PhasePixelsPerRad = 0;
  std::uint16_t Minus180Y = 0;
  // 0 once a sample could not be computed; the sweep stopped there.
  std::uint8_t ResponseValid = 0;
  // The functions whose curves the last sweep drew (H1..H3), set once a
  // sweep ran; the redraw copies them into the document's CurveEnabled.
  std::array<std::uint8_t, 3> CurveEnabled{};
  bool Swept = false;
  // The curve capture began in this frame: the measured points are
  // forgotten (the redraw empties them) and not drawn after it.
  bool CaptureBegun = false;
};

}  // namespace tv
