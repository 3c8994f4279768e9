#include "image_files.h"

#include <cstdint>
#include <stdexcept>

#include "byte_writer.h"

namespace resgen {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kIconDirSize = 6;
constexpr std::uint32_t kIconEntrySize = 16;
constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 dpi

std::uint32_t PixelBytes(const Image& image) {
  return static_cast<std::uint32_t>(image.width) * static_cast<std::uint32_t>(image.height) * 4;
}

// Rows of one bit per pixel, each padded to whole 32-bit words.
std::uint32_t MaskRowBytes(const Image& image) {
  return (static_cast<std::uint32_t>(image.width) + 31) / 32 * 4;
}

std::uint32_t MaskBytes(const Image& image) {
  return MaskRowBytes(image) * static_cast<std::uint32_t>(image.height);
}

void WriteInfoHeader(ByteWriter& out, const Image& image, std::int32_t stored_height,
                     std::uint32_t image_bytes) {
  out.U32(kInfoHeaderSize);
  out.I32(image.width);
  out.I32(stored_height);
  out.U16(1);   // planes
  out.U16(32);  // bits per pixel
  out.U32(0);   // BI_RGB
  out.U32(image_bytes);
  out.I32(kPixelsPerMetre);
  out.I32(kPixelsPerMetre);
  out.U32(0);
  out.U32(0);
}

void WritePixelsBottomUp(ByteWriter& out, const Image& image) {
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgba& p = image.At(x, y);
      out.U8(p.b);
      out.U8(p.g);
      out.U8(p.r);
      out.U8(p.a);
    }
  }
}

// A set bit lets the background through where the picture is fully transparent.
void WriteMaskBottomUp(ByteWriter& out, const Image& image) {
  for (int y = image.height - 1; y >= 0; --y) {
    for (std::uint32_t byte = 0; byte < MaskRowBytes(image); ++byte) {
      std::uint8_t bits = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const int x = static_cast<int>(byte) * 8 + bit;
        if (x < image.width && image.At(x, y).a == 0) {
          bits |= static_cast<std::uint8_t>(0x80 >> bit);
        }
      }
      out.U8(bits);
    }
  }
}

}  // namespace

std::string EncodeBmp(const Image& image) {
  const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
  ByteWriter out;
  out.Tag("BM");
  out.U32(offset + PixelBytes(image));
  out.U16(0);
  out.U16(0);
  out.U32(offset);
  WriteInfoHeader(out, image, image.height, PixelBytes(image));
  WritePixelsBottomUp(out, image);
  return out.Result();
}

std::string EncodeIco(const std::vector<Image>& images) {
  if (images.empty() || images.size() > 0xFFFF) {
    throw std::invalid_argument("icon needs 1 to 65535 images");
  }
  ByteWriter out;
  out.U16(0);
  out.U16(1);  // icon, not cursor
  out.U16(static_cast<std::uint16_t>(images.size()));
  std::uint32_t offset = kIconDirSize + kIconEntrySize * static_cast<std::uint32_t>(images.size());
  for (const Image& image : images) {
    if (image.width < 1 || image.width > 256 || image.height < 1 || image.height > 256) {
      throw std::invalid_argument("icon image size out of range");
    }
    const std::uint32_t bytes = kInfoHeaderSize + PixelBytes(image) + MaskBytes(image);
    out.U8(static_cast<std::uint8_t>(image.width & 0xFF));  // 256 is stored as 0
    out.U8(static_cast<std::uint8_t>(image.height & 0xFF));
    out.U8(0);  // no palette
    out.U8(0);
    out.U16(1);   // planes
    out.U16(32);  // bits per pixel
    out.U32(bytes);
    out.U32(offset);
    offset += bytes;
  }
  for (const Image& image : images) {
    // The stored height counts the colour rows and the mask rows together.
    WriteInfoHeader(out, image, image.height * 2, PixelBytes(image) + MaskBytes(image));
    WritePixelsBottomUp(out, image);
    WriteMaskBottomUp(out, image);
  }
  return out.Result();
}

}  // namespace resgen
