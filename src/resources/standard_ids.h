#pragma once

// The numbers every dialog shares. Windows headers define the same ones as
// macros, hence the guards.
#ifndef IDOK
inline constexpr int IDOK = 1;
#endif
#ifndef IDCANCEL
inline constexpr int IDCANCEL = 2;
#endif
#ifndef IDC_STATIC
inline constexpr int IDC_STATIC = -1;
#endif
