#include "server/form_body.h"

#include "server/result_codes.h"

namespace velora::server {

namespace {

bool IsKeyCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Only the three escapes the client writes; any other "%" is a raw byte of the text.
std::string Unescaped(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '%' && i + 3 <= value.size()) {
      const std::string_view code = value.substr(i, 3);
      const char decoded = code == "%26" ? '&' : code == "%2B" ? '+' : code == "%3D" ? '=' : 0;
      if (decoded != 0) {
        out += decoded;
        i += 2;
        continue;
      }
    }
    out += value[i];
  }
  return out;
}

}  // namespace

ParsedBody ParseFormBody(std::string_view body) {
  ParsedBody parsed;
  if (body.size() >= kMaxBodyBytes) {
    parsed.refusal = kTooLarge;
    return parsed;
  }
  // The client posts the text's terminating zero byte; a body typed by hand may lack it.
  if (!body.empty() && body.back() == '\0') body.remove_suffix(1);
  if (body.empty() || body.find('\0') != std::string_view::npos) {
    parsed.refusal = kMalformedBody;
    return parsed;
  }
  size_t start = 0;
  while (start <= body.size()) {
    size_t end = body.find('&', start);
    if (end == std::string_view::npos) end = body.size();
    const std::string_view pair = body.substr(start, end - start);
    const size_t equals = pair.find('=');
    // Every "=" inside a value arrives escaped, so a second one means a broken body.
    if (equals == 0 || equals == std::string_view::npos ||
        pair.find('=', equals + 1) != std::string_view::npos) {
      parsed.refusal = kMalformedBody;
      parsed.pairs.clear();
      return parsed;
    }
    const std::string_view key = pair.substr(0, equals);
    for (const char c : key) {
      if (!IsKeyCharacter(c)) {
        parsed.refusal = kMalformedBody;
        parsed.pairs.clear();
        return parsed;
      }
    }
    parsed.pairs.push_back({std::string(key), Unescaped(pair.substr(equals + 1))});
    start = end + 1;
  }
  return parsed;
}

}  // namespace velora::server
