// Ctrl-C (and a polite kill): the first one asks the running command to stop where it is,
// which it does at once (between pieces of a stream, between documents, in every network
// wait), cleaning up as on any failure, so no temporary file outlives it; the program then
// exits with 128 + the signal (130 for Ctrl-C). A second one ends the process on the spot.
#pragma once

#include <atomic>
#include <exception>

namespace pagelathe::cli {

void InstallInterruptHandler();

// Set by the first SIGINT or SIGTERM; engines take it as their stop flag.
[[nodiscard]] const std::atomic<bool>& InterruptFlag();
[[nodiscard]] bool Interrupted();
// The exit status for the signal that arrived (130 for SIGINT).
[[nodiscard]] int InterruptStatus();

// Thrown to end a command that was interrupted.
class Interruption : public std::exception {
 public:
  [[nodiscard]] const char* what() const noexcept override { return "interrupted"; }
};

inline void ThrowIfInterrupted() {
  if (Interrupted()) throw Interruption();
}

}  // namespace pagelathe::cli
