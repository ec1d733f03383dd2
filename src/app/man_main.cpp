// The build's writer of the manual page tracevue(1): one language, one file.
// Usage: tracevue-man fr|en OUTPUT
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#include "app/man_page.h"
#include "output/language.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const std::optional<tv::ui::Language> language =
      argc == 3 ? tv::ui::LanguageNamed(QString::fromLatin1(argv[1])) : std::nullopt;
  if (!language) {
    std::fputs("usage: tracevue-man fr|en OUTPUT\n", stderr);
    return 2;
  }
  if (*language == tv::ui::Language::English) tv::ui::InstallLanguage(app, *language);
  QFile out(QString::fromLocal8Bit(argv[2]));
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      out.write(tv::app::ManPage(QStringLiteral(TRACEVUE_VERSION)).toUtf8()) < 0 || !out.flush()) {
    std::fprintf(stderr, "tracevue-man: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
