#pragma once

#include <ostream>
#include <string>

#include "base/sleeper.h"
#include "json/json_text.h"

// Writes the text form of a JSON value tree to a stream or a file.
namespace zw {

class TJsonStreamer : public TJsonText {
 public:
  // The bytes of GenerateText at the stream's position: no terminating zero, no byte-order
  // mark. Nothing for a null value. Raises TJsonStreamWriteError when the stream fails.
  static void SaveToStream(const TJsonBase* value, std::ostream& stream);
  static void SaveToStream(const TJsonBase& value, std::ostream& stream) {
    SaveToStream(&value, stream);
  }

  // Creates the file's folder with all missing parents (TJsonFolderError when that fails),
  // then writes the file, replacing it. A file that cannot be written is tried 5 times,
  // 100 ms apart; after the fifth failure it gives up without an error. Nothing for a null
  // value.
  static void SaveToFile(const TJsonBase* value, const std::string& file_name,
                         Sleeper& sleeper = SystemSleeper());
  static void SaveToFile(const TJsonBase& value, const std::string& file_name,
                         Sleeper& sleeper = SystemSleeper()) {
    SaveToFile(&value, file_name, sleeper);
  }
};

}  // namespace zw
