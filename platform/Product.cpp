// The product's name and version; PAGELATHE_VERSION comes from the build (platform/CMakeLists.txt).
#include "platform/Product.h"

#define PAGELATHE_TITLE "Brevanoth Pagelathe"

namespace pagelathe {

const char kProductTitle[] = PAGELATHE_TITLE;
const char kProductVersion[] = PAGELATHE_VERSION;
const char kProductCaption[] = PAGELATHE_TITLE " " PAGELATHE_VERSION;

}  // namespace pagelathe
