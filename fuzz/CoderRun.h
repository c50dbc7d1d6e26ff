// Runs the Base64/uu coder of the network client over a text, for the coder fuzz targets.
#pragma once

#include <sstream>
#include <string>

#include "net/TNMUUProcessor.h"

namespace pagelathe::fuzzing {

// The coder's output for `input`, encoding or decoding with `method`.
inline std::string RunCoder(UUMethods method, bool encode, const std::string& input) {
  std::stringstream source(input);
  std::stringstream target;
  TNMUUProcessor coder;
  coder.Method = method;
  coder.SourceStream = &source;
  coder.TargetStream = &target;
  if (encode) {
    coder.Encode();
  } else {
    coder.Decode();
  }
  return target.str();
}

}  // namespace pagelathe::fuzzing
