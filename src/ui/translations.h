// French texts for Qt's own standard dialogs and buttons (file, print, Oui/Non).
#pragma once

class QCoreApplication;

namespace tv::ui {

// Installs Qt's French translation (qtbase_fr) from Qt's translations folder,
// so that the file dialogs, the print dialog and the Yes/No buttons read in
// French like the rest of the program. False when it could not be loaded:
// the standard dialogs then stay in English, nothing else changes.
bool InstallFrenchTranslations(QCoreApplication& app);

}  // namespace tv::ui
