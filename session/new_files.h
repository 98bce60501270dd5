#pragma once
// Files and folders a recording creates: never over something that exists, never through a
// link, and a file appears under its name only once it is whole.

#include <time.h>

#include <string>
#include <string_view>

namespace velora {

// mkdir with mode 0755; an existing folder (not a link to one) is accepted. False with error.
bool MakeFolder(const std::string& path, std::string& error);

// Writes bytes to a temporary name beside path (O_EXCL | O_NOFOLLOW, mode 0644), then renames
// it to path, which must not exist. On failure nothing is left behind. False with error
// ("path: No space left on device"). modified, when given, becomes the file's modification
// time.
bool WriteNewFile(const std::string& path, std::string_view bytes, std::string& error,
                  const timespec* modified = nullptr);

}  // namespace velora
