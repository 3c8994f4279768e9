#include <windows.h>

#include "templates/default_template_texts.h"

namespace zw {
namespace {

const char* ResourceName(DefaultTemplate which) {
  switch (which) {
    case DefaultTemplate::Description:
      return "DEFAULTTEMPLATETEXT";
    case DefaultTemplate::Demo:
      return "demotemplatetext";
    case DefaultTemplate::Empty:
      return "emptytemplatetext";
  }
  return "";
}

}  // namespace

std::string_view DefaultTemplateText(DefaultTemplate which) {
  HRSRC resource = FindResourceA(nullptr, ResourceName(which), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (resource == nullptr) return {};
  HGLOBAL loaded = LoadResource(nullptr, resource);
  if (loaded == nullptr) return {};
  // Resources of the executable stay mapped for the life of the process.
  return {static_cast<const char*>(LockResource(loaded)), SizeofResource(nullptr, resource)};
}

}  // namespace zw
