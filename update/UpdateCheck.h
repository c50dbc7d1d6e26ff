// The update check without its dialog: the request address, the version comparison and the
// verdict on the service's answer. The dialog runs one check at a time on a worker thread
// (TThreadUpdate) and puts the verdict into its labels.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <string_view>

#include "platform/TextList.h"

namespace pagelathe {

// Every blank of the product title becomes "+": "Brevanoth Pagelathe" -> "Brevanoth+Pagelathe".
// A title without blanks comes back as it was, so a second check asks with the same title.
[[nodiscard]] std::string ReplaceBlanksByPlus(std::string_view title);

// base_url + "/cgi-bin/check_update.cgi?title=" + title.
[[nodiscard]] std::string UpdateRequestAddress(std::string_view base_url, std::string_view title);

// True when `answer` sorts after `own` as byte strings: byte by byte by unsigned code, a text
// that is the start of the other sorting first. So "1.52", "1.6" and "1.51 " are newer than
// "1.51", while "1.5" and "1.100" are not.
[[nodiscard]] bool IsNewerVersion(std::string_view answer, std::string_view own);

// The three message texts of the language file that a verdict can show.
struct UpdateTexts {
  std::string last_version;           // StringLastVersion
  std::string new_version_available;  // StringNewVersionIsAvailable, followed by the version
  std::string cant_connect;           // StringCantConnectToServer
};

enum class UpdateOutcome {
  kNotChecked,    // no connection reported: nothing fetched, the checking message stays
  kCantConnect,   // the address could not be opened or the answer not read
  kNoAnswerFile,  // fetched, but the answer file is gone: the previous message stays
  kLastVersion,   // our version is the newest
  kNewVersion,    // the service names a newer version
};

struct UpdateResult {
  UpdateOutcome outcome = UpdateOutcome::kNotChecked;
  // The message label's new text; nothing when the label keeps what it shows.
  std::optional<std::string> message;
  // The link label's new text (the product page, or empty); nothing when it stays as it is.
  std::optional<std::string> link;
  [[nodiscard]] bool Newer() const { return outcome == UpdateOutcome::kNewVersion; }
};

// The verdict on a finished download. `answer` holds the lines of the answer file, or nothing
// when the file could not be found. Only the first line counts; an empty answer means that
// our version is the newest.
[[nodiscard]] UpdateResult JudgeAnswer(bool downloaded, const std::optional<TextList>& answer,
                                       const UpdateTexts& texts, std::string_view own_version,
                                       std::string_view product_page_url);

// Everything one check needs, copied from the window before the worker starts.
struct UpdateQuery {
  bool connected = false;    // what the platform said at the last timer tick
  std::string request_url;   // UpdateRequestAddress(...)
  std::string version_file;  // where the answer is saved ("version.txt" in the program folder)
  std::string agent;         // the main window's caption
  std::string own_version;   // "1.51"
  std::string product_page_url;
  UpdateTexts texts;
};

// One whole check: with a connection, fetches the answer into `version_file`, loads it and
// judges it. `stop`, when set, breaks off a running download (the verdict is then
// kCantConnect and nobody looks at it). Raises EFileError when the answer cannot be written
// or read.
[[nodiscard]] UpdateResult CheckUpdate(const UpdateQuery& query,
                                       const std::atomic<bool>* stop = nullptr);

// The worker object of one check. Each check makes a new one; it is never reused.
class TThreadUpdate {
 public:
  explicit TThreadUpdate(UpdateQuery query) : query_(std::move(query)) {}
  // The worker thread's body.
  void Execute(const std::atomic<bool>& stop) { result_ = CheckUpdate(query_, &stop); }
  // Read it only after Execute has returned.
  [[nodiscard]] const UpdateResult& Result() const { return result_; }

 private:
  UpdateQuery query_;
  UpdateResult result_;
};

}  // namespace pagelathe
