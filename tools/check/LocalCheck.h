// The check of a local link: a file of the disk (a folder stands for its index file) and,
// when asked, the anchor its fragment names. No request is made.
#pragma once

#include "tools/check/LinkSet.h"

namespace pagelathe {

// The largest part of a page the fragment check reads, of a file as of a remote page.
inline constexpr size_t kMaxFragmentBody = size_t{8} << 20;

// Sets the result of the local link `link` (its target is a path): ok when the file is there
// (final_url names the index file a folder stands for), broken when it is not, or when
// `fragments` is set and the file has no id or name anchor for the link's fragment.
void CheckLocalLink(CheckedLink& link, bool fragments);

}  // namespace pagelathe
