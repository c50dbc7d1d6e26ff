// Loading and saving text lists with the line rules of the original's string lists.
#include "platform/TextList.h"

#include "platform/FileIO.h"
#include "platform/LineStream.h"

namespace pagelathe {

TextList SplitLines(std::string_view bytes) {
  // The streaming rule, fed the whole text as its one piece.
  TextList lines;
  const auto keep = [&lines](std::string_view line) { lines.emplace_back(line); };
  LineStream stream;
  stream.Feed(bytes, keep);
  stream.Finish(keep);
  return lines;
}

std::string JoinLines(const TextList& lines) {
  size_t total = 0;
  for (const auto& line : lines)
    total += line.size() + 2;
  std::string bytes;
  bytes.reserve(total);
  for (const auto& line : lines) {
    bytes += line;
    bytes += "\r\n";
  }
  return bytes;
}

TextList LoadTextList(const std::string& path, uint64_t limit) {
  return SplitLines(ReadUserText(path, limit));
}

void SaveTextListInItsEncoding(const TextList& lines, const std::string& path,
                               Durability durability) {
  std::string old;
  const bool read = TryReadUserFile(path, kProfileLimit, old).ok();
  SaveTextList(lines, path, read ? EncodingOf(old) : TextEncoding::kUtf8, durability);
}

TextList LoadTextList(const std::string& path, uint64_t limit, TextEncoding& encoding) {
  std::string bytes = ReadUserFile(path, limit);
  encoding = EncodingOf(bytes);
  return SplitLines(DecodeText(std::move(bytes)));
}

void SaveTextList(const TextList& lines, const std::string& path, Durability durability) {
  WriteFileAtomic(path, JoinLines(lines), durability);
}

void SaveTextList(const TextList& lines, const std::string& path, TextEncoding encoding,
                  Durability durability) {
  WriteFileAtomic(path, EncodeText(JoinLines(lines), encoding), durability);
}

}  // namespace pagelathe
