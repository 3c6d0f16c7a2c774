// Any text a person can type into a prompt: the conversion either gives a
// 16-bit value or throws ConversionError with a message, nothing else.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/Errors.h"
#include "platform/NumberFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    static const velnorka::NumberFormat formats[] = {
        {",", "\u00A0"}, {".", ","}, {",", "."}, {",", "\u202F"}};
    for (const velnorka::NumberFormat& format : formats) {
        try {
            const std::int16_t value = velnorka::replyToInt16(reply, format);
            // A reply that converts must contain a digit.
            if (reply.find_first_of("0123456789") == std::string_view::npos) std::abort();
            (void)value;
        } catch (const velnorka::ConversionError& error) {
            if (std::string_view(error.what()).empty()) std::abort();
        }
    }
    return 0;
}
