// The HTTP response reader: any bytes from a server end in a header and a body, never in a
// crash or a hang.
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "net/TNMHTTP.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 100000) return 0;  // what one socket buffer holds without a reader
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0) return 0;
  const char* bytes = reinterpret_cast<const char*>(data);
  size_t written = 0;
  while (written < size) {
    const ssize_t n = ::send(ends[1], bytes + written, size - written, MSG_NOSIGNAL);
    if (n <= 0) break;
    written += static_cast<size_t>(n);
  }
  ::close(ends[1]);
  pagelathe::TNMHTTP http;
  http.AdoptSocket(ends[0]);
  try {
    http.RemoveHeader();
    http.CaptureString(http.Body, -1);
  } catch (const pagelathe::Exception&) {
  }
  if (http.Header.size() + http.Body.size() > written) __builtin_trap();
  return 0;
}
