#include "platform/web/WebPlatform.h"

#include <emscripten/emscripten.h>

#include "platform/Errors.h"
#include "platform/web/AreaText.h"
#include "platform/web/PageImports.h"

// The dialogs wait for the user: the handler is suspended (ASYNCIFY) until
// the reply comes, so the window logic stays synchronous.
EM_ASYNC_JS(char*, velnorka_ask, (const char* prompt, const char* reply), { return await VelnorkaPage.ask(prompt, reply); });
EM_ASYNC_JS(void, velnorka_tell, (const char* text), { await VelnorkaPage.tell(text); });

namespace velnorka::web {

std::optional<std::string> WebPlatform::inputBox(const std::string& prompt,
                                                 const std::string& defaultReply) {
    char* reply = velnorka_ask(prompt.c_str(), defaultReply.c_str());
    if (!reply) return std::nullopt;
    return taken(reply);
}

void WebPlatform::msgBox(const std::string& text) { velnorka_tell(text.c_str()); }

void WebPlatform::setMousePointer(MousePointer pointer) {
    velnorka_set_busy(pointer == MousePointer::Hourglass);
}

std::string WebPlatform::text() const { return programText(taken(velnorka_area_text())); }

void WebPlatform::setText(const std::string& text) {
    velnorka_set_area_text(areaText(text).c_str());
}

void WebPlatform::setSelStart(int start) {
    if (start < 0) throw PlatformError("Začátek výběru v textovém poli nesmí být záporný.");
    const int at = areaPosition(taken(velnorka_area_text()), start);
    velnorka_set_area_selection(at, at);
}

void WebPlatform::setSelLength(int length) {
    if (length < 0) throw PlatformError("Délka výběru v textovém poli nesmí být záporná.");
    const std::string area = taken(velnorka_area_text());
    const int start = velnorka_area_selection_start();
    const long long end = static_cast<long long>(programPosition(area, start)) + length;
    velnorka_set_area_selection(start, areaPosition(area, end));
}

std::string WebPlatform::selText() const {
    return programText(taken(velnorka_area_selected_text()));
}

int WebPlatform::selStart() const {
    return programPosition(taken(velnorka_area_text()), velnorka_area_selection_start());
}

int WebPlatform::selLength() const {
    const std::string area = taken(velnorka_area_text());
    return programPosition(area, velnorka_area_selection_end()) -
           programPosition(area, velnorka_area_selection_start());
}

void WebPlatform::setOptionValue(int option, bool checked) {
    if (option < 1 || option > 3)
        throw PlatformError("Přepínač číslo " + std::to_string(option) + " neexistuje.");
    velnorka_check_option(option, checked);
}

void WebPlatform::clipboardSetText(const ClipboardFlavours& flavours) {
    if (!velnorka_copy(flavours.plainText.c_str(), flavours.html.c_str()))
        throw PlatformError(
            "Prohlížeč nedovolil vložit list do schránky. Označte text v poli "
            "(Ctrl+A) a zkopírujte ho klávesami Ctrl+C.");
}

NumberFormat WebPlatform::numberFormat() const {
    NumberFormat format;
    const std::string decimal = taken(velnorka_number_separator(0));
    if (!decimal.empty()) format.decimalSeparator = decimal;
    format.groupSeparator = taken(velnorka_number_separator(1));
    return format;
}

}  // namespace velnorka::web
