#pragma once
// Reads a recording named on the command line, refusing what cannot be one: a folder, a device
// or pipe, an empty or oversized file.

#include <cstddef>
#include <string>

namespace velora {

// The whole of the file at path. False with error set ("is a folder, not a dump file",
// "is empty", "is larger than 4 MB", ...), without the path.
bool ReadRecordingFile(const std::string& path, size_t limit, std::string& bytes,
                       std::string& error);

// A probe text for printing: quotes and backslashes escaped, bytes outside printable ASCII as
// \xNN, so a forged brand string cannot drive the terminal.
std::string QuotedProbeText(const char* text);

}  // namespace velora
