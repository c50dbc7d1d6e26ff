// The font names that the Gradient Text page offers: the family names a browser knows, as the
// HTML's face attribute needs them, without the foundry that the font database adds to tell
// two families of one name apart.
#pragma once

#include <QStringList>

namespace pagelathe {

// Each family of `families` once, without its foundry tag ("Nimbus Sans [URW ]" is "Nimbus
// Sans"), ordered without regard to letter case (names equal but for case in their own order).
// Example: {"b", "C059 [urw]", "A", "C059 [UKWN]"} gives {"A", "b", "C059"}.
[[nodiscard]] QStringList FontFamilyNames(const QStringList& families);

}  // namespace pagelathe
