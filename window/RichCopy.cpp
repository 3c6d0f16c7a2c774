#include "window/RichCopy.h"

#include <algorithm>
#include <vector>

#include "platform/Utf.h"

namespace velnorka {

namespace {

struct Line {
    std::size_t start;  // byte offset of the line in the text
    std::string_view text;
};

// The lines of the text; a text ending in a line break ends with an empty
// line, as the box shows it. The empty text has none.
std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    if (text.empty()) return lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back({start, text.substr(start, i - start)});
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    lines.push_back({start, text.substr(start)});
    return lines;
}

bool hasAnswerBlank(std::string_view line) { return line.find('_') != std::string_view::npos; }

// A line that shows nothing: only spaces, tabs and control characters, which
// the rich flavours leave out.
bool isBlank(std::string_view line) {
    for (const char c : line)
        if (c != ' ' && static_cast<unsigned char>(c) >= 0x20) return false;
    return true;
}

// A line that starts as an exercise does: a letter, a parenthesis and a space.
bool isExerciseShaped(std::string_view line) {
    return line.size() >= 3 && line[0] >= 'a' && line[0] <= 'z' && line[1] == ')' && line[2] == ' ';
}

// "a) 1·234 na desítky ____": an exercise with its answer blank.
bool isQuestionLine(std::string_view line) { return isExerciseShaped(line) && hasAnswerBlank(line); }

// "a) 1·234 na desítky  1·230": an exercise without an answer blank.
bool isKeyLine(std::string_view line) { return isExerciseShaped(line) && !hasAnswerBlank(line); }

std::optional<std::size_t> keyByShape(std::string_view text) {
    const std::vector<Line> lines = splitLines(text);
    std::size_t afterQuestions = lines.size();  // the line after the last question line
    while (afterQuestions > 0 && !isQuestionLine(lines[afterQuestions - 1].text)) --afterQuestions;
    if (afterQuestions == 0) return std::nullopt;
    std::size_t first = afterQuestions;
    while (first < lines.size() && isBlank(lines[first].text)) ++first;
    for (std::size_t i = first; i < lines.size(); ++i)
        if (isKeyLine(lines[i].text)) return lines[first].start;
    return std::nullopt;
}

// A line of the text as the rich flavours write it.
struct Paragraph {
    std::string_view text;
    bool pageBreakBefore;
};

// The paragraphs of the rich flavours: the lines of the text, less the blank
// lines that could end up alone on a page: those right before the page break
// (the break takes their place) and those at the end. When a page is full
// just before such a line, the word processor would carry it over to a page
// of its own, whatever the page's height. A break with nothing printed before
// it is none: it would leave the first page blank.
std::vector<Paragraph> richParagraphs(std::string_view text, std::optional<std::size_t> keyStart) {
    const std::vector<Line> lines = splitLines(text);
    std::size_t end = lines.size();
    while (end > 0 && isBlank(lines[end - 1].text)) --end;
    std::size_t breakAt = lines.size();     // the line that starts the key's page
    std::size_t blanksFrom = lines.size();  // the first of the blank lines right before it
    for (std::size_t i = 0; keyStart && i < lines.size(); ++i) {
        if (lines[i].start != *keyStart) continue;
        std::size_t first = i;
        while (first > 0 && isBlank(lines[first - 1].text)) --first;
        if (first > 0) {
            breakAt = i;
            blanksFrom = first;
            end = std::max(end, i + 1);
        }
        break;
    }
    std::vector<Paragraph> paragraphs;
    for (std::size_t i = 0; i < end; ++i)
        if (i < blanksFrom || i >= breakAt) paragraphs.push_back({lines[i].text, i == breakAt});
    return paragraphs;
}

// Whether the last paragraph is left open, without its paragraph mark. A
// paste into a paragraph joins the last pasted paragraph to it, as it does
// plain text: a closed one would add the paragraph pasted into after the
// sheet, and a full last page would carry that empty paragraph to a page of
// its own. The break before the key would not survive the join (Writer drops
// it from RTF), so that paragraph stays closed.
bool leftOpen(const std::vector<Paragraph>& paragraphs, std::size_t index) {
    return index + 1 == paragraphs.size() && !paragraphs[index].pageBreakBefore;
}

// The line without C0 control characters other than the tab: a form feed or
// an escape typed into the box would start a page or vanish in the readers.
std::string withoutControls(std::string_view line) {
    std::string kept;
    kept.reserve(line.size());
    for (const char c : line)
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') kept += c;
    return kept;
}

// The letter without its accent, for RTF readers that skip \u: Czech and
// Slovak letters, anything else a question mark.
char rtfFallback(char32_t c) {
    static constexpr std::u32string_view accented = U"áäčďéěíĺľňóôŕřšťúůýžÁÄČĎÉĚÍĹĽŇÓÔŔŘŠŤÚŮÝŽ";
    static constexpr std::string_view plain = "aacdeeillnoorrstuuyzAACDEEILLNOORRSTUUYZ";
    static_assert(accented.size() == plain.size());
    const std::size_t at = accented.find(c);
    return at == std::u32string_view::npos ? '?' : plain[at];
}

void appendRtfUnit(std::string& out, unsigned unit, char fallback) {
    // \uN takes a signed 16-bit number.
    out += "\\u";
    out += std::to_string(unit < 0x8000 ? static_cast<int>(unit) : static_cast<int>(unit) - 0x10000);
    out += fallback;
}

void appendRtfText(std::string& out, std::string_view line) {
    char32_t previous = 0;
    for (std::size_t i = 0; i < line.size();) {
        const char32_t c = nextCodePoint(line, i);
        if (c == ' ' && previous == ' ') {
            // Readers turn a run of spaces into other spaces (LibreOffice
            // Writer: U+2006 between them), also when written as \'20; a
            // space in a group of its own stays a plain space.
            out += "{\\'20}";
        } else if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\t') {
            out += "\\tab ";
        } else if (c == 0xA0) {
            out += "\\~";
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else if (c < 0x10000) {
            appendRtfUnit(out, static_cast<unsigned>(c), rtfFallback(c));
        } else {  // a surrogate pair
            const char32_t offset = c - 0x10000;
            appendRtfUnit(out, 0xD800 + static_cast<unsigned>(offset >> 10), '?');
            appendRtfUnit(out, 0xDC00 + static_cast<unsigned>(offset & 0x3FF), '?');
        }
        previous = c;
    }
}

// Spaces that an HTML reader would drop (a run, or at either end of the line)
// are written as references, which the readers keep; Word reads them from a
// spacerun span, browsers from white-space:pre-wrap.
void appendHtmlText(std::string& out, std::string_view line) {
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == ' ') {
            std::size_t end = line.find_first_not_of(' ', i);
            if (end == std::string_view::npos) end = line.size();
            if (end - i == 1 && i > 0 && end < line.size()) {
                out += ' ';
            } else {
                out += "<span style=\"mso-spacerun:yes\">";
                for (std::size_t k = i; k < end; ++k) out += "&#32;";
                out += "</span>";
            }
            i = end;
            continue;
        }
        const char c = line[i];
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\t': out += "&#9;"; break;
            default:
                if (c == '\xC2' && i + 1 < line.size() && line[i + 1] == '\xA0') {
                    out += "&nbsp;";
                    ++i;
                } else {
                    out += c;
                }
        }
        ++i;
    }
}

}  // namespace

