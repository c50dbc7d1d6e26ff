// Links taken apart and put together: the server part, comparison of servers, extensions and
// country zones, and the resolution of a relative link against its page.
#include <algorithm>

#include "platform/Letters.h"
#include "textlib/Dizerezez.h"

namespace pagelathe {
namespace {

constexpr std::string_view kHttp = "http://";

// The part before the first "/".
std::string_view BeforeSlash(std::string_view link) {
  return link.substr(0, link.find('/'));
}

// The extension of a file name with its dot: from the last "." on, unless a "\" or ":" comes
// after that "."; otherwise empty.
std::string_view FileExt(std::string_view name) {
  const std::size_t last = name.find_last_of(".\\:");
  if (last == std::string_view::npos || name[last] != '.') return {};
  return name.substr(last);
}

// Row of `zone` that equals an upper-case text, or -1.
int ZoneRow(std::string_view upper) {
  const auto it = std::lower_bound(zone.begin(), zone.end(), upper);
  return it != zone.end() && *it == upper ? static_cast<int>(it - zone.begin()) : -1;
}

bool IsZoneOrDomain(std::string_view upper) {
  return ZoneRow(upper) >= 0 || std::find(Domain.begin(), Domain.end(), upper) != Domain.end();
}

bool SameServer(std::string_view a, std::string_view b) {
  return SameText(a, b);
}

std::string_view WithoutHttp(std::string_view link) {
  return link.starts_with(kHttp) ? link.substr(kHttp.size()) : link;
}

}  // namespace

std::string DelHttp(const std::string& link) {
  return std::string(WithoutHttp(link));
}

std::string CopyServer(const std::string& link) {
  if (link.empty()) return {};
  if (link.starts_with(kHttp) || link.starts_with("www."))
    return std::string(BeforeSlash(WithoutHttp(link)));
  const std::string_view server = BeforeSlash(link);
  return std::count(server.begin(), server.end(), '.') >= 2 ? std::string(server) : "0";
}

int CompareLink(const std::string& a, const std::string& b) {
  if (a.starts_with('/')) return 3;
  std::string_view left = WithoutHttp(a);
  std::string_view right = WithoutHttp(b);
  if ((a.starts_with(kHttp) || b.starts_with(kHttp)) &&
      SameServer(BeforeSlash(left), BeforeSlash(right)))
    return 0;
  if (left.starts_with("www.")) left.remove_prefix(4);
  if (right.starts_with("www.")) right.remove_prefix(4);
  return SameServer(BeforeSlash(left), BeforeSlash(right)) ? 0 : 1;
}

std::string GetExtLink(const std::string& link) {
  const std::string_view ext = FileExt(link);
  if (ext.empty()) return "0";
  std::string_view rest = ext.substr(1);
  rest = rest.substr(0, rest.find_first_of("#?/"));
  if (rest.empty() || IsZoneOrDomain(AsciiUpperCase(rest))) return "0";
  return std::string(rest);
}

std::string GetZone(const std::string& link) {
  const std::string_view ext = FileExt(BeforeSlash(WithoutHttp(link)));
  if (ext.empty()) return "0";
  const int row = ZoneRow(AsciiUpperCase(ext.substr(1)));
  return row >= 0 ? std::string(zone[row]) : "0";
}

std::string ZoneToState(const std::string& zone_name) {
  const int row = ZoneRow(AsciiUpperCase(zone_name));
  return row >= 0 ? std::string(state[row]) : "0";
}

std::string ExtractPath(const std::string& link) {
  std::string_view path = link;
  if (path.ends_with('/')) path.remove_suffix(1);
  const std::size_t last_slash = path.rfind('/');
  if (last_slash == std::string_view::npos) return std::string(path) + "/";
  // A link that names only a server ("http://example.com") is its own folder.
  const std::size_t scheme = path.find("://");
  if (scheme != std::string_view::npos && path.find('/', scheme + 3) == std::string_view::npos)
    return std::string(path) + "/";
  const std::size_t last_dot = path.rfind('.');
  if (last_dot == std::string_view::npos || last_dot < last_slash) return std::string(path) + "/";
  return std::string(path.substr(0, last_slash + 1));
}

std::string ConcatLink(const std::string& base, const std::string& link) {
  if (link == base || link.starts_with(kHttp) || link.starts_with("www.")) return link;
  if (link.starts_with("../")) {
    std::string path = ExtractPath(base);
    path.pop_back();
    // Climbing stops at the server's root: "../" above it is dropped, as browsers do.
    const std::size_t scheme = path.find("://");
    const std::size_t top = scheme == std::string::npos ? 0 : scheme + 3;
    bool at_top = false;
    std::size_t pos = 0;
    while (link.compare(pos, 3, "../") == 0) {
      if (!at_top) {
        const std::size_t slash = path.rfind('/');
        if (slash == std::string::npos || slash < top)
          at_top = true;
        else
          path.resize(slash);
      }
      pos += 3;
    }
    return path + "/" + link.substr(pos);
  }
  // A link whose first stretch (up to its first "/", its last character left out) holds a "."
  // and ends in a zone or generic domain names a server.
  if (!link.empty()) {
    const std::size_t stretch = std::min(link.find('/'), link.size() - 1);
    if (link.find('.') < stretch) {
      const std::string_view ext = FileExt(BeforeSlash(link));
      if (!ext.empty() && IsZoneOrDomain(AsciiUpperCase(ext.substr(1)))) return link;
    }
  }
  std::string result = ExtractPath(base);
  result.append(link, link.starts_with('/') ? 1 : 0);
  return result;
}

}  // namespace pagelathe
