// The version the user sees is one: the tool's version resource, its manifest and zwconvert
// --version name the same.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/child_process.h"
#include "zwconvert_options.h"

namespace zw {
namespace {

struct ModuleFree {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};

std::string ToolPath() { return test::BuiltProgram("Zwischenablage"); }

// zwconvert's "zwconvert 1.2.3.4\n" without its name and line end.
std::string ZwconvertVersion() {
  std::string version = kZwconvertVersion;
  version.erase(0, std::string("zwconvert ").size());
  if (!version.empty() && version.back() == '\n') version.pop_back();
  return version;
}

class ToolVersionResource : public ::testing::Test {
 protected:
  void SetUp() override {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(ToolPath().c_str(), &handle);
    ASSERT_NE(size, 0u) << "no version resource in Zwischenablage.exe";
    info_.assign(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(ToolPath().c_str(), 0, size, info_.data()));
  }

  std::string Text(const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\040704E4\\") + name;
    if (!VerQueryValueA(info_.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) ||
        value == nullptr) {
      return "(fehlt)";
    }
    return std::string(value);
  }

  std::string info_;
};

TEST_F(ToolVersionResource, TextsAndNumbersAreZwconvertsVersion) {
  const std::string version = ZwconvertVersion();
  EXPECT_EQ(Text("FileVersion"), version);
  EXPECT_EQ(Text("ProductVersion"), version);

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info_.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  const auto dotted = [](DWORD high, DWORD low) {
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." +
           std::to_string(HIWORD(low)) + "." + std::to_string(LOWORD(low));
  };
  EXPECT_EQ(dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS), version);
  EXPECT_EQ(dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS), version);
}

TEST(ToolManifestVersion, IsZwconvertsVersion) {
  const std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree> module(
      LoadLibraryExA(ToolPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(module);
  HRSRC resource = FindResourceA(module.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(resource, nullptr);
  const void* bytes = LockResource(LoadResource(module.get(), resource));
  ASSERT_NE(bytes, nullptr);
  const std::string manifest(static_cast<const char*>(bytes),
                             SizeofResource(module.get(), resource));
  EXPECT_NE(manifest.find("name=\"Zwischenablage\" version=\"" + ZwconvertVersion() + "\""),
            std::string::npos)
      << manifest;
}

}  // namespace
}  // namespace zw
