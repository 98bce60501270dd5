#pragma once
// Initialisation files read and written line by line: sections and keys match without regard
// to case, every line we do not change is kept as it was, and a failed write changes nothing.

#include <cstddef>
#include <string>

namespace velora {

// The value of key in section, or fallback when the file, section or key is missing. At most
// capacity - 1 characters are returned, as a caller's fixed buffer of capacity bytes holds.
std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& fallback,
                          size_t capacity = 256);

// Sets key in section (creating the file, the section or the key as needed); false when the
// file cannot be written.
bool WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value);

// The value of a number text as atoi reads it: blanks, a sign, then leading digits; anything
// else gives 0.
int AtoiLike(const std::string& text);

}  // namespace velora
