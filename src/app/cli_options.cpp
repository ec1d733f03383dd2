// The option table of the command line, its reading through QCommandLineParser, and the parser's
// texts in French.
#include "app/cli_options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTranslator>
#include <cmath>

#include "core/diagram_state.h"
#include "core/display_rules.h"
#include "output/cp1252.h"
#include "output/language.h"

namespace tv::app {

namespace {

// Below this the layouts of the two views have no room (no column to sweep,
// no 10 dB step); above it the picture would not fit in memory sensibly.
constexpr int kMinSide = 100;
constexpr int kMaxSide = 8000;

// One option: its name without the dashes, the name of its value (none for
// a switch), its line of the help, and what it does to the options read.
// Read runs once per occurrence, in the order given, with the value (empty
// for a switch), and returns the French reason when the value is refused.
struct OptionDescription {
  const char* Name;
  const char* ValueName;
  const char* Description;
  QString (*Read)(const QString& value, Options& o);
};

template <bool Numerator, int K>
QString ReadText(const QString& value, Options& o) {
  QString text = value;
  text.remove(u' ');
  const std::optional<std::string> bytes = ui::ToCp1252(text);
  if (!bytes)
    return QCoreApplication::translate(
               "tv::app::Cli", "--%1%2 : le texte contient un caractère hors du jeu Windows-1252")
        .arg(QLatin1String(Numerator ? "num" : "den"))
        .arg(K + 1);
  // A longer text cannot be stored whole: cutting it would drop its last
  // terms without a word.
  if (bytes->size() > static_cast<std::size_t>(kFunctionTextMax))
    return QCoreApplication::translate(
               "tv::app::Cli", "--%1%2 : le texte fait %3 caractères sans les espaces, %4 au plus")
        .arg(QLatin1String(Numerator ? "num" : "den"))
        .arg(K + 1)
        .arg(bytes->size())
        .arg(kFunctionTextMax);
  (Numerator ? o.Num : o.Den)[K] = *bytes;
  return {};
}

QString ReadCurves(const QString& value, Options& o) {
  std::array<bool, 4> boxes{};
  if (value.trimmed().compare(QStringLiteral("none"), Qt::CaseInsensitive) != 0) {
    for (const QString& item : value.split(u',')) {
      bool ok = false;
      const int box = item.trimmed().toInt(&ok);
      if (!ok || box < 1 || box > 4)
        return QCoreApplication::translate(
                   "tv::app::Cli",
                   "--curves : « %1 » n'est pas une liste de 1, 2, 3, 4 séparés par "
                   "des virgules, ni « none »")
            .arg(value);
      boxes[box - 1] = true;
    }
  }
  o.Curves = boxes;
  return {};
}

QString ReadSet(const QString& value, Options& o) {
  const qsizetype eq = value.indexOf(u'=');
  if (eq <= 0)
    return QCoreApplication::translate("tv::app::Cli", "--set : NOM=VALEUR attendu, pas « %1 »")
        .arg(value);
  const QString name = value.left(eq);
  const ParameterInfo* parameter = FindParameter(name.trimmed().toStdString());
  if (parameter == nullptr) {
    QStringList names;
    for (const ParameterInfo& info : kParameters) names << QString::fromLatin1(info.Name);
    const QString last = names.takeLast();
    return QCoreApplication::translate("tv::app::Cli",
                                       "--set : paramètre inconnu « %1 » (%2 ou %3)")
        .arg(name, names.join(QStringLiteral(", ")), last);
  }
  const QString number = value.mid(eq + 1);
  bool ok = false;
  double v = number.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(v))
    return QCoreApplication::translate("tv::app::Cli", "--set : « %1 » n'est pas un nombre")
        .arg(number);
  if (v < 0.0)
    return QCoreApplication::translate("tv::app::Cli",
                                       "--set : valeur négative refusée pour %1 (%2)")
        .arg(name, number);
  v += 0.0;  // -0 is 0
  o.Sets.emplace_back(parameter->Id, v);
  return {};
}

QString ReadDecades(const QString& value, Options& o) {
  const QStringList bounds = value.split(u':');
  bool ok1 = false, ok2 = false;
  const int lo = bounds.size() == 2 ? bounds[0].trimmed().toInt(&ok1) : 0;
  const int hi = bounds.size() == 2 ? bounds[1].trimmed().toInt(&ok2) : 0;
  if (!ok1 || !ok2 || lo < -6 || hi > 5 || lo >= hi)
    return QCoreApplication::translate(
               "tv::app::Cli", "--decades : MIN:MAX attendu avec -6 <= MIN < MAX <= 5, pas « %1 »")
        .arg(value);
  o.Decades = std::pair(lo, hi);
  return {};
}

QString ReadGainMax(const QString& value, Options& o) {
  bool ok = false;
  const int db = value.trimmed().toInt(&ok);
  if (!ok || db < kGainTopLowestDb || db > kGainTopHighestDb || db % kGainTopStepDb != 0)
    return QCoreApplication::translate("tv::app::Cli",
                                       "--gain-max : 10, 20, ..., 100 attendu, pas « %1 »")
        .arg(value);
  o.GainMax = db;
  return {};
}

QString ReadMode(const QString& value, Options& o) {
  const QString m = value.trimmed().toLower();
  if (m == QStringLiteral("gain"))
    o.Mode = 0;
  else if (m == QStringLiteral("phase"))
    o.Mode = 1;
  else if (m == QStringLiteral("both"))
    o.Mode = 2;
  else
    return QCoreApplication::translate("tv::app::Cli",
                                       "--mode : gain, phase ou both attendu, pas « %1 »")
        .arg(value);
  return {};
}

QString ReadView(const QString& value, Options& o) {
  const QString v = value.trimmed().toLower();
  if (v == QStringLiteral("bode"))
    o.View = 0;
  else if (v == QStringLiteral("black"))
    o.View = 1;
  else
    return QCoreApplication::translate("tv::app::Cli", "--view : bode ou black attendu, pas « %1 »")
        .arg(value);
  return {};
}

QString ReadUnits(const QString& value, Options& o) {
  for (const QString& item : value.split(u',')) {
    const QString u = item.trimmed().toLower();
    if (u == QStringLiteral("hz"))
      o.Units.Hertz = true;
    else if (u == QStringLiteral("rad/s"))
      o.Units.Hertz = false;
    else if (u == QStringLiteral("ratio"))
      o.Units.RatioGain = true;
    else if (u == QStringLiteral("db"))
      o.Units.RatioGain = false;
    else if (u == QStringLiteral("rad"))
      o.Units.Radians = true;
    else if (u == QStringLiteral("deg"))
      o.Units.Radians = false;
    else
      return QCoreApplication::translate(
                 "tv::app::Cli", "--units : « %1 » inconnu (hz, rad/s, ratio, db, rad, deg)")
          .arg(item);
  }
  return {};
}

QString ReadSize(const QString& value, Options& o) {
  const QStringList sides = value.toLower().split(u'x');
  bool ok1 = false, ok2 = false;
  const int w = sides.size() == 2 ? sides[0].toInt(&ok1) : 0;
  const int h = sides.size() == 2 ? sides[1].toInt(&ok2) : 0;
  if (!ok1 || !ok2 || w < kMinSide || h < kMinSide || w > kMaxSide || h > kMaxSide)
    return QCoreApplication::translate(
               "tv::app::Cli", "--size : LxH attendu, de %1 à %2 pixels de côté, pas « %3 »")
        .arg(kMinSide)
        .arg(kMaxSide)
        .arg(value);
  o.Width = w;
  o.Height = h;
  return {};
}

QString ReadExport(const QString& value, Options& o) {
  const QString lower = value.toLower();
  if (lower.endsWith(QStringLiteral(".png")))
    o.Format = PictureFormat::Png;
  else if (lower.endsWith(QStringLiteral(".bmp")))
    o.Format = PictureFormat::Bmp;
  else if (lower.endsWith(QStringLiteral(".emf")))
    o.Format = PictureFormat::Emf;
  else if (lower.endsWith(QStringLiteral(".svg")))
    o.Format = PictureFormat::Svg;
  else if (lower.endsWith(QStringLiteral(".pdf")))
    o.Format = PictureFormat::Pdf;
  else if (lower.endsWith(QStringLiteral(".csv")))
    o.Format = PictureFormat::Csv;
  else
    return QCoreApplication::translate(
               "tv::app::Cli",
               "--export : extension .png, .bmp, .emf, .svg, .pdf ou .csv attendue pour « %1 »")
        .arg(value);
  o.Export = value;
  return {};
}

// Every option, in the order of the help.
const OptionDescription kOptions[] = {
    {"num1", QT_TRANSLATE_NOOP("tv::app::Cli", "TEXTE"),
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "numérateur de H1, développé en puissances croissantes de p (espaces "
                       "retirés, 80 caractères au plus) ; coche la fonction"),
     ReadText<true, 0>},
    {"num2", QT_TRANSLATE_NOOP("tv::app::Cli", "TEXTE"),
     QT_TRANSLATE_NOOP("tv::app::Cli", "numérateur de H2, comme --num1"), ReadText<true, 1>},
    {"num3", QT_TRANSLATE_NOOP("tv::app::Cli", "TEXTE"),
     QT_TRANSLATE_NOOP("tv::app::Cli", "numérateur de H3, comme --num1"), ReadText<true, 2>},
    {"den1", QT_TRANSLATE_NOOP("tv::app::Cli", "TEXTE"),
     QT_TRANSLATE_NOOP("tv::app::Cli", "dénominateur de H1 ; coche la fonction"),
     ReadText<false, 0>},
    {"den2", QT_TRANSLATE_NOOP("tv::app::Cli", "TEXTE"),
     QT_TRANSLATE_NOOP("tv::app::Cli", "dénominateur de H2 ; coche la fonction"),
     ReadText<false, 1>},
    {"den3", QT_TRANSLATE_NOOP("tv::app::Cli", "TEXTE"),
     QT_TRANSLATE_NOOP("tv::app::Cli", "dénominateur de H3 ; coche la fonction"),
     ReadText<false, 2>},
    {"curves", QT_TRANSLATE_NOOP("tv::app::Cli", "LISTE"),
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "cases cochées : 1, 2, 3, 4 (4 = H1.H2.H3) séparés par des "
                       "virgules, ou none ; par défaut celles de FICHIER et de --num/--den"),
     ReadCurves},
    {"set", QT_TRANSLATE_NOOP("tv::app::Cli", "NOM=VALEUR"),
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "paramètre K, T, A, B, W ou Ksi (casse indifférente), répétable ; "
                       "une valeur négative est refusée"),
     ReadSet},
    {"decades", QT_TRANSLATE_NOOP("tv::app::Cli", "MIN:MAX"),
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "pulsations de 10^MIN à 10^MAX rad/s, avec -6 <= MIN < MAX <= 5"),
     ReadDecades},
    {"gain-max", QT_TRANSLATE_NOOP("tv::app::Cli", "DB"),
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "haut de l'échelle de gain : 10, 20, ..., 100 ; le bas vaut 10 - DB"),
     ReadGainMax},
    {"mode", QT_TRANSLATE_NOOP("tv::app::Cli", "MODE"),
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "gain, phase ou both : gain seul, phase seule ou les deux (défaut both)"),
     ReadMode},
    {"view", QT_TRANSLATE_NOOP("tv::app::Cli", "VUE"),
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "bode ou black : diagramme de Bode ou de Black (défaut bode)"),
     ReadView},
    {"margins", nullptr,
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "recherche des marges (mode both) ; chaque texte de marge tracé "
                       "est écrit sur la sortie standard, un par ligne, dans l'ordre du tracé"),
     [](const QString&, Options& o) {
       o.Margins = true;
       return QString();
     }},
    {"asymptotes", nullptr,
     QT_TRANSLATE_NOOP(
         "tv::app::Cli",
         "diagramme asymptotique (vue de Bode) : asymptotes de gain et de phase en tirets, "
         "pulsations de cassure, Ksi et résonance des seconds ordres"),
     [](const QString&, Options& o) {
       o.Asymptotes = true;
       return QString();
     }},
    {"chart", nullptr,
     QT_TRANSLATE_NOOP(
         "tv::app::Cli",
         "abaque de Black-Nichols (vue de Black) : contours de gain (-12 à 12 dB) et de "
         "phase (-5 à -150°) de la boucle fermée, en pointillés clairs"),
     [](const QString&, Options& o) {
       o.Chart = true;
       return QString();
     }},
    {"points", QT_TRANSLATE_NOOP("tv::app::Cli", "FICHIER"),
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "points mesurés lus dans un fichier texte (pulsation, gain, phase)"),
     [](const QString& value, Options& o) {
       o.Points = value;
       return QString();
     }},
    {"units", QT_TRANSLATE_NOOP("tv::app::Cli", "U1,U2,U3"),
     QT_TRANSLATE_NOOP("tv::app::Cli", "unités des points : hz ou rad/s, ratio ou db, rad ou deg "
                                       "(défaut rad/s,db,deg)"),
     ReadUnits},
    {"capture", QT_TRANSLATE_NOOP("tv::app::Cli", "SORTIE"),
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "écrit les lignes de la capture de la courbe H1.H2.H3 (cochée pour "
                       "l'occasion), chacune suivie de CR LF"),
     [](const QString& value, Options& o) {
       o.Capture = value;
       return QString();
     }},
    {"save", QT_TRANSLATE_NOOP("tv::app::Cli", "SORTIE"),
     QT_TRANSLATE_NOOP("tv::app::Cli", "écrit le fichier de transfert de l'état obtenu"),
     [](const QString& value, Options& o) {
       o.Save = value;
       return QString();
     }},
    {"size", QT_TRANSLATE_NOOP("tv::app::Cli", "LxH"),
     QT_TRANSLATE_NOOP("tv::app::Cli", "taille du tracé en pixels (défaut 1134x678)"), ReadSize},
    {"black", nullptr, QT_TRANSLATE_NOOP("tv::app::Cli", "tout en noir, comme pour l'impression"),
     [](const QString&, Options& o) {
       o.Black = true;
       return QString();
     }},
    {"export", QT_TRANSLATE_NOOP("tv::app::Cli", "SORTIE"),
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "image .png ou .bmp (comme à l'écran), .svg (vectorielle, en couleurs), "
                       ".emf (métafichier, en noir, comme « Sauver l'image »), .pdf (la "
                       "page imprimée par « Imprimer », A4 portrait, en noir) ou .csv (les courbes "
                       "tracées : w puis gain en dB et phase en degrés de chacune, une ligne par "
                       "pulsation du tracé)"),
     ReadExport},
    {"black-lines", nullptr,
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "avec --export .pdf : traits plus épais (« Noircir les traits ? » : Oui)"),
     [](const QString&, Options& o) {
       o.BlackLines = true;
       return QString();
     }},
    {"worksheet", QT_TRANSLATE_NOOP("tv::app::Cli", "SORTIE"),
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "feuille Maple (.mws) de la réponse indicielle des fonctions cochées"),
     [](const QString& value, Options& o) {
       o.Worksheet = value;
       return QString();
     }},
    {"step", QT_TRANSLATE_NOOP("tv::app::Cli", "SORTIE"),
     QT_TRANSLATE_NOOP(
         "tv::app::Cli",
         "réponse indicielle des fonctions cochées : image .png ou .svg (640x420, comme la "
         "fenêtre « Réponse temporelle ») ou échantillons .csv (t,y) ; les lectures tracées "
         "sont écrites sur la sortie standard, une par ligne"),
     [](const QString& value, Options& o) {
       o.Step = value;
       return QString();
     }},
    {"input", QT_TRANSLATE_NOOP("tv::app::Cli", "ENTREE"),
     QT_TRANSLATE_NOOP(
         "tv::app::Cli",
         "avec --step : step, ramp ou impulse, réponse à un échelon (défaut), à une rampe "
         "(avec l'erreur de traînage) ou à une impulsion (avec son pic)"),
     [](const QString& value, Options& o) {
       const QString v = value.trimmed().toLower();
       if (v == QStringLiteral("step"))
         o.StepInput = InputKind::Step;
       else if (v == QStringLiteral("ramp"))
         o.StepInput = InputKind::Ramp;
       else if (v == QStringLiteral("impulse"))
         o.StepInput = InputKind::Impulse;
       else
         return QCoreApplication::translate("tv::app::Cli",
                                            "--input : step, ramp ou impulse attendu, pas « %1 »")
             .arg(value);
       return QString();
     }},
    {"t-max", QT_TRANSLATE_NOOP("tv::app::Cli", "SECONDES"),
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "avec --step : durée tracée (défaut : choisie d'après les pôles)"),
     [](const QString& value, Options& o) {
       bool ok = false;
       o.StepTMax = value.trimmed().toDouble(&ok);
       if (!ok || !std::isfinite(o.StepTMax) || o.StepTMax <= 0)
         return QCoreApplication::translate(
                    "tv::app::Cli", "--t-max : durée positive en secondes attendue, pas « %1 »")
             .arg(value);
       return QString();
     }},
    {"nyquist", QT_TRANSLATE_NOOP("tv::app::Cli", "SORTIE"),
     QT_TRANSLATE_NOOP(
         "tv::app::Cli",
         "lieu de Nyquist des fonctions cochées : image .png ou .svg (640x560, comme la fenêtre "
         "« Lieu de Nyquist », marges avec --margins) ou échantillons .csv (w,re,im) du produit "
         "pour w > 0 ; le verdict (P, N, Z, stabilité) est écrit sur la sortie standard"),
     [](const QString& value, Options& o) {
       o.Nyquist = value;
       return QString();
     }},
    {"nyquist-zoom", nullptr,
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "avec --nyquist : -2 ... +1 sur les deux axes (« Zoom sur -1 »)"),
     [](const QString&, Options& o) {
       o.NyquistZoom = true;
       return QString();
     }},
    {"closed-loop", nullptr,
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "avec --worksheet ou --step : boucle fermée à retour unitaire H/(1+H)"),
     [](const QString&, Options& o) {
       o.ClosedLoop = true;
       return QString();
     }},
    {"locus", QT_TRANSLATE_NOOP("tv::app::Cli", "SORTIE"),
     QT_TRANSLATE_NOOP(
         "tv::app::Cli",
         "lieu des pôles en boucle fermée du produit des fonctions cochées, sur le paramètre "
         "de --locus-param : image .png ou .svg (640x520, comme la fenêtre « Lieu des pôles ») "
         "ou échantillons .csv (value,re,im) ; pôles et stabilité écrits sur la sortie standard"),
     [](const QString& value, Options& o) {
       o.Locus = value;
       return QString();
     }},
    {"locus-param", QT_TRANSLATE_NOOP("tv::app::Cli", "NOM"),
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "avec --locus ou --report : paramètre parcouru (K, T, A, B, W ou Ksi ; "
                       "défaut K)"),
     [](const QString& value, Options& o) {
       const ParameterInfo* p = FindParameter(value.trimmed().toStdString());
       if (p == nullptr)
         return QCoreApplication::translate(
                    "tv::app::Cli",
                    "--locus-param : paramètre inconnu « %1 » (K, T, A, B, W ou Ksi)")
             .arg(value);
       o.LocusParam = p->Id;
       return QString();
     }},
    {"locus-range", QT_TRANSLATE_NOOP("tv::app::Cli", "MIN:MAX"),
     QT_TRANSLATE_NOOP(
         "tv::app::Cli",
         "avec --locus ou --report : valeurs parcourues, 0 <= MIN < MAX (défaut : de 0 à 100 fois "
         "la valeur du paramètre)"),
     [](const QString& value, Options& o) {
       const QStringList bounds = value.split(u':');
       bool ok1 = false, ok2 = false;
       const double lo = bounds.size() == 2 ? bounds[0].trimmed().toDouble(&ok1) : 0;
       const double hi = bounds.size() == 2 ? bounds[1].trimmed().toDouble(&ok2) : 0;
       if (!ok1 || !ok2 || !std::isfinite(lo) || !std::isfinite(hi) || lo < 0 || hi <= lo)
         return QCoreApplication::translate(
                    "tv::app::Cli",
                    "--locus-range : MIN:MAX attendu avec 0 <= MIN < MAX, pas « %1 »")
             .arg(value);
       o.LocusRange = std::pair(lo + 0.0, hi);
       return QString();
     }},
    {"report", QT_TRANSLATE_NOOP("tv::app::Cli", "SORTIE"),
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "mesures exactes des courbes tracées en JSON : chaque croisement "
                       "de 0 dB et de -180° avec sa marge, pic et bande passante à -3 dB "
                       "en boucle fermée, classe, gain statique"),
     [](const QString& value, Options& o) {
       o.Report = value;
       return QString();
     }},
    {"tune", QT_TRANSLATE_NOOP("tv::app::Cli", "NOM"),
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "règle le paramètre (K, T, A, B, W ou Ksi) pour un pic de 2,3 dB en "
                       "boucle fermée du produit des fonctions cochées, avant le tracé ; "
                       "écrit NOM=valeur sur la sortie standard"),
     [](const QString& value, Options& o) {
       if (FindParameter(value.trimmed().toStdString()) == nullptr)
         return QCoreApplication::translate(
                    "tv::app::Cli", "--tune : paramètre inconnu « %1 » (K, T, A, B, W ou Ksi)")
             .arg(value);
       o.Tune = value.trimmed().toStdString();
       return QString();
     }},
    {"help", nullptr, QT_TRANSLATE_NOOP("tv::app::Cli", "ce texte"),
     [](const QString&, Options& o) {
       o.Help = true;
       return QString();
     }},
    {"lang", QT_TRANSLATE_NOOP("tv::app::Cli", "LANGUE"),
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "langue des textes : fr ou en ; par défaut d'après LANGUAGE, LC_ALL, "
                       "LC_MESSAGES ou LANG (en : anglais, autrement français) ; vaut aussi "
                       "pour la fenêtre"),
     [](const QString& value, Options&) {
       // Installed at start, before the options are read: only checked here.
       if (ui::LanguageNamed(value.trimmed())) return QString();
       return QCoreApplication::translate("tv::app::Cli", "--lang : fr ou en attendu, pas « %1 »")
           .arg(value);
     }},
    {"version", nullptr,
     QT_TRANSLATE_NOOP("tv::app::Cli", "écrit « tracevue VERSION » et s'arrête"),
     [](const QString&, Options& o) {
       o.Version = true;
       return QString();
     }},
};

