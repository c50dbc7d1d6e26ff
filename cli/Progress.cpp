// Progress lines.
#include "cli/Progress.h"

#include <unistd.h>

#include "cli/Commands.h"
#include "platform/Utf8.h"

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
  // Cut to a plain terminal's width in characters, file names shown decoded.
  const std::string shown = ShownName(line);
  size_t at = 0;
  for (int characters = 0; at < shown.size() && characters < 79; ++characters)
    (void)NextCodePoint(shown, at);
  WriteError("\r\033[K" + shown.substr(0, at));
}

}  // namespace pagelathe::cli
