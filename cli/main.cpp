// velnorka-cli: prints the worksheet that "Generuj" would put in the text
// box, for scripting and for checking the generator without a desktop.
// Plain stdio, no iostreams: it keeps the static Windows build small.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegionalFormat.h"
#include "platform/Errors.h"
#include "platform/Random.h"
#include "platform/Utf.h"
#include "window/Form1.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

using namespace velnorka;

// The exit statuses the usage text and the README promise.
enum ExitStatus : int {
    sheetWritten = 0,
    tooManyExercises = 1,
    badInput = 2,
    writeFailed = 3,
};

constexpr const char* usage =
    "Použití: velnorka-cli [--mode 1|2|3] [--count TEXT] [--group TEXT] [--seed N]\n"
    "                      [--format text|html|rtf]\n"
    "\n"
    "Vypíše pracovní list se zaokrouhlováním a výsledky (UTF-8, řádky CRLF).\n"
    "  --mode 1|2|3   1 jen přirozená čísla (výchozí), 2 jen desetinná čísla, 3 mix\n"
    "  --count TEXT   počet příkladů, jako odpověď na první dotaz (výchozí 10, max. 200)\n"
    "  --group TEXT   po kolika příkladech vynechat řádek (výchozí 10)\n"
    "  --seed N       počáteční hodnota náhodných čísel 0..4294967295 (výchozí: hodiny)\n"
    "  --format F     text (výchozí), html nebo rtf: co by tlačítko Kopíruj vložilo\n"
    "                 do schránky v tomto formátu (klíč na nové stránce)\n"
    "  --help         tato nápověda\n"
    "  --version      verze programu\n"
    "\n"
    "Desetinnou čárku a oddělovač tisíců určuje místní nastavení\n"
    "(LC_ALL, LC_NUMERIC nebo LANG; ve Windows nastavení oblasti).\n"
    "Návratový kód: 0 list vypsán, 1 příliš mnoho příkladů, 2 chybný údaj,\n"
    "3 výstup se nepodařilo zapsat (například plný disk).\n";

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
    int selStart() const override { return 0; }
    int selLength() const override { return 0; }
    std::string selText() const override { return text_; }  // a copy takes the whole text
    void setOptionValue(int, bool) override {}
    void clipboardClear() override {}
    void clipboardSetText(const ClipboardFlavours& flavours) override { clipboard = flavours; }
    NumberFormat numberFormat() const override { return format_; }

    std::string message;
    bool textSet = false;
    ClipboardFlavours clipboard;

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
        if (size > 1) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, argument.data(), size, nullptr, nullptr);
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
    std::string format = "text";
};

// What the command line asks for. `refusal` holds the message when it asks
// for something that cannot be done.
struct CommandLine {
    enum class Action { PrintSheet, PrintUsage, PrintVersion, Refuse };
    Action action = Action::PrintSheet;
    Options options;
    std::string refusal;
};

// Sets the option from its value, or returns why the value is refused.
using OptionSetter = std::optional<std::string> (*)(Options&, const std::string&);

struct ValueOption {
    std::string_view name;
    OptionSetter set;
};

constexpr ValueOption valueOptions[] = {
    {"--mode",
     [](Options& options, const std::string& value) -> std::optional<std::string> {
         if (value != "1" && value != "2" && value != "3")
             return "--mode musí být 1, 2 nebo 3, ne " + quotedValue(value) + ".";
         options.mode = static_cast<std::int16_t>(value[0] - '0');
         return std::nullopt;
     }},
    {"--count",
     [](Options& options, const std::string& value) -> std::optional<std::string> {
         options.count = value;
         return std::nullopt;
     }},
    {"--group",
     [](Options& options, const std::string& value) -> std::optional<std::string> {
         options.group = value;
         return std::nullopt;
     }},
    {"--seed",
     [](Options& options, const std::string& value) -> std::optional<std::string> {
         options.seed = parseSeed(value);
         if (!options.seed)
             return "--seed musí být celé číslo 0 až 4294967295, ne " + quotedValue(value) + ".";
         return std::nullopt;
     }},
    {"--format",
     [](Options& options, const std::string& value) -> std::optional<std::string> {
         if (value != "text" && value != "html" && value != "rtf")
             return "--format musí být text, html nebo rtf, ne " + quotedValue(value) + ".";
         options.format = value;
         return std::nullopt;
     }},
};

