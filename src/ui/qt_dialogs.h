// The dialogs of the running program: Qt message boxes, input, file and print dialogs, the beep.
#pragma once

#include <QString>
#include <memory>

#include "ui/dialogs.h"

namespace tv::ui {

// "Name|*.ext|Other|*.a;*.b" becomes Qt's "Name (*.ext *.EXT);;Other (*.a *.A *.b *.B)":
// file names are case-sensitive here, so every pattern is offered in both
// cases. A name that already shows its patterns in parentheses keeps them.
QString QtNameFilters(const QString& filter);
// The suffix QFileDialog adds to a typed name without one: "*.WWC" gives "WWC".
QString DefaultSuffix(const QString& defaultExtension);

class QtDialogs : public Dialogs {
 public:
  QtDialogs();
  ~QtDialogs() override;
  void Message(QWidget* parent, const QString& text, const QString& caption,
               MessageIcon icon) override;
  bool YesNo(QWidget* parent, const QString& text, const QString& caption,
             MessageIcon icon) override;
  Answer YesNoCancel(QWidget* parent, const QString& text, const QString& caption,
                     MessageIcon icon) override;
  QString InputText(QWidget* parent, const QString& caption, const QString& prompt,
                    const QString& defaultText) override;
  QString OpenFileName(QWidget* parent, const QString& filter,
                       const QString& defaultExtension) override;
  QString SaveFileName(QWidget* parent, const QString& filter, const QString& defaultExtension,
                       const QString& presetName) override;
  bool Print(QWidget* parent, QPrinter& printer) override;
  QPrinter& Printer() override;
  void ShowModal(QDialog& dialog) override;
  void Beep() override;

 private:
  std::unique_ptr<QPrinter> printer_;  // made at the first print
};

}  // namespace tv::ui
