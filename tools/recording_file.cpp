#include "tools/recording_file.h"

#include <cstdio>
#include <utility>

#include "platform/regular_file.h"

namespace velora {

bool ReadRecordingFile(const std::string& path, size_t limit, std::string& bytes,
                       std::string& error) {
  FileBytes file = ReadRegularFile(path, limit);
  if (!file.ok) {
    error = file.error == "is a folder" ? "is a folder, not a dump file" : file.error;
    return false;
  }
  if (file.bytes.empty()) {
    error = "is empty";
    return false;
  }
  bytes = std::move(file.bytes);
  return true;
}

std::string QuotedProbeText(const char* text) {
  std::string out = "\"";
  for (const char* p = text; *p != '\0'; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    switch (byte) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default:
        if (byte < 0x20 || byte >= 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
          out += escaped;
        } else {
          out += static_cast<char>(byte);
        }
    }
  }
  return out + "\"";
}

}  // namespace velora
