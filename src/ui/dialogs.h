// Every question to the user and the beep go through here, so tests can answer them.
#pragma once

#include <QString>
#include <cassert>

#include "core/diagram_host.h"
#include "core/diagram_state.h"

class QDialog;
class QPrinter;
class QWidget;

namespace tv::ui {

enum class MessageIcon { None, Exclamation, Question };
enum class Answer { Yes, No, Cancel };

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A message box with an OK button.
  virtual void Message(QWidget* parent, const QString& text, const QString& caption,
                       MessageIcon icon) = 0;
  // Yes / No; true for Yes.
  virtual bool YesNo(QWidget* parent, const QString& text, const QString& caption,
                     MessageIcon icon) = 0;
  // Oui / Non / Annuler; Cancel also when the box is closed.
  virtual Answer YesNoCancel(QWidget* parent, const QString& text, const QString& caption,
                             MessageIcon icon) = 0;
  // The modal input dialog: OK returns the edited text, Cancel the default.
  virtual QString InputText(QWidget* parent, const QString& caption, const QString& prompt,
                            const QString& defaultText) = 0;
  // File dialogs; an empty result means the user cancelled. filter is in the
  // program's own "Name|*.ext" form.
  virtual QString OpenFileName(QWidget* parent, const QString& filter,
                               const QString& defaultExtension) = 0;
  virtual QString SaveFileName(QWidget* parent, const QString& filter,
                               const QString& defaultExtension, const QString& presetName) = 0;
  // The print dialog on a printer chosen beforehand; true when confirmed.
  virtual bool Print(QWidget* parent, QPrinter& printer) = 0;
  // The printer the print dialogs edit: one for the session, so that every
  // window prints where the user last chose.
  virtual QPrinter& Printer() = 0;
  // Shows a window modally until it closes (the function entry window).
  virtual void ShowModal(QDialog& dialog) = 0;
  // One default beep.
  virtual void Beep() = 0;
};

// A window asks its questions through its host's dialogs.
inline Dialogs& HostDialogs(tv::DiagramHost& host) {
  Dialogs* const dialogs = host.Questions();
  assert(dialogs != nullptr);
  return *dialogs;
}
inline Dialogs& HostDialogs(const tv::DiagramState& s) {
  assert(s.Host != nullptr);
  return HostDialogs(*s.Host);
}

}  // namespace tv::ui
