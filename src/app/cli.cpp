// Options of a run without a window, applied to the state; the redraw on a QImage; the outputs.
#include "app/cli.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <array>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/diagram_state.h"
#include "core/headless_host.h"
#include "expression/coefficients.h"
#include "files/file_io.h"
#include "files/points_text.h"
#include "files/transfer_file.h"
#include "render/redraw.h"
#include "ui/cp1252.h"
#include "ui/file_names.h"
#include "files/worksheet.h"
#include "ui/picture_output.h"
#include "ui/qt_surface.h"
#include "ui/transfer_refusal.h"

namespace tv::app {

namespace {

constexpr int kDefaultWidth = 1134;
constexpr int kDefaultHeight = 678;
// Below this the layouts of the two views have no room (no column to sweep,
// no 10 dB step); above it the picture would not fit in memory sensibly.
constexpr int kMinSide = 100;
constexpr int kMaxSide = 8000;
constexpr std::size_t kMaxPointsFileBytes = 16 * 1024 * 1024;

enum class PictureFormat { Png, Bmp, Emf, Svg, Pdf };

struct Options {
  std::optional<QString> File;
  std::array<std::optional<std::string>, 3> Num, Den;
  std::optional<std::array<bool, 4>> Curves;
  std::vector<std::pair<int, double>> Sets;  // parameter row (K, T, A, B, W, Ksi), value
  std::optional<std::pair<int, int>> Decades;
  std::optional<int> GainMax;
  std::optional<std::uint8_t> Mode;
  bool Margins = false;
  std::optional<std::uint8_t> View;
  std::optional<QString> Points;
  PointUnits Units;
  std::optional<QString> Export;
  PictureFormat Format = PictureFormat::Png;
  std::optional<QString> Capture;
  std::optional<QString> Save;
  std::optional<QString> Worksheet;
  bool ClosedLoop = false;
  int Width = kDefaultWidth;
  int Height = kDefaultHeight;
  bool Black = false;
  bool BlackLines = false;  // the printed page's darker pens
  bool Help = false;
};

constexpr const char* kParameterNames[6] = {"K", "T", "A", "B", "W", "KSI"};

double& Parameter(DiagramState& s, int row) {
  switch (row) {
    case 0: return s.ParamK;
    case 1: return s.ParamT;
    case 2: return s.ParamA;
    case 3: return s.ParamB;
    case 4: return s.ParamW;
    default: return s.ParamKsi;
  }
}

std::string Utf8(const QString& text) { return text.toUtf8().toStdString(); }
// Messages of the file module are Windows-1252, like every text of the program.
std::string FromProgramText(const std::string& text) { return Utf8(ui::FromCp1252(text)); }

// Reads the arguments into options; an empty result means success.
QString Parse(const QStringList& arguments, Options& o) {
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    QString arg = arguments[i];
    if (!arg.startsWith(QStringLiteral("--"))) {
      if (o.File) return QStringLiteral("un seul fichier de transfert est accepté : « %1 » en trop").arg(arg);
      o.File = arg;
      continue;
    }
    std::optional<QString> inlineValue;
    if (const qsizetype eq = arg.indexOf(u'='); eq > 0) {
      inlineValue = arg.mid(eq + 1);
      arg = arg.left(eq);
    }
    const auto takesValue = [&]() -> std::optional<QString> {
      if (inlineValue) return inlineValue;
      if (i + 1 < arguments.size()) return arguments[++i];
      return std::nullopt;
    };
    const auto noValue = [&] { return inlineValue.has_value(); };

    if (arg == QStringLiteral("--help")) {
      o.Help = true;
      continue;
    }
    if (arg == QStringLiteral("--margins") || arg == QStringLiteral("--black") ||
        arg == QStringLiteral("--closed-loop") || arg == QStringLiteral("--black-lines")) {
      if (noValue()) return QStringLiteral("l'option %1 ne prend pas de valeur").arg(arg);
      (arg == QStringLiteral("--margins")       ? o.Margins
       : arg == QStringLiteral("--black")       ? o.Black
       : arg == QStringLiteral("--black-lines") ? o.BlackLines
                                                : o.ClosedLoop) = true;
      continue;
    }

    static const QStringList kWithValue = {
        QStringLiteral("--num1"),  QStringLiteral("--num2"),     QStringLiteral("--num3"),
        QStringLiteral("--den1"),  QStringLiteral("--den2"),     QStringLiteral("--den3"),
        QStringLiteral("--curves"), QStringLiteral("--set"),     QStringLiteral("--decades"),
        QStringLiteral("--gain-max"), QStringLiteral("--mode"),  QStringLiteral("--view"),
        QStringLiteral("--points"), QStringLiteral("--units"),   QStringLiteral("--capture"),
        QStringLiteral("--save"),  QStringLiteral("--size"),     QStringLiteral("--export"),
        QStringLiteral("--worksheet")};
    if (!kWithValue.contains(arg)) return QStringLiteral("option inconnue : %1").arg(arg);
    const std::optional<QString> given = takesValue();
    if (!given) return QStringLiteral("l'option %1 attend une valeur").arg(arg);
    const QString value = *given;

    if (arg.startsWith(QStringLiteral("--num")) || arg.startsWith(QStringLiteral("--den"))) {
      const int k = arg.back().digitValue() - 1;
      QString text = value;
      text.remove(u' ');
      const std::optional<std::string> bytes = ui::ToCp1252(text);
      if (!bytes)
        return QStringLiteral("%1 : le texte contient un caractère hors du jeu Windows-1252").arg(arg);
      (arg.startsWith(QStringLiteral("--num")) ? o.Num : o.Den)[k] = *bytes;
    } else if (arg == QStringLiteral("--curves")) {
      std::array<bool, 4> boxes{};
      if (value.trimmed().compare(QStringLiteral("none"), Qt::CaseInsensitive) != 0) {
        const QStringList items = value.split(u',');
        for (const QString& item : items) {
          bool ok = false;
          const int box = item.trimmed().toInt(&ok);
          if (!ok || box < 1 || box > 4)
            return QStringLiteral("--curves : « %1 » n'est pas une liste de 1, 2, 3, 4 séparés par "
                                  "des virgules, ni « none »").arg(value);
          boxes[box - 1] = true;
        }
      }
      o.Curves = boxes;
    } else if (arg == QStringLiteral("--set")) {
      const qsizetype eq = value.indexOf(u'=');
      if (eq <= 0) return QStringLiteral("--set : NOM=VALEUR attendu, pas « %1 »").arg(value);
      const QString name = value.left(eq).trimmed().toUpper();
      int row = -1;
      for (int r = 0; r < 6; ++r)
        if (name == QString::fromLatin1(kParameterNames[r])) row = r;
      if (row < 0)
        return QStringLiteral("--set : paramètre inconnu « %1 » (K, T, A, B, W ou Ksi)").arg(value.left(eq));
      bool ok = false;
      double v = value.mid(eq + 1).trimmed().toDouble(&ok);
      if (!ok || !std::isfinite(v))
        return QStringLiteral("--set : « %1 » n'est pas un nombre").arg(value.mid(eq + 1));
      if (v < 0.0)
        return QStringLiteral("--set : valeur négative refusée pour %1 (%2)").arg(value.left(eq), value.mid(eq + 1));
      v += 0.0;  // -0 is 0
      o.Sets.emplace_back(row, v);
    } else if (arg == QStringLiteral("--decades")) {
      const QStringList bounds = value.split(u':');
      bool ok1 = false, ok2 = false;
      const int lo = bounds.size() == 2 ? bounds[0].trimmed().toInt(&ok1) : 0;
      const int hi = bounds.size() == 2 ? bounds[1].trimmed().toInt(&ok2) : 0;
      if (!ok1 || !ok2 || lo < -6 || hi > 5 || lo >= hi)
        return QStringLiteral("--decades : MIN:MAX attendu avec -6 <= MIN < MAX <= 5, pas « %1 »").arg(value);
      o.Decades = std::pair(lo, hi);
    } else if (arg == QStringLiteral("--gain-max")) {
      bool ok = false;
      const int db = value.trimmed().toInt(&ok);
      if (!ok || db < 10 || db > 100 || db % 10 != 0)
        return QStringLiteral("--gain-max : 10, 20, ..., 100 attendu, pas « %1 »").arg(value);
      o.GainMax = db;
    } else if (arg == QStringLiteral("--mode")) {
      const QString m = value.trimmed().toLower();
      if (m == QStringLiteral("gain")) o.Mode = 0;
      else if (m == QStringLiteral("phase")) o.Mode = 1;
      else if (m == QStringLiteral("both")) o.Mode = 2;
      else return QStringLiteral("--mode : gain, phase ou both attendu, pas « %1 »").arg(value);
    } else if (arg == QStringLiteral("--view")) {
      const QString v = value.trimmed().toLower();
      if (v == QStringLiteral("bode")) o.View = 0;
      else if (v == QStringLiteral("black")) o.View = 1;
      else return QStringLiteral("--view : bode ou black attendu, pas « %1 »").arg(value);
    } else if (arg == QStringLiteral("--points")) {
      o.Points = value;
    } else if (arg == QStringLiteral("--units")) {
      for (const QString& item : value.split(u',')) {
        const QString u = item.trimmed().toLower();
        if (u == QStringLiteral("hz")) o.Units.Hertz = true;
        else if (u == QStringLiteral("rad/s")) o.Units.Hertz = false;
        else if (u == QStringLiteral("ratio")) o.Units.RatioGain = true;
        else if (u == QStringLiteral("db")) o.Units.RatioGain = false;
        else if (u == QStringLiteral("rad")) o.Units.Radians = true;
        else if (u == QStringLiteral("deg")) o.Units.Radians = false;
        else
          return QStringLiteral("--units : « %1 » inconnu (hz, rad/s, ratio, db, rad, deg)").arg(item);
      }
    } else if (arg == QStringLiteral("--capture")) {
      o.Capture = value;
    } else if (arg == QStringLiteral("--save")) {
      o.Save = value;
    } else if (arg == QStringLiteral("--worksheet")) {
      o.Worksheet = value;
    } else if (arg == QStringLiteral("--size")) {
      const QStringList sides = value.toLower().split(u'x');
      bool ok1 = false, ok2 = false;
      const int w = sides.size() == 2 ? sides[0].toInt(&ok1) : 0;
      const int h = sides.size() == 2 ? sides[1].toInt(&ok2) : 0;
      if (!ok1 || !ok2 || w < kMinSide || h < kMinSide || w > kMaxSide || h > kMaxSide)
        return QStringLiteral("--size : LxH attendu, de %1 à %2 pixels de côté, pas « %3 »")
            .arg(kMinSide).arg(kMaxSide).arg(value);
      o.Width = w;
      o.Height = h;
    } else if (arg == QStringLiteral("--export")) {
      const QString lower = value.toLower();
      if (lower.endsWith(QStringLiteral(".png"))) o.Format = PictureFormat::Png;
      else if (lower.endsWith(QStringLiteral(".bmp"))) o.Format = PictureFormat::Bmp;
      else if (lower.endsWith(QStringLiteral(".emf"))) o.Format = PictureFormat::Emf;
      else if (lower.endsWith(QStringLiteral(".svg"))) o.Format = PictureFormat::Svg;
      else if (lower.endsWith(QStringLiteral(".pdf"))) o.Format = PictureFormat::Pdf;
      else
        return QStringLiteral("--export : extension .png, .bmp, .emf, .svg ou .pdf attendue pour « %1 »")
            .arg(value);
      o.Export = value;
    }
  }
  if (!o.Help && !o.Export && !o.Capture && !o.Save && !o.Worksheet)
    return QStringLiteral("rien à faire : --export, --capture, --save ou --worksheet attendu");
  return QString();
}

// The messages naming the ticked functions that do not compile.
std::vector<std::string> InvalidFunctions(DiagramState& s, const HeadlessHost& host) {
  std::vector<std::string> messages;
  for (int i = 0; i < 3; ++i) {
    if (!host.IsCurveBoxChecked(i + 1)) continue;
    CoefficientSet scratch{};
    const std::string name = "H" + std::to_string(i + 1);
    if (!ExtractCoefficients(s.NumText[i].View(), s, scratch))
      messages.push_back(name + " : numérateur invalide");
    else if (!ExtractCoefficients(s.DenText[i].View(), s, scratch))
      messages.push_back(name + " : dénominateur invalide");
  }
  return messages;
}

bool EncodePicture(const QImage& image, PictureFormat format, QByteArray& bytes) {
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly)) return false;
  return image.save(&buffer, format == PictureFormat::Png ? "PNG" : "BMP");
}

}  // namespace

