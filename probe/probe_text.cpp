#include "probe/probe_text.h"

#include <cstring>

namespace velora {

void CopyProbeText(char* buffer, std::string_view text, size_t capacity) {
  if (buffer == nullptr || capacity == 0) return;
  size_t n = text.size();
  if (n > capacity - 1) {
    n = capacity - 1;
    // Step back over continuation bytes so a multi-byte character is not split.
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  }
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

}  // namespace velora
