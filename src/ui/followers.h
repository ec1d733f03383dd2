// The windows that follow the main window: registered with their menu entries, made when opened.
#pragma once

#include <QAction>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <typeindex>
#include <vector>

namespace tv::ui {

// The main window's followers. A window is registered by one line, with the
// menu entry that opens it: made on the first opening (or when first asked
// for), shown by open, and deleted by DeleteAll (the last registered first),
// which the main window calls first thing in its destructor, while the host
// the followers listen to is whole.
class Followers {
 public:
  Followers() = default;
  Followers(const Followers&) = delete;
  Followers& operator=(const Followers&) = delete;
  ~Followers() { DeleteAll(); }

  // entry opens the window W that make returns (parented, so that Qt would
  // also delete it), shown by open.
  template <class W>
  QAction* Add(QAction* entry, std::function<W*()> make, std::function<void(W&)> open) {
    entries_.push_back({typeid(W), [make] { return static_cast<QWidget*>(make()); }, {}});
    const std::size_t index = entries_.size() - 1;
    QObject::connect(entry, &QAction::triggered, entry,
                     [this, index, open] { open(*static_cast<W*>(Made(index))); });
    return entry;
  }
  // The same, shown by its ShowWindow.
  template <class W>
  QAction* Add(QAction* entry, std::function<W*()> make) {
    return Add<W>(entry, std::move(make), [](W& window) { window.ShowWindow(); });
  }

  // The window W, made now when it was not yet.
  template <class W>
  W* Get() {
    for (std::size_t k = 0; k < entries_.size(); ++k)
      if (entries_[k].Type == typeid(W)) return static_cast<W*>(Made(k));
    return nullptr;
  }
  // The window W once made, else null.
  template <class W>
  W* Find() const {
    for (const Entry& e : entries_)
      if (e.Type == typeid(W)) return static_cast<W*>(e.Window.data());
    return nullptr;
  }

  // Every window made is deleted, the last registered first.
  void DeleteAll();

 private:
  struct Entry {
    std::type_index Type;
    std::function<QWidget*()> Make;
    QPointer<QWidget> Window;
  };
  QWidget* Made(std::size_t index);

  std::vector<Entry> entries_;
};

}  // namespace tv::ui
