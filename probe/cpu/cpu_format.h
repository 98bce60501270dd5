#pragma once
// printf-style formatting into a std::string, for the fixed formats of the processor texts.

#include <cstdarg>
#include <cstdio>
#include <string>

namespace velora {

__attribute__((format(printf, 1, 2))) inline std::string FormatText(const char* format, ...) {
  char buffer[256];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0) return {};
  return std::string(buffer, static_cast<size_t>(n) < sizeof buffer ? static_cast<size_t>(n)
                                                                      : sizeof buffer - 1);
}

}  // namespace velora
