#include "engine/mem_kernels.h"

#include <immintrin.h>

#include <cstdlib>
#include <cstring>

namespace velora::engine {
namespace {

// Elements are 64-bit; loops go 16 elements (two cache lines) at a time, so sizes are multiples.
constexpr size_t kUnroll = 16;

__attribute__((target("avx2"))) uint64_t SumAvx2(const uint64_t* p, size_t n) {
  __m256i a = _mm256_setzero_si256(), b = a, c = a, d = a;
  for (size_t i = 0; i < n; i += kUnroll) {
    a = _mm256_add_epi64(a, _mm256_load_si256(reinterpret_cast<const __m256i*>(p + i)));
    b = _mm256_add_epi64(b, _mm256_load_si256(reinterpret_cast<const __m256i*>(p + i + 4)));
    c = _mm256_add_epi64(c, _mm256_load_si256(reinterpret_cast<const __m256i*>(p + i + 8)));
    d = _mm256_add_epi64(d, _mm256_load_si256(reinterpret_cast<const __m256i*>(p + i + 12)));
  }
  __m256i s = _mm256_add_epi64(_mm256_add_epi64(a, b), _mm256_add_epi64(c, d));
  alignas(32) uint64_t lanes[4];
  _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), s);
  return lanes[0] + lanes[1] + lanes[2] + lanes[3];
}

uint64_t SumSse2(const uint64_t* p, size_t n) {
  __m128i a = _mm_setzero_si128(), b = a, c = a, d = a;
  for (size_t i = 0; i < n; i += kUnroll) {
    for (size_t k = 0; k < kUnroll; k += 8) {
      a = _mm_add_epi64(a, _mm_load_si128(reinterpret_cast<const __m128i*>(p + i + k)));
      b = _mm_add_epi64(b, _mm_load_si128(reinterpret_cast<const __m128i*>(p + i + k + 2)));
      c = _mm_add_epi64(c, _mm_load_si128(reinterpret_cast<const __m128i*>(p + i + k + 4)));
      d = _mm_add_epi64(d, _mm_load_si128(reinterpret_cast<const __m128i*>(p + i + k + 6)));
    }
  }
  __m128i s = _mm_add_epi64(_mm_add_epi64(a, b), _mm_add_epi64(c, d));
  alignas(16) uint64_t lanes[2];
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes), s);
  return lanes[0] + lanes[1];
}

// Non-temporal stores: the written lines bypass the caches instead of being read in first.
__attribute__((target("avx2"))) void FillAvx2(uint64_t* p, size_t n, uint64_t v) {
  const __m256i x = _mm256_set1_epi64x(static_cast<long long>(v));
  for (size_t i = 0; i < n; i += kUnroll)
    for (size_t k = 0; k < kUnroll; k += 4)
      _mm256_stream_si256(reinterpret_cast<__m256i*>(p + i + k), x);
  _mm_sfence();
}

void FillSse2(uint64_t* p, size_t n, uint64_t v) {
  const __m128i x = _mm_set1_epi64x(static_cast<long long>(v));
  for (size_t i = 0; i < n; i += kUnroll)
    for (size_t k = 0; k < kUnroll; k += 2) _mm_stream_si128(reinterpret_cast<__m128i*>(p + i + k), x);
  _mm_sfence();
}

__attribute__((target("avx2"))) void CopyAvx2(uint64_t* dst, const uint64_t* src, size_t n) {
  for (size_t i = 0; i < n; i += kUnroll)
    for (size_t k = 0; k < kUnroll; k += 4)
      _mm256_stream_si256(reinterpret_cast<__m256i*>(dst + i + k),
                          _mm256_load_si256(reinterpret_cast<const __m256i*>(src + i + k)));
  _mm_sfence();
}

void CopySse2(uint64_t* dst, const uint64_t* src, size_t n) {
  for (size_t i = 0; i < n; i += kUnroll)
    for (size_t k = 0; k < kUnroll; k += 2)
      _mm_stream_si128(reinterpret_cast<__m128i*>(dst + i + k),
                       _mm_load_si128(reinterpret_cast<const __m128i*>(src + i + k)));
  _mm_sfence();
}

// The filled pattern: element i holds i times this odd constant.
constexpr uint64_t kPatternStep = 0x9E3779B97F4A7C15ull;

// A sampling stride prime to everything in sight, so the check sees every part of the array.
constexpr size_t kSampleStride = 1021;

}  // namespace

MemKernel::MemKernel(MemPattern pattern, const StreamSlice& slice)
    : pattern_(pattern), slice_(slice), elements_(slice.elements) {
  source_ = slice.source;
  destination_ = slice.destination;
}

