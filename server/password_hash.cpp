#include "server/password_hash.h"

#include <sodium.h>

#include <atomic>
#include <semaphore>
#include <vector>

namespace velora::server {

namespace {

std::counting_semaphore<kConcurrentHashes> gHashing{kConcurrentHashes};
std::atomic<int> gRunning{0}, gMostAtOnce{0};
std::atomic<uint64_t> gDone{0};

// Holds one of the hashing places for as long as it lives.
class HashTurn {
 public:
  HashTurn() {
    gHashing.acquire();
    const int running = ++gRunning;
    int most = gMostAtOnce.load();
    while (running > most && !gMostAtOnce.compare_exchange_weak(most, running)) {
    }
  }
  ~HashTurn() {
    --gRunning;
    ++gDone;
    gHashing.release();
  }
  HashTurn(const HashTurn&) = delete;
  HashTurn& operator=(const HashTurn&) = delete;
};

}  // namespace

bool StartPasswordHashing() { return sodium_init() >= 0; }

std::optional<std::string> HashPassword(const std::string& password, HashCost cost) {
  const bool minimum = cost == HashCost::kMinimum;
  std::vector<char> text(crypto_pwhash_STRBYTES);
  const HashTurn turn;
  if (crypto_pwhash_str(
          text.data(), password.data(), password.size(),
          minimum ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE,
          minimum ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
    return std::nullopt;
  }
  return std::string(text.data());
}

bool PasswordMatches(const std::string& hash, const std::string& password) {
  const HashTurn turn;
  return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

HashWork HashWorkSoFar() { return {gDone.load(), gMostAtOnce.load()}; }

}  // namespace velora::server