const char kFileArgument[] = QT_TRANSLATE_NOOP("tv::app::Cli", "FICHIER");
const char kFileDescription[] =
    QT_TRANSLATE_NOOP("tv::app::Cli", "fichier de transfert, chargé comme au démarrage");
const char kUsageSyntax[] = QT_TRANSLATE_NOOP("tv::app::Cli", "--export SORTIE [FICHIER]");
// The parser's usage line names the program by the path it was started
// from; the help names it as the examples do, after the window's usage.
const char kUsage[] =
    QT_TRANSLATE_NOOP("tv::app::Cli", "Usage : tracevue [FICHIER.WWC]            ouvre la fenêtre\n"
                                      "        tracevue [options] --export SORTIE [FICHIER]");

// After the parser's own text, and in the manual page: what a run looks like, then how it ends.
const CommandExample kExamples[] = {
    {"tracevue --num1 K --den1 p+T*p^2 --set K=4 --set T=0.5 --margins --export boucle.png",
     QT_TRANSLATE_NOOP("tv::app::Cli", "trace H1 = K/(p(1+T.p)) et ses marges dans boucle.png")},
    {"tracevue --view black --margins --export black.png examples/third-order.WWC",
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "trace le diagramme de Black d'un exemple, marges comprises")},
};
const ExitStatus kExitStatuses[] = {
    {0, QT_TRANSLATE_NOOP("tv::app::Cli", "succès")},
    {2, QT_TRANSLATE_NOOP("tv::app::Cli", "option ou valeur incorrecte (rien n'est écrit)")},
    {3, QT_TRANSLATE_NOOP("tv::app::Cli", "fonction cochée invalide (rien n'est écrit)")},
    {4, QT_TRANSLATE_NOOP("tv::app::Cli", "fichier illisible ou impossible à écrire")},
    {5,
     QT_TRANSLATE_NOOP("tv::app::Cli",
                       "aucune valeur du paramètre de --tune ne donne 2,3 dB (rien n'est écrit)")},
};

