// A list of "name: value" lines with lookup by name, as HTTP header lines are kept. The name
// of a line is the text before its first ":".
#pragma once

#include <string>

#include "platform/TextList.h"

namespace pagelathe {

class TExStringList {
 public:
  TextList Strings;
  // A sorted list keeps its lines in case-insensitive order and is searched by halving.
  bool Sorted = false;

  [[nodiscard]] int Count() const { return static_cast<int>(Strings.size()); }
  void Clear() { Strings.clear(); }
  // Appends a line (a sorted list puts it at its place); returns its index.
  int Add(const std::string& line);

  // The index of the line named `name` (letter case ignored), or -1. A line without ":" has
  // no name and is never found in an unsorted list.
  [[nodiscard]] int IndexOfName(const std::string& name) const;
  // The text after the name and its ":", one leading blank dropped; "" when there is none.
  [[nodiscard]] std::string GetValue(const std::string& name) const;
  // Writes "name: value" over the line of that name, or adds it; an empty value deletes the
  // line. SetValue("Host", "x"), then SetValue("HOST", "y") leaves the one line "HOST: y".
  void SetValue(const std::string& name, const std::string& value);
};

}  // namespace pagelathe
