// The Maple worksheet commands: which functions are ticked, the closed-loop question, the file and
// its opening.
#include "ui/worksheet_commands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QWidget>
#include <QUrl>
#include <string>

#include "files/worksheet.h"
#include "output/cp1252.h"
#include "output/file_names.h"
#include "ui/desktop_launcher.h"
#include "ui/dialogs.h"
#include "ui/picture_commands.h"

namespace tv::ui {

namespace {

// The ticks of H1..H3; false when none is ticked (the commands then do nothing).
bool ReadBoxes(const PictureContext& ctx, bool checked[3]) {
  bool any = false;
  for (int i = 0; i < 3; ++i) {
    checked[i] = ctx.s.CurveTicked[static_cast<std::size_t>(i)];
    any = any || checked[i];
  }
  return any;
}

// Asks "Système bouclé ?" and fills the worksheet.
WorksheetBuffer AskAndBuild(PictureContext& ctx, const bool checked[3]) {
  const bool closedLoop = ctx.dialogs.YesNo(ctx.parent, FromCp1252(kClosedLoopQuestion),
                                            FromCp1252(kClosedLoopCaption), MessageIcon::Question);
  return BuildWorksheet(ctx.s, checked, closedLoop);
}

}  // namespace

void OpenWorksheetInMaple(PictureContext& ctx, DesktopLauncher& launcher) {
  bool checked[3];
  if (!ReadBoxes(ctx, checked)) return;
  DiagramState& s = ctx.s;
  const WorksheetBuffer buffer = AskAndBuild(ctx, checked);
  // A letter outside a..y (a state never started) would make a name of a
  // control character: start the round again from a.
  const char letter =
      s.MapleFileLetter >= 'a' && s.MapleFileLetter <= 'y' ? s.MapleFileLetter : 'a';
  const std::string dir = s.TempDir.empty() ? PlatformTempDir() : s.TempDir;
  const std::string name = TemporaryWorksheetName(dir, letter);
  if (!WriteWorksheet(buffer, name)) {
    ctx.dialogs.Message(ctx.parent, FromCp1252(kMapleLaunchFailedText),
                        FromCp1252(kMapleLaunchFailedCaption), MessageIcon::Exclamation);
  } else {
    // The worksheet is there all the same: say where, and that Maple opens
    // it, once, whether the desktop's opener could not start or found no
    // application for .mws files afterwards.
    Dialogs* const dialogs = &ctx.dialogs;
    const QPointer<QWidget> parent = ctx.parent;
    const QString shown = ShownPath(name);
    const auto noMaple = [dialogs, parent, shown] {
      dialogs->Message(
          parent,
          QCoreApplication::translate("tv::ui::WorksheetCommands",
                                      "La feuille de calcul a été écrite dans « %1 », mais aucune "
                                      "application n'a pu l'ouvrir. Installez Maple, qui ouvre les "
                                      "fichiers .mws, ou ouvrez-la vous-même avec Maple.")
              .arg(shown),
          FromCp1252(kMapleLaunchFailedCaption), MessageIcon::Exclamation);
    };
    if (!launcher.OpenUrl(QUrl::fromLocalFile(QtPath(name)), noMaple)) noMaple();
  }
  s.MapleFileLetter = NextMapleFileLetter(letter);
}

void SaveWorksheetFile(PictureContext& ctx) {
  bool checked[3];
  if (!ReadBoxes(ctx, checked)) return;
  // "*.mws": the dialog lists the worksheets already there, so that one can
  // be chosen and replaced.
  const QString chosen = ctx.dialogs.SaveFileName(
      ctx.parent, QCoreApplication::translate("tv::ui::WorksheetCommands", "Fichier Maple|*.mws"),
      QStringLiteral(".mws"), QString());
  if (chosen.isEmpty()) return;
  const WorksheetBuffer buffer = AskAndBuild(ctx, checked);
  const std::string name = LocalPath(chosen);
  std::string error;
  if (!WriteWorksheet(buffer, name, &error)) {
    QString text = QCoreApplication::translate("tv::ui::WorksheetCommands",
                                               "Impossible d'enregistrer le fichier « %1 »")
                       .arg(ShownPath(name));
    if (!error.empty()) text += QStringLiteral(" : ") + FromCp1252(error);
    ctx.dialogs.Message(ctx.parent, text, QStringLiteral("Tracevue"), MessageIcon::Exclamation);
  }
}

}  // namespace tv::ui
