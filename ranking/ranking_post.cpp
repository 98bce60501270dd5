#include "ranking/ranking_post.h"

#include <curl/curl.h>
#include <strings.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace velora {

namespace {

// The value text of the last header line called name; false when there is none.
bool HeaderValue(const std::string& headers, const char* name, std::string& value) {
  bool found = false;
  const size_t nameLength = std::char_traits<char>::length(name);
  size_t start = 0;
  while (start < headers.size()) {
    size_t end = headers.find('\n', start);
    if (end == std::string::npos) end = headers.size();
    const std::string line = headers.substr(start, end - start);
    if (line.size() > nameLength && line[nameLength] == ':' &&
        strncasecmp(line.c_str(), name, nameLength) == 0) {
      value = line.substr(nameLength + 1);
      found = true;
    }
    start = end + 1;
  }
  return found;
}

// A whole decimal int32_t, blanks around it allowed.
bool ParseCode(const std::string& text, int32_t& code) {
  const size_t first = text.find_first_not_of(" \t");
  const size_t last = text.find_last_not_of(" \t\r\n");
  if (first == std::string::npos) return false;
  const char* begin = text.data() + first;
  const char* end = text.data() + last + 1;
  const auto [at, error] = std::from_chars(begin, end, code);
  return error == std::errc() && at == end;
}

struct ReplyHead {
  std::string lines;
  bool interim = false;
};

size_t CollectHeader(char* data, size_t size, size_t count, void* user) {
  auto* head = static_cast<ReplyHead*>(user);
  const std::string line(data, size * count);
  // An interim reply starts a new header block; only the final one answers.
  if (line.rfind("HTTP/", 0) == 0) {
    head->lines.clear();
    const size_t blank = line.find(' ');
    head->interim = blank != std::string::npos && line.compare(blank + 1, 1, "1") == 0;
  }
  head->lines += line;
  // The answer is in the head; the body says nothing, so the exchange ends here rather than
  // waiting for a body the reply's length may promise but never deliver.
  if ((line == "\r\n" || line == "\n") && !head->interim) return 0;
  return size * count;
}

size_t DropBody(char*, size_t size, size_t count, void*) { return size * count; }

void GlobalInitOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

PostOutcome ReplyOfHeaders(const std::string& headers) {
  PostOutcome outcome;
  const std::string statusLine = headers.substr(0, headers.find_first_of("\r\n"));
  int status = 0;
  if (statusLine.rfind("HTTP/", 0) != 0 ||
      std::sscanf(statusLine.c_str(), "HTTP/%*s %3d", &status) != 1) {
    outcome.problem = "the reply carried no HTTP status line";
    return outcome;
  }
  std::string value;
  int32_t code = 0;
  const bool hasCode = HeaderValue(headers, "X-Velora-Result", value) && ParseCode(value, code);
  // An entry number only from a plain success; a refusal names its own code whatever the status
  // says. Anything else is no answer, however its length reads.
  if (hasCode && (status == 200 || code < 0)) {
    outcome.reply = code;
    return outcome;
  }
  outcome.problem = "the service answered \"" + statusLine + "\"" +
                    (hasCode ? " with entry " + std::to_string(code) : " without a result code");
  return outcome;
}

std::string ServiceAddress(const std::string& server, const std::string& path) {
  std::string address = server;
  while (!address.empty() && address.back() == '/') address.pop_back();
  if (path.empty() || path.front() != '/') address += '/';
  return address + path;
}

PostOutcome PostForm(const std::string& body, const std::string& server, const std::string& path,
                     const std::string& agent, PostLimits limits) {
  PostOutcome outcome;
  if (server.empty()) {
    outcome.problem = "no ranking service is set (RankingServer)";
    return outcome;
  }
  GlobalInitOnce();
  std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) {
    outcome.problem = "libcurl could not start";
    return outcome;
  }
  // No "Expect: 100-continue" round: it would only delay a small post.
  curl_slist* list = curl_slist_append(nullptr, "Content-Type: application/x-www-form-urlencoded");
  if (list != nullptr) list = curl_slist_append(list, "Expect:");
  std::unique_ptr<curl_slist, void (*)(curl_slist*)> header(list, curl_slist_free_all);
  ReplyHead head;
  char error[CURL_ERROR_SIZE] = "";
  const std::string address = ServiceAddress(server, path);
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, address.c_str());
  curl_easy_setopt(c, CURLOPT_USERAGENT, agent.c_str());
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, header.get());
  curl_easy_setopt(c, CURLOPT_POST, 1L);
  // The zero byte that ends the text is part of the posted data.
  curl_easy_setopt(c, CURLOPT_POSTFIELDS, body.c_str());
  curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size() + 1));
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, CollectHeader);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, &head);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, DropBody);
  // A service of the old kind puts its codes in Content-Length, negative ones included, which
  // libcurl would refuse before the head reaches us: the head is read, only to say why it is
  // no answer.
  curl_easy_setopt(c, CURLOPT_IGNORE_CONTENT_LENGTH, 1L);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, limits.connectMs);
  curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, limits.totalMs);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_FRESH_CONNECT, 1L);
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");

  const CURLcode result = curl_easy_perform(c);
  // Ending after the head shows as a write error; whatever head arrived answers.
  if (head.lines.empty()) {
    outcome.problem = *error != '\0' ? error : curl_easy_strerror(result);
  } else {
    outcome = ReplyOfHeaders(head.lines);
  }
  return outcome;
}

}  // namespace velora
