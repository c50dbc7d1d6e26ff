// The streamed converter. Its three stages keep only what a rule can still change:
//  - the markup replacements look ahead at most five bytes after a "<" or "&", so a piece that
//    ends inside a possible pattern carries those bytes to the next piece;
//  - a "<hr>" is recognised on the replaced text, as the last replacement of HtmlToText sees
//    it (so "<h&nbsp;r>" is one too); replaced text that may still become one is held back;
//  - the tag removal and the blank collapse are one byte of state each.
#include "tools/converter/HtmlTextStream.h"

#include <array>

namespace pagelathe {
namespace {

struct Rule {
  std::string_view found;
  std::string_view replaced;
};

// The rules that begin with "<", in the order HtmlToText tries them.
constexpr std::array<Rule, 7> kBreakRules = {{
    {"<p>", "\r\n\r\n"},
    {"<P>", "\r\n\r\n"},
    {"<br>", "\r\n"},
    {"<BR>", "\r\n"},
    {"<ol>", "\r\n"},
    {"<ul>", "\r\n"},
    {"<li>", "\r\n * "},
}};
constexpr std::string_view kNbsp = "&nbsp;";
constexpr std::string_view kRule = "<hr>";

constexpr std::array<bool, 256> MakeSpecial() {
  std::array<bool, 256> special{};
  special[static_cast<unsigned char>('<')] = true;
  special[static_cast<unsigned char>('&')] = true;
  special[static_cast<unsigned char>('>')] = true;
  return special;
}
constexpr std::array<bool, 256> kSpecial = MakeSpecial();

// True when `rest` (shorter than the pattern) could still grow into a pattern at `rest[0]`.
bool MayBecomePattern(std::string_view rest) {
  if (rest[0] == '&') return kNbsp.starts_with(rest);
  for (const Rule& rule : kBreakRules)
    if (rule.found.size() > rest.size() && rule.found.starts_with(rest)) return true;
  return false;
}

}  // namespace

HtmlTextStream::HtmlTextStream(std::string_view separator) : separator_(separator) {}

void HtmlTextStream::Feed(std::string_view bytes, std::string& out) {
  if (ended_) return;
  joined_.assign(carry_);
  carry_.clear();
  const size_t start = joined_.size();
  joined_.resize(start + bytes.size());
  char* write = joined_.data() + start;
  for (const char c : bytes) {
    if (c == '\0') {
      ended_ = true;
      break;
    }
    *write = c;
    write += (c != '\r' && c != '\n');
  }
  joined_.resize(static_cast<size_t>(write - joined_.data()));
  Replace(joined_, ended_, out);
}

void HtmlTextStream::Finish(std::string& out) {
  joined_.swap(carry_);
  carry_.clear();
  Replace(joined_, true, out);
  if (wrote_) out += "\r\n";
  wrote_ = false;
}

void HtmlTextStream::Replace(std::string_view text, bool last, std::string& out) {
  // The replaced text begins with what the last piece held back.
  replaced_.swap(pending_);
  pending_.clear();
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    size_t j = i;
    while (j < n && !kSpecial[static_cast<unsigned char>(text[j])])
      ++j;
    replaced_.append(text.data() + i, j - i);
    if (j == n) break;
    i = j;
    const std::string_view rest = text.substr(i);
    if (!last && rest.size() < kNbsp.size() && text[i] != '>' && MayBecomePattern(rest)) {
      carry_.assign(rest);
      break;
    }
    if (text[i] == '<') {
      const Rule* matched = nullptr;
      for (const Rule& rule : kBreakRules)
        if (rest.starts_with(rule.found)) {
          matched = &rule;
          break;
        }
      if (matched) {
        replaced_ += matched->replaced;
        i += matched->found.size();
      } else {
        replaced_ += '<';
        ++i;
      }
    } else if (text[i] == '&') {
      if (rest.starts_with(kNbsp)) {
        i += kNbsp.size();  // deleted: what stands on both sides now meets
      } else {
        replaced_ += '&';
        ++i;
      }
    } else {
      replaced_ += '>';
      ++i;
      if (replaced_.ends_with(kRule)) {
        replaced_.resize(replaced_.size() - kRule.size());
        replaced_ += "\r\n\r\n";
        replaced_ += separator_;
        replaced_ += "\r\n";
      }
    }
  }
  // The end that may still become a "<hr>" waits for the next piece.
  size_t keep = 0;
  if (!last) {
    for (size_t length = std::min<size_t>(3, replaced_.size()); length > 0; --length) {
      if (kRule.starts_with(std::string_view(replaced_).substr(replaced_.size() - length))) {
        keep = length;
        break;
      }
    }
  }
  pending_.assign(replaced_, replaced_.size() - keep, keep);
  replaced_.resize(replaced_.size() - keep);
  Clean(replaced_, out);
}

// Tag removal and blank collapse: the replaced text after DeleteTag and DelDoubBlank.
void HtmlTextStream::Clean(std::string_view replaced, std::string& out) {
  const size_t start = out.size();
  out.resize(start + replaced.size());
  char* const first = out.data() + start;
  char* write = first;
  bool in_tag = in_tag_;
  bool after_blank = after_blank_;
  for (const char c : replaced) {
    in_tag = in_tag || c == '<';
    const bool blank = c == ' ';
    const bool keep = !in_tag && !(blank && after_blank);
    after_blank = in_tag ? after_blank : blank;
    in_tag = in_tag && c != '>';
    *write = c;
    write += keep ? 1 : 0;
  }
  in_tag_ = in_tag;
  after_blank_ = after_blank;
  wrote_ = wrote_ || write != first;
  out.resize(static_cast<size_t>(write - out.data()));
}

}  // namespace pagelathe
