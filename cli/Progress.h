// Progress of a long job on standard error, shown only when standard error is a terminal
// (and then at most ten times a second, on one line that the next one overwrites); a script's
// standard error gets nothing from it.
#pragma once

#include <chrono>
#include <string>

namespace pagelathe::cli {

class Progress {
 public:
  Progress();
  ~Progress();  // clears the line
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  [[nodiscard]] bool Shown() const { return shown_; }
  // Shows `line` unless one was shown less than 100 ms ago.
  void Show(const std::string& line);

 private:
  bool shown_;
  bool written_ = false;
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace pagelathe::cli
