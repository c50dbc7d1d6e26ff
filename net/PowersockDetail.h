// What the three sources of the socket client share (TPowersock.cpp, PowersockTransfer.cpp and
// PowersockListen.cpp): the levels of its status reports and the keeping of a system error.
#pragma once

#include <cerrno>
#include <cstdint>

#include "net/SocketErrors.h"

namespace pagelathe {

// The status levels of the reports (a report is kept when `ReportLevel` reaches its level).
inline constexpr uint8_t kLevelDetail = 8;
inline constexpr uint8_t kLevelTransfer = 4;

// Keeps errno, as its Winsock number, as the calling thread's last socket error.
inline void RecordErrno() {
  SetSocketLastError(WinsockErrorFromErrno(errno));
}

}  // namespace pagelathe
