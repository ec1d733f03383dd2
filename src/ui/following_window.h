// A window that follows the picture: Fichier menu, picture area, its turn in the host's redraws.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "core/diagram_host.h"
#include "core/diagram_state.h"
#include "render/draw_target.h"

class QAction;
class QMenu;
class QMenuBar;
class QMouseEvent;
class QVBoxLayout;

namespace tv::ui {

class QtSurface;

// The picture of a following window: paints the image it is given, follows
// its own size and hands the mouse on.
class PictureArea : public QWidget {
 public:
  struct Setup {
    const char* Name = "";
    QSize Hint;     // the window's default picture
    QSize Minimum;  // the smallest picture
    std::function<const QImage&()> Image;
    std::function<void(int width, int height)> Resized;
    std::function<void(QMouseEvent& event)> Moved = {};    // with mouse tracking
    std::function<void(QMouseEvent& event)> Pressed = {};  // with a cross cursor
    bool WhiteUnder = false;                               // white where the image does not reach
  };
  PictureArea(Setup setup, QWidget* parent);
  QSize sizeHint() const override { return setup_.Hint; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  Setup setup_;
};

// A top-level, non-modal window like the points editor. While shown it
// listens to the host's redraws (DiagramRedrawn); hidden, it is not told and
// costs nothing. Its Fichier menu holds "Presse-papier (Bitmap)", "Imprimer",
// "Sauver l'image (.PNG)" and "Sauver l'image (.SVG)"; a window adds its own
// entries to FileMenu.
class FollowingWindow : public QWidget, public tv::RedrawListener {
  Q_OBJECT

 public:
  ~FollowingWindow() override;

  QMenuBar* MainMenu = nullptr;
  QMenu* FileMenu = nullptr;
  QAction* Pressepapier = nullptr;
  QAction* Imprimer = nullptr;
  QAction* SauverPng = nullptr;
  QAction* SauverSvg = nullptr;
  QWidget* Picture = nullptr;

  // Shows the window and brings it to the front.
  void ShowWindow();

  // The commands of the Fichier menu.
  virtual void PressepapierClick() = 0;
  virtual void ImprimerClick() = 0;
  virtual void SauverClick(const char* extension) = 0;

 protected:
  // Asks, and prints on the printer last chosen, through s's host.
  FollowingWindow(tv::DiagramState& s, QWidget* parent);

  // Called on every show, listening already: the window catches up with
  // the texts as they stand (it may open after a refused redraw).
  virtual void Opened() = 0;
  // Called on the first show: right of the main window when the screen has
  // room, else in the upper right corner of the screen.
  virtual void Place();

  // "Sauver ...": a name asked with filter, preset presetBase + extension,
  // given the extension when it has none, then written by write; a file that
  // could not be written is said, with the reason write gave (Windows-1252).
  void SaveAs(const char* extension, const QString& filter, const QString& presetBase,
              const std::function<bool(const std::string& path, std::string* error)>& write);
  // "Imprimer": the page drawn by drawPage on the printer last chosen, in
  // black, through the print dialog; then drawPage draws the window's picture
  // again on picture, the target of screen (the window's surface).
  void PrintPage(const tv::DrawTarget& picture, QtSurface& screen,
                 std::function<void(const tv::DrawTarget& page)> drawPage);

  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

  tv::DiagramState& s_;
  // The column of the menu bar, the window's bars and its picture.
  QVBoxLayout* Layout = nullptr;

 private:
  tv::DiagramHost* listenedTo_ = nullptr;
  bool placed_ = false;
};

}  // namespace tv::ui