CommandLine parseOptions(const std::vector<std::string>& arguments) {
    CommandLine command;
    const auto refuse = [&command](std::string message) {
        command.action = CommandLine::Action::Refuse;
        command.refusal = std::move(message);
        return command;
    };
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--help" || name == "-h") return {CommandLine::Action::PrintUsage, {}, {}};
        if (name == "--version") return {CommandLine::Action::PrintVersion, {}, {}};
        const ValueOption* option = nullptr;
        for (const ValueOption& candidate : valueOptions)
            if (candidate.name == name) option = &candidate;
        if (option == nullptr)
            return refuse("neznámá volba " + quotedValue(name) + ". Nápovědu vypíše velnorka-cli --help.");
        if (i + 1 >= arguments.size()) return refuse("u volby " + name + " chybí hodnota.");
        if (std::optional<std::string> refusal = option->set(command.options, arguments[++i]))
            return refuse(std::move(*refusal));
    }
    return command;
}

// The sheet as the text box would receive it, or the message why not.
struct Run {
    ExitStatus status = sheetWritten;
    std::string text;  // the sheet, or the message for stderr
};

Run runForm(const Options& options) {
    ConsolePlatform platform({options.count, options.group}, userNumberFormat());
    MersenneRandom random(options.seed);
    Form1 form(platform, random);
    try {
        form.Form_Load();
        if (options.mode == 2) form.Option2_Click();
        if (options.mode == 3) form.Option3_Click();
        form.Command1_Click();
    } catch (const UserError& error) {
        return {badInput, std::string("velnorka-cli: ") + error.what()};
    }
    if (!platform.textSet) return {tooManyExercises, platform.message};
    // The bytes "Kopíruj" puts on the clipboard in the chosen flavour.
    form.Command3_Click();
    const ClipboardFlavours& copied = platform.clipboard;
    if (options.format == "html") return {sheetWritten, copied.html};
    if (options.format == "rtf") return {sheetWritten, copied.rtf};
    return {sheetWritten, copied.plainText};
}

void printError(const std::string& message) {
    // Nothing is left to report a failing stderr to; the status still tells.
    std::fputs((message + "\n").c_str(), stderr);
}

// Writes the whole text to stdout and closes it. A full disk, a closed or a
// read-only stdout give status writeFailed and a message, never a silent 0.
int writeOut(std::string_view text) {
    bool failed = false;
    int error = 0;  // the first failure's errno
    const auto note = [&](bool ok) {
        if (!ok && !failed) error = errno;
        failed = failed || !ok;
    };
    note(std::fwrite(text.data(), 1, text.size(), stdout) == text.size());
    note(std::fflush(stdout) == 0);
    note(std::fclose(stdout) == 0);
    if (!failed) return sheetWritten;
    std::string message = "velnorka-cli: výstup se nepodařilo celý zapsat";
    if (error == ENOSPC)
        message += " (disk je plný)";
    else if (error == EBADF)
        message += " (výstup je zavřený nebo jen pro čtení)";
    printError(message + ".");
    return writeFailed;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The sheet's own "\r\n" must reach stdout unchanged.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    const CommandLine command = parseOptions(utf8Arguments(argc, argv));
    switch (command.action) {
        case CommandLine::Action::PrintUsage: return writeOut(usage);
        case CommandLine::Action::PrintVersion: return writeOut("velnorka-cli " VELNORKA_VERSION "\n");
        case CommandLine::Action::Refuse: printError("velnorka-cli: " + command.refusal); return badInput;
        case CommandLine::Action::PrintSheet: break;
    }
    const Run run = runForm(command.options);
    if (run.status != sheetWritten) {
        printError(run.text);
        return run.status;
    }
    return writeOut(run.text);
}
