#pragma once

// The characters that numbers and CSV records are read and written with. The tool takes them
// once from its settings and the user's locale and hands them to every conversion; the
// defaults are those of the euro convention.
namespace zw {

struct Separators {
  char Decimal = ',';
  char Thousand = '.';
  char List = ';';  // between CSV fields
};

}  // namespace zw
