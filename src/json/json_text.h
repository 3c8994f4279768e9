#pragma once

#include <string>

#include "json/json_values.h"

// The compact text form of a JSON value tree.
namespace zw {

class TJsonText {
 public:
  // 8-bit text in the Windows code page, no blanks or line breaks. Numbers always use '.',
  // whatever the process decimal separator is. A null value or one of no JSON kind (the base
  // class, a lone field) gives nothing.
  static std::string GenerateText(const TJsonBase* value);
  static std::string GenerateText(const TJsonBase& value) { return GenerateText(&value); }
};

}  // namespace zw
