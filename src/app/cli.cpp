// A run without a window: the options applied to the state, the redraw on a QImage, the outputs.
#include "app/cli.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <climits>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "app/cli_options.h"
#include "app/readouts_cli.h"
#include "analysis/curve_table.h"
#include "core/diagram_state.h"
#include "core/display_rules.h"
#include "core/headless_host.h"
#include "core/parameters.h"
#include "core/selection.h"
#include "expression/coefficients.h"
#include "files/file_io.h"
#include "files/points_text.h"
#include "files/transfer_file.h"
#include "render/margin_record.h"
#include "render/redraw.h"
#include "output/cp1252.h"
#include "output/file_names.h"
#include "files/worksheet.h"
#include "output/png_output.h"
#include "output/qt_surface.h"
#include "output/nyquist_output.h"
#include "output/locus_output.h"
#include "output/step_output.h"
#include "output/transfer_refusal.h"
#include "output/vector_output.h"

namespace tv::app {

namespace {

constexpr std::size_t kMaxPointsFileBytes = 16 * 1024 * 1024;

std::string Utf8(const QString& text) { return text.toUtf8().toStdString(); }
// Messages of the file module are Windows-1252, like every text of the program.
std::string FromProgramText(const std::string& text) { return Utf8(ui::FromCp1252(text)); }

// The messages naming the ticked functions that do not compile.
std::vector<std::string> InvalidFunctions(DiagramState& s) {
  std::vector<std::string> messages;
  for (int i = 0; i < 3; ++i) {
    if (!s.CurveTicked[static_cast<std::size_t>(i)]) continue;
    CoefficientSet scratch{};
    const std::string name = "H" + std::to_string(i + 1);
    // The reason, when one is known, tells what to change in the text.
    auto withReason = [&](std::string message, std::string_view text) {
      const std::string reason = RefusalReason(text, ParametersOf(s));
      if (!reason.empty()) message += " : " + reason;
      return message;
    };
    if (!ExtractPolynomial(s.NumText[i].View(), s, scratch))
      messages.push_back(withReason(
          name + Utf8(QCoreApplication::translate("tv::app::Cli", " : numérateur invalide")),
          s.NumText[i].View()));
    else if (!ExtractPolynomial(s.DenText[i].View(), s, scratch))
      messages.push_back(withReason(
          name + Utf8(QCoreApplication::translate("tv::app::Cli", " : dénominateur invalide")),
          s.DenText[i].View()));
  }
  return messages;
}

bool EncodePicture(const QImage& image, PictureFormat format, QByteArray& bytes) {
  if (format == PictureFormat::Png) return ui::EncodePng(image, bytes);
  QBuffer buffer(&bytes);
  return buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "BMP");
}

// Every file the command writes. A new output adds its option here, and its
// own needs (a format read from the extension, something in the state) to
// OutputNeedsProblem: all are checked before the first file is written, so
// that a command that fails writes nothing.
std::vector<QString> OutputNames(const Options& o) {
  std::vector<QString> names;
  for (const std::optional<QString>* name :
       {&o.Export, &o.Capture, &o.Save, &o.Worksheet, &o.Report, &o.Step, &o.Nyquist, &o.Locus})
    if (*name) names.push_back(**name);
  return names;
}

// The French reason an output cannot be made from what the command gives
// (an option value at fault: exit status 2); empty when every one can.
QString OutputNeedsProblem(const Options& o, const DiagramState& s) {
  if (o.Step) {
    const QString lower = o.Step->toLower();
    if (!lower.endsWith(QStringLiteral(".png")) && !lower.endsWith(QStringLiteral(".svg")) &&
        !lower.endsWith(QStringLiteral(".csv")))
      return QCoreApplication::translate(
                 "tv::app::Cli", "--step : extension .png, .svg ou .csv attendue pour « %1 »")
          .arg(*o.Step);
  }
  if (o.Nyquist) {
    const QString lower = o.Nyquist->toLower();
    if (!lower.endsWith(QStringLiteral(".png")) && !lower.endsWith(QStringLiteral(".svg")) &&
        !lower.endsWith(QStringLiteral(".csv")))
      return QStringLiteral("--nyquist : extension .png, .svg ou .csv attendue pour « %1 »")
          .arg(*o.Nyquist);
  }
  if (o.Locus) {
    const QString lower = o.Locus->toLower();
    if (!lower.endsWith(QStringLiteral(".png")) && !lower.endsWith(QStringLiteral(".svg")) &&
        !lower.endsWith(QStringLiteral(".csv")))
      return QStringLiteral("--locus : extension .png, .svg ou .csv attendue pour « %1 »")
          .arg(*o.Locus);
  }
  if (o.Worksheet && !s.CurveTicked[0] && !s.CurveTicked[1] && !s.CurveTicked[2])
    return QCoreApplication::translate("tv::app::Cli", "--worksheet : aucune fonction cochée");
  return {};
}

// Whether the run writes a picture through Qt's SVG or printing modules or
// libEMF, which the quick command line is linked without.
bool NeedsVectorOutput(const Options& o) {
  const auto svg = [](const std::optional<QString>& name) {
    return name && name->endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
  };
  return (o.Export && (o.Format == PictureFormat::Emf || o.Format == PictureFormat::Svg ||
                       o.Format == PictureFormat::Pdf)) ||
         svg(o.Step) || svg(o.Nyquist) || svg(o.Locus);
}

}  // namespace

