#include "server/http_message.h"

#include <algorithm>
#include <charconv>

namespace velora::server {

namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

bool SameName(std::string_view a, std::string_view b) { return Lower(a) == Lower(b); }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsToken(std::string_view text) {
  if (text.empty()) return false;
  return std::all_of(text.begin(), text.end(), [](unsigned char c) {
    return std::isalnum(c) || std::string_view("!#$%&'*+-.^_`|~").find(static_cast<char>(c)) !=
                                  std::string_view::npos;
  });
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Decoded(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
               HexDigit(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The next line ending in LF (CR before it dropped), or nothing when there is no LF yet.
bool NextLine(std::string_view buffer, size_t& at, std::string_view& line) {
  const size_t end = buffer.find('\n', at);
  if (end == std::string_view::npos) return false;
  line = buffer.substr(at, end - at);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  at = end + 1;
  return true;
}

bool ReadRequestLine(std::string_view line, HttpRequest& request, bool& http10) {
  const size_t first = line.find(' ');
  const size_t last = line.rfind(' ');
  if (first == std::string_view::npos || first == last) return false;
  const std::string_view method = line.substr(0, first);
  const std::string_view target = line.substr(first + 1, last - first - 1);
  const std::string_view version = line.substr(last + 1);
  if (!IsToken(method) || target.empty() || target.front() != '/' ||
      target.find_first_of(" \t") != std::string_view::npos) {
    return false;
  }
  if (version != "HTTP/1.1" && version != "HTTP/1.0") return false;
  http10 = version == "HTTP/1.0";
  request.method = method;
  request.target = target;
  const size_t question = target.find('?');
  request.path = target.substr(0, question);
  request.query = question == std::string_view::npos ? "" : target.substr(question + 1);
  return true;
}

}  // namespace

std::string HttpRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (SameName(key, name)) return value;
  }
  return {};
}

std::string HttpReply::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (SameName(key, name)) return value;
  }
  return {};
}

std::vector<std::string> HttpRequest::Params(std::string_view name) const {
  std::vector<std::string> values;
  std::string_view rest = query;
  while (!rest.empty()) {
    const size_t amp = rest.find('&');
    const std::string_view pair = rest.substr(0, amp);
    rest = amp == std::string_view::npos ? std::string_view() : rest.substr(amp + 1);
    const size_t equals = pair.find('=');
    if (Decoded(pair.substr(0, equals)) == name) {
      values.push_back(equals == std::string_view::npos ? std::string()
                                                        : Decoded(pair.substr(equals + 1)));
    }
  }
  return values;
}

std::string HttpRequest::Param(std::string_view name) const {
  std::vector<std::string> values = Params(name);
  return values.empty() ? std::string() : std::move(values.front());
}

HeadResult ParseHead(std::string_view buffer, const HeadLimits& limits, HttpRequest& request) {
  // Blank lines before a request are tolerated, as clients may send one after a body.
  size_t at = 0;
  while (at < buffer.size() && (buffer[at] == '\r' || buffer[at] == '\n')) ++at;
  const std::string_view window = buffer.substr(0, std::min(buffer.size(), limits.maxBytes + at));
  std::string_view line;
  if (!NextLine(window, at, line)) {
    return {buffer.size() > limits.maxBytes + at ? HeadStatus::kTooLarge : HeadStatus::kIncomplete,
            0};
  }
  bool http10 = false;
  HttpRequest read;
  if (!ReadRequestLine(line, read, http10)) return {HeadStatus::kMalformed, 0};
  // A refusal of a broken head still knows which address it was for.
  const auto refused = [&](HeadStatus status) {
    request.method = read.method;
    request.target = read.target;
    request.path = read.path;
    return HeadResult{status, 0};
  };
  bool lengthSeen = false;
  while (true) {
    if (!NextLine(window, at, line)) {
      if (buffer.size() > window.size()) return refused(HeadStatus::kTooLarge);
      return {HeadStatus::kIncomplete, 0};
    }
    if (line.empty()) break;
    if (read.headers.size() >= limits.maxFields) return refused(HeadStatus::kTooLarge);
    const size_t colon = line.find(':');
    // A folded line (starting with a blank) is obsolete and refused.
    if (colon == std::string_view::npos || !IsToken(line.substr(0, colon))) {
      return refused(HeadStatus::kMalformed);
    }
    std::string name = Lower(line.substr(0, colon));
    const std::string_view value = Trim(line.substr(colon + 1));
    if (name == "transfer-encoding") return refused(HeadStatus::kMalformed);
    if (name == "content-length") {
      int64_t length = -1;
      const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
      if (error != std::errc() || end != value.data() + value.size() || length < 0 ||
          (lengthSeen && length != read.contentLength)) {
        return refused(HeadStatus::kMalformed);
      }
      read.contentLength = length;
      lengthSeen = true;
    }
    read.headers.emplace_back(std::move(name), std::string(value));
  }
  const std::string connection = Lower(read.Header("connection"));
  read.keepAlive = http10 ? connection == "keep-alive" : connection != "close";
  read.remoteAddress = std::move(request.remoteAddress);
  request = std::move(read);
  return {HeadStatus::kComplete, at};
}

const char* StatusText(int status) {
  switch (status) {
    case 200: return "OK";
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 409: return "Conflict";
    case 413: return "Content Too Large";
    case 429: return "Too Many Requests";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Unknown";
  }
}

std::string WriteReply(const HttpReply& reply, bool keepAlive, bool headOnly) {
  std::string out = "HTTP/1.1 " + std::to_string(reply.status) + " " + StatusText(reply.status) +
                    "\r\nContent-Type: " + reply.contentType +
                    "\r\nContent-Length: " + std::to_string(reply.body.size()) + "\r\n";
  for (const auto& [name, value] : reply.headers) out += name + ": " + value + "\r\n";
  out += keepAlive && !reply.close ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n";
  if (!headOnly) out += reply.body;
  return out;
}

}  // namespace velora::server
