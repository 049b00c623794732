#include "framework/native_system_menu.h"

#include <windows.h>

namespace afx {

bool AppendNativeSystemMenu(quintptr windowId, unsigned flags, unsigned id, const std::string& text) {
    HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(windowId), FALSE);
    if (menu == nullptr) return false;
    return AppendMenuA(menu, flags, id, text.empty() ? nullptr : text.c_str()) != FALSE;
}

bool NativeSysCommand(void* message, unsigned& id, std::intptr_t& param) {
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message != WM_SYSCOMMAND) return false;
    id = static_cast<unsigned>(msg->wParam);
    param = static_cast<std::intptr_t>(msg->lParam);
    return true;
}

}  // namespace afx
