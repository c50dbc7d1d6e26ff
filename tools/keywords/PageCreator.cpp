// Texts of the page creator.
#include "tools/keywords/PageCreator.h"

namespace pagelathe {

std::string KeywordsText(const TextList& items) {
  size_t length = 0;
  for (const auto& item : items)
    length += item.size() + 2;
  std::string text;
  text.reserve(length);
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += ", ";
    text += items[i];
  }
  return text;
}

std::string ProposedSaveName(const std::string& opened_file) {
  const size_t slash = opened_file.rfind('/');
  const std::string name = slash == std::string::npos ? opened_file : opened_file.substr(slash + 1);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(0, dot);
}

}  // namespace pagelathe