// The parser's own texts (its headings, two of its refusals) in French while
// it is in use; its other texts are not used.
class FrenchParserTexts : public QTranslator {
 public:
  FrenchParserTexts() { QCoreApplication::installTranslator(this); }
  ~FrenchParserTexts() override { QCoreApplication::removeTranslator(this); }

  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* source, const char* /*disambiguation*/,
                    int /*n*/) const override {
    if (qstrcmp(context, "QCommandLineParser") != 0 ||
        ui::InstalledLanguage() != ui::Language::French)
      return {};
    const QByteArrayView text(source);
    if (text == "Options:") return QCoreApplication::translate("tv::app::Cli", "Options :");
    if (text == "Arguments:") return QCoreApplication::translate("tv::app::Cli", "Arguments :");
    if (text == "Missing value after '%1'.")
      return QCoreApplication::translate("tv::app::Cli", "l'option %1 attend une valeur");
    if (text == "Unexpected value after '%1'.")
      return QCoreApplication::translate("tv::app::Cli", "l'option %1 ne prend pas de valeur");
    return {};
  }
};

void Describe(QCommandLineParser& parser) {
  parser.setApplicationDescription(QCoreApplication::translate(
      "tv::app::Cli",
      "\nSans fenêtre ni affichage, trace le diagramme et écrit les fichiers demandés."));
  for (const OptionDescription& d : kOptions) {
    const QString name = QString::fromLatin1(d.Name);
    const QString description = QCoreApplication::translate("tv::app::Cli", d.Description);
    parser.addOption(
        d.ValueName ? QCommandLineOption(name, description,
                                         QCoreApplication::translate("tv::app::Cli", d.ValueName))
                    : QCommandLineOption(name, description));
  }
  parser.addPositionalArgument(QCoreApplication::translate("tv::app::Cli", kFileArgument),
                               QCoreApplication::translate("tv::app::Cli", kFileDescription),
                               QCoreApplication::translate("tv::app::Cli", kUsageSyntax));
}

}  // namespace

