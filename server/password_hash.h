#pragma once
// Passwords are kept only as salted, deliberately slow hashes (Argon2id through libsodium), in
// the self-describing text form that carries its own salt and cost. Each hash or check takes
// its memory cost at once, so at most kConcurrentHashes run at a time in the process, whoever
// asks.

#include <cstdint>
#include <optional>
#include <string>

namespace velora::server {

constexpr int kConcurrentHashes = 2;

enum class HashCost {
  kInteractive,  // libsodium's interactive limits: about 64 MiB and a fraction of a second
  kMinimum,      // the least libsodium allows; for tests, never for a public service
};

// False when libsodium cannot start.
bool StartPasswordHashing();

// Empty when hashing fails (out of memory).
std::optional<std::string> HashPassword(const std::string& password, HashCost cost);
bool PasswordMatches(const std::string& hash, const std::string& password);

// How many hashes and checks have run, and the most that ran at once.
struct HashWork {
  uint64_t done = 0;
  int mostAtOnce = 0;
};
HashWork HashWorkSoFar();

}  // namespace velora::server
