// French texts for Qt's own standard dialogs and buttons (file, print, Oui/Non), and the French
// locale.
#pragma once

class QCoreApplication;

namespace tv::ui {

// Installs Qt's French translation (qtbase_fr) from Qt's translations folder,
// so that the file dialogs, the print dialog and the Yes/No buttons read in
// French like the rest of the program. False when it could not be loaded:
// the standard dialogs then stay in English, nothing else changes.
bool InstallFrenchTranslations(QCoreApplication& app);

// Makes French the program's locale: the standard dialogs' dates, sizes
// and file types read in French whatever the desktop's language. Numbers the
// program reads and writes keep their own rules (a point as the decimal
// separator, a comma also accepted), which no locale changes.
void UseFrenchLocale();

// The same for the dates of the standard file dialog, which follow the
// system's locale: before the application is created, the time category
// of the environment becomes French (numbers and the rest stay as they are).
void UseFrenchDatesInStandardDialogs();

}  // namespace tv::ui
