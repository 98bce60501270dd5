#pragma once
// Registration and deletion: the rules that decide each answer code, over the entry store.
// Passwords are hashed and compared before any write begins, so no reader or other writer waits
// for them; the write then checks, in its own transaction, that no entry the rules must see came
// in meanwhile, and compares again if one did.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "server/entry_store.h"
#include "server/password_hash.h"
#include "server/registration.h"

namespace velora::server {

// Seconds since 1970; tests move it by hand.
using Clock = std::function<int64_t()>;
int64_t SystemSeconds();

// The same body again within this long is a duplicate post.
constexpr int64_t kDuplicateWindowSeconds = 24 * 60 * 60;
// Earlier entries (same body or same machine, newest first) whose passwords one post compares:
// each comparison is a slow hash, and a post must not buy unbounded work.
constexpr int64_t kPasswordChecksPerPost = 8;

// The entry a checked registration makes, its password already hashed.
NewEntry EntryOf(const Registration& r, const std::string& hash, const std::string& digest,
                 int64_t now);

class Registrar {
 public:
  Registrar(EntryStore& store, HashCost cost, Clock clock = SystemSeconds)
      : store_(store), cost_(cost), clock_(std::move(clock)) {}

  // The new entry's number, or a refusal code.
  int32_t Register(std::string_view body);
  // "ID=n&Password=p": the deleted entry's number, or a refusal code.
  int32_t Delete(std::string_view body);
  // Where the reason of a refused write goes.
  void SetLog(std::function<void(const std::string&)> log) { log_ = std::move(log); }

 private:
  int32_t Fault(const std::string& why);

  EntryStore& store_;
  HashCost cost_;
  Clock clock_;
  std::function<void(const std::string&)> log_;
};

}  // namespace velora::server
