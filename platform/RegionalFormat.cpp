#include "platform/RegionalFormat.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
#endif

namespace velnorka {

#ifdef _WIN32

namespace {

std::string localeText(LCTYPE item, const std::string& fallback) {
    wchar_t wide[16];
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, wide, 16);
    if (length <= 1) return fallback;  // the count includes the closing zero
    char utf8[64];
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, length - 1, utf8, sizeof utf8, nullptr, nullptr);
    if (size <= 0) return fallback;
    return std::string(utf8, static_cast<std::size_t>(size));
}

}  // namespace

NumberFormat userNumberFormat() {
    NumberFormat format;
    format.decimalSeparator = localeText(LOCALE_SDECIMAL, format.decimalSeparator);
    format.groupSeparator = localeText(LOCALE_STHOUSAND, format.groupSeparator);
    return format;
}

#else

NumberFormat userNumberFormat() {
    // A locale object of its own, so that the process stays in the C locale.
    const locale_t numeric = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (numeric == static_cast<locale_t>(nullptr)) return NumberFormat{".", ""};
    NumberFormat format{nl_langinfo_l(RADIXCHAR, numeric), nl_langinfo_l(THOUSEP, numeric)};
    freelocale(numeric);
    return format;
}

#endif

}  // namespace velnorka
