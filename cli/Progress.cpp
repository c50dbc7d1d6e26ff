// Progress lines.
#include "cli/Progress.h"

#include <unistd.h>

#include "cli/Commands.h"

namespace pagelathe::cli {

Progress::Progress() : shown_(::isatty(STDERR_FILENO) == 1) {}

Progress::~Progress() {
  if (written_) WriteError("\r\033[K");
}

void Progress::Show(const std::string& line) {
  if (!shown_) return;
  const auto now = std::chrono::steady_clock::now();
  if (written_ && now - last_ < std::chrono::milliseconds(100)) return;
  last_ = now;
  written_ = true;
  // Cut to a plain terminal's width, so that the line never wraps.
  WriteError("\r\033[K" + line.substr(0, 79));
}

}  // namespace pagelathe::cli
