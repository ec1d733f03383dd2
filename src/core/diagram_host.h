// What the drawing code needs from the window that hosts it: boxes, panel, captions, editor, beep.
#pragma once

#include <string_view>

namespace tv {

class DiagramHost {
 public:
  virtual ~DiagramHost() = default;

  // Check boxes CheckBox1..CheckBox4 (4 is H1.H2.H3): the master copy of
  // which curves are shown.
  virtual bool IsCurveBoxChecked(int box) const = 0;
  // Sets a box from program code; when its state changes, its click handling
  // runs at once, nested inside the caller (a redraw, the product caption).
  virtual void SetCurveBoxChecked(int box, bool checked) = 0;

  // Panel1 red (an invalid ticked function) or back to the button face.
  virtual void SetPanelInvalid(bool invalid) = 0;

  // Captions of the six parameter radio buttons from the current values.
  virtual void RefreshParameterCaptions() = 0;

  // The points editor's text box (Memo1).
  virtual void ClearEditorText() = 0;
  virtual void AppendEditorLine(std::string_view line) = 0;

  // The main window's vertical scroll position back to the top.
  virtual void ScrollToTop() {}

  // One default beep of the platform. AlarmBeep sounds it 20 times.
  virtual void Beep() = 0;
};

// The system's default beep, 20 times in a row.
void AlarmBeep(DiagramHost* host);

}  // namespace tv
