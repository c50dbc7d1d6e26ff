// Reading documents.
#include "cli/Input.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "cli/Interrupt.h"
#include "platform/Errors.h"

namespace pagelathe::cli {

std::string InputName(const std::string& operand) {
  return operand == "-" ? "standard input" : operand;
}

void OpenDocument(const std::string& operand, UserFileStream& stream, uint64_t limit) {
  stream.SetStop(&InterruptFlag());
  const ReadResult result =
      operand == "-" ? stream.OpenStandardInput(limit)
                     : stream.Open(operand, UserFileStream::Accept::kRegularOrFifo, limit);
  if (!result.ok())
    throw EFileError(ReadFailureMessage(InputName(operand), result, stream.Limit()));
}

void CheckStream(const std::string& operand, const UserFileStream& stream) {
  const ReadResult& status = stream.Status();
  if (status.ok()) return;
  if (status.status == ReadStatus::kReadError && status.error == EINTR && Interrupted())
    throw Interruption();
  throw EFileError(ReadFailureMessage(InputName(operand), status, stream.Limit()));
}

std::string ReadDocument(const std::string& operand, uint64_t limit) {
  struct stat info {};
  if (operand != "-" && ::stat(operand.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
    // A regular file is read whole at once, sized as it is.
    return ReadUserFile(operand, limit);
  }
  UserFileStream stream;
  OpenDocument(operand, stream, limit);
  return ReadRest(operand, stream);
}

std::string ReadRest(const std::string& operand, UserFileStream& stream) {
  std::string bytes;
  constexpr size_t kPiece = 1 << 16;
  size_t size = 0;
  for (;;) {
    if (bytes.size() - size < kPiece) bytes.resize(std::max(bytes.size() * 2, size + kPiece));
    const size_t n = stream.Read(bytes.data() + size, bytes.size() - size);
    if (n == 0) break;
    size += n;
  }
  CheckStream(operand, stream);
  bytes.resize(size);
  return bytes;
}

bool IsFolderOperand(const std::string& operand) {
  struct stat info {};
  if (operand == "-") return false;
  if (::stat(operand.c_str(), &info) != 0)
    throw EFileError("Cannot open \"" + operand + "\". " + std::strerror(errno));
  return S_ISDIR(info.st_mode);
}

}  // namespace pagelathe::cli
