#include "engine/alu_kernels.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/kernel_clones.h"

namespace velora::engine {
namespace {

uint64_t Fib(uint32_t n) { return n < 2 ? n : Fib(n - 1) + Fib(n - 2); }

uint64_t FibIterative(uint32_t n) {
  uint64_t a = 0, b = 1;
  for (uint32_t i = 0; i < n; ++i) {
    uint64_t next = a + b;
    a = b;
    b = next;
  }
  return a;
}

constexpr uint32_t kLimbBase = 1'000'000'000u;
constexpr uint32_t kLimbDigits = 9;

// Divides a fixed-point number (limb 0 is the integer part) by a small divisor in place.
void DivideSmall(std::vector<uint32_t>& limbs, uint32_t divisor) {
  uint64_t remainder = 0;
  for (uint32_t& limb : limbs) {
    uint64_t current = remainder * kLimbBase + limb;
    limb = static_cast<uint32_t>(current / divisor);
    remainder = current % divisor;
  }
}

// Adds b to a; returns false when b was zero, the end of the series.
bool AddLimbs(std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  uint32_t carry = 0;
  bool any = false;
  for (size_t i = a.size(); i-- > 0;) {
    any |= b[i] != 0;
    uint32_t s = a[i] + b[i] + carry;
    carry = s >= kLimbBase;
    a[i] = carry ? s - kLimbBase : s;
  }
  return any;
}

void SortRange(int32_t* first, int32_t* last) {
  while (last - first > 16) {
    int32_t* mid = first + (last - first) / 2;
    // Median of three keeps sorted and reversed inputs from going quadratic.
    int32_t a = *first, b = *mid, c = *(last - 1);
    int32_t pivot = std::max(std::min(a, b), std::min(std::max(a, b), c));
    int32_t* i = first;
    int32_t* j = last - 1;
    while (i <= j) {
      while (*i < pivot) ++i;
      while (*j > pivot) --j;
      if (i <= j) {
        std::swap(*i, *j);
        ++i;
        --j;
      }
    }
    // Recurse into the smaller side so the stack stays logarithmic.
    if (j - first < last - i) {
      SortRange(first, j + 1);
      first = i;
    } else {
      SortRange(i, last);
      last = j + 1;
    }
  }
  for (int32_t* p = first + 1; p < last; ++p) {
    int32_t v = *p;
    int32_t* q = p;
    while (q > first && *(q - 1) > v) {
      *q = *(q - 1);
      --q;
    }
    *q = v;
  }
}

VELORA_KERNEL_CLONES uint32_t SieveCount(uint8_t* table, uint32_t limit) {
  std::memset(table, 0, limit + 1);
  for (uint32_t i = 2; i * i <= limit; ++i)
    if (!table[i])
      for (uint32_t j = i * i; j <= limit; j += i) table[j] = 1;
  uint32_t count = 0;
  for (uint32_t i = 2; i <= limit; ++i) count += table[i] == 0;
  return count;
}

}  // namespace

uint32_t KnownPrimeCount(uint32_t limit) {
  switch (limit) {
    case 1000: return 168;
    case 10000: return 1229;
    case 100000: return 9592;
    case 1000000: return 78498;
    case 10000000: return 664579;
    default: return 0;
  }
}

FibonacciKernel::FibonacciKernel(KernelSize size) : n_(size == KernelSize::kFull ? 32 : 18) {}

void FibonacciKernel::Run() { result_ = Fib(n_); }

bool FibonacciKernel::Verify() { return result_ == FibIterative(n_); }

// fib(n) by the naive recursion makes 2 fib(n+1) - 1 calls.
double FibonacciKernel::WorkPerRun() const {
  return 2.0 * static_cast<double>(FibIterative(n_ + 1)) - 1.0;
}

NapierianKernel::NapierianKernel(KernelSize size)
    : digits_(size == KernelSize::kFull ? 9000 : 450) {}

bool NapierianKernel::Prepare() {
  // Two guard limbs absorb the truncation of every division.
  size_t limbs = 1 + (digits_ + kLimbDigits - 1) / kLimbDigits + 2;
  sum_.assign(limbs, 0);
  term_.assign(limbs, 0);
  return true;
}

void NapierianKernel::Run() {
  std::fill(sum_.begin(), sum_.end(), 0u);
  std::fill(term_.begin(), term_.end(), 0u);
  sum_[0] = 1;
  term_[0] = 1;
  for (uint32_t k = 1;; ++k) {
    DivideSmall(term_, k);
    if (!AddLimbs(sum_, term_)) break;
  }
}

bool NapierianKernel::Verify() {
  if (sum_.size() < 13 || sum_[0] != 2) return false;
  char text[16 * 12 + 1] = {};
  for (size_t i = 0; i < 12; ++i)
    std::snprintf(text + i * kLimbDigits, 10, "%09u", static_cast<unsigned>(sum_[1 + i]));
  size_t checked = std::min<size_t>(100, digits_ - 10);
  return std::memcmp(text, kEDecimals, checked) == 0;
}

EratosthenesKernel::EratosthenesKernel(KernelSize size)
    : limit_(size == KernelSize::kFull ? 10'000'000 : 100'000) {}

bool EratosthenesKernel::Prepare() {
  composite_.assign(limit_ + 1, 0);
  return true;
}

void EratosthenesKernel::Run() { count_ = SieveCount(composite_.data(), limit_); }

bool EratosthenesKernel::Verify() { return count_ == KnownPrimeCount(limit_); }

QuickSortKernel::QuickSortKernel(KernelSize size)
    : input_(size == KernelSize::kFull ? 1'000'000 : 20'000) {}

bool QuickSortKernel::Prepare() {
  uint32_t x = 0x2545F491u;
  inputSum_ = 0;
  inputXor_ = 0;
  for (int32_t& v : input_) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    v = static_cast<int32_t>(x);
    inputSum_ += static_cast<uint32_t>(v);
    inputXor_ ^= static_cast<uint32_t>(v) * 0x9E3779B1u;
  }
  data_.resize(input_.size());
  return true;
}

void QuickSortKernel::Reset() { std::copy(input_.begin(), input_.end(), data_.begin()); }

void QuickSortKernel::Run() { SortRange(data_.data(), data_.data() + data_.size()); }

// Sorted, and the same multiset as the input (sum and hashed xor of the elements).
bool QuickSortKernel::Verify() {
  if (data_.size() != input_.size() || !std::is_sorted(data_.begin(), data_.end())) return false;
  uint64_t sum = 0;
  uint32_t hash = 0;
  for (int32_t v : data_) {
    sum += static_cast<uint32_t>(v);
    hash ^= static_cast<uint32_t>(v) * 0x9E3779B1u;
  }
  return sum == inputSum_ && hash == inputXor_;
}

}  // namespace velora::engine
