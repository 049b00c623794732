#pragma once

// The real system menu of a window on Windows. Kept apart so that no other
// file sees the Windows headers.

#include <QtGlobal>
#include <cstdint>
#include <string>

namespace afx {

#ifdef Q_OS_WIN
// Appends an item (or a separator) to the window's system menu.
bool AppendNativeSystemMenu(quintptr windowId, unsigned flags, unsigned id, const std::string& text);
// When `message` (a MSG) is a system-menu command, its command and parameter.
bool NativeSysCommand(void* message, unsigned& id, std::intptr_t& param);
#endif

}  // namespace afx
