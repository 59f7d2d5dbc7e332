#include "CommaLocale.h"

#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

CommaLocale::CommaLocale() {
  const char* saved = std::setlocale(LC_NUMERIC, nullptr);
  saved_ = saved ? saved : "C";
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
    if (std::setlocale(LC_NUMERIC, name)) {
      Done();
      return;
    }
  directory_ = std::filesystem::temp_directory_path() / ("zrb-locale-" + std::to_string(::getpid()));
  std::filesystem::create_directories(directory_);
  const std::string command =
      "localedef -i de_DE -f UTF-8 '" + (directory_ / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0 && !std::filesystem::exists(directory_ / "de_DE.UTF-8")) return;
  ::setenv("LOCPATH", directory_.c_str(), 1);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) Done();
}

CommaLocale::~CommaLocale() {
  std::setlocale(LC_NUMERIC, saved_.c_str());
  ::unsetenv("LOCPATH");
  if (!directory_.empty()) std::filesystem::remove_all(directory_);
}

void CommaLocale::Done() {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%.1f", 1.5);
  active_ = std::string(buffer) == "1,5";
}
