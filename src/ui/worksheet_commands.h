// The two Maple worksheet commands of the Fichier menu: open at once in Maple, or save to a chosen
// file.
#pragma once

#include "ui/picture_commands.h"

namespace tv::ui {

class DesktopLauncher;

// "Réponse temporelle : ouverture directe de Maple": nothing unless one of
// CheckBox1..3 is ticked; asks "Système bouclé ?", writes the worksheet to
// TempDir + MapleFileLetter + ".mws" and has the desktop open it with the
// application registered for it. MapleFileLetter moves on in every case.
void OpenWorksheetInMaple(PictureContext& ctx, DesktopLauncher& launcher);

// "Réponse temporelle : création d'un fichier Maple": nothing unless one of
// CheckBox1..3 is ticked; the file is chosen first, then the question is
// asked and the worksheet written.
void SaveWorksheetFile(PictureContext& ctx);

}  // namespace tv::ui
