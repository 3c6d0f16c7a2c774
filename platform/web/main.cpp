// The page's program: builds the window from the control table, then runs
// Form_Load and, one at a time, the handlers of the events the page raises.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Errors.h"
#include "platform/Random.h"
#include "platform/web/AreaText.h"
#include "platform/web/PageImports.h"
#include "platform/web/WebPlatform.h"
#include "window/Form1.h"
#include "window/RichCopy.h"

namespace {

using namespace velnorka;

struct Program {
    web::WebPlatform platform;
    MersenneRandom random;
    Form1 form{platform, random};
    bool badSeed = false;
};

Program* program = nullptr;  // made by main(), lives as long as the page

constexpr int pixels(int twips) { return twipsToPixels(twips, 96); }

void buildWindow() {
    velnorka_set_form(std::string(formCaption).c_str(), pixels(formClientWidth),
                      pixels(formClientHeight));
    for (const ControlSpec& entry : controls) {
        const std::optional<FormEvent> event = clickEvent(entry.id);
        velnorka_add_control(std::string(entry.name).c_str(), static_cast<int>(entry.kind),
                             std::string(entry.caption).c_str(), entry.inFrame, pixels(entry.left),
                             pixels(entry.top), pixels(entry.width), pixels(entry.height),
                             event ? static_cast<int>(*event) : -1);
    }
    velnorka_set_text_box(std::string(text1AccessibleName).c_str(),
                          std::string(text1Font.face).c_str(), text1Font.points);
}

}  // namespace

extern "C" {

// Form_Load, once the page has its controls.
EMSCRIPTEN_KEEPALIVE void velnorka_load() {
    program->form.raise(FormEvent::Load);
    if (program->badSeed)
        program->form.reportFailure(std::make_exception_ptr(UserError(
            "Parametr seed v adrese stránky musí být celé číslo 0 až 4294967295. "
            "Náhodná čísla se řídí hodinami.")));
}

EMSCRIPTEN_KEEPALIVE void velnorka_raise(int event) {
    program->form.raise(static_cast<FormEvent>(event));
}

// What the browser prints: the lines of the box's text (`area`, UTF-8 as the
// textarea holds it, taken over and freed here) as the rich copy writes them,
// the key on a new page. Runs no handler and never waits, so that it can run
// while a handler waits in a dialog.
EMSCRIPTEN_KEEPALIVE void velnorka_print(char* area, std::size_t length) {
    const std::string text = web::programText(web::taken(area, length).value_or(std::string()));
    const std::string html = htmlDocument(text, findAnswerKey(text, std::nullopt));
    std::string_view lines = html;
    const std::size_t start = lines.find(htmlFragmentStart);
    const std::size_t end = lines.find(htmlFragmentEnd);
    if (start != std::string_view::npos && end != std::string_view::npos)
        lines = lines.substr(start + htmlFragmentStart.size(), end - start - htmlFragmentStart.size());
    velnorka_set_print_sheet(lines.data(), lines.size());
}
}

int main() {
    buildWindow();
    std::optional<std::uint32_t> seed;
    bool badSeed = false;
    std::size_t length = 0;
    char* parameter = velnorka_seed_parameter(&length);
    if (const std::optional<std::string> text = web::taken(parameter, length)) {
        seed = parseSeed(*text);
        badSeed = !seed;
    }
    program = new Program{{}, MersenneRandom(seed)};
    program->badSeed = badSeed;
    velnorka_start();
    return 0;
}
