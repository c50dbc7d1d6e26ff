// The data operations of the socket client: sending buffers, texts, files and streams;
// reading counted blocks and lines; capturing everything until the connection ends.
#include <poll.h>
#include <sys/mman.h>
#include <algorithm>
#include <cstring>
#include <istream>
#include <new>
#include <ostream>

#include "net/FileSink.h"
#include "net/NetWords.h"
#include "net/PowersockDetail.h"
#include "net/SocketErrors.h"
#include "net/TPowersock.h"
#include "platform/AtomicFile.h"

namespace pagelathe {
namespace {

// A declared length is believed up to this much (a false one must not take all memory).
constexpr int64_t kMaxReserve = int64_t{256} << 20;

// A large body asks for large memory pages: taking a fresh page costs far more than copying
// its bytes, and a large page stands for 512 small ones.
void PreferLargePages(std::string& text) {
  constexpr uintptr_t kLargePage = uintptr_t{2} << 20;
  if (text.capacity() < 4 * kLargePage) return;
  const auto start = reinterpret_cast<uintptr_t>(text.data());
  const uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
  const uintptr_t last = (start + text.capacity()) & ~(kLargePage - 1);
  if (last > first) {
    ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);  // a hint only
  }
}

}  // namespace

// ---- Sending ----

void TPowersock::SendChunk(const char* data, size_t length, bool count_sent) {
  size_t done = 0;
  while (done < length && !cancel_requested_) {
    const long sent = SendRaw(data + done, length - done);
    if (sent == 0) break;
    if (sent < 0) {
      ErrorManager(kWouldBlock);
      // Would block: wait until the socket takes bytes again, so the time limit and a
      // cancel can end the wait.
      PumpWait(true, true);
      continue;
    }
    done += static_cast<size_t>(sent);
    if (count_sent) {
      SentTotal += sent;
      if (OnPacketSent) OnPacketSent(*this);
      PumpWait(false);
    }
  }
}

void TPowersock::SendBuffer(const char* data, uint16_t length) {
  StatusMessage(kLevelTransfer, "Sending Buffer");
  const TimeSpan timer(*this);
  if (!cancel_requested_) {
    size_t count = length;
    if (count == 0) {
      count = ::strnlen(data, kBufferSize + 1);
      if (count > 65535) throw ERangeError("Range check error");
    }
    SendChunk(data, count, false);
  }
  if (cancel_requested_) {
    cancel_requested_ = false;
    throw EAbortError("Socket send aborted");
  }
}

void TPowersock::SendAll(const std::string& bytes) {
  StatusMessage(kLevelTransfer, "Sending Buffer");
  const TimeSpan timer(*this);
  if (!cancel_requested_) SendChunk(bytes.data(), bytes.size(), false);
  if (cancel_requested_) {
    cancel_requested_ = false;
    throw EAbortError("Socket send aborted");
  }
}

void TPowersock::Write(const std::string& text) {
  StatusMessage(kLevelDetail, "Write");
  EnsureBuffer();
  const size_t count = std::min(text.size(), static_cast<size_t>(kBufferSize));
  std::memcpy(data_buffer_.get(), text.data(), count);
  data_buffer_[count] = '\0';
  SendBuffer(data_buffer_.get(), 0);
}

void TPowersock::Writeln(const std::string& text) {
  StatusMessage(kLevelDetail, "Writeln");
  Write(text + "\r\n");
}

void TPowersock::SendFile(const std::string& name) {
  StatusMessage(kLevelDetail, "SendFile");
  FileSource file(name);
  EnsureBuffer();
  while (!cancel_requested_ && !file.AtEnd()) {
    const size_t count = file.Read(data_buffer_.get(), kBufferSize);
    if (count == 0) break;
    SendChunk(data_buffer_.get(), count, true);
  }
  if (cancel_requested_) {
    cancel_requested_ = false;
    throw EAbortError("Socket send aborted");
  }
}

void TPowersock::SendStream(std::istream& stream) {
  StatusMessage(kLevelDetail, "SendStream");
  stream.clear();
  stream.seekg(0, std::ios::end);
  const std::streamoff size = stream.tellg();
  stream.seekg(0);
  EnsureBuffer();
  if (!cancel_requested_) {
    SentTotal = 0;
    ExpectedTotal = size;
    std::streamoff position = 0;
    while (position < size && !cancel_requested_) {
      const auto count =
          static_cast<size_t>(std::min<std::streamoff>(size - position, kBufferSize));
      stream.read(data_buffer_.get(), static_cast<std::streamsize>(count));
      const auto got = static_cast<size_t>(stream.gcount());
      if (got == 0) break;
      const int64_t before = SentTotal;
      SendChunk(data_buffer_.get(), got, true);
      if (SentTotal == before && !cancel_requested_) break;  // the peer takes nothing more
      position += static_cast<std::streamoff>(got);
    }
  }
  if (cancel_requested_) {
    cancel_requested_ = false;
    throw EAbortError("Socket send aborted");
  }
}

