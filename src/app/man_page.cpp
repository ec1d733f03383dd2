// The manual page's sections: the option table, examples and exit statuses of --help, then the
// environment and files.
#include "app/man_page.h"

#include <QCoreApplication>

#include "app/cli_options.h"

namespace tv::app {

namespace {

// Plain text as troff reads it: backslashes and minus signs escaped, and a
// line never starting with a control character.
QString Escape(QString text) {
  text.replace(u'\\', QStringLiteral("\\e"));
  text.replace(u'-', QStringLiteral("\\-"));
  text.replace(QStringLiteral("\n."), QStringLiteral("\n\\&."));
  text.replace(QStringLiteral("\n'"), QStringLiteral("\n\\&'"));
  if (text.startsWith(u'.') || text.startsWith(u'\'')) text.prepend(QStringLiteral("\\&"));
  return text;
}

// A heading, given as QT_TRANSLATE_NOOP("tv::app::ManPage", ...).
QString Section(const char* title) {
  return QStringLiteral(".SH ") + QCoreApplication::translate("tv::app::ManPage", title) + u'\n';
}

}  // namespace

QString ManPage(const QString& version) {
  QString page;
  page += QStringLiteral(".TH TRACEVUE 1 \"\" \"Tracevue %1\" \"%2\"\n")
              .arg(version, QCoreApplication::translate("tv::app::ManPage", "Commandes"));
  page += Section(QT_TRANSLATE_NOOP("tv::app::ManPage", "NOM"));
  page += QStringLiteral("tracevue \\- ") +
          Escape(QCoreApplication::translate(
              "tv::app::ManPage", "diagrammes de Bode et de Black de fonctions de transfert")) +
          u'\n';
  page += Section(QT_TRANSLATE_NOOP("tv::app::ManPage", "SYNOPSIS"));
  page += QStringLiteral(".B tracevue\n[\\fI%1\\fR.WWC]\n.br\n.B tracevue\n[\\fIoptions\\fR] "
                         "\\fB\\-\\-export\\fR \\fI%2\\fR [\\fI%1\\fR]\n")
              .arg(QCoreApplication::translate("tv::app::Cli", "FICHIER"),
                   QCoreApplication::translate("tv::app::Cli", "SORTIE"));
  page += Section(QT_TRANSLATE_NOOP("tv::app::ManPage", "DESCRIPTION"));
  page +=
      Escape(QCoreApplication::translate(
          "tv::app::ManPage",
          "Tracevue trace le diagramme de Bode et le diagramme de Black de trois fonctions de "
          "transfert H1, H2, H3 au plus et de leur produit, et les retrace à chaque pas d'un "
          "paramètre K, T, A, B, W ou Ksi. Sans option, il ouvre sa fenêtre, avec le fichier de "
          "transfert (.WWC) donné s'il y en a un.")) +
      QStringLiteral("\n.PP\n") +
      Escape(QCoreApplication::translate(
          "tv::app::ManPage",
          "Avec des options, il ne montre aucune fenêtre et n'a besoin d'aucun affichage : il "
          "trace le diagramme et écrit les fichiers demandés.")) +
      u'\n';
  page += Section(QT_TRANSLATE_NOOP("tv::app::ManPage", "OPTIONS"));
  for (const OptionHelp& o : OptionHelps()) {
    page += QStringLiteral(".TP\n\\fB\\-\\-%1\\fR").arg(Escape(o.Name));
    if (!o.ValueName.isEmpty()) page += QStringLiteral(" \\fI%1\\fR").arg(Escape(o.ValueName));
    page += u'\n' + Escape(o.Description) + u'\n';
  }
  page += Section(QT_TRANSLATE_NOOP("tv::app::ManPage", "CODES DE SORTIE"));
  for (const ExitStatus& e : ExitStatuses())
    page += QStringLiteral(".TP\n.B %1\n%2\n")
                .arg(e.Code)
                .arg(Escape(QCoreApplication::translate("tv::app::Cli", e.Meaning)));
  page += Section(QT_TRANSLATE_NOOP("tv::app::ManPage", "ENVIRONNEMENT"));
  page += QStringLiteral(".TP\n.B LANGUAGE\\fR, \\fBLC_ALL\\fR, \\fBLC_MESSAGES\\fR, \\fBLANG\n") +
          Escape(QCoreApplication::translate(
              "tv::app::ManPage",
              "la langue : la première de ces variables qui est définie la choisit ; anglais si "
              "elle commence par en, français sinon. L'option --lang l'emporte.")) +
          QStringLiteral("\n.TP\n.B DISPLAY\\fR, \\fBWAYLAND_DISPLAY\n") +
          Escape(QCoreApplication::translate(
              "tv::app::ManPage",
              "l'affichage de la fenêtre ; sans l'un ni l'autre, seules les options sont "
              "acceptées.")) +
          u'\n';
  page += Section(QT_TRANSLATE_NOOP("tv::app::ManPage", "FICHIERS"));
  page +=
      QStringLiteral(".TP\n.I *.WWC\n") +
      Escape(QCoreApplication::translate(
          "tv::app::ManPage",
          "fichier de transfert : les trois fonctions, les bornes du tracé et les paramètres.")) +
      QStringLiteral("\n.TP\n.I /usr/share/tracevue/examples/\n") +
      Escape(QCoreApplication::translate("tv::app::ManPage",
                                         "les exemples : premier et second ordre, intégrateur, "
                                         "correcteur à avance de phase, troisième ordre, "
                                         "points mesurés.")) +
      u'\n';
  page += Section(QT_TRANSLATE_NOOP("tv::app::ManPage", "EXEMPLES"));
  for (const CommandExample& e : CommandExamples())
    page += QStringLiteral(".TP\n.B %1\n%2\n")
                .arg(Escape(QString::fromUtf8(e.Command)),
                     Escape(QCoreApplication::translate("tv::app::Cli", e.Effect)));
  page += Section(QT_TRANSLATE_NOOP("tv::app::ManPage", "VOIR AUSSI"));
  page += QStringLiteral("\\fBtracevue \\-\\-help\\fR\n");
  return page;
}

}  // namespace tv::app
