// What the sources of the socket client share (TPowersock.cpp, PowersockTransfer.cpp,
// PowersockListen.cpp and PowersockTls.cpp, and the HTTP client's report): the levels of its
// status reports and the keeping of a system error.
#pragma once

#include <cerrno>
#include <cstdint>

#include "net/SocketErrors.h"

namespace pagelathe {

// The status levels of the reports (a report is kept when `ReportLevel` reaches its level):
// a reply line of Transaction, the HTTP client's "Transaction Completed", the sends, closes and
// accepts, and every other report.
inline constexpr uint8_t kLevelReply = 1;
inline constexpr uint8_t kLevelCompleted = 2;
inline constexpr uint8_t kLevelTransfer = 4;
inline constexpr uint8_t kLevelDetail = 8;

// Keeps errno, as its Winsock number, as the calling thread's last socket error.
inline void RecordErrno() {
  SetSocketLastError(WinsockErrorFromErrno(errno));
}

}  // namespace pagelathe
