// The program's name and version, said once: the window's caption and the About box, the
// generator of the pages it makes and the command line's help all show them so.
#pragma once

namespace pagelathe {

extern const char kProductTitle[];    // "Brevanoth Pagelathe"
extern const char kProductVersion[];  // the project's version in CMakeLists.txt: "1.51"
// The title, a blank and the version: "Brevanoth Pagelathe 1.51".
extern const char kProductCaption[];

}  // namespace pagelathe