QString ParseOptions(const QStringList& arguments, Options& o) {
  const FrenchParserTexts french;
  QCommandLineParser parser;
  Describe(parser);
  const bool parsed =
      parser.parse(QStringList{QCoreApplication::applicationFilePath()} + arguments);
  if (parser.isSet(QStringLiteral("help"))) o.Help = true;
  if (parser.isSet(QStringLiteral("version"))) o.Version = true;
  if (!parsed) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
      return QCoreApplication::translate("tv::app::Cli", "option inconnue : %1%2")
          .arg(QLatin1String(unknown.front().size() > 1 ? "--" : "-"), unknown.front());
    return parser.errorText();
  }
  for (const OptionDescription& d : kOptions) {
    const QString name = QString::fromLatin1(d.Name);
    if (!parser.isSet(name)) continue;
    const QStringList values = d.ValueName ? parser.values(name) : QStringList{QString()};
    for (const QString& value : values)
      if (QString problem = d.Read(value, o); !problem.isEmpty()) return problem;
  }
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1)
    return QCoreApplication::translate("tv::app::Cli",
                                       "un seul fichier de transfert est accepté : « %1 » en trop")
        .arg(files[1]);
  if (!files.isEmpty()) o.File = files.front();
  if (!o.Help && !o.Version && !o.Export && !o.Capture && !o.Save && !o.Worksheet && !o.Report &&
      !o.Tune && !o.Step && !o.Nyquist && !o.Locus)
    return QCoreApplication::translate(
        "tv::app::Cli",
        "rien à faire : --export, --capture, --save, --worksheet ou --step attendu");
  return {};
}

