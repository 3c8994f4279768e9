#pragma once

#include <stdexcept>
#include <string>

namespace zw {

// Every error raised inside the system. Messages are Windows-1252 text, as shown to the user.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file that cannot be created or written: "Datei %s kann nicht erstellt werden".
class FileCreateError : public Error {
 public:
  explicit FileCreateError(const std::string& path);
};

// A file that cannot be opened or read: "Datei %s kann nicht geöffnet werden".
class FileOpenError : public Error {
 public:
  explicit FileOpenError(const std::string& path);
};

// The clipboard stayed open in another program: "Zwischenablage kann nicht geöffnet werden".
// Portable, so that stand-ins for the system clipboard raise the same error.
class ClipboardUnavailable : public Error {
 public:
  ClipboardUnavailable();
};

}  // namespace zw
