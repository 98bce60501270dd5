#pragma once
// What a text shows. Names that people type are refused when they show nothing, carry C1
// controls or turn the direction of the text around them; texts from hardware keep their bytes
// but are printed with every control escaped, so they cannot drive a terminal.

#include <cstdint>
#include <string>
#include <string_view>

namespace velora {

// The length of the UTF-8 sequence at text[at] (shortest form, no surrogate, at most U+10FFFF)
// with its code point in point; 0 when the bytes there are not one.
size_t Utf8SequenceAt(std::string_view text, size_t at, uint32_t& point);

// A C1 control (U+0080 to U+009F) or a direction embedding, override or isolate (U+202A to
// U+202E, U+2066 to U+2069) anywhere in text.
bool HasHiddenControls(std::string_view text);

// Not empty, and nothing in it but blanks and characters that draw nothing (spaces of every
// width, joiners, soft hyphen, fillers, direction marks, variation selectors, tags).
bool ShowsNothing(std::string_view text);

// text with every C0 control but tab and line feed, DEL, C1 control and direction control
// written as \xNN or \u{NNNN}, and every byte that is not UTF-8 as \xNN; a backslash stays as
// it is.
std::string EscapedForTerminal(std::string_view text);

}  // namespace velora
