#pragma once

#include <windows.h>

// The menu of the right mouse button on the panel.
namespace zw {

// The commands of the menu, sent to the window as WM_COMMAND.
enum PanelCommand : UINT {
  kExplainCommand = 101,  // the report of the last run, in Notepad
  kProposeCommand,        // a template proposed for the last copied text
  kOpenFolderCommand,     // as the button "E"
  kCloseCommand,          // as the button "X"
};

struct PanelMenuState {
  bool HasLastText = false;  // a copied text started a run
  bool LastConverted = false;
};

// Shows the menu at the screen point and returns once it is closed; the command chosen
// arrives as WM_COMMAND at the window.
void ShowPanelMenu(HWND window, POINT at, const PanelMenuState& state);

}  // namespace zw
