#pragma once
// Registration and deletion: the rules that decide each answer code, over the entry store.

#include <cstdint>
#include <functional>
#include <mutex>
#include <semaphore>
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

class Registrar {
 public:
  Registrar(EntryStore& store, HashCost cost, Clock clock = SystemSeconds)
      : store_(store), cost_(cost), clock_(std::move(clock)) {}

  // The new entry's number, or a refusal code.
  int32_t Register(std::string_view body);
  // "ID=n&Password=p": the deleted entry's number, or a refusal code.
  int32_t Delete(std::string_view body);

 private:
  int32_t RegisterChecked(const Registration& registration, const std::string& hash);

  EntryStore& store_;
  HashCost cost_;
  Clock clock_;
  // Checking for an earlier entry and adding the new one must not interleave.
  std::mutex registering_;
  // Each hash takes its memory cost at once; a burst must not take it many times over.
  std::counting_semaphore<2> hashing_{2};
};

}  // namespace velora::server
