#include "base/errors.h"

namespace zw {

FileCreateError::FileCreateError(const std::string& path)
    : Error("Datei " + path + " kann nicht erstellt werden") {}

// "\xF6" is the o umlaut in Windows-1252.
FileOpenError::FileOpenError(const std::string& path)
    : Error("Datei " + path +
            " kann nicht ge\xF6"
            "ffnet werden") {}

ClipboardUnavailable::ClipboardUnavailable()
    : Error(
          "Zwischenablage kann nicht ge\xF6"
          "ffnet werden") {}

}  // namespace zw
