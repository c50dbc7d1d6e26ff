// Runs the pagelathe program as a separate process with given arguments, standard input and
// environment, and collects its exit status and both outputs.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace pagelathe::testing {

struct ProcessResult {
  int status = -1;  // the exit status, or 128 + the signal that ended it
  std::string out;
  std::string err;
};

struct ProcessOptions {
  std::string input;                     // written to standard input, then closed
  std::vector<std::string> environment;  // "NAME=value" set on top of the test's own
  // Called once the process runs, with its id (to signal it); the run waits for it to return.
  std::function<void(pid_t)> while_running;
};

// Runs `program` (the built pagelathe unless given) with `arguments`.
ProcessResult RunPagelathe(const std::vector<std::string>& arguments,
                           const ProcessOptions& options = {});

// Polls `condition` every few milliseconds until it holds; false after `ms`.
bool WaitFor(const std::function<bool()>& condition, int ms = 20000);

}  // namespace pagelathe::testing
