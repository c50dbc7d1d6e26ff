// The HTML attribute scanner: one pass over the bytes, lines counted as it goes.
#include "tools/check/HtmlScan.h"

#include <algorithm>
#include <cstring>

#include "platform/Letters.h"
#include "platform/Utf8.h"

namespace pagelathe {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A character reference's code point, or U+FFFD for one that names no character.
char32_t ReferencedCharacter(unsigned long code) {
  if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0xFFFD;
  return static_cast<char32_t>(code);
}

// The value with its character references decoded; unknown ones stay as written.
std::string DecodeReferences(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  static constexpr struct {
    const char* name;
    char c;
  } kNamed[] = {{"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}};
  size_t i = 0;
  while (i < value.size()) {
    const size_t amp = value.find('&', i);
    if (amp == std::string_view::npos) {
      out.append(value.substr(i));
      break;
    }
    out.append(value.substr(i, amp - i));
    i = amp + 1;
    const std::string_view rest = value.substr(i);
    bool done = false;
    for (const auto& named : kNamed) {
      if (rest.starts_with(named.name)) {
        out += named.c;
        i += std::strlen(named.name);
        done = true;
        break;
      }
    }
    if (done) continue;
    if (rest.size() >= 2 && rest[0] == '#') {
      const bool hex = rest[1] == 'x' || rest[1] == 'X';
      size_t j = hex ? 2 : 1;
      unsigned long code = 0;
      const size_t digits_at = j;
      while (j < rest.size() && j < digits_at + 8) {
        const char c = rest[j];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) break;
        code = code * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
        ++j;
      }
      if (j > digits_at) {
        AppendUtf8(out, ReferencedCharacter(code));
        i += j + (j < rest.size() && rest[j] == ';' ? 1 : 0);
        continue;
      }
    }
    out += '&';
  }
  return out;
}

// Walks the document once; `line` follows the position.
class Scanner {
 public:
  Scanner(std::string_view html, const std::function<void(const HtmlAttribute&)>& visit)
      : html_(html), visit_(visit) {}

  void Run() {
    while (pos_ < html_.size()) {
      const void* lt = std::memchr(html_.data() + pos_, '<', html_.size() - pos_);
      if (lt == nullptr) break;
      MoveTo(static_cast<size_t>(static_cast<const char*>(lt) - html_.data()));
      const std::string_view rest = html_.substr(pos_);
      if (rest.starts_with("<!--")) {
        SkipPast("-->", pos_ + 4);
      } else if (rest.size() > 1 && (rest[1] == '!' || rest[1] == '?' || rest[1] == '/')) {
        SkipPast(">", pos_ + 2);
      } else if (rest.size() > 1 && IsLetter(rest[1])) {
        StartTag();
      } else {
        MoveTo(pos_ + 1);
      }
    }
  }

 private:
  void MoveTo(size_t to) {
    to = std::min(to, html_.size());
    line_ += static_cast<int>(std::count(html_.begin() + static_cast<std::ptrdiff_t>(pos_),
                                         html_.begin() + static_cast<std::ptrdiff_t>(to), '\n'));
    pos_ = to;
  }
  void SkipPast(std::string_view end, size_t from) {
    const size_t found = html_.find(end, std::min(from, html_.size()));
    MoveTo(found == std::string_view::npos ? html_.size() : found + end.size());
  }
  // Skips a raw text body (script, style) up to its end tag, whatever the letter case.
  void SkipRawText(std::string_view tag) {
    size_t at = pos_;
    while (at < html_.size()) {
      const size_t open = html_.find("</", at);
      if (open == std::string_view::npos) break;
      size_t k = 0;
      while (k < tag.size() && open + 2 + k < html_.size() &&
             AsciiLower(html_[open + 2 + k]) == tag[k])
        ++k;
      if (k == tag.size()) {
        MoveTo(open);
        return;
      }
      at = open + 2;
    }
    MoveTo(html_.size());
  }

  void StartTag() {
    MoveTo(pos_ + 1);
    tag_.clear();
    while (pos_ < html_.size() && !IsBlank(html_[pos_]) && html_[pos_] != '>' && html_[pos_] != '/')
      tag_ += AsciiLower(html_[pos_++]);
    for (;;) {
      while (pos_ < html_.size() && (IsBlank(html_[pos_]) || html_[pos_] == '/'))
        MoveTo(pos_ + 1);
      if (pos_ >= html_.size()) return;
      if (html_[pos_] == '>') {
        MoveTo(pos_ + 1);
        break;
      }
      name_.clear();
      while (pos_ < html_.size() && !IsBlank(html_[pos_]) && html_[pos_] != '>' &&
             html_[pos_] != '/' && (html_[pos_] != '=' || name_.empty()))
        name_ += AsciiLower(html_[pos_++]);
      size_t after = pos_;
      while (after < html_.size() && IsBlank(html_[after]))
        ++after;
      HtmlAttribute attribute;
      attribute.tag = tag_;
      attribute.name = name_;
      if (after < html_.size() && html_[after] == '=') {
        MoveTo(after + 1);
        while (pos_ < html_.size() && IsBlank(html_[pos_]))
          MoveTo(pos_ + 1);
        attribute.line = line_;
        if (pos_ < html_.size() && (html_[pos_] == '"' || html_[pos_] == '\'')) {
          const char quote = html_[pos_];
          const size_t start = pos_ + 1;
          size_t end = html_.find(quote, start);
          if (end == std::string_view::npos) end = html_.size();
          attribute.value = DecodeReferences(html_.substr(start, end - start));
          MoveTo(end + 1);
        } else {
          const size_t start = pos_;
          while (pos_ < html_.size() && !IsBlank(html_[pos_]) && html_[pos_] != '>')
            ++pos_;
          attribute.value = DecodeReferences(html_.substr(start, pos_ - start));
        }
      } else {
        attribute.line = line_;
      }
      if (!name_.empty()) visit_(attribute);
    }
    if (tag_ == "script" || tag_ == "style" || tag_ == "textarea" || tag_ == "title")
      SkipRawText(tag_);
  }

  std::string_view html_;
  const std::function<void(const HtmlAttribute&)>& visit_;
  size_t pos_ = 0;
  int line_ = 1;
  std::string tag_;
  std::string name_;
};

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

}  // namespace

void ScanHtmlAttributes(std::string_view html,
                        const std::function<void(const HtmlAttribute& attribute)>& visit) {
  Scanner(html, visit).Run();
}

HtmlLinks ScanHtmlLinks(std::string_view html) {
  HtmlLinks result;
  bool have_base = false;
  ScanHtmlAttributes(html, [&](const HtmlAttribute& a) {
    if (a.name != "href" && a.name != "src") return;
    const std::string_view value = Trimmed(a.value);
    if (a.tag == "base") {
      if (!have_base && a.name == "href") result.base = std::string(value);
      have_base = true;
      return;
    }
    result.links.push_back({std::string(value), a.line});
  });
  return result;
}

std::vector<std::string> ScanHtmlAnchors(std::string_view html) {
  std::vector<std::string> anchors;
  ScanHtmlAttributes(html, [&](const HtmlAttribute& a) {
    if (a.name == "id" || (a.name == "name" && a.tag == "a")) anchors.push_back(a.value);
  });
  std::sort(anchors.begin(), anchors.end());
  anchors.erase(std::unique(anchors.begin(), anchors.end()), anchors.end());
  return anchors;
}

bool LooksLikeHtml(std::string_view name, std::string_view bytes) {
  std::string lower;
  for (const char c :
       name.substr(name.rfind('.') == std::string_view::npos ? name.size() : name.rfind('.')))
    lower += AsciiLower(c);
  if (lower == ".htm" || lower == ".html" || lower == ".shtm" || lower == ".shtml" ||
      lower == ".php")
    return true;
  if (lower == ".txt") return false;
  const std::string_view head = bytes.substr(0, 4096);
  for (size_t i = 0; i + 1 < head.size(); ++i)
    if (head[i] == '<' && (IsLetter(head[i + 1]) || head[i + 1] == '!' || head[i + 1] == '/'))
      return true;
  return false;
}

}  // namespace pagelathe
