// The points editor Form2: measured points typed, read or saved as text, decoded into the diagram
// state.
#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "core/diagram_state.h"
#include "files/points_text.h"
#include "ui/dialogs.h"

class QAction;
class QFrame;
class QLabel;
class QMenuBar;
class QRadioButton;

namespace tv::ui {

// Memo1: a plain text box that only ever holds characters a points file can
// be written with (Windows-1252). A key, an input-method commit, a paste or a
// drop that brings another character is refused whole, with one beep.
class PointsMemo : public QPlainTextEdit {
  Q_OBJECT

 public:
  // Beeps through s's host.
  PointsMemo(tv::DiagramState& s, QWidget* parent);

  static bool IsWritable(const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  void Refuse();

  tv::DiagramState& s_;
};

class TForm2 : public QWidget {
  Q_OBJECT

 public:
  // Outer size and place of the window when it is created.
  static constexpr int kLeft = 800;
  static constexpr int kTop = 20;
  static constexpr int kOuterWidth = 337;
  static constexpr int kOuterHeight = 736;
  // The client area within the outer width, with a window frame of up to 5
  // pixels on each side: the captions are made to fit in it.
  static constexpr int kNarrowestClientWidth = kOuterWidth - 10;
  static constexpr int kPanelHeight = 97;
  // Largest points file read (far beyond the 500 points the store keeps).
  static constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024;

  // A top-level, non-modal window, hidden until ShowEditor. Its changes end
  // in the host's redraw (s.Host, the main window).
  TForm2(tv::DiagramState& s, QWidget* parent = nullptr);

  QMenuBar* MainMenu1;
  QAction* Lire1;
  QAction* Sauvegarger1;
  QAction* Effacer1;
  QAction* Courbeencours1;
  QAction* Afficherlespoints1;

  QFrame* Panel1;
  QFrame* GroupPulsation;
  QRadioButton* RadioHz;
  QRadioButton* RadioRadS;
  QFrame* GroupGain;
  QRadioButton* RadioGain;
  QRadioButton* RadioGainDb;
  QFrame* GroupPhase;
  QRadioButton* RadioRad;
  QRadioButton* RadioDeg;
  QLabel* Label1;

  QPlainTextEdit* Memo1;

  // The capture of the product curve (through the main window's host).
  void ClearText();
  void AppendLine(std::string_view windows1252Line);

  // "Ouvrir éditeur de points": shows the window and brings it to the front.
  void ShowEditor();

  // "Afficher les points": the whole text into the store, the count said, redraw.
  void DecodePoints();

  // The menu commands.
  void Lire1Click();
  void Sauvegarger1Click();
  void Effacer1Click();
  void Courbeencours1Click();

  // The unit choices of the three groups, as decoding reads them.
  tv::PointUnits Units() const;

  // The editor's lines, as a Memo's lines are counted: a last empty line
  // (the text ends with a line end, or is empty) is not a line.
  QStringList Lines() const;
  // Replaces the text by these lines, caret at the start.
  void SetLines(const QStringList& lines);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateMenu();
  void CreatePanel();
  void ReportFileError(const QString& name, const std::string& reason);

  tv::DiagramState& s_;
  bool placed_ = false;
};

}  // namespace tv::ui
