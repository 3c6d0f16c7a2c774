#pragma once
// What "Kopíruj" puts on the clipboard: the box's text as plain text, and the
// same lines as HTML and RTF for word processors. In the rich flavours every
// line is one paragraph in the box's font (Times New Roman 12 pt) with no
// space around paragraphs, and the answer key starts on a new page; empty
// lines that would print a blank page are left out.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace velnorka {

inline constexpr std::string_view htmlFragmentStart = "<!--StartFragment-->";
inline constexpr std::string_view htmlFragmentEnd = "<!--EndFragment-->";

// The byte offset in `text` of the line that starts the answer key's page, or
// nullopt when the text has no recognisable key.
//
// `generatedKeyStart` is given when the text is exactly what the last
// "Generuj" put in the box: the key's page then starts there, with the key's
// first line. An empty key (a start at the end of the text) is no key.
//
// Otherwise the key is found by its shape, so that it keeps its page after
// the edits teachers make (a heading above the key, a name line on top, an
// exercise deleted from both halves). A line that starts with a letter a to z,
// ")" and a space is a question line when it holds an underscore (an answer
// blank), and a key line when it holds none. An empty line shows nothing but
// spaces, tabs and control characters. The key's page starts with the first
// non-empty line after the last question line, provided that a key line comes
// at or after it. So a heading typed above the key goes to the key's page, and
// other lines, such as a name line with underscores on top, do not matter. A
// text with no question line, or with no key line after the last one, has no
// key.
std::optional<std::size_t> findAnswerKey(std::string_view text,
                                         std::optional<std::size_t> generatedKeyStart);

// The HTML document and the RTF of the lines of `text`, with a page break
// before the line that starts at `keyStart` (none when nullopt, or when
// nothing but empty lines comes before that line). Lines end at "\r\n", or at
// a lone "\r" or "\n". C0 control characters other than the tab are left out
// (the plain text keeps them).
//
// No empty line may end up alone on a printed page, whatever the paper: the
// empty lines right before the page break are left out (the break takes their
// place), and so are the empty lines at the end of the text. The last
// paragraph has no paragraph mark, unless it starts the key's page: a paste
// joins it to the paragraph pasted into, as it would plain text, instead of
// leaving that empty paragraph after the sheet. Every other line stays, in
// order.
std::string htmlDocument(std::string_view text, std::optional<std::size_t> keyStart);
std::string rtfDocument(std::string_view text, std::optional<std::size_t> keyStart);

// The HTML document with the header that the Windows "HTML Format" wants:
// byte offsets, from the start of the data, of the document (StartHTML,
// EndHTML) and of the fragment between the markers (StartFragment just after
// the start marker, EndFragment at the end marker).
std::string windowsHtmlFormat(std::string_view html);

// All three flavours of the box's text.
ClipboardFlavours clipboardFlavours(std::string_view text,
                                    std::optional<std::size_t> generatedKeyStart);

}  // namespace velnorka
