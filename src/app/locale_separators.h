#pragma once

namespace zw {

// Takes the decimal and thousand separators of the user's locale for all number parsing and
// formatting, and the list separator for CSV (Windows build; called when the main window is
// created).
void TakeLocaleSeparators();

}  // namespace zw
