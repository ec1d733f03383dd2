// The windows that follow the main window: registered with their menu entries, made when opened.
#include "ui/followers.h"

namespace tv::ui {

QWidget* Followers::Made(std::size_t index) {
  Entry& e = entries_[index];
  if (!e.Window) e.Window = e.Make();
  return e.Window.data();
}

void Followers::DeleteAll() {
  for (auto e = entries_.rbegin(); e != entries_.rend(); ++e) {
    delete e->Window.data();
    e->Window = nullptr;
  }
}

}  // namespace tv::ui
