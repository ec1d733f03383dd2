// The transfer-function entry window Form3 and the definition of H1, H2 or H3 through it.
#pragma once

#include <QDialog>
#include <QString>
#include <QValidator>

#include "core/diagram_state.h"
#include "render/draw_target.h"
#include "ui/dialogs.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tv::ui {

// Guards an edit field of Form3 against what the function texts cannot hold:
// '(' and ')', which the texts must not contain (the function has to be
// developed), and any character without a Windows-1252 byte. Only what an edit
// inserts is judged, so a text that already holds a parenthesis (read from a
// transfer file) can still be edited around it; a paste or drop that brings
// one in is refused whole.
class FunctionTextValidator : public QValidator {
  Q_OBJECT

 public:
  explicit FunctionTextValidator(QLineEdit* edit);
  State validate(QString& input, int& pos) const override;
  // The text the next edit is judged against; set before a text is put in
  // from program code, which is never refused.
  void SetBaseline(const QString& text) { baseline_ = text; }

  static bool IsRefused(QChar c);

 private:
  QString baseline_;
};

class TForm3 : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 632;
  static constexpr int kClientHeight = 190;

  // Asks and beeps through host.
  explicit TForm3(tv::DiagramHost& host, QWidget* parent = nullptr);

  QLabel* Label1;
  QLabel* Label2;
  QLineEdit* Edit1;
  QLabel* Label3;
  QFrame* Shape1;
  QLineEdit* Edit2;
  QPushButton* Button1;
  // Why the texts were refused, under them; empty while nothing is refused.
  QLabel* Reason;

  // Puts a text into an edit field from program code; no character of it is refused.
  void SetEditText(QLineEdit* edit, const QString& text);
  // Red background (an invalid function) or the button face.
  void SetInvalidColour(bool invalid);
  void SetReason(const QString& reason);
  QColor BackgroundColour() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  tv::DiagramHost& host_;
  FunctionTextValidator* validator1_;
  FunctionTextValidator* validator2_;
};

// Shows the window through dialogs.ShowModal until both texts are valid,
// storing them after every showing; then checks box i through s.Host (its
// handler runs), has the host refresh the parameters' availability, then
// RedrawDiagram(s) on the window's picture t.
void DefineTransferFunction(int i, tv::DiagramState& s, const tv::DrawTarget& t, tv::FrameResult& f,
                            TForm3& form);

}  // namespace tv::ui