MemKernel::MemKernel(MemPattern pattern, KernelSize size) : pattern_(pattern) {
  const bool full = size == KernelSize::kFull;
  if (pattern == MemPattern::kCache) {
    elements_ = kCacheBlockBytes / sizeof(uint64_t);
    passes_ = full ? 512 : 8;
    return;
  }
  ownStreams_ = std::make_unique<StreamArena>(full ? kStreamArrayFloorBytes : kSmallStreamBytes,
                                              full ? kStreamShareFloorBytes : kSmallStreamShareFloorBytes);
}

MemKernel::~MemKernel() { std::free(cacheBlock_); }

double MemKernel::WorkPerRun() const {
  const double bytes = static_cast<double>(elements_ * sizeof(uint64_t)) * passes_;
  return pattern_ == MemPattern::kCopy ? 2.0 * bytes : bytes;
}

bool MemKernel::Prepare() {
  wide_ = __builtin_cpu_supports("avx2");
  if (pattern_ == MemPattern::kCache) {
    if (cacheBlock_ == nullptr) cacheBlock_ = static_cast<uint64_t*>(std::aligned_alloc(4096, kCacheBlockBytes));
    if (cacheBlock_ == nullptr) return false;
    source_ = cacheBlock_;
    slice_ = StreamSlice{.source = source_, .elements = elements_};
  } else if (ownStreams_ != nullptr && !ownStreams_->Held()) {
    if (!ownStreams_->Reserve(pattern_ == MemPattern::kCopy, 1)) return false;
    slice_ = ownStreams_->Slice(0);
    source_ = slice_.source;
    destination_ = slice_.destination;
    elements_ = slice_.elements;
  }
  if (source_ == nullptr || elements_ == 0 || (pattern_ == MemPattern::kCopy && destination_ == nullptr))
    return false;
  // Filling is also the first touch of every page, so no timed run pays for page faults. Kept
  // arrays are filled once: only the read checks the pattern, and only a write spoils it.
  if (!slice_.sourceTouched || (!slice_.sourceFilled && pattern_ == MemPattern::kRead)) {
    for (size_t i = 0; i < elements_; ++i) source_[i] = (slice_.firstIndex + i) * kPatternStep;
    slice_.sourceTouched = slice_.sourceFilled = true;
  }
  if (pattern_ == MemPattern::kCopy && !slice_.destinationTouched) {
    std::memset(destination_, 0, elements_ * sizeof(uint64_t));
    slice_.destinationTouched = true;
  }
  return true;
}

void MemKernel::Reset() {
  ++stamp_;
  sum_ = 0;
  if (pattern_ != MemPattern::kCopy) return;
  // Spoil the lines the check will look at, so a copy that did nothing cannot pass on the
  // previous run's data; flushed again so that they cost the timed copy nothing extra.
  for (size_t i = stamp_ % kSampleStride; i < elements_; i += kSampleStride) {
    destination_[i] = ~source_[i];
    _mm_clflush(&destination_[i]);
  }
  destination_[elements_ - 1] = ~source_[elements_ - 1];
  _mm_clflush(&destination_[elements_ - 1]);
  _mm_mfence();
}

void MemKernel::Run() {
  switch (pattern_) {
    case MemPattern::kRead:
    case MemPattern::kCache:
      for (int pass = 0; pass < passes_; ++pass)
        sum_ += wide_ ? SumAvx2(source_, elements_) : SumSse2(source_, elements_);
      break;
    case MemPattern::kWrite:
      if (wide_) FillAvx2(source_, elements_, stamp_);
      else FillSse2(source_, elements_, stamp_);
      break;
    case MemPattern::kCopy:
      if (wide_) CopyAvx2(destination_, source_, elements_);
      else CopySse2(destination_, source_, elements_);
      break;
  }
}

bool MemKernel::Verify() {
  switch (pattern_) {
    case MemPattern::kRead:
    case MemPattern::kCache: {
      // Sum of i * g over a <= i < a + n is g (n a + n (n - 1) / 2), modulo 2^64 like the
      // kernel's own sum.
      const uint64_t n = elements_;
      const uint64_t triangle = (n % 2 == 0) ? (n / 2) * (n - 1) : n * ((n - 1) / 2);
      const uint64_t indices = n * slice_.firstIndex + triangle;
      return sum_ == indices * kPatternStep * static_cast<uint64_t>(passes_);
    }
    case MemPattern::kWrite:
      for (size_t i = 0; i < elements_; i += kSampleStride)
        if (source_[i] != stamp_) return false;
      return source_[elements_ - 1] == stamp_;
    case MemPattern::kCopy:
      for (size_t i = stamp_ % kSampleStride; i < elements_; i += kSampleStride)
        if (destination_[i] != source_[i]) return false;
      return destination_[elements_ - 1] == source_[elements_ - 1];
  }
  return false;
}

}  // namespace velora::engine
