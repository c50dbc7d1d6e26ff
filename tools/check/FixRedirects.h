// Mending what can be mended: every permanent redirect found by a check is rewritten in the
// local documents where its link stands, to the redirect's final URL. Only the link's own
// bytes on its own lines change; every other byte of the document stays as it was. Documents
// are replaced through AtomicFile, so a failed write leaves them whole.
#pragma once

#include <string>
#include <vector>

#include "tools/check/LinkSet.h"

namespace pagelathe {

struct DocumentFix {
  std::string document;  // its path
  std::string before;    // its bytes now
  std::string after;     // its bytes mended
  int replacements = 0;
};

// The mended documents (only those that change) for the permanent redirects of `links`.
// Documents that are no file (standard input, fetched pages) are left alone. Raises
// EFileError for a document that cannot be read.
[[nodiscard]] std::vector<DocumentFix> PlanRedirectFixes(const LinkSet& links);

// Writes every fix. Raises EFileError naming the document that could not be written (the
// documents written before it stay mended, that one and the rest stay as they were).
void ApplyFixes(const std::vector<DocumentFix>& fixes);

// The changes as a unified diff ("--- a/path", "+++ b/path", hunks with 3 lines of context).
[[nodiscard]] std::string UnifiedDiff(const std::vector<DocumentFix>& fixes);

}  // namespace pagelathe
