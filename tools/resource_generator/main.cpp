// resource-generator FOLDER: writes the tool's success sound, window picture and application
// icon into FOLDER, so the binary resources can be rebuilt from source.
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "chime.h"
#include "image_files.h"
#include "picture.h"

namespace {

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    throw std::runtime_error("cannot write " + path.string());
  }
  std::cout << path.string() << ": " << bytes.size() << " bytes\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: resource-generator FOLDER\n";
    return 2;
  }
  try {
    const std::filesystem::path folder(argv[1]);
    std::filesystem::create_directories(folder);
    WriteFile(folder / "success.wav", resgen::MakeChimeWave());
    WriteFile(folder / "picture.bmp", resgen::EncodeBmp(resgen::DrawClipboard(48)));
    const std::vector<resgen::Image> icon_images{
        resgen::DrawClipboard(16), resgen::DrawClipboard(32), resgen::DrawClipboard(48)};
    WriteFile(folder / "zwischenablage.ico", resgen::EncodeIco(icon_images));
  } catch (const std::exception& error) {
    std::cerr << "resource-generator: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
