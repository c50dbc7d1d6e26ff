// The signal handler only stores; everything else happens in the command's own flow.
#include "cli/Interrupt.h"

#include <signal.h>
#include <unistd.h>

namespace pagelathe::cli {
namespace {

std::atomic<bool> g_interrupted{false};
volatile sig_atomic_t g_signal = 0;

void OnSignal(int number) {
  if (g_interrupted.load()) _exit(128 + number);
  g_signal = number;
  g_interrupted.store(true);
}

}  // namespace

void InstallInterruptHandler() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: a blocking read or write returns with EINTR
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

const std::atomic<bool>& InterruptFlag() {
  return g_interrupted;
}

bool Interrupted() {
  return g_interrupted.load(std::memory_order_relaxed);
}

int InterruptStatus() {
  return 128 + (g_signal ? static_cast<int>(g_signal) : SIGINT);
}

}  // namespace pagelathe::cli
