// Qt's standard dialogs behind the program's questions, with French buttons.
#include "ui/qt_dialogs.h"

#include <QCoreApplication>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>

#include "output/file_names.h"

namespace tv::ui {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

QStringList BothCases(const QStringList& patterns) {
  QStringList all;
  for (const QString& p : patterns) {
    for (const QString& v : {p, p.toUpper(), p.toLower()})
      if (!v.isEmpty() && !all.contains(v)) all << v;
  }
  return all;
}

}  // namespace

QString QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i].trimmed();
    const QStringList patterns = BothCases(
        parts[i + 1].split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts));
    // Qt reads the patterns from the last parentheses of the name.
    static const QRegularExpression shown(QStringLiteral("\\s*\\([^()]*\\)$"));
    name.remove(shown);
    filters << name + QStringLiteral(" (") + patterns.join(u' ') + u')';
  }
  if (parts.size() % 2 == 1 && !parts.back().trimmed().isEmpty() && filters.isEmpty())
    filters << parts.back().trimmed();
  return filters.join(QStringLiteral(";;"));
}

QString DefaultSuffix(const QString& defaultExtension) {
  QString suffix = defaultExtension;
  if (suffix.startsWith(u'*')) suffix.remove(0, 1);
  if (suffix.startsWith(u'.')) suffix.remove(0, 1);
  return suffix;
}

void QtDialogs::Message(QWidget* parent, const QString& text, const QString& caption,
                        MessageIcon icon) {
  QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::NoButton, parent);
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
}

bool QtDialogs::YesNo(QWidget* parent, const QString& text, const QString& caption,
                      MessageIcon icon) {
  QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::NoButton, parent);
  QPushButton* yes =
      box.addButton(QCoreApplication::translate("tv::ui::QtDialogs", "Oui"), QMessageBox::YesRole);
  QPushButton* no =
      box.addButton(QCoreApplication::translate("tv::ui::QtDialogs", "Non"), QMessageBox::NoRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes;
}

Answer QtDialogs::YesNoCancel(QWidget* parent, const QString& text, const QString& caption,
                              MessageIcon icon) {
  QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::NoButton, parent);
  QPushButton* yes =
      box.addButton(QCoreApplication::translate("tv::ui::QtDialogs", "Oui"), QMessageBox::YesRole);
  QPushButton* no =
      box.addButton(QCoreApplication::translate("tv::ui::QtDialogs", "Non"), QMessageBox::NoRole);
  QPushButton* cancel = box.addButton(QCoreApplication::translate("tv::ui::QtDialogs", "Annuler"),
                                      QMessageBox::RejectRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == yes) return Answer::Yes;
  return box.clickedButton() == no ? Answer::No : Answer::Cancel;
}

QString QtDialogs::InputText(QWidget* parent, const QString& caption, const QString& prompt,
                             const QString& defaultText) {
  QInputDialog dialog(parent);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(caption);
  dialog.setLabelText(prompt);
  dialog.setTextValue(defaultText);
  dialog.setOkButtonText(QStringLiteral("OK"));
  dialog.setCancelButtonText(QCoreApplication::translate("tv::ui::QtDialogs", "Annuler"));
  if (dialog.exec() != QDialog::Accepted) return defaultText;
  return dialog.textValue();
}

QString QtDialogs::OpenFileName(QWidget* parent, const QString& filter,
                                const QString& defaultExtension) {
  QFileDialog dialog(parent, QCoreApplication::translate("tv::ui::QtDialogs", "Ouvrir"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(QtNameFilters(filter));
  dialog.setDefaultSuffix(DefaultSuffix(defaultExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return FromDialogName(dialog.selectedFiles().front());
}

QString QtDialogs::SaveFileName(QWidget* parent, const QString& filter,
                                const QString& defaultExtension, const QString& presetName) {
  QFileDialog dialog(parent, QCoreApplication::translate("tv::ui::QtDialogs", "Enregistrer sous"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // Files are replaced without a question.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setNameFilter(QtNameFilters(filter));
  dialog.setDefaultSuffix(DefaultSuffix(defaultExtension));
  if (!presetName.isEmpty()) dialog.selectFile(ToDialogName(presetName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return FromDialogName(dialog.selectedFiles().front(), presetName);
}

bool QtDialogs::Print(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

QtDialogs::QtDialogs() = default;
QtDialogs::~QtDialogs() = default;

QPrinter& QtDialogs::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

void QtDialogs::ShowModal(QDialog& dialog) { dialog.exec(); }

void QtDialogs::Beep() { QApplication::beep(); }

}  // namespace tv::ui
