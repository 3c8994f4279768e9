#pragma once

#include <string>

#include "orderlines/uCustomDataGridLines.h"

namespace zw {

// Order lines with their three text renderings; here all three are empty.
class TDataGridLines : public TCustomDataGridLines {
 public:
  virtual std::string LinesAsText() const { return {}; }
  virtual std::string LinesAsHtml() const { return {}; }
  virtual std::string LinesAsCsv() const { return {}; }
};

// The collection a conversion run creates and outputs.
class TExDataGridLines : public TDataGridLines {};

}  // namespace zw
