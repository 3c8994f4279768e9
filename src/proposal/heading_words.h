#pragma once

#include <optional>
#include <string_view>

// The words calculations use in their heading row, in German, Swiss, Austrian, French,
// Italian and English, and the words of rows that sum up instead of listing an item.
namespace zw {

// What a column of a calculation holds, in the order the template's keys are written.
enum class ColumnRole { Pos, Quantity, Unit, Description, PartNumber, Price, Tax, Total };
constexpr int kColumnRoles = 8;

// "PosNumber", "Quantity", ...: the key that names the role's column.
std::string_view RoleKey(ColumnRole role);
// "Position", "Menge", ...: the role in the template's comments.
std::string_view RoleName(ColumnRole role);
// The roles that hold amounts, which a column must show in numbers.
bool HoldsNumbers(ColumnRole role);

// The role of a heading cell, case and punctuation ignored: "Art.-Nr." is a part number,
// "CHF/Stk" a unit price, "Total/CHF" a total; none for a word not known.
std::optional<ColumnRole> RoleOfHeading(std::string_view cell);

// A cell that labels a summary row: "Summe", "Zwischensumme", "+8% MwSt.", "Total HT", ...
bool IsSummaryLabel(std::string_view cell);

// A heading of two measures over two columns: "Breite x Höhe", "B x H", "Width x Height".
bool IsMeasurePair(std::string_view cell);
// A heading of one measure: "Breite", "Höhe", "Länge", "Width", ...
bool IsMeasure(std::string_view cell);
// A heading of an area or a volume: "m²", "m2", "qm", "Fläche", ...
bool IsArea(std::string_view cell);

}  // namespace zw
