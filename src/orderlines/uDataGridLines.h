#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/byte_buffer.h"
#include "base/separators.h"
#include "orderlines/UClpUtils.h"
#include "orderlines/line_renderings.h"
#include "orderlines/uCustomDataGridLines.h"

namespace zw {

class TextSink;

// Order lines with their clipboard output and three text renderings; here the renderings are
// empty.
class TDataGridLines : public TCustomDataGridLines {
 public:
  // Replaces the clipboard by the four formats of the lines: "CF_DATAGRIDDATA", "HTML Format",
  // text and "CSV", each made when the clipboard takes it. Never raises; true when the four
  // items were placed.
  bool CopyToClipboard(const std::string& guid, ClipboardSink& clipboard);
  // One of the four items that CopyToClipboard places (0 to 3, in their order), for the
  // identifier.
  ClipboardItem ClipboardItemAt(std::size_t index, const std::string& guid) const;
  static constexpr std::size_t kClipboardItemCount = 4;
  // The format of item `index`; throws std::out_of_range for an index beyond the four.
  static std::uint16_t ClipboardItemFormat(std::size_t index);
  // Writes the clipboard memory block of item `index` into an empty block and cuts the block to
  // it: the lines' stream behind its 4-byte count, the "HTML Format" document, the key text with
  // the zero byte that ends it, the CSV text. Without lines the three texts are empty.
  void WriteClipboardItem(std::size_t index, const std::string& guid, GrowableBlock& block) const;
  // The clipboard memory block of one item (ClipboardBlock of ClipboardItemAt) written into the
  // sink in pieces, so that a large one is never held whole; a block that begins with its
  // size or with offsets into it is measured first.
  void WriteClipboardBlock(std::size_t index, const std::string& guid, TextSink& out) const;

  // The renderings as texts: the key text, the "HTML Format" document of the HTML table, the
  // CSV text; the same bytes as the items' blocks, made by WriteRendering.
  virtual std::string LinesAsText() const;
  virtual std::string LinesAsHtml() const;
  virtual std::string LinesAsCsv() const;

  // Writes a rendering into the sink; nothing here. The HTML table is written without its
  // document around it.
  virtual void WriteRendering(Rendering rendering, TextSink& out) const;
  // About the bytes a rendering takes, for the room it is given at first.
  virtual std::size_t RenderingSizeHint(Rendering rendering) const;
};

// The collection a conversion run creates and outputs: key text, HTML table and CSV, their
// amounts written with the separators the collection was made with.
class TExDataGridLines : public TDataGridLines {
 public:
  explicit TExDataGridLines(const Separators& separators = {}) : separators_(separators) {}

  const Separators& NumberSeparators() const { return separators_; }

  void WriteRendering(Rendering rendering, TextSink& out) const override;
  std::size_t RenderingSizeHint(Rendering rendering) const override;

 private:
  Separators separators_;
};

}  // namespace zw