// ---- Receiving ----

void TPowersock::ClearInput() {
  StatusMessage(kLevelDetail, "Clearing Input");
  EnsureBuffer();
  RecvRaw(data_buffer_.get(), kBufferSize, false);
}

std::string TPowersock::Read(uint16_t count) {
  StatusMessage(kLevelDetail, "Read( " + std::to_string(count) + " )");
  EnsureBuffer();
  if (count > 0) {
    do {
      const long got = RecvRaw(data_buffer_.get(), kBufferSize, true);
      if (got >= count) break;
      if (got == 0) return {};
      if (got < 0) ErrorManager(kWouldBlock);
      PumpWait(true);
    } while (!cancel_requested_);
  } else {
    const long got = RecvRaw(data_buffer_.get(), kBufferSize, true);
    if (got < 0) {
      ErrorManager(kWouldBlock);
      return {};
    }
    count = static_cast<uint16_t>(std::min<long>(got, 65535));
  }
  if (cancel_requested_) {
    cancel_requested_ = false;
    throw EAbortError("Socket send aborted");
  }
  if (count == 0) return {};
  const long got = RecvRaw(data_buffer_.get(), count, false);
  if (got < 0) {
    ErrorManager(kWouldBlock);
    return {};
  }
  return std::string(data_buffer_.get(), static_cast<size_t>(got));
}

std::string TPowersock::ReadLn() {
  StatusMessage(kLevelDetail, "ReadLn");
  const TimeSpan timer(*this);
  EnsureBuffer();
  std::string line;
  // A cancel (or the time limit) that came before the call ends it before a line is taken,
  // so a peer whose lines are always waiting cannot outrun it.
  while (!cancel_requested_) {
    const size_t room = kBufferSize - line.size();
    // A line as long as the buffer comes back cut there; the rest is the next line.
    if (room == 0) return line;
    char* behind = data_buffer_.get() + line.size();
    const long got = RecvRaw(behind, room, true);
    if (got == 0) return {};
    if (got < 0) {
      if (SocketLastError() == kNotConnected) return {};
      ErrorManager(kWouldBlock);
      PumpWait(true);
      continue;
    }
    const void* feed = std::memchr(behind, '\n', static_cast<size_t>(got));
    const size_t take = feed != nullptr
                            ? static_cast<size_t>(static_cast<const char*>(feed) - behind) + 1
                            : static_cast<size_t>(got);
    const long taken = RecvRaw(behind, take, false);
    if (taken < 0) {
      ErrorManager(kWouldBlock);
      PumpWait(true);
      continue;
    }
    line.append(behind, static_cast<size_t>(taken));
    if (feed != nullptr && static_cast<size_t>(taken) == take) return line;
    PumpWait(false);
  }
  cancel_requested_ = false;
  throw EAbortError("Socket readln aborted");
}

std::string TPowersock::Transaction(const std::string& command) {
  StatusMessage(kLevelDetail, "Transaction");
  ReplyCode = 0;
  Writeln(command);
  ReplyText = ReadLn();
  if (!ReplyText.empty()) {
    StatusMessage(kLevelReply, ReplyText);
    size_t digits = 0;
    while (digits < ReplyText.size() && digits < 10 && ReplyText[digits] >= '0' &&
           ReplyText[digits] <= '9') {
      ++digits;
    }
    if (digits > 0) {
      const long long value = std::stoll(ReplyText.substr(0, digits));
      if (value > 32767) throw ERangeError("Range check error");
      ReplyCode = static_cast<int16_t>(value);
    }
  }
  return ReplyText;
}

// ---- Capturing to the end of the data ----

long TPowersock::CaptureChunk(const TDataSink& sink, char* buffer, size_t capacity) {
  if (buffer == nullptr) {
    buffer = data_buffer_.get();
    capacity = kBufferSize;
  }
  const long got = RecvRaw(buffer, capacity, false);
  if (got > 0) {
    sink(buffer, static_cast<size_t>(got));
    ReceivedTotal += got;
    if (OnPacketRecvd) OnPacketRecvd(*this);
    TimerOn();
    return got;
  }
  if (got < 0) {
    if (SocketLastError() == kNotConnected) return 0;  // the peer has gone: the end
    ErrorManager(kWouldBlock);
  }
  return got;
}

