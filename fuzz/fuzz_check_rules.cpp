// Fuzz target: the small parsers of the link check on any bytes, the first byte choosing
// which: relative-link resolution (link and base cut at a NUL), robots.txt with a path, the
// accepted codes, the states of --fail-on, durations and a cache file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "tools/check/CheckCache.h"
#include "tools/check/LinkCheck.h"
#include "tools/check/LinkSources.h"
#include "tools/check/Robots.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
  const size_t cut = input.find('\0');
  const std::string first = input.substr(0, cut);
  const std::string second = cut == std::string::npos ? std::string() : input.substr(cut + 1);
  try {
    switch (data[0] % 6) {
      case 0: {
        const std::string resolved = pagelathe::ResolveLink(first, second);
        // A relative link against an absolute URL stays on a URL of the same scheme.
        if (!resolved.empty() && second.starts_with("http://h/") &&
            first.find(':') == std::string::npos && !resolved.starts_with("http:"))
          std::abort();
        break;
      }
      case 1:
        static_cast<void>(pagelathe::ParseRobots(first, "Mozilla/5.0 BrevanothPagelathe/1.51")
                              .Allows(second.empty() ? "/" : second));
        break;
      case 2: {
        const pagelathe::AcceptCodes codes = pagelathe::AcceptCodes::Parse(input);
        static_cast<void>(codes.Accepts(200));
        break;
      }
      case 3:
        static_cast<void>(pagelathe::StateSet::Parse(input));
        break;
      case 4:
        if (pagelathe::ParseDuration(input) < 0) std::abort();
        break;
      case 5: {
        char path[] = "/tmp/fuzz-check-cache-XXXXXX";
        const int fd = ::mkstemp(path);
        if (fd < 0) return 0;
        if (::write(fd, input.data(), input.size()) != static_cast<ssize_t>(input.size())) {
          ::close(fd);
          ::unlink(path);
          return 0;
        }
        ::close(fd);
        const pagelathe::CheckCache cache(path, 86400, 1700000000);
        pagelathe::CheckedLink link;
        link.target = first;
        static_cast<void>(cache.Fill(link));
        ::unlink(path);
        break;
      }
    }
  } catch (const std::invalid_argument&) {
    // The parsers refuse what they cannot read: that is their contract.
  }
  return 0;
}
