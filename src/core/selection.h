// The selection in the document: which curves are ticked, the window told when program code ticks
// one, the product's caption, a loaded work put on the screen.
#pragma once

#include <array>
#include <string>

#include "core/diagram_state.h"

namespace tv {

// Ticks or unticks box 1..4 (4 is H1.H2.H3) in the document. When its state
// changes the host mirrors it and runs the box's click handling at once,
// nested inside the caller (a redraw, the product caption).
void SetCurveTicked(DiagramState& s, int box, bool ticked);

// The ticked functions among H1..H3 joined with ".": "H1.H3"; empty when none
// is ticked. CheckBox4 reads it.
std::string ProductCaption(const bool ticked[3]);

// Puts a work read from a transfer file on the screen: the host clears its
// picture, the file's fields replace the document's, the boxes take the
// loaded ticks one after the other (each change with its click handling),
// then the product caption, a redraw, the parameter captions and their
// availability, in that order. Without a host only the document changes.
void ShowLoadedWork(DiagramState& s, const DiagramState& loaded);

}  // namespace tv
