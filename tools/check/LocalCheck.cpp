// Local links: looked up as files, their anchors read from the file itself.
#include "tools/check/LocalCheck.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "tools/check/HtmlScan.h"

namespace pagelathe {

void CheckLocalLink(CheckedLink& link, bool fragments) {
  link.checked = true;
  std::string path = link.target;
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) {
    link.state = LinkState::kBroken;
    link.message = "no such file: " + path;
    return;
  }
  if (S_ISDIR(info.st_mode)) {
    if (path.back() != '/') path += '/';
    bool found = false;
    for (const char* index : {"index.html", "index.htm", "index.shtml", "index.php"}) {
      if (::stat((path + index).c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        path += index;
        found = true;
        break;
      }
    }
    if (!found) {
      link.state = LinkState::kBroken;
      link.message = "the folder has no index file: " + path;
      return;
    }
  }
  link.state = LinkState::kOk;
  link.final_url = path == link.target ? std::string() : path;
  if (!fragments || link.fragment.empty()) return;
  std::string bytes;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[65536];
    size_t got = 0;
    while (bytes.size() < kMaxFragmentBody &&
           (got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
      bytes.append(buffer, std::min(got, kMaxFragmentBody - bytes.size()));
    std::fclose(file);
  }
  const std::vector<std::string> anchors = ScanHtmlAnchors(bytes);
  if (!std::binary_search(anchors.begin(), anchors.end(), link.fragment)) {
    link.state = LinkState::kBroken;
    link.message = "no anchor #" + link.fragment + " in " + path;
  }
}

}  // namespace pagelathe
