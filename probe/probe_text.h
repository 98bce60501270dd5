#pragma once
// Writing answers into callers' buffers, which come without a length: never more than the
// documented capacity, and never half a UTF-8 character.

#include <cstddef>
#include <string_view>

namespace velora {

// Copies text into buffer, cut to capacity - 1 bytes plus the NUL.
void CopyProbeText(char* buffer, std::string_view text, size_t capacity);

}  // namespace velora