bool IsCommandLineRun(const QStringList& arguments) {
  for (const QString& arg : arguments)
    if (arg.startsWith(QStringLiteral("--"))) return true;
  return false;
}

const char* UsageText() {
  return "Usage : tracevue [FICHIER.WWC]            ouvre la fenêtre\n"
         "        tracevue [options] --export SORTIE [FICHIER]\n"
         "\n"
         "Sans fenêtre ni affichage, trace le diagramme et écrit les fichiers demandés.\n"
         "\n"
         "  FICHIER              fichier de transfert, chargé comme au démarrage\n"
         "  --num1..3 TEXTE      numérateur de H1..H3 (espaces retirés, coupé à 80 caractères,\n"
         "                       parenthèses acceptées) ; coche la fonction\n"
         "  --den1..3 TEXTE      dénominateur de H1..H3 ; coche la fonction\n"
         "  --curves LISTE       cases cochées : 1, 2, 3, 4 (4 = H1.H2.H3) séparés par des\n"
         "                       virgules, ou none ; par défaut celles de FICHIER et de --num/--den\n"
         "  --set NOM=VALEUR     paramètre K, T, A, B, W ou Ksi (casse indifférente), répétable ;\n"
         "                       une valeur négative est refusée\n"
         "  --decades MIN:MAX    pulsations de 10^MIN à 10^MAX rad/s, -6 <= MIN < MAX <= 5\n"
         "  --gain-max DB        haut de l'échelle de gain : 10, 20, ..., 100 ; le bas vaut 10 - DB\n"
         "  --mode gain|phase|both   gain seul, phase seule ou les deux (défaut both)\n"
         "  --view bode|black    diagramme de Bode ou de Black (défaut bode)\n"
         "  --margins            recherche des marges (mode both) ; chaque texte de marge tracé\n"
         "                       est écrit sur la sortie standard, un par ligne, dans l'ordre du tracé\n"
         "  --points FICHIER     points mesurés lus dans un fichier texte (pulsation, gain, phase)\n"
         "  --units U1,U2,U3     unités des points : hz ou rad/s, ratio ou db, rad ou deg\n"
         "                       (défaut rad/s,db,deg)\n"
         "  --capture SORTIE     écrit les lignes de la capture de la courbe H1.H2.H3 (cochée pour\n"
         "                       l'occasion), chacune suivie de CR LF\n"
         "  --save SORTIE        écrit le fichier de transfert de l'état obtenu\n"
         "  --size LxH           taille du tracé en pixels (défaut 1134x678)\n"
         "  --black              tout en noir, comme pour l'impression\n"
         "  --export SORTIE      image .png ou .bmp (comme à l'écran), .svg (vectorielle, en couleurs),\n"
         "                       .emf (métafichier, en noir, comme « Sauver l'image ») ou .pdf (la\n"
         "                       page imprimée par « Imprimer », A4 portrait, en noir)\n"
         "  --black-lines        avec --export .pdf : traits plus épais (« Noircir les traits ? » : Oui)\n"
         "  --worksheet SORTIE   feuille Maple (.mws) de la réponse indicielle des fonctions cochées\n"
         "  --closed-loop        avec --worksheet : boucle fermée à retour unitaire H/(1+H)\n"
         "  --help               ce texte\n"
         "\n"
         "Exemples :\n"
         "  tracevue --num1 K --den1 p+T*p^2 --set K=4 --set T=0.5 --margins --export boucle.png\n"
         "      trace H1 = K/(p(1+T.p)) et ses marges dans boucle.png\n"
         "  tracevue --view black --margins --export black.png examples/third-order.WWC\n"
         "      trace le diagramme de Black d'un exemple, marges comprises\n"
         "\n"
         "Codes de sortie : 0 succès ; 2 option ou valeur incorrecte ; 3 fonction cochée invalide\n"
         "(rien n'est écrit) ; 4 fichier illisible ou impossible à écrire.\n";
}

