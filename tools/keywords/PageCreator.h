// The texts of the page creator that do not depend on a window: the keywords line made from
// the keyword list and the name proposed when a created page is saved.
#pragma once

#include <string>

#include "platform/TextList.h"

namespace pagelathe {

// The items joined by ", ": {"alpha", "beta"} gives "alpha, beta"; one item gives itself.
[[nodiscard]] std::string KeywordsText(const TextList& items);

// The name the save dialog proposes for the page made from the file last opened on the
// search tab: its name without folder, up to (not including) its last "."; the empty text
// when the name holds no ".". "/home/u/texts/about.us.txt" gives "about.us".
[[nodiscard]] std::string ProposedSaveName(const std::string& opened_file);

}  // namespace pagelathe
