#include "ranking/ranking_post.h"

#include <curl/curl.h>
#include <strings.h>

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

int32_t ReplyCodeOfHeaders(const std::string& headers) {
  std::string value;
  if (HeaderValue(headers, "X-Velora-Result", value)) {
    return static_cast<int32_t>(std::atoi(value.c_str()));
  }
  if (HeaderValue(headers, "Content-Length", value)) {
    return static_cast<int32_t>(std::atoi(value.c_str()));
  }
  return kReplyUnreachable;
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
  // The service's codes ride in Content-Length, negative ones included, which libcurl would
  // otherwise refuse before the header reaches us.
  curl_easy_setopt(c, CURLOPT_IGNORE_CONTENT_LENGTH, 1L);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, limits.connectMs);
  curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, limits.totalMs);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_FRESH_CONNECT, 1L);
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");

  const CURLcode result = curl_easy_perform(c);
  // Ending after the head shows as a write error; whatever head arrived answers.
  outcome.reply = ReplyCodeOfHeaders(head.lines);
  if (outcome.reply == kReplyUnreachable) {
    const bool headArrived = !head.lines.empty();
    outcome.problem = headArrived ? "the reply carried no answer code"
                                  : (*error != '\0' ? error : curl_easy_strerror(result));
  }
  return outcome;
}

}  // namespace velora
