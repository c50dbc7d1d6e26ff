// One whole page fetch with the program's HTTP client, as a process of its own, so that
// net_fetch_vs_curl.sh can time it beside curl fetching the same page from the same server.
// Usage: bench_net_fetch URL [--discard]
// The body is kept in memory, as the main window keeps it; with --discard each received
// chunk is dropped once counted, which measures the transfer path alone (as curl -o /dev/null).
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>

#include "net/TNMHTTP.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--discard") != 0)) {
    std::fprintf(stderr, "usage: %s URL [--discard]\n", argv[0]);
    return 2;
  }
  try {
    pagelathe::TNMHTTP http;
    size_t dropped = 0;
    if (argc == 3) {
      http.OnPacketRecvd = [&http, &dropped](pagelathe::TPowersock&) {
        dropped += http.Body.size();
        http.Body.clear();  // keeps its pages: the next chunk lands in the same memory
      };
    }
    const auto start = std::chrono::steady_clock::now();
    http.Get(argv[1]);
    http.Disconnect();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const size_t bytes = dropped + http.Body.size();
    std::printf("status %d, %zu bytes in %.3f s, %.1f MB/s\n", http.ReplyCode, bytes, seconds,
                static_cast<double>(bytes) / 1e6 / seconds);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
