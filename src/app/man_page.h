// The manual page tracevue(1), written from the option table behind --help, in the language
// installed.
#pragma once

#include <QString>

namespace tv::app {

// The page's troff source (man macros, UTF-8) in the language whose
// translation is installed: French when none is. `version` names the
// release in the page's footer. A QCoreApplication must exist.
QString ManPage(const QString& version);

}  // namespace tv::app
