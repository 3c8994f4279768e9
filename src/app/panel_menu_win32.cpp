#include "app/panel_menu_win32.h"

#include <memory>
#include <type_traits>

namespace zw {
namespace {

struct MenuDestroyer {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using MenuHandle = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;

}  // namespace

void ShowPanelMenu(HWND window, POINT at, const PanelMenuState& state) {
  const MenuHandle menu(CreatePopupMenu());
  if (!menu) return;
  const UINT needs_text = state.HasLastText ? MF_ENABLED : MF_GRAYED;
  AppendMenuA(
      menu.get(), MF_STRING | needs_text, kExplainCommand,
      state.LastConverted ? "Letzte Umwandlung erkl\xE4ren" : "Warum wurde nichts umgewandelt?");
  AppendMenuA(menu.get(), MF_STRING | needs_text, kProposeCommand,
              "Vorlage aus der letzten Kopie erstellen");
  AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu.get(), MF_STRING, kOpenFolderCommand,
              "Vorlagenordner \xF6"
              "ffnen");
  AppendMenuA(menu.get(), MF_STRING, kCloseCommand, "Beenden");
  // A menu whose window is not in the foreground would not close on a click elsewhere.
  SetForegroundWindow(window);
  TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window,
                 nullptr);
  PostMessageA(window, WM_NULL, 0, 0);
}

}  // namespace zw
