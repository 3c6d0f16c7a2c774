#pragma once
// What "Kopíruj" puts on the clipboard: the box's text as plain text, and the
// same lines as HTML and RTF for word processors. In the rich flavours every
// line is one paragraph in the box's font (Times New Roman 12 pt) with no
// space around paragraphs, and the answer key starts on a new page.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace velnorka {

inline constexpr std::string_view htmlFragmentStart = "<!--StartFragment-->";
inline constexpr std::string_view htmlFragmentEnd = "<!--EndFragment-->";

// The byte offset in `text` where the answer key's first line starts, or
// nullopt when the text has no recognisable key.
//
// `generatedKeyStart` is given when the text is exactly what the last
// "Generuj" put in the box: the key then starts there. Otherwise the key is
// found by its shape: the first line that starts with "a) ", holds no
// underscore, follows one or more empty lines, and where the last non-empty
// line before those empty lines holds an underscore (a question's answer
// blank). A line of only spaces and tabs counts as empty. An empty key (a
// start at the end of the text) is no key.
std::optional<std::size_t> findAnswerKey(std::string_view text,
                                         std::optional<std::size_t> generatedKeyStart);

// The HTML document and the RTF of the lines of `text`, with a page break
// before the line that starts at `keyStart` (none when nullopt). Lines end at
// "\r\n", or at a lone "\r" or "\n". C0 control characters other than the
// tab are left out (the plain text keeps them).
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
