// The link shapes of the link type group: what the search keeps of a link it finds.
#pragma once

namespace pagelathe {

enum class LinkShape {
  None = -1,     // no item selected: links are found, nothing is kept
  FullLink = 0,  // "Full link": the whole link
  Domen = 1,     // "Domen": the protocol and the host
  Name = 2,      // "Name": the last part of the path (a file name), without the protocol
};

// The shape of the group's item `index`; None for -1 and every number without an item.
[[nodiscard]] constexpr LinkShape LinkShapeAt(int index) {
  return index >= 0 && index <= 2 ? static_cast<LinkShape>(index) : LinkShape::None;
}

}  // namespace pagelathe
