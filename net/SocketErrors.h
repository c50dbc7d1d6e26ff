// Socket error numbers as the program reports them: the classic Winsock numbers and texts
// ("10061:Connection refused"), whatever the system under us calls the error.
#pragma once

#include <cstdint>
#include <string>

namespace pagelathe {

struct WinsockMessageRow {
  int32_t number;
  const char* text;
};

// The 51 rows of the error table; the last row (0, "Unrecognized error code") ends it.
extern const WinsockMessageRow WinsockMessage[51];

// The table text of an error number, or nullptr when the table has no row for it.
[[nodiscard]] const char* WinsockMessageText(int number);

// "10061:Connection refused"; "Unknown Error No. 12345" without a row; empty for 0.
[[nodiscard]] std::string SocketErrorText(int number);

// The Winsock number of a system error (ECONNREFUSED -> 10061, EAGAIN -> 10035, ...).
// An error without a counterpart keeps its own number.
[[nodiscard]] int WinsockErrorFromErrno(int error);

// The Winsock number of a failed host name lookup (getaddrinfo result): 11001 host not
// found, 11002 try again, 11003 non-recoverable, 11004 no address of the asked kind.
[[nodiscard]] int WinsockErrorFromLookup(int result);

// The last socket error of the calling thread, as the socket library keeps it.
[[nodiscard]] int SocketLastError();
void SetSocketLastError(int number);

}  // namespace pagelathe