bool NeedsWholeProgram(const QStringList& arguments) {
  Options o;
  return ParseOptions(arguments, o).isEmpty() && !o.Help && !o.Version && NeedsVectorOutput(o);
}

bool IsCommandLineRun(const QStringList& arguments) {
  for (const QString& arg : arguments)
    if (arg.startsWith(QStringLiteral("--"))) return true;
  return false;
}

int RunCommandLine(const QStringList& arguments, std::ostream& out, std::ostream& err) {
  Options o;
  const QString problem = ParseOptions(arguments, o);
  if (o.Help) {
    out << Utf8(HelpText());
    return kExitOk;
  }
  if (o.Version) {
    out << "tracevue " TRACEVUE_VERSION "\n";
    return kExitOk;
  }
  if (!problem.isEmpty()) {
    err << "tracevue : " << Utf8(problem)
        << Utf8(QCoreApplication::translate("tv::app::Cli", "\n(tracevue --help pour l'aide)\n"));
    return kExitUsage;
  }
  if (NeedsVectorOutput(o) && !ui::LinkedVectorOutput()) {
    // The quick command line hands such runs over before it starts them.
    err << "tracevue : "
        << Utf8(QCoreApplication::translate("tv::app::Cli",
                                            "ce programme n'écrit ni SVG, ni EMF, ni PDF\n"));
    return kExitFile;
  }

  DiagramState s;
  HeadlessHost host;
  s.Host = &host;
  // One picture: painted call by call, the quickest for a single drawing.
  ui::QtSurface surface(o.Width, o.Height, 1.0, false);
  SetStartValues(s);
  // The run's one picture, the window's stand-in.
  DrawTarget target = ScreenTarget(&surface, o.Width, o.Height);
  FrameResult frame;
  surface.SetFontHeight(10);

  if (o.File) {
    const std::string name = TransferFileNameFromArgument(ui::LocalPath(*o.File));
    s.CurrentFileName = name;
    const std::string path = ResolveTransferFileName(name);
    // The final drawing comes once every option is applied.
    std::string refused;
    const std::optional<DiagramState> work = ReadTransferFile(s, path, &refused);
    if (!work) {
      err << "tracevue : " << Utf8(ui::TransferFileRefusal(path, refused, QStringLiteral(" ")))
          << "\n";
      return kExitFile;
    }
    ShowLoadedWork(s, *work);
  }
  for (int k = 0; k < 3; ++k) {
    if (o.Num[k]) s.NumText[k].Assign(*o.Num[k]);
    if (o.Den[k]) s.DenText[k].Assign(*o.Den[k]);
    if (o.Num[k] || o.Den[k]) SetCurveTicked(s, k + 1, true);
  }
  if (o.Curves)
    for (int box = 1; box <= 4; ++box) SetCurveTicked(s, box, (*o.Curves)[box - 1]);
  for (const auto& [parameter, value] : o.Sets) ParameterValue(s, parameter) = value;
  if (o.Decades) {
    s.DecadeMin = o.Decades->first;
    s.DecadeMax = o.Decades->second;
  }
  if (o.GainMax) SetGainScaleTop(s, *o.GainMax);
  if (o.Mode) s.BodeMode = *o.Mode;
  if (o.Margins) SearchMargins(s);
  if (o.View) s.BlackView = *o.View;
  s.ShowAsymptotes = o.Asymptotes ? 1 : 0;
  s.ShowNicholsChart = o.Chart ? 1 : 0;
  target.ForceBlack = o.Black ? 1 : 0;

  if (o.Points) {
    const std::string path = ui::LocalPath(*o.Points);
    const FileReadResult read = ReadFileBytes(path, kMaxPointsFileBytes);
    if (!read.Opened || !read.Complete) {
      err << "tracevue : "
          << Utf8(QCoreApplication::translate("tv::app::Cli",
                                              "impossible de lire le fichier de points « %1 »")
                      .arg(*o.Points));
      if (!read.Error.empty()) err << " : " << FromProgramText(read.Error);
      err << "\n";
      return kExitFile;
    }
    if (read.Truncated) {
      err << "tracevue : "
          << Utf8(QCoreApplication::translate("tv::app::Cli", "fichier de points trop grand « %1 »")
                      .arg(*o.Points))
          << "\n";
      return kExitFile;
    }
    DecodePoints(s, SplitPointsText(read.Bytes), o.Units);
  }

  const std::vector<std::string> invalid = InvalidFunctions(s);
  if (!invalid.empty()) {
    for (const std::string& message : invalid) err << "tracevue : " << message << "\n";
    return kExitInvalidFunction;
  }

  if (const QString refused = OutputNeedsProblem(o, s); !refused.isEmpty()) {
    err << "tracevue : " << Utf8(refused) << "\n";
    return kExitUsage;
  }
  // The outputs that are not there yet: when a write fails for a cause no
  // check foresees (a full disk), those written before it are taken back.
  std::vector<std::string> fresh;
  const auto writeFailed = [&](const QString& name, const std::string& error) {
    for (const std::string& path : fresh) {
      char written[PATH_MAX];
      if (::realpath(path.c_str(), written) != nullptr) ::unlink(written);
    }
    err << "tracevue : "
        << Utf8(
               QCoreApplication::translate("tv::app::Cli", "impossible d'écrire « %1 »").arg(name));
    if (!error.empty()) err << " : " << FromProgramText(error);
    err << "\n";
    return kExitFile;
  };
  for (const QString& name : OutputNames(o)) {
    const std::string path = ui::LocalPath(name);
    std::string error;
    if (!CanWriteFile(path, &error)) return writeFailed(name, error);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) fresh.push_back(path);
  }

  if (o.Tune && !TuneFromCommandLine(s, *o.Tune, out, err)) return kExitNotTuned;

  std::vector<MarginRecord> margins;
  s.MarginRecords = &margins;
  const int beepsBefore = host.BeepCount;
  // The one drawing of the run: from here on the host's redraw draws.
  host.OnRedraw = [&s, &target, &frame] { RedrawDiagram(s, target, frame); };
  if (o.Capture)
    CaptureProductCurve(s);
  else
    host.Redraw();
  s.MarginRecords = nullptr;
  surface.Finish();
  if (host.BeepCount != beepsBefore)
    err << "tracevue : "
        << Utf8(QCoreApplication::translate("tv::app::Cli",
                                            "avertissement : une fonction s'annule à une pulsation "
                                            "du tracé, les courbes s'arrêtent là\n"));

  if (o.Export && o.Format == PictureFormat::Csv) {
    // The numbers of the curves just drawn, at the picture's own pulsations.
    std::string error;
    if (!WriteFileAtomically(ui::LocalPath(*o.Export),
                             CurveTableCsv(SweepDrawnCurves(s, target.PlotWidth)), &error))
      return writeFailed(*o.Export, error);
  } else if (o.Export && o.Format == PictureFormat::Pdf) {
    // The printed page, as "Imprimer" gives it on a PDF printer.
    std::string error;
    if (!ui::LinkedVectorOutput()->ExportPrintedPage(s, target, ui::LocalPath(*o.Export),
                                                     o.BlackLines, &error))
      return writeFailed(*o.Export, error);
  } else if (o.Export && (o.Format == PictureFormat::Emf || o.Format == PictureFormat::Svg)) {
    // Vector pictures are drawn anew on their own surface (the metafile in
    // black, as "Sauver l'image" makes it).
    std::string error;
    if (!ui::LinkedVectorOutput()->ExportPicture(s, target, ui::LocalPath(*o.Export), &error))
      return writeFailed(*o.Export, error);
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
    const bool checked[3] = {s.CurveTicked[0], s.CurveTicked[1], s.CurveTicked[2]};
    std::string error;
    if (!WriteWorksheet(BuildWorksheet(s, checked, o.ClosedLoop), ui::LocalPath(*o.Worksheet),
                        &error))
      return writeFailed(*o.Worksheet, error);
  }
  if (o.Report) {
    std::string error;
    if (!WriteReadoutsReport(s, ui::LocalPath(*o.Report), &error,
                             LocusSettings{o.LocusParam, o.LocusRange}))
      return writeFailed(*o.Report, error);
  }
  std::vector<std::string> readouts;
  if (o.Step) {
    std::string error;
    std::vector<std::string> notes;
    if (!ui::WriteStepFile(s, o.StepInput, o.ClosedLoop, o.StepTMax, ui::LocalPath(*o.Step),
                           o.Black, &readouts, &error, &notes))
      return writeFailed(*o.Step, error);
    // Said on the picture; a CSV has no place for them.
    for (const std::string& note : notes) err << "tracevue : " << FromProgramText(note) << "\n";
  }
  std::vector<std::string> verdict;
  if (o.Nyquist) {
    std::string error;
    if (!ui::WriteNyquistFile(s, o.NyquistZoom, ui::LocalPath(*o.Nyquist), o.Black, &verdict,
                              &error))
      return writeFailed(*o.Nyquist, error);
  }
  if (o.Locus) {
    std::string error;
    std::vector<std::string> lines;
    if (!ui::WriteLocusFile(s, o.LocusParam, o.LocusRange, ui::LocalPath(*o.Locus), o.Black, &lines,
                            &error))
      return writeFailed(*o.Locus, error);
    readouts.insert(readouts.end(), lines.begin(), lines.end());
  }
  for (const MarginRecord& margin : margins) out << FromProgramText(MarginText(margin)) << "\n";
  for (const std::string& line : readouts) out << FromProgramText(line) << "\n";
  for (const std::string& line : verdict) out << FromProgramText(line) << "\n";
  return kExitOk;
}

}  // namespace tv::app
