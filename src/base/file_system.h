#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_buffer.h"

// The few file system operations the program needs. Paths are narrow strings in the
// system's code page (Windows-1252 on the user's machines), as the clipboard text is.
namespace zw {

// "\" on Windows, "/" elsewhere.
extern const char kPathDelimiter;

// The folder of the running executable, ending in the path delimiter.
std::string ExecutableFolder();

// The system's folder for temporary files, ending in the path delimiter.
std::string SystemTempFolder();

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// Creates one folder whose parent exists; false when that fails.
bool CreateSingleDirectory(const std::string& path);

// Creates the folder and any missing parent folders. Failures are not reported: the later
// writes into the folder fail instead.
void ForceDirectories(const std::string& path);

// The system's delimiter or "/", which Windows takes as well.
bool IsPathDelimiter(char c);

struct DirectoryEntry {
  std::string Name;
  bool IsDirectory = false;
};

// All entries of a folder except "." and "..", in the order the system enumerates them.
// A folder that cannot be read gives no entries.
std::vector<DirectoryEntry> ListDirectory(const std::string& folder);

// The whole file. Throws FileOpenError when it cannot be opened or read.
std::string ReadFileBytes(const std::string& path);

// The whole file, or nothing when there is no file of that name (a folder is none). Throws
// FileOpenError when the file is there but cannot be opened or read. One look at the file
// instead of asking first whether it exists.
std::optional<std::string> ReadFileIfExists(const std::string& path);

// The same into a buffer whose room is not filled before it is read into, for large files,
// such as a copied text: the file is the one pass over that memory.
std::optional<ByteBuffer> ReadFileBufferIfExists(const std::string& path);
// The whole file into a buffer. Throws FileOpenError when it cannot be opened or read.
ByteBuffer ReadFileBuffer(const std::string& path);

// Creates or overwrites the file. Throws FileCreateError when that fails.
void WriteFileBytes(const std::string& path, std::string_view bytes);

// Creates the file with the bytes unless a file or folder of that name exists, also one that
// another program creates at the same moment: then false, and nothing is touched. Throws
// FileCreateError when the file cannot be created or written; a partly written file is
// removed.
bool WriteNewFileBytes(const std::string& path, std::string_view bytes);

}  // namespace zw
