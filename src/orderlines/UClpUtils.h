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

// One entry of the output: its format and the bytes of its clipboard memory block.
struct ClipboardItem {
  std::uint16_t Format = 0;
  ByteBuffer Block;
};

// The 4-byte little-endian count of a stream of that size, with which the block of a stream
// begins.
std::string SizePrefix(std::size_t size);

// The items of one copy, each written only when the clipboard takes it, straight into memory
// the clipboard gives: the clipboard owns what it was handed, so a large copy holds one item at
// a time, and once.
class ClipboardItemSource {
 public:
  virtual ~ClipboardItemSource() = default;
  virtual std::size_t ItemCount() const = 0;
  // The clipboard format of item `index` (0 to ItemCount() - 1).
  virtual std::uint16_t ItemFormat(std::size_t index) const = 0;
  // Writes the clipboard block of item `index` into an empty block and cuts the block to it;
  // written anew on every call.
  virtual void WriteItem(std::size_t index, GrowableBlock& block) const = 0;
};

// The system clipboard, or a stand-in that records what would be placed.
class ClipboardSink {
 public:
  virtual ~ClipboardSink() = default;
  // Opens the clipboard once, writes the items one after the other, empties the clipboard before
  // the first one is handed over, hands over each item's block under its format and closes the
  // clipboard; returns how many items were placed. Throws ClipboardUnavailable (base/errors.h)
  // when the clipboard cannot be opened, and what writing an item throws; an empty item is
  // skipped.
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
// opening markup, the caller appends the fragment and CfHtmlSuffix, WriteCfHtmlHeader writes the
// numbers. Saves copying a large fragment.
std::string BeginCfHtml();
void WriteCfHtmlHeader(GrowableBlock& document);

// The document around a fragment whose length is known before it is written: what comes before
// the fragment, and what follows it.
std::string CfHtmlPrefix(std::size_t fragment_length);
std::string_view CfHtmlSuffix();

}  // namespace zw
