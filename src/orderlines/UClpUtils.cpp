#include "orderlines/UClpUtils.h"

#include <charconv>
#include <cstring>
#include <utility>

#include "base/little_endian.h"

namespace zw {
namespace {

constexpr std::string_view kHtmlStart =
    "<sHtml><head><title>HTML clipboard</title></head><body><!--StartFragment-->";
constexpr std::string_view kHtmlEnd = "<!--EndFragment--></body></sHtml>";

constexpr std::size_t kHeaderLength = 97;  // five lines with 8-digit numbers

// The label, then the number with at least 8 digits, then CR LF.
void AppendHeaderLine(std::string& out, std::string_view label, std::size_t number) {
  constexpr std::size_t kDigits = 8;
  char digits[24];
  const std::size_t length =
      static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, number).ptr - digits);
  out.append(label);
  if (length < kDigits) out.append(kDigits - length, '0');
  out.append(digits, length).append("\r\n");
}

// The header for a fragment of the given length. Its numbers are offsets behind the header
// itself; with 8-digit numbers it is 97 bytes long. Only a fragment of about 100 MB needs a
// ninth digit, which makes the header longer: the numbers are then recounted for it.
std::string Header(std::size_t fragment_length) {
  std::size_t header_length = kHeaderLength;
  for (;;) {
    const std::size_t start_fragment = header_length + kHtmlStart.size();
    const std::size_t end_fragment = start_fragment + fragment_length;
    std::string header = "Version:1.0\r\n";
    AppendHeaderLine(header, "StartHTML:", header_length);
    AppendHeaderLine(header, "EndHTML:", end_fragment + kHtmlEnd.size());
    AppendHeaderLine(header, "StartFragment:", start_fragment);
    AppendHeaderLine(header, "EndFragment:", end_fragment);
    if (header.size() == header_length) return header;
    header_length = header.size();
  }
}

}  // namespace

std::string SizePrefix(std::size_t size) {
  std::string prefix;
  AppendLittleEndian(prefix, static_cast<std::uint32_t>(size), 4);
  return prefix;
}

std::size_t RecordingClipboard::PutClipboardItems(const ClipboardItemSource& items) {
  entries_.clear();
  for (std::size_t index = 0; index < items.ItemCount(); ++index) {
    ByteBuffer block;
    items.WriteItem(index, block);
    entries_.push_back({items.ItemFormat(index), block.str()});
  }
  return entries_.size();
}

std::string RecordingClipboard::BlockOf(std::uint16_t format) const {
  for (const Entry& entry : entries_) {
    if (entry.Format == format) return entry.Block;
  }
  return {};
}

std::string CfHtmlPrefix(std::size_t fragment_length) {
  return Header(fragment_length).append(kHtmlStart);
}

std::string_view CfHtmlSuffix() { return kHtmlEnd; }

std::string BeginCfHtml() {
  // The numbers are written at the end; until then they are zeros of the same length.
  static const std::string start = CfHtmlPrefix(0);
  return start;
}

void WriteCfHtmlHeader(GrowableBlock& document) {
  const std::size_t fragment_length =
      document.size() - kHeaderLength - kHtmlStart.size() - kHtmlEnd.size();
  const std::string header = Header(fragment_length);
  const std::size_t longer = header.size() - kHeaderLength;
  // A ninth digit makes the header longer: the rest of the document moves behind it.
  if (longer != 0) {
    const std::size_t rest = document.size() - kHeaderLength;
    char* const data = document.Resize(document.size() + longer);
    std::memmove(data + header.size(), data + kHeaderLength, rest);
  }
  std::memcpy(document.data(), header.data(), header.size());
}

std::string BuildCfHtml(std::string_view fragment) {
  ByteBuffer document(BeginCfHtml());
  document.reserve(document.size() + fragment.size() + kHtmlEnd.size());
  document.append(fragment);
  document.append(kHtmlEnd);
  WriteCfHtmlHeader(document);
  return document.str();
}

}  // namespace zw
