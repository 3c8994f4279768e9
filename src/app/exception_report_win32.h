#pragma once

#include <string>

namespace zw {

// The application's standard report of an error that reached the message loop: a message box
// with the text (a full stop added when missing) and the caption "Zwischenablage".
void ShowExceptionReport(const std::string& text);

}  // namespace zw
