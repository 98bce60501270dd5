#include "server/password_hash.h"

#include <sodium.h>

#include <vector>

namespace velora::server {

bool StartPasswordHashing() { return sodium_init() >= 0; }

std::optional<std::string> HashPassword(const std::string& password, HashCost cost) {
  const bool minimum = cost == HashCost::kMinimum;
  std::vector<char> text(crypto_pwhash_STRBYTES);
  if (crypto_pwhash_str(
          text.data(), password.data(), password.size(),
          minimum ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE,
          minimum ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
    return std::nullopt;
  }
  return std::string(text.data());
}

bool PasswordMatches(const std::string& hash, const std::string& password) {
  return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

}  // namespace velora::server
