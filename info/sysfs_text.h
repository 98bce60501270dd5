#pragma once
// Small kernel attribute files read as text.

#include <string>

namespace velora {

// The file's bytes (at most 64 KiB); empty when it cannot be read.
std::string ReadSmallFile(const std::string& path);
// The file's text without the blanks and line ends around it; empty when it cannot be read.
std::string ReadAttribute(const std::string& path);
// Without leading and trailing blanks, tabs and line ends.
std::string TrimBlanks(const std::string& text);

}  // namespace velora
