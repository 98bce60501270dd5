// libFuzzer target over the text rules. Beyond the sanitizers' findings it traps when the
// terminal form of a text still holds a control byte, a C1 or direction control, or bytes that
// are not UTF-8, or when a text that shows nothing is said to hide controls it cannot hold.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/visible_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string escaped = velora::EscapedForTerminal(text);
  if (velora::HasHiddenControls(escaped)) std::abort();
  for (size_t at = 0; at < escaped.size();) {
    uint32_t point = 0;
    const size_t length = velora::Utf8SequenceAt(escaped, at, point);
    if (length == 0) std::abort();
    if (length == 1 && ((point < 0x20 && point != '\t' && point != '\n') || point == 0x7F))
      std::abort();
    at += length;
  }
  // Escaping changes nothing in a text without controls.
  if (!velora::HasHiddenControls(text) && escaped.size() < text.size()) std::abort();
  (void)velora::ShowsNothing(text);
  return 0;
}
