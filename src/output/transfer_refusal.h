// The message that names a transfer file refused on loading and says why.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <string>

#include "output/cp1252.h"
#include "output/file_names.h"

namespace tv::ui {

// problem: the reason ReadTransferFile gave. The two sentences go on two
// lines in a window, on one line (separator " ") on the command line.
inline QString TransferFileRefusal(const std::string& path, const std::string& problem,
                                   const QString& separator = QStringLiteral("\n")) {
  return QCoreApplication::translate("tv::ui::TransferRefusal",
                                     "Le fichier « %1 » n'a pas été ouvert.")
             .arg(ShownPath(path)) +
         separator + FromCp1252(problem);
}

}  // namespace tv::ui
