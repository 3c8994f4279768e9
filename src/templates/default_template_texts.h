#pragma once

#include <string_view>

namespace zw {

enum class DefaultTemplate {
  Description,  // "beschreibung.txt", resource DEFAULTTEMPLATETEXT
  Demo,         // "demo.txt", resource demotemplatetext
  Empty,        // "leer.txt", resource emptytemplatetext
};

// The bytes of a default template file as compiled into the program.
std::string_view DefaultTemplateText(DefaultTemplate which);

}  // namespace zw
