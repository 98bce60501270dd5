#pragma once
// Small kernel attribute files read as text.

#include <cstdint>
#include <string>

namespace velora {

// The file's bytes (at most 1 MiB); empty when it cannot be read.
std::string ReadSmallFile(const std::string& path);
// The first line without the blanks and line end after it.
std::string ReadFirstLine(const std::string& path);
// "0x8086", "8086": the hexadecimal number; 0 for anything else.
uint32_t HexNumber(const std::string& text);
// The file's text without the blanks and line ends around it; empty when it cannot be read.
std::string ReadAttribute(const std::string& path);
// Without leading and trailing blanks, tabs and line ends.
std::string TrimBlanks(const std::string& text);

}  // namespace velora
