#pragma once

#include <string>
#include <string_view>
#include <vector>

// How a person sees a cell of a calculation: empty, an amount, words, or neither (a position
// such as "(1,)" or a dash).
namespace zw {

enum class CellKind { Empty, Number, Words, Other };

// A number may carry a currency ("CHF 15,20", "15.20 €"), a sign, a percent sign, grouping
// by '.', ',', "'" or blanks, and a Swiss ".-" or ".\x96" for whole francs.
CellKind KindOfCell(std::string_view cell);

// The words of a heading cell in lower case: runs of letters, digits, '²' and '³'; '€', '$'
// and '%' are words of their own, every other character separates.
std::vector<std::string> HeadingWords(std::string_view cell);

// The words joined by one blank: "Art.-Nr." gives "art nr", "CHF/Stk" gives "chf stk".
std::string HeadingKey(std::string_view cell);

}  // namespace zw
