#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/separators.h"
#include "orderlines/UClpUtils.h"
#include "orderlines/uCustomDataGridLines.h"

namespace zw {

// Order lines with their clipboard output and three text renderings; here the renderings are
// empty.
class TDataGridLines : public TCustomDataGridLines {
 public:
  // Replaces the clipboard by the four formats of the lines: "CF_DATAGRIDDATA", "HTML Format",
  // text and "CSV". Never raises; true when the four items were placed.
  bool CopyToClipboard(const std::string& guid, ClipboardSink& clipboard);
  // The four items that CopyToClipboard places, in their order, for the identifier.
  std::vector<ClipboardItem> ClipboardItems(const std::string& guid) const;
  // One of them (0 to 3, in that order) on its own, for a reader that wants only one format.
  ClipboardItem ClipboardItemAt(std::size_t index, const std::string& guid) const;
  static constexpr std::size_t kClipboardItemCount = 4;

  virtual std::string LinesAsText() const { return {}; }
  virtual std::string LinesAsHtml() const { return {}; }
  virtual std::string LinesAsCsv() const { return {}; }
};

// The collection a conversion run creates and outputs: key text, HTML table and CSV, their
// amounts written with the separators the collection was made with.
class TExDataGridLines : public TDataGridLines {
 public:
  explicit TExDataGridLines(const Separators& separators = {}) : separators_(separators) {}

  const Separators& NumberSeparators() const { return separators_; }

  std::string LinesAsText() const override;
  std::string LinesAsHtml() const override;
  std::string LinesAsCsv() const override;

 private:
  Separators separators_;
};

}  // namespace zw
