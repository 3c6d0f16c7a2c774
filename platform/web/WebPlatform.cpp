#include "platform/web/WebPlatform.h"

#include <emscripten/emscripten.h>

#include "platform/Errors.h"
#include "platform/web/AreaText.h"
#include "platform/web/PageImports.h"

// The dialogs wait for the user: the handler is suspended (ASYNCIFY) until
// the reply comes, so the window logic stays synchronous.
EM_ASYNC_JS(char*, velnorka_ask,
            (const char* prompt, std::size_t promptLength, const char* reply,
             std::size_t replyLength, std::size_t* answerLength),
            { return await VelnorkaPage.ask(prompt, promptLength, reply, replyLength, answerLength); });
EM_ASYNC_JS(void, velnorka_tell, (const char* text, std::size_t length),
            { await VelnorkaPage.tell(text, length); });

namespace velnorka::web {

std::optional<std::string> WebPlatform::inputBox(const std::string& prompt,
                                                 const std::string& defaultReply) {
    std::size_t length = 0;
    char* reply = velnorka_ask(prompt.data(), prompt.size(), defaultReply.data(),
                               defaultReply.size(), &length);
    return taken(reply, length);
}

void WebPlatform::msgBox(const std::string& text) { velnorka_tell(text.data(), text.size()); }

void WebPlatform::setMousePointer(MousePointer pointer) {
    velnorka_set_busy(pointer == MousePointer::Hourglass);
}

std::string WebPlatform::text() const { return programText(fromPage(velnorka_area_text)); }

void WebPlatform::setText(const std::string& text) {
    const std::string area = areaText(text);
    velnorka_set_area_text(area.data(), area.size());
}

void WebPlatform::setSelStart(int start) {
    if (start < 0) throw PlatformError("Začátek výběru v textovém poli nesmí být záporný.");
    const int at = areaPosition(fromPage(velnorka_area_text), start);
    velnorka_set_area_selection(at, at);
}

void WebPlatform::setSelLength(int length) {
    if (length < 0) throw PlatformError("Délka výběru v textovém poli nesmí být záporná.");
    const std::string area = fromPage(velnorka_area_text);
    const int start = velnorka_area_selection_start();
    const long long end = static_cast<long long>(programPosition(area, start)) + length;
    velnorka_set_area_selection(start, areaPosition(area, end));
}

std::string WebPlatform::selText() const {
    return programText(fromPage(velnorka_area_selected_text));
}

int WebPlatform::selStart() const {
    return programPosition(fromPage(velnorka_area_text), velnorka_area_selection_start());
}

int WebPlatform::selLength() const {
    const std::string area = fromPage(velnorka_area_text);
    return programPosition(area, velnorka_area_selection_end()) -
           programPosition(area, velnorka_area_selection_start());
}

void WebPlatform::setOptionValue(int option, bool checked) {
    if (option < 1 || option > 3)
        throw PlatformError("Přepínač číslo " + std::to_string(option) + " neexistuje.");
    velnorka_check_option(option, checked);
}

void WebPlatform::clipboardSetText(const ClipboardFlavours& flavours) {
    if (!velnorka_copy(flavours.plainText.data(), flavours.plainText.size(), flavours.html.data(),
                       flavours.html.size()))
        throw PlatformError(
            "Prohlížeč nedovolil vložit list do schránky. Označte text v poli "
            "(Ctrl+A) a zkopírujte ho klávesami Ctrl+C.");
}

NumberFormat WebPlatform::numberFormat() const {
    NumberFormat format;
    const auto separator = [](int which) {
        return fromPage([which](std::size_t* length) { return velnorka_number_separator(which, length); });
    };
    const std::string decimal = separator(0);
    if (!decimal.empty()) format.decimalSeparator = decimal;
    format.groupSeparator = separator(1);
    return format;
}

}  // namespace velnorka::web
