// --tune and --report: the tuning applied to the state and printed, the report written.
#include "app/readouts_cli.h"

#include <QCoreApplication>
#include <ostream>

#include "analysis/readouts_report.h"
#include "analysis/tuning.h"
#include "core/parameters.h"
#include "files/file_io.h"

namespace tv::app {

bool TuneFromCommandLine(DiagramState& s, const std::string& name, std::ostream& out,
                         std::ostream& err) {
  const ParameterInfo* info = FindParameter(name);
  if (info == nullptr) return false;
  const std::optional<double> value = TuneClosedLoopPeak(s, info->Id);
  if (!value) {
    err << "tracevue : "
        << QCoreApplication::translate("tv::app::Cli",
                                       "--tune : aucune valeur de %1 entre 0 et %2 ne donne un pic "
                                       "de 2,3 dB avec une boucle fermée stable\n")
               .arg(QLatin1String(info->Name), QString::fromStdString(JsonNumber(kTuningHighest)))
               .toStdString();
    return false;
  }
  ParameterValue(s, info->Id) = *value;
  out << info->Name << "=" << JsonNumber(*value) << "\n";
  return true;
}

bool WriteReadoutsReport(const DiagramState& s, const std::string& path, std::string* error,
                         const LocusSettings& locus) {
  return WriteFileAtomically(path, ReadoutsReport(s, locus), error);
}

}  // namespace tv::app
