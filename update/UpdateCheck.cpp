// The update check's request, comparison and verdict.
#include "update/UpdateCheck.h"

#include "platform/FileIO.h"
#include "platform/FileRead.h"
#include "platform/TextList.h"
#include "update/Download.h"

namespace pagelathe {

std::string ReplaceBlanksByPlus(std::string_view title) {
  std::string result(title);
  for (char& c : result) {
    if (c == ' ') c = '+';
  }
  return result;
}

std::string UpdateRequestAddress(std::string_view base_url, std::string_view title) {
  std::string address(base_url);
  address += "/cgi-bin/check_update.cgi?title=";
  address += title;
  return address;
}

bool IsNewerVersion(std::string_view answer, std::string_view own) {
  // char_traits<char> compares as unsigned char, so bytes 0x80-0xFF sort after ASCII.
  return answer.compare(own) > 0;
}

UpdateResult JudgeAnswer(bool downloaded, const std::optional<TextList>& answer,
                         const UpdateTexts& texts, std::string_view own_version,
                         std::string_view product_page_url) {
  UpdateResult result;
  if (!downloaded) {
    result.outcome = UpdateOutcome::kCantConnect;
    result.message = texts.cant_connect;
    return result;
  }
  if (!answer) {
    result.outcome = UpdateOutcome::kNoAnswerFile;
    return result;
  }
  if (!answer->empty() && IsNewerVersion(answer->front(), own_version)) {
    result.outcome = UpdateOutcome::kNewVersion;
    result.message = texts.new_version_available + answer->front();
    result.link = std::string(product_page_url);
  } else {
    result.outcome = UpdateOutcome::kLastVersion;
    result.message = texts.last_version;
    result.link = std::string();
  }
  return result;
}

UpdateResult CheckUpdate(const UpdateQuery& query, const std::atomic<bool>* stop) {
  if (!query.connected) return {};
  DownloadOptions options;
  options.agent = query.agent;
  options.stop = stop;
  // The answer is one line; one that would not fit a profile is no answer.
  options.max_bytes = kProfileLimit;
  const bool downloaded = DownloadFile(query.request_url, query.version_file, options);
  std::optional<TextList> answer;
  if (downloaded && FileExists(query.version_file))
    answer = LoadTextList(query.version_file, kProfileLimit);
  return JudgeAnswer(downloaded, answer, query.texts, query.own_version, query.product_page_url);
}

}  // namespace pagelathe
