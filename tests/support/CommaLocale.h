// Test support: for the length of a scope, a process-wide numeric locale with a comma as decimal separator,
// built into a scratch directory when the system has none. Active() tells whether one could be had.
#pragma once

#include <filesystem>
#include <string>

class CommaLocale {
 public:
  CommaLocale();
  ~CommaLocale();
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;
  bool Active() const { return active_; }

 private:
  void Done();
  std::string saved_;
  std::filesystem::path directory_;
  bool active_ = false;
};
