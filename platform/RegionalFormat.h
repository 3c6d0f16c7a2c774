#pragma once
// The user's regional number format as the operating system keeps it, for
// the command-line tool and the Windows program.
#include "platform/NumberFormat.h"

namespace velnorka {

// The separators of the user's regional settings, as the desktop programs
// get them: on Windows the user's regional settings; elsewhere the C
// library's LC_NUMERIC locale chosen by LC_ALL, LC_NUMERIC or LANG (the C
// format when that locale is not installed). The process's own locale is left
// as it is, so nothing is ever formatted or parsed through it.
NumberFormat userNumberFormat();

}  // namespace velnorka