void TPowersock::CaptureString(std::string& text, int32_t limit) {
  StatusMessage(kLevelDetail, "Capture String");
  text.clear();
  ReceivedTotal = 0;
  // A declared length saves the copies of a growing text; a false one costs nothing, since
  // the pages are only taken when written.
  if (ExpectedTotal > 0) {
    try {
      text.reserve(static_cast<size_t>(std::min<int64_t>(ExpectedTotal, kMaxReserve - 1) + 1));
      PreferLargePages(text);
    } catch (const std::bad_alloc&) {  // then the text grows as it goes
    }
  }
  const TimeSpan timer(*this);
  EnsureBuffer();
  while (!cancel_requested_ && (limit == -1 || text.size() < static_cast<size_t>(limit))) {
    const long got =
        CaptureChunk([&text](const char* data, size_t length) { text.append(data, length); });
    if (got == 0) break;
    PumpWait(got < 0);
  }
  if (cancel_requested_) {
    cancel_requested_ = false;
    throw EAbortError("Socket capture aborted");
  }
}

void TPowersock::CaptureSink(const TDataSink& sink) {
  StatusMessage(kLevelDetail, "Capture Sink");
  ReceivedTotal = 0;
  const TimeSpan timer(*this);
  // Pieces as large as the socket can give at once: a body that is streamed on is never
  // held, so the receives, not the copies, are what it costs.
  constexpr size_t kSinkPiece = size_t{1} << 20;
  const std::unique_ptr<char[]> piece = std::make_unique<char[]>(kSinkPiece);
  while (!cancel_requested_) {
    const long got = CaptureChunk(sink, piece.get(), kSinkPiece);
    if (got > 0) {
      // While data flows no notification can be due (the time limit restarts with every
      // piece, a close shows as the end of the data): only the pump runs.
      RunPump();
      continue;
    }
    if (got == 0) break;
    // Nothing there yet: wait for the socket itself (the next receive sees data, the end or
    // an error).
    WaitForSocket(POLLIN);
  }
  if (cancel_requested_) {
    cancel_requested_ = false;
    throw EAbortError("Socket capture aborted");
  }
}

void TPowersock::CaptureStream(std::ostream& stream, int32_t limit) {
  StatusMessage(kLevelDetail, "Capture Stream");
  ReceivedTotal = 0;
  const TimeSpan timer(*this);
  EnsureBuffer();
  while (!cancel_requested_) {
    if (limit != -1) {
      const std::streamoff size = stream.tellp();
      if (size >= limit) break;
    }
    const long got = CaptureChunk([&stream](const char* data, size_t length) {
      stream.write(data, static_cast<std::streamsize>(length));
    });
    if (got == 0) break;
    PumpWait(got < 0 && limit != -1);
    if (limit == -1) break;  // one pass only
  }
  if (cancel_requested_) {
    cancel_requested_ = false;
    throw EAbortError("Socket capture aborted");
  }
}

void TPowersock::CaptureFile(const std::string& name) {
  StatusMessage(kLevelDetail, "CaptureFile");
  ReceivedTotal = 0;
  const TimeSpan timer(*this);
  // The file is written beside its old copy and replaces it only once the capture ends.
  AtomicFile file(name);
  EnsureBuffer();
  while (!cancel_requested_) {
    const long got = CaptureChunk(
        [&file](const char* data, size_t length) { file.Write(std::string_view(data, length)); });
    if (got == 0) break;
    PumpWait(got < 0);
  }
  if (cancel_requested_) {
    cancel_requested_ = false;
    throw EAbortError("Socket send aborted");
  }
  file.Commit();
}

void TPowersock::AppendFile(const std::string& name) {
  StatusMessage(kLevelDetail, "Append File");
  ReceivedTotal = 0;
  FileAppender file(name);
  EnsureBuffer();
  while (connected_ && !cancel_requested_) {
    const long got = RecvRaw(data_buffer_.get(), kBufferSize, false);
    if (got > 0) {
      file.Write(data_buffer_.get(), static_cast<size_t>(got));
      ReceivedTotal += got;
      if (OnPacketRecvd) OnPacketRecvd(*this);
    } else if (got < 0) {
      ErrorManager(kWouldBlock);
    }
    // A receive of 0 bytes is the end; the close notification then closes the socket.
    PumpWait(got <= 0);
  }
  if (cancel_requested_) {
    cancel_requested_ = false;
    throw EAbortError("Socket send aborted");
  }
}

void TPowersock::FilterHeader(std::ostream& stream) {
  StatusMessage(kLevelDetail, "FilterHeader");
  for (;;) {
    const std::string line = ReadLn();
    stream.write(line.data(), static_cast<std::streamsize>(line.size()));
    if (line.empty() || line == "\n" || line == "\r\n") break;
  }
}

}  // namespace pagelathe
