// The one interface to the window that hosts the diagram: redraw, boxes mirrored, panel, captions,
// editor, beep, dialogs, listeners.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "core/work_ahead.h"

namespace tv {

struct DiagramState;

namespace ui {
class Dialogs;  // the windows' questions to the user, in the Qt layer
}

// A window that follows the main picture (the time response, the read-outs):
// told after every redraw of the diagram, whatever started it.
class RedrawListener {
 public:
  virtual ~RedrawListener() = default;
  // drawn is false when a ticked function did not compile and nothing was
  // drawn; the state's coefficients are then not those of the texts.
  virtual void DiagramRedrawn(const DiagramState& s, bool drawn) = 0;

  // What the window will compute from the evaluated texts alone, handed
  // over before the main picture is drawn to run on a second core beside
  // the drawing. Called on the window's thread, every texts evaluated; the
  // work reads the state and what it captured, touches no widget, and
  // leaves its result for the DiagramRedrawn that follows. A window forgets
  // any result it still holds when asked again. None: nothing to compute.
  virtual std::function<void()> ComputeAhead(const DiagramState&) { return {}; }
  // The drawing changed what the work read (the curves it swept): its
  // result is not to be used.
  virtual void DropAhead() {}
};

// The main window, or the command line without one: what only a window
// does. The document (DiagramState) holds the work and the selection; the
// window's controls mirror it and are reached through here: the renderers,
// the panel, the points editor, the entry dialog, the picture commands.
class DiagramHost {
 public:
  DiagramHost() = default;
  virtual ~DiagramHost() = default;
  // A copy follows the same listeners; the work running for the original
  // stays the original's, and a host given another's listeners first sees
  // its own work done and dropped.
  DiagramHost(const DiagramHost& other) : listeners_(other.listeners_) {}
  DiagramHost& operator=(const DiagramHost& other) {
    if (this != &other) {
      FinishAhead(false);
      listeners_ = other.listeners_;
    }
    return *this;
  }

  // The host's redraw: the redraw driver on its picture, then the picture
  // shown (the window counts and repaints; without a window, nothing).
  virtual void Redraw() = 0;
  // The picture emptied to white, before a load fills the state anew.
  virtual void ClearPicture() = 0;

  // Program code changed the tick of box 1..4 (4 is H1.H2.H3) in the
  // document: the window sets CheckBox1..4 to match and runs the box's click
  // handling at once, nested inside the caller (a redraw, the product caption).
  virtual void CurveTickChanged(int box) = 0;

  // Panel1 red (an invalid ticked function) or back to the button face.
  virtual void SetPanelInvalid(bool invalid) = 0;

  // CheckBox4's caption from the ticks of H1..H3 in the document ("H1.H3").
  virtual void UpdateProductCaption() = 0;

  // Captions of the six parameter radio buttons from the current values.
  virtual void RefreshParameterCaptions() = 0;
  // A parameter's controls are available only while a function text uses it.
  virtual void RefreshParameterAvailability() = 0;

  // The points editor's text box (Memo1).
  virtual void ClearEditorText() = 0;
  virtual void AppendEditorLine(std::string_view line) = 0;

  // The main window's vertical scroll position back to the top.
  virtual void ScrollToTop() {}

  // One default beep of the platform. AlarmBeep sounds it 20 times.
  virtual void Beep() = 0;

  // The windows' questions to the user: messages, yes/no, input, file and
  // print dialogs, modal windows. The command line asks nothing: none.
  virtual ui::Dialogs* Questions() { return nullptr; }

  // Listeners are not owned; one removes itself before it goes away.
  void AddRedrawListener(RedrawListener* listener) {
    if (listener && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
      listeners_.push_back(listener);
  }
  void RemoveRedrawListener(RedrawListener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
  }
  // Called by the redraw once the texts are evaluated, before it draws: the
  // listeners' work started beside the drawing.
  void StartAhead(const DiagramState& s) {
    // A redraw nested in another's drawing: the outer one's work is over first.
    FinishAhead(false);
    std::vector<std::function<void()>> works;
    for (RedrawListener* listener : listeners_)
      if (std::function<void()> work = listener->ComputeAhead(s)) {
        works.push_back(std::move(work));
        aheadOf_.push_back(listener);
      }
    if (works.empty()) return;
    ++aheadCount_;
    if (!ahead_) ahead_ = std::make_unique<WorkAhead>();
    ahead_->Start(std::move(works));
  }
  // After the drawing: every work done, its results dropped unless keep.
  void FinishAhead(bool keep) {
    if (aheadOf_.empty()) return;
    const std::vector<RedrawListener*> of = std::exchange(aheadOf_, {});
    ahead_->Finish();
    if (!keep)
      for (RedrawListener* listener : of) listener->DropAhead();
  }

  // How many redraws had listeners' work computed beside their drawing.
  int AheadCount() const { return aheadCount_; }

  // Called by the redraw at its end. A listener may remove itself meanwhile.
  void NotifyRedrawn(const DiagramState& s, bool drawn) {
    const std::vector<RedrawListener*> now = listeners_;
    for (RedrawListener* listener : now)
      if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end())
        listener->DiagramRedrawn(s, drawn);
  }

 private:
  std::vector<RedrawListener*> listeners_;
  std::vector<RedrawListener*> aheadOf_;  // those whose work is running
  std::unique_ptr<WorkAhead> ahead_;      // made at the first work
  int aheadCount_ = 0;
};

// The system's default beep, 20 times in a row.
void AlarmBeep(DiagramHost* host);

}  // namespace tv
