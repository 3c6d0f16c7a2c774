// velnorka-cli: prints the worksheet that "Generuj" would put in the text
// box, for scripting and for checking the generator without a desktop.
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/NumberFormat.h"
#include "platform/Random.h"
#include "window/Form1.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

using namespace velnorka;

constexpr const char* usage =
    "Použití: velnorka-cli [--mode 1|2|3] [--count TEXT] [--group TEXT] [--seed N]\n"
    "\n"
    "Vypíše pracovní list se zaokrouhlováním a výsledky (UTF-8, řádky CRLF).\n"
    "  --mode 1|2|3   1 jen přirozená čísla (výchozí), 2 jen desetinná čísla, 3 mix\n"
    "  --count TEXT   počet příkladů, jako odpověď na první dotaz (výchozí 10, max. 200)\n"
    "  --group TEXT   po kolika příkladech vynechat řádek (výchozí 10)\n"
    "  --seed N       počáteční hodnota náhodných čísel 0..4294967295 (výchozí: hodiny)\n"
    "  --help         tato nápověda\n"
    "  --version      číslo verze\n"
    "\n"
    "Desetinnou čárku a oddělovač tisíců určuje LC_ALL, LC_NUMERIC nebo LANG.\n"
    "Návratový kód: 0 list vypsán, 1 příliš mnoho příkladů, 2 chybný údaj.\n";

// The desktop as the command line sees it: the replies are given up front,
// the text box is what gets printed.
class ConsolePlatform : public Platform {
public:
    ConsolePlatform(std::deque<std::string> replies, NumberFormat format)
        : replies_(std::move(replies)), format_(std::move(format)) {}

    std::optional<std::string> inputBox(const std::string&, const std::string&) override {
        if (replies_.empty()) return std::nullopt;
        std::string reply = replies_.front();
        replies_.pop_front();
        return reply;
    }
    void msgBox(const std::string& text) override { message = text; }
    void setMousePointer(MousePointer) override {}
    std::string text() const override { return text_; }
    void setText(const std::string& text) override {
        text_ = text;
        textSet = true;
    }
    void setSelStart(int) override {}
    void setSelLength(int) override {}
    std::string selText() const override { return text_; }
    void setOptionValue(int, bool) override {}
    void clipboardClear() override {}
    void clipboardSetText(const std::string&) override {}
    NumberFormat numberFormat() const override { return format_; }

    std::string message;
    bool textSet = false;

private:
    std::deque<std::string> replies_;
    NumberFormat format_;
    std::string text_;
};

std::vector<std::string> utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
    (void)argc;
    (void)argv;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string argument(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
        if (size > 1)
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, argument.data(), size, nullptr, nullptr);
        arguments.push_back(argument);
    }
    LocalFree(wide);
    return arguments;
#else
    return std::vector<std::string>(argv, argv + argc);
#endif
}

struct Options {
    std::int16_t mode = 1;
    std::string count = defaultReply;
    std::string group = defaultReply;
    std::optional<std::uint32_t> seed;
};

[[noreturn]] void fail(const std::string& message) {
    std::cerr << "velnorka-cli: " << message << "\n";
    std::exit(2);
}

std::optional<std::uint32_t> parseSeed(const std::string& text) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const unsigned long long value = std::stoull(text);
    if (value > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

Options parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--version") {
            std::fputs("velnorka-cli " VELNORKA_VERSION "\n", stdout);
            std::exit(0);
        }
        if (name == "--help" || name == "-h") {
            std::cout << usage;
            std::exit(0);
        }
        if (name != "--mode" && name != "--count" && name != "--group" && name != "--seed")
            fail("neznámá volba „" + name + "“. Nápovědu vypíše velnorka-cli --help.");
        if (i + 1 >= arguments.size()) fail("u volby " + name + " chybí hodnota.");
        const std::string& value = arguments[++i];
        if (name == "--mode") {
            if (value != "1" && value != "2" && value != "3")
                fail("--mode musí být 1, 2 nebo 3, ne „" + value + "“.");
            options.mode = static_cast<std::int16_t>(value[0] - '0');
        } else if (name == "--count") {
            options.count = value;
        } else if (name == "--group") {
            options.group = value;
        } else {
            options.seed = parseSeed(value);
            if (!options.seed) fail("--seed musí být celé číslo 0 až 4294967295, ne „" + value + "“.");
        }
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The sheet's own "\r\n" must reach stdout unchanged.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    const Options options = parseOptions(utf8Arguments(argc, argv));

    ConsolePlatform platform({options.count, options.group}, numberFormatFromEnvironment());
    MersenneRandom random(options.seed);
    Form1 form(platform, random);
    try {
        form.Form_Load();
        if (options.mode == 2) form.Option2_Click();
        if (options.mode == 3) form.Option3_Click();
        form.Command1_Click();
    } catch (const UserError& error) {
        fail(error.what());
    }
    if (!platform.textSet) {
        std::cerr << platform.message << "\n";
        return 1;
    }
    const std::string sheet = platform.text();
    std::fwrite(sheet.data(), 1, sheet.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 2;
}