int RunCommandLine(const QStringList& arguments, std::ostream& out, std::ostream& err) {
  Options o;
  const QString problem = Parse(arguments, o);
  if (o.Help) {
    out << UsageText();
    return kExitOk;
  }
  if (!problem.isEmpty()) {
    err << "tracevue : " << Utf8(problem) << "\n(tracevue --help pour l'aide)\n";
    return kExitUsage;
  }

  DiagramState s;
  HeadlessHost host;
  s.Host = &host;
  ui::QtSurface surface(o.Width, o.Height);
  SetStartValues(s);
  s.PlotWidth = o.Width;
  s.PlotHeight = o.Height;
  s.DrawCanvas = &surface;
  s.ScreenCanvas = &surface;
  surface.SetFontHeight(10);

  if (o.File) {
    const std::string name = TransferFileNameFromArgument(ui::LocalPath(*o.File));
    s.CurrentFileName = name;
    const std::string path = ResolveTransferFileName(name);
    // The final drawing comes once every option is applied.
    std::string refused;
    if (LoadTransferFile(s, path, TransferRefresh{}, &refused) == TransferLoad::Refused) {
      err << "tracevue : " << Utf8(ui::TransferFileRefusal(path, refused, QStringLiteral(" ")))
          << "\n";
      return kExitFile;
    }
  }
  for (int k = 0; k < 3; ++k) {
    if (o.Num[k]) s.NumText[k].Assign(*o.Num[k]);
    if (o.Den[k]) s.DenText[k].Assign(*o.Den[k]);
    if (o.Num[k] || o.Den[k]) host.SetCurveBoxChecked(k + 1, true);
  }
  if (o.Curves)
    for (int box = 1; box <= 4; ++box) host.SetCurveBoxChecked(box, (*o.Curves)[box - 1]);
  for (const auto& [row, value] : o.Sets) Parameter(s, row) = value;
  if (o.Decades) {
    s.DecadeMin = o.Decades->first;
    s.DecadeMax = o.Decades->second;
  }
  if (o.GainMax) {
    s.GainMaxDb = *o.GainMax;
    s.GainMinDb = 10 - *o.GainMax;
  }
  if (o.Mode) s.BodeMode = *o.Mode;
  if (o.Margins) {
    s.ShowMargins = 1;
    s.BodeMode = 2;
  }
  if (o.View) s.BlackView = *o.View;
  s.ForceBlack = o.Black ? 1 : 0;

  if (o.Points) {
    const std::string path = ui::LocalPath(*o.Points);
    const FileReadResult read = ReadFileBytes(path, kMaxPointsFileBytes);
    if (!read.Opened || !read.Complete) {
      err << "tracevue : impossible de lire le fichier de points « " << Utf8(*o.Points) << " »";
      if (!read.Error.empty()) err << " : " << FromProgramText(read.Error);
      err << "\n";
      return kExitFile;
    }
    if (read.Truncated) {
      err << "tracevue : fichier de points trop grand « " << Utf8(*o.Points) << " »\n";
      return kExitFile;
    }
    DecodePoints(s, SplitPointsText(read.Bytes), o.Units);
  }

  const std::vector<std::string> invalid = InvalidFunctions(s, host);
  if (!invalid.empty()) {
    for (const std::string& message : invalid) err << "tracevue : " << message << "\n";
    return kExitInvalidFunction;
  }

  std::vector<std::string> margins;
  s.MarginLog = &margins;
  s.CapturePoints = o.Capture ? 1 : 0;
  const int beepsBefore = host.BeepCount;
  RedrawDiagram(s);
  s.CapturePoints = 0;
  s.MarginLog = nullptr;
  surface.Finish();
  if (host.BeepCount != beepsBefore)
    err << "tracevue : avertissement : une fonction s'annule à une pulsation du tracé, "
           "les courbes s'arrêtent là\n";

  const auto writeFailed = [&](const QString& name, const std::string& error) {
    err << "tracevue : impossible d'écrire « " << Utf8(name) << " »";
    if (!error.empty()) err << " : " << FromProgramText(error);
    err << "\n";
    return kExitFile;
  };
  if (o.Export && o.Format == PictureFormat::Pdf) {
    // The printed page, as "Imprimer" gives it on a PDF printer.
    std::string error;
    if (!ui::ExportPrintedPage(s, ui::LocalPath(*o.Export), o.BlackLines, &error))
      return writeFailed(*o.Export, error);
  } else if (o.Export && (o.Format == PictureFormat::Emf || o.Format == PictureFormat::Svg)) {
    // Vector pictures are drawn anew on their own surface (the metafile in
    // black, as "Sauver l'image" makes it).
    std::string error;
    if (!ui::ExportPicture(s, ui::LocalPath(*o.Export), &error)) return writeFailed(*o.Export, error);
  } else if (o.Export) {
    QByteArray bytes;
    if (!EncodePicture(surface.Image(), o.Format, bytes)) return writeFailed(*o.Export, {});
    std::string error;
    if (!WriteFileAtomically(ui::LocalPath(*o.Export),
                             std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                             &error))
      return writeFailed(*o.Export, error);
  }
  if (o.Capture) {
    std::string error;
    if (!WriteFileAtomically(ui::LocalPath(*o.Capture), JoinPointsText(host.EditorLines), &error))
      return writeFailed(*o.Capture, error);
  }
  if (o.Save) {
    std::string error;
    if (!SaveTransferFile(s, ui::LocalPath(*o.Save), &error)) return writeFailed(*o.Save, error);
  }
  if (o.Worksheet) {
    const bool checked[3] = {host.IsCurveBoxChecked(1), host.IsCurveBoxChecked(2),
                             host.IsCurveBoxChecked(3)};
    if (!checked[0] && !checked[1] && !checked[2]) {
      err << "tracevue : --worksheet : aucune fonction cochée\n";
      return kExitUsage;
    }
    std::string error;
    if (!WriteWorksheet(BuildWorksheet(s, checked, o.ClosedLoop), ui::LocalPath(*o.Worksheet), &error))
      return writeFailed(*o.Worksheet, error);
  }
  for (const std::string& line : margins) out << FromProgramText(line) << "\n";
  return kExitOk;
}

}  // namespace tv::app
