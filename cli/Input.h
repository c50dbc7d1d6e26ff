// The documents a command reads: a file named by the user, or "-" for standard input. A
// regular file is read through the safe file reads of the platform; standard input and a FIFO
// named as input are streams the user asked for and are read until their writer closes them;
// every other kind of file (a folder, a device, a socket) is refused with a clear message.
// Every read stops at the document limit.
#pragma once

#include <string>

#include "platform/FileStream.h"

namespace pagelathe::cli {

// How messages name the operand: "standard input" for "-", else the path.
[[nodiscard]] std::string InputName(const std::string& operand);

// True when the operand is a folder, searched like the Search button ("-" is not); anything
// else is one document. Raises EFileError naming a path that does not exist.
[[nodiscard]] bool IsFolderOperand(const std::string& operand);

// The whole document. Raises EFileError with the message that names it.
[[nodiscard]] std::string ReadDocument(const std::string& operand, uint64_t limit = kDocumentLimit);

// Opens the document for reading in pieces (stopped by an interrupt). Raises EFileError.
void OpenDocument(const std::string& operand, UserFileStream& stream,
                  uint64_t limit = kDocumentLimit);

// The rest of an opened document, whole. Raises EFileError or Interruption.
[[nodiscard]] std::string ReadRest(const std::string& operand, UserFileStream& stream);

// Raises EFileError naming the operand when the stream ended in a failure, and Interruption
// when an interrupt ended it.
void CheckStream(const std::string& operand, const UserFileStream& stream);

}  // namespace pagelathe::cli