std::optional<std::size_t> findAnswerKey(std::string_view text,
                                         std::optional<std::size_t> generatedKeyStart) {
    if (generatedKeyStart) {
        if (*generatedKeyStart >= text.size()) return std::nullopt;
        return generatedKeyStart;
    }
    return keyByShape(text);
}

std::string htmlDocument(std::string_view text, std::optional<std::size_t> keyStart) {
    static constexpr std::string_view paragraph =
        "<p style=\"margin:0pt;line-height:100%;font-family:'Times New Roman',serif;"
        "font-size:12pt;white-space:pre-wrap";
    std::string out;
    out.reserve(text.size() * 2 + 4096);
    out += "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
           "</head>\r\n<body>\r\n";
    out += htmlFragmentStart;
    const std::vector<Paragraph> paragraphs = richParagraphs(text, keyStart);
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        out += paragraph;
        if (paragraphs[i].pageBreakBefore) out += ";page-break-before:always;break-before:page";
        out += "\">";
        const std::string shown = withoutControls(paragraphs[i].text);
        if (shown.empty())
            out += "<br>";  // an empty <p> would collapse
        else
            appendHtmlText(out, shown);
        if (!leftOpen(paragraphs, i)) out += "</p>";
    }
    // Nothing after the open last paragraph, not even a line break: readers
    // would take it as a space at the end of the last line.
    out += htmlFragmentEnd;
    out += "</body></html>";
    return out;
}

std::string rtfDocument(std::string_view text, std::optional<std::size_t> keyStart) {
    std::string out;
    out.reserve(text.size() * 2 + 1024);
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
           "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}}\r\n";
    const std::vector<Paragraph> paragraphs = richParagraphs(text, keyStart);
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        // Every paragraph sets its own format: single spacing, no space around.
        out += "\\pard\\plain\\sb0\\sa0\\sl240\\slmult1";
        if (paragraphs[i].pageBreakBefore) out += "\\pagebb";
        out += "\\f0\\fs24 ";
        appendRtfText(out, withoutControls(paragraphs[i].text));
        out += leftOpen(paragraphs, i) ? "\r\n" : "\\par\r\n";
    }
    out += "}";
    return out;
}

std::string windowsHtmlFormat(std::string_view html) {
    // Ten digits each, so that the header's length does not depend on them.
    const auto field = [](const char* name, std::size_t value) {
        std::string digits = std::to_string(value);
        return std::string(name) + std::string(10 - digits.size(), '0') + digits + "\r\n";
    };
    static constexpr std::string_view version = "Version:0.9\r\n";
    const std::size_t headerSize = version.size() + field("StartHTML:", 0).size() +
                                   field("EndHTML:", 0).size() + field("StartFragment:", 0).size() +
                                   field("EndFragment:", 0).size();
    std::size_t fragmentStart = html.find(htmlFragmentStart);
    std::size_t fragmentEnd = html.find(htmlFragmentEnd);
    if (fragmentStart == std::string_view::npos || fragmentEnd == std::string_view::npos) {
        fragmentStart = 0;  // the whole document is the fragment
        fragmentEnd = html.size();
    } else {
        fragmentStart += htmlFragmentStart.size();
    }
    std::string out(version);
    out += field("StartHTML:", headerSize);
    out += field("EndHTML:", headerSize + html.size());
    out += field("StartFragment:", headerSize + fragmentStart);
    out += field("EndFragment:", headerSize + fragmentEnd);
    out += html;
    return out;
}

ClipboardFlavours clipboardFlavours(std::string_view text,
                                    std::optional<std::size_t> generatedKeyStart) {
    const std::optional<std::size_t> keyStart = findAnswerKey(text, generatedKeyStart);
    return {std::string(text), htmlDocument(text, keyStart), rtfDocument(text, keyStart)};
}

}  // namespace velnorka