QString HelpText() {
  const FrenchParserTexts french;
  QCommandLineParser parser;
  Describe(parser);
  const QString text = parser.helpText();
  QString end = QCoreApplication::translate("tv::app::Cli", "\nExemples :\n");
  for (const CommandExample& e : kExamples)
    end += QStringLiteral("  %1\n      %2\n")
               .arg(QString::fromUtf8(e.Command),
                    QCoreApplication::translate("tv::app::Cli", e.Effect));
  end += QCoreApplication::translate("tv::app::Cli", "\nCodes de sortie :\n");
  for (const ExitStatus& e : kExitStatuses)
    end += QStringLiteral("  %1  %2\n")
               .arg(e.Code)
               .arg(QCoreApplication::translate("tv::app::Cli", e.Meaning));
  return QCoreApplication::translate("tv::app::Cli", kUsage) + text.mid(text.indexOf(u'\n')) + end;
}

std::vector<OptionHelp> OptionHelps() {
  std::vector<OptionHelp> helps;
  for (const OptionDescription& d : kOptions)
    helps.push_back(
        {QString::fromLatin1(d.Name),
         d.ValueName ? QCoreApplication::translate("tv::app::Cli", d.ValueName) : QString(),
         QCoreApplication::translate("tv::app::Cli", d.Description)});
  return helps;
}

std::span<const CommandExample> CommandExamples() { return kExamples; }
std::span<const ExitStatus> ExitStatuses() { return kExitStatuses; }

}  // namespace tv::app
