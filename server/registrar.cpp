#include "server/registrar.h"

#include <sodium.h>

#include <chrono>

#include "server/body_keys.h"
#include "server/registration.h"
#include "server/result_codes.h"

namespace velora::server {

namespace {

// Earlier entries of one machine whose passwords are tried; each try costs a slow hash.
constexpr size_t kMachineEntriesTried = 32;

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

}  // namespace

int64_t SystemSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

int32_t Registrar::Register(std::string_view body) {
  CheckedRegistration checked = CheckRegistration(ParseFormBody(body));
  if (checked.refusal != 0) return checked.refusal;
  std::optional<std::string> hash;
  {
    hashing_.acquire();
    hash = HashPassword(checked.registration.Value("Password"), cost_);
    hashing_.release();
  }
  if (!hash) return kServiceFault;
  std::lock_guard<std::mutex> lock(registering_);
  return RegisterChecked(checked.registration, *hash);
}

int32_t Registrar::RegisterChecked(const Registration& r, const std::string& hash) {
  const std::string& password = r.Value("Password");
  const std::string digest = Sha256(r.BodyWithoutPassword());
  const int64_t now = clock_();
  // The same body needs the same password too, which only its hash can tell.
  for (const EntryKeys& earlier : store_.WithDigest(digest, now - kDuplicateWindowSeconds)) {
    if (PasswordMatches(earlier.passwordHash, password)) return kDuplicatePost;
  }
  std::vector<EntryKeys> machine = store_.OfMachine(r.Value("UserName"), r.Value("Machine"));
  if (machine.size() > kMachineEntriesTried) {
    machine.erase(machine.begin(), machine.end() - kMachineEntriesTried);
  }
  const std::string comment = Trimmed(r.Value("Comment"));
  bool registered = false, commentSeen = false;
  for (const EntryKeys& earlier : machine) {
    hashing_.acquire();
    const bool same = PasswordMatches(earlier.passwordHash, password);
    hashing_.release();
    if (!same) continue;
    registered = true;
    commentSeen = commentSeen || Trimmed(earlier.comment) == comment;
  }
  if (registered && (comment.empty() || commentSeen)) return kMachineRegistered;

  const std::optional<int64_t> id = store_.Insert(EntryOf(r, hash, digest, now));
  if (!id || *id > INT32_MAX) return kServiceFault;
  return static_cast<int32_t>(*id);
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
  std::lock_guard<std::mutex> lock(registering_);
  const std::optional<EntryKeys> keys = store_.KeysOf(id);
  if (!keys) return kNoSuchEntry;
  hashing_.acquire();
  const bool matches = PasswordMatches(keys->passwordHash, parsed.pairs[1].value);
  hashing_.release();
  if (!matches) return kWrongPassword;
  return store_.Delete(id) ? static_cast<int32_t>(id) : kServiceFault;
}

}  // namespace velora::server
