#include "server/registrar.h"

#include <sodium.h>

#include <algorithm>
#include <chrono>

#include "server/body_keys.h"
#include "server/registration.h"
#include "server/result_codes.h"

namespace velora::server {

namespace {

std::string Sha256(const std::string& text) {
  unsigned char digest[crypto_hash_sha256_BYTES];
  crypto_hash_sha256(digest, reinterpret_cast<const unsigned char*>(text.data()), text.size());
  return std::string(reinterpret_cast<const char*>(digest), sizeof digest);
}

std::string Trimmed(const std::string& text) {
  const char* blanks = " \t\r\n";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}


}  // namespace

NewEntry EntryOf(const Registration& r, const std::string& hash, const std::string& digest,
                 int64_t now) {
  NewEntry entry;
  entry.created = now;
  entry.userName = r.Value("UserName");
  entry.machine = r.Value("Machine");
  entry.cpuName = r.Value("CpuNameUser");
  entry.comment = r.Value("Comment");
  entry.passwordHash = hash;
  entry.digest = digest;
  entry.mark = r.Integer("Mark");
  for (size_t t = 0; t < kTestCount; ++t) entry.tests[t] = r.Integer("T" + kTestKeys[t]);
  for (const FormPair& pair : r.pairs()) {
    if (pair.key != "Password") entry.pairs.push_back(pair);
  }
  return entry;
}

int64_t SystemSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

int32_t Registrar::Fault(const std::string& why) {
  if (log_) log_("write refused: " + why);
  return kServiceFault;
}

int32_t Registrar::Register(std::string_view body) {
  CheckedRegistration checked = CheckRegistration(ParseFormBody(body));
  if (checked.refusal != 0) return checked.refusal;
  const Registration& r = checked.registration;
  const std::string& password = r.Value("Password");
  const std::optional<std::string> hash = HashPassword(password, cost_);
  if (!hash) return Fault("the password could not be hashed (out of memory)");
  const int64_t now = clock_();
  const NewEntry entry = EntryOf(r, *hash, Sha256(r.BodyWithoutPassword()), now);
  const int64_t since = now - kDuplicateWindowSeconds;
  const std::string comment = Trimmed(entry.comment);
  // `seen`: the newest earlier entry looked at; the write goes ahead only if none came after it.
  int64_t seen = 0, checks = 0;
  bool registered = false, commentSeen = false;
  constexpr int kRounds = 4;
  for (int round = 0; round < kRounds; ++round) {
    const auto earlier =
        store_.Earlier(entry, since, seen, std::max<int64_t>(1, kPasswordChecksPerPost - checks));
    if (!earlier) return Fault("the earlier entries could not be read");
    for (const EntryKeys& keys : *earlier) {
      seen = std::max(seen, keys.id);
      if (checks >= kPasswordChecksPerPost) break;
      ++checks;
      // The same body needs the same password too, which only its hash can tell.
      if (!PasswordMatches(keys.passwordHash, password)) continue;
      if (keys.sameBody) return kDuplicatePost;
      registered = true;
      commentSeen = commentSeen || Trimmed(keys.comment) == comment;
    }
    if (registered && (comment.empty() || commentSeen)) return kMachineRegistered;
    int64_t id = 0;
    std::string problem;
    switch (store_.InsertAfter(entry, since, seen, id, problem)) {
      case WriteOutcome::kDone:
        if (id > INT32_MAX) return Fault("entry number " + std::to_string(id) + " is too large");
        return static_cast<int32_t>(id);
      case WriteOutcome::kEarlierArrived: continue;
      default: return Fault("the database refused the entry: " + problem);
    }
  }
  return Fault("entries of the same machine kept arriving while this one was checked");
}

int32_t Registrar::Delete(std::string_view body) {
  const ParsedBody parsed = ParseFormBody(body);
  if (parsed.refusal != 0) return parsed.refusal;
  if (parsed.pairs.size() != 2 || parsed.pairs[0].key != "ID" ||
      parsed.pairs[1].key != "Password") {
    return kWrongKeys;
  }
  const std::string& idText = parsed.pairs[0].value;
  if (idText.empty() || idText.size() > 10 ||
      idText.find_first_not_of("0123456789") != std::string::npos) {
    return kBadNumber;
  }
  const int64_t id = std::stoll(idText);
  if (id > INT32_MAX) return kNoSuchEntry;
  const std::optional<EntryKeys> keys = store_.KeysOf(id);
  if (!keys) return kNoSuchEntry;
  if (!PasswordMatches(keys->passwordHash, parsed.pairs[1].value)) return kWrongPassword;
  std::string problem;
  switch (store_.Delete(id, problem)) {
    case WriteOutcome::kDone: return static_cast<int32_t>(id);
    case WriteOutcome::kMissing: return kNoSuchEntry;
    default: return Fault("the database refused the deletion: " + problem);
  }
}

}  // namespace velora::server
