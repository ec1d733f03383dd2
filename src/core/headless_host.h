// A host without windows: panel and editor text held in memory, refreshes recorded (command line,
// tests).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/diagram_host.h"

namespace tv {

class HeadlessHost : public DiagramHost {
 public:
  bool PanelInvalid = false;
  int BeepCount = 0;
  int CaptionRefreshes = 0;
  std::vector<std::string> EditorLines;
  // Runs when program code changes a tick (SetCurveTicked), as a window's
  // click handler would (the command line redraws there).
  std::function<void(int box)> OnBoxChanged;
  // Runs for Redraw. The command line leaves it empty: it draws once, when
  // every option is applied.
  std::function<void()> OnRedraw;
  // Every refresh asked of the host, in order: "clear", "redraw", "product
  // caption", "parameter captions", "availability".
  std::vector<std::string> Refreshes;
  // The dialogs a window on this host asks through (scripted ones in tests).
  ui::Dialogs* AskedDialogs = nullptr;

  void Redraw() override {
    Refreshes.emplace_back("redraw");
    if (OnRedraw) OnRedraw();
  }
  void ClearPicture() override { Refreshes.emplace_back("clear"); }
  void UpdateProductCaption() override { Refreshes.emplace_back("product caption"); }
  void RefreshParameterAvailability() override { Refreshes.emplace_back("availability"); }

  void CurveTickChanged(int box) override {
    if (OnBoxChanged) OnBoxChanged(box);
  }
  void SetPanelInvalid(bool invalid) override { PanelInvalid = invalid; }
  void RefreshParameterCaptions() override {
    Refreshes.emplace_back("parameter captions");
    ++CaptionRefreshes;
  }
  void ClearEditorText() override { EditorLines.clear(); }
  void AppendEditorLine(std::string_view line) override { EditorLines.emplace_back(line); }
  void Beep() override { ++BeepCount; }
  ui::Dialogs* Questions() override { return AskedDialogs; }
};

}  // namespace tv
