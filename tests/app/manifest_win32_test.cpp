// The tool's embedded application manifest, read back from the built executable.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/child_process.h"

namespace zw {
namespace {

struct ModuleFree {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};

std::string ManifestOfTheTool() {
  const std::string path = test::BuiltProgram("Zwischenablage");
  const std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree> module(
      LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  if (!module) return {};
  HRSRC resource = FindResourceA(module.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  if (resource == nullptr) return {};
  HGLOBAL data = LoadResource(module.get(), resource);
  const void* bytes = data != nullptr ? LockResource(data) : nullptr;
  if (bytes == nullptr) return {};
  return std::string(static_cast<const char*>(bytes), SizeofResource(module.get(), resource));
}

TEST(ManifestWin32, DeclaresDpiAwarenessTheSupportedSystemsAndNoElevation) {
  const std::string manifest = ManifestOfTheTool();
  ASSERT_FALSE(manifest.empty()) << "no manifest resource in Zwischenablage.exe";
  for (const char* entry : {
           "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true"
           "</dpiAware>",
           "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
           "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
       }) {
    EXPECT_NE(manifest.find(entry), std::string::npos) << entry;
  }
}

}  // namespace
}  // namespace zw
