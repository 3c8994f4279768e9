#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_buffer.h"

// Clipboard items and the seam to the system clipboard.
namespace zw {

// The clipboard formats of the output. The three names are registered with the system once
// at process start; registration gives the same identifier for a name in every process.
struct ClipboardFormats {
  std::uint16_t DataGrid = 0;  // "CF_DATAGRIDDATA"
  std::uint16_t Html = 0;      // "HTML Format"
  std::uint16_t Text = 1;      // CF_TEXT
  std::uint16_t Csv = 0;       // "CSV"
};

// Registers the three names (once; later calls return the same identifiers).
const ClipboardFormats& RegisteredClipboardFormats();

// One entry of the output: its bytes, its format and whether the clipboard memory starts
// with a 4-byte little-endian count of the bytes.
struct ClipboardItem {
  ByteBuffer Stream;
  std::uint16_t Format = 0;
  bool SizePrefix = false;
};

// The bytes of the clipboard memory block of an item.
std::string ClipboardBlock(const ClipboardItem& item);
// What the block holds before the stream's bytes: the 4-byte count, or nothing.
std::string ClipboardBlockPrefix(const ClipboardItem& item);
// The 4-byte little-endian count of a stream of that size.
std::string SizePrefix(std::size_t size);

// The items of one copy, each made only when the clipboard takes it: the clipboard owns what
// it was handed, so a large copy holds one item at a time instead of all four.
class ClipboardItemSource {
 public:
  virtual ~ClipboardItemSource() = default;
  virtual std::size_t ItemCount() const = 0;
  // Item `index` (0 to ItemCount() - 1), made anew on every call.
  virtual ClipboardItem MakeItem(std::size_t index) const = 0;
};

// The system clipboard, or a stand-in that records what would be placed.
class ClipboardSink {
 public:
  virtual ~ClipboardSink() = default;
  // Opens the clipboard once, makes the items one after the other, empties the clipboard before
  // the first one is handed over, hands over each item's block under its format, lets go of
  // the item and closes the clipboard; returns how many items were placed. Throws
  // ClipboardUnavailable (base/errors.h) when the clipboard cannot be opened, and what making
  // an item throws; an item whose memory cannot be allocated is skipped.
  virtual std::size_t PutClipboardItems(const ClipboardItemSource& items) = 0;
};

// Records the blocks instead of placing them: for tests and zwconvert.
class RecordingClipboard final : public ClipboardSink {
 public:
  struct Entry {
    std::uint16_t Format = 0;
    std::string Block;
  };

  std::size_t PutClipboardItems(const ClipboardItemSource& items) override;
  const std::vector<Entry>& Entries() const { return entries_; }
  // The block placed under a format; empty when there is none.
  std::string BlockOf(std::uint16_t format) const;

 private:
  std::vector<Entry> entries_;
};

// The "HTML Format" document around a fragment: a header of byte offsets, then the fragment
// between "<!--StartFragment-->" and "<!--EndFragment-->".
std::string BuildCfHtml(std::string_view fragment);

// The same document built in place: BeginCfHtml gives the header (numbers still open) and the
// opening markup, the caller appends the fragment, EndCfHtml closes the document and writes the
// numbers. Saves copying a large fragment.
std::string BeginCfHtml();
void EndCfHtml(ByteBuffer& document);

// The document around a fragment whose length is known before it is written: what comes before
// the fragment, and what follows it.
std::string CfHtmlPrefix(std::size_t fragment_length);
std::string_view CfHtmlSuffix();

}  // namespace zw
