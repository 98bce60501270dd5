#include "engine/harness/reference_kernels.h"

#include <immintrin.h>
#include <sys/mman.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <numbers>
#include <vector>

#include "engine/stream_arena.h"

namespace velora::bench {
namespace {

// Keeps results alive so that the compiler cannot drop the work.
volatile uint64_t gSinkInt;
volatile double gSinkDouble;

// Same sizes as the engine's full runs.
constexpr uint32_t kFibN = 32;
constexpr uint32_t kDigits = 9000;
constexpr uint32_t kSieveLimit = 10'000'000;
constexpr uint32_t kSortCount = 1'000'000;
constexpr uint32_t kMikoPoints = 12'000'000;
constexpr uint32_t kRandomCount = 16'000'000;
constexpr uint32_t kFftLog2 = 18;
constexpr uint32_t kMandelSide = 640;
// The engine's planned bytes per streaming array, and the two arrays kept for every measurement.
size_t gStreamPlannedBytes = engine::kStreamArrayFloorBytes;
uint64_t* gStreamFrom = nullptr;
uint64_t* gStreamTo = nullptr;

uint64_t fib(uint32_t n) { return n < 2 ? n : fib(n - 1) + fib(n - 2); }

void quicksort(int32_t* a, long lo, long hi) {
  while (hi - lo > 16) {
    long mid = lo + (hi - lo) / 2;
    int32_t x = a[lo], y = a[mid], z = a[hi - 1];
    int32_t p = std::max(std::min(x, y), std::min(std::max(x, y), z));
    long i = lo, j = hi - 1;
    while (i <= j) {
      while (a[i] < p) i++;
      while (a[j] > p) j--;
      if (i <= j) std::swap(a[i++], a[j--]);
    }
    if (j - lo < hi - i) {
      quicksort(a, lo, j + 1);
      lo = i;
    } else {
      quicksort(a, i, hi);
      hi = j + 1;
    }
  }
  for (long i = lo + 1; i < hi; i++) {
    int32_t v = a[i];
    long k = i;
    while (k > lo && a[k - 1] > v) {
      a[k] = a[k - 1];
      k--;
    }
    a[k] = v;
  }
}

// One thread's part of the kept arrays: the bytes the engine streams for that many threads.
struct StreamPart {
  size_t elements;
  uint64_t* data;
};

StreamPart PartOf(uint64_t* array, int thread, int threads) {
  size_t elements = engine::StreamArrayBytes(gStreamPlannedBytes, threads) / 8 / static_cast<size_t>(threads);
  elements -= elements % 512;
  return {elements, array + elements * static_cast<size_t>(thread)};
}

#if defined(__AVX512F__)
using Wide = __m512i;
constexpr size_t kLane = 8;
inline Wide Load(const uint64_t* p) { return _mm512_load_si512(p); }
inline Wide Add(Wide a, Wide b) { return _mm512_add_epi64(a, b); }
inline Wide Zero() { return _mm512_setzero_si512(); }
inline Wide Splat(uint64_t v) { return _mm512_set1_epi64(static_cast<long long>(v)); }
inline void Stream(uint64_t* p, Wide v) { _mm512_stream_si512(reinterpret_cast<__m512i*>(p), v); }
inline uint64_t Lanes(Wide v) {
  alignas(64) uint64_t l[8];
  _mm512_store_si512(l, v);
  return l[0] + l[1] + l[2] + l[3] + l[4] + l[5] + l[6] + l[7];
}
#else
using Wide = __m256i;
constexpr size_t kLane = 4;
inline Wide Load(const uint64_t* p) {
  return _mm256_load_si256(reinterpret_cast<const __m256i*>(p));
}
inline Wide Add(Wide a, Wide b) { return _mm256_add_epi64(a, b); }
inline Wide Zero() { return _mm256_setzero_si256(); }
inline Wide Splat(uint64_t v) { return _mm256_set1_epi64x(static_cast<long long>(v)); }
inline void Stream(uint64_t* p, Wide v) { _mm256_stream_si256(reinterpret_cast<__m256i*>(p), v); }
inline uint64_t Lanes(Wide v) {
  alignas(32) uint64_t l[4];
  _mm256_store_si256(reinterpret_cast<__m256i*>(l), v);
  return l[0] + l[1] + l[2] + l[3];
}
#endif

}  // namespace

ReferenceWork ReferenceFibonacci(int, int) {
  uint64_t a = 0, b = 1;
  for (uint32_t i = 0; i <= kFibN; i++) {
    uint64_t c = a + b;
    a = b;
    b = c;
  }
  const double calls = 2.0 * static_cast<double>(a) - 1.0;  // a = fib(n + 1)
  return {.run = [calls] {
    volatile uint32_t n = kFibN;
    gSinkInt = fib(n);
    return calls;
  }};
}

ReferenceWork ReferenceNapierian(int, int) {
  const size_t limbs = 1 + (kDigits + 8) / 9 + 2;
  auto sum = std::make_shared<std::vector<uint32_t>>(limbs);
  auto term = std::make_shared<std::vector<uint32_t>>(limbs);
  return {.run = [=] {
    uint32_t* s = sum->data();
    uint32_t* t = term->data();
    std::fill(s, s + limbs, 0u);
    std::fill(t, t + limbs, 0u);
    s[0] = t[0] = 1;
    for (uint32_t k = 1;; k++) {
      uint64_t r = 0;
      for (size_t i = 0; i < limbs; i++) {
        uint64_t cur = r * 1000000000u + t[i];
        t[i] = static_cast<uint32_t>(cur / k);
        r = cur % k;
      }
      uint32_t carry = 0;
      bool any = false;
      for (size_t i = limbs; i-- > 0;) {
        any |= t[i] != 0;
        uint32_t v = s[i] + t[i] + carry;
        carry = v >= 1000000000u;
        s[i] = carry ? v - 1000000000u : v;
      }
      if (!any) break;
    }
    gSinkInt = s[1];
    return static_cast<double>(kDigits);
  }};
}

ReferenceWork ReferenceEratosthenes(int, int) {
  auto table = std::make_shared<std::vector<uint8_t>>(kSieveLimit + 1);
  return {.run = [table] {
    uint8_t* t = table->data();
    std::memset(t, 0, kSieveLimit + 1);
    for (uint32_t i = 2; i * i <= kSieveLimit; i++)
      if (!t[i])
        for (uint32_t j = i * i; j <= kSieveLimit; j += i) t[j] = 1;
    uint32_t count = 0;
    for (uint32_t i = 2; i <= kSieveLimit; i++) count += t[i] == 0;
    gSinkInt = count;
    return static_cast<double>(kSieveLimit);
  }};
}

ReferenceWork ReferenceQuickSort(int, int) {
  auto input = std::make_shared<std::vector<int32_t>>(kSortCount);
  auto data = std::make_shared<std::vector<int32_t>>(kSortCount);
  uint32_t x = 0x2545F491u;
  for (auto& v : *input) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    v = static_cast<int32_t>(x);
  }
  return {.prepare = [=] { std::copy(input->begin(), input->end(), data->begin()); },
          .run =
              [=] {
                quicksort(data->data(), 0, kSortCount);
                gSinkInt = static_cast<uint64_t>((*data)[kSortCount / 2]);
                return static_cast<double>(kSortCount);
              }};
}

ReferenceWork ReferenceMikoFpu(int, int) {
  return {.run = [] {
    double h = 1.0 / kMikoPoints, s = 0.0;
    for (uint32_t i = 0; i < kMikoPoints; i++) {
      double x = (i + 0.5) * h;
      s += 4.0 / (1.0 + x * x) + 4.0 * std::sqrt(1.0 - x * x);
    }
    gSinkDouble = s * h;
    return static_cast<double>(kMikoPoints);
  }};
}

ReferenceWork ReferenceRandMeanSs(int, int) {
  auto state = std::make_shared<uint64_t>(0x9E3779B97F4A7C15ull);
  return {.run = [state] {
    uint64_t x = *state;
    double s = 0.0, q = 0.0;
    for (uint32_t i = 0; i < kRandomCount; i++) {
      x ^= x >> 12;
      x ^= x << 25;
      x ^= x >> 27;
      double u = static_cast<double>((x * 0x2545F4914F6CDD1Dull) >> 11) * 0x1.0p-53;
      s += u;
      q += u * u;
    }
    *state = x;
    gSinkDouble = s + q;
    return static_cast<double>(kRandomCount);
  }};
}

ReferenceWork ReferenceFft(int, int) {
  struct Arrays {
    std::vector<double> re, im, wr, wi, inRe, inIm;
    std::vector<uint32_t> rev;
  };
  const uint32_t n = 1u << kFftLog2;
  auto a = std::make_shared<Arrays>();
  a->re.resize(n);
  a->im.resize(n);
  a->wr.resize(n / 2);
  a->wi.resize(n / 2);
  a->inRe.resize(n);
  a->inIm.resize(n);
  a->rev.resize(n);
  for (uint32_t i = 0; i < n; i++) {
    a->inRe[i] = std::sin(i * 0.37);
    a->inIm[i] = std::cos(i * 0.11);
    uint32_t r = 0;
    for (uint32_t b = 0; b < kFftLog2; b++) r |= ((i >> b) & 1u) << (kFftLog2 - 1 - b);
    a->rev[i] = r;
  }
  for (uint32_t k = 0; k < n / 2; k++) {
    a->wr[k] = std::cos(2 * std::numbers::pi * k / n);
    a->wi[k] = -std::sin(2 * std::numbers::pi * k / n);
  }
  return {.prepare =
              [a] {
                std::copy(a->inRe.begin(), a->inRe.end(), a->re.begin());
                std::copy(a->inIm.begin(), a->inIm.end(), a->im.begin());
              },
          .run =
              [a, n] {
                double* re = a->re.data();
                double* im = a->im.data();
                const double* wr = a->wr.data();
                const double* wi = a->wi.data();
                const uint32_t* rev = a->rev.data();
                for (uint32_t i = 0; i < n; i++)
                  if (i < rev[i]) {
                    std::swap(re[i], re[rev[i]]);
                    std::swap(im[i], im[rev[i]]);
                  }
                for (uint32_t half = 1, stride = n / 2; half < n; half *= 2, stride /= 2)
                  for (uint32_t s = 0; s < n; s += 2 * half)
                    for (uint32_t k = 0; k < half; k++) {
                      double c = wr[k * stride], d = wi[k * stride];
                      uint32_t p = s + k, q = p + half;
                      double tr = c * re[q] - d * im[q], ti = c * im[q] + d * re[q];
                      re[q] = re[p] - tr;
                      im[q] = im[p] - ti;
                      re[p] += tr;
                      im[p] += ti;
                    }
                gSinkDouble = re[1];
                return 5.0 * n * kFftLog2;
              }};
}

ReferenceWork ReferenceMandelbrot(int, int) {
  return {.run = [] {
    const double step = 2.5 / kMandelSide, centre = (kMandelSide - 1) / 2.0;
    uint64_t total = 0;
    for (uint32_t row = 0; row < kMandelSide; row++)
      for (uint32_t col = 0; col < kMandelSide; col++) {
        double ci = (row - centre) * step, cr = -0.75 + (col - centre) * step;
        double zr = 0, zi = 0;
        uint32_t it = 0;
        while (it < 256) {
          double zr2 = zr * zr, zi2 = zi * zi;
          if (zr2 + zi2 > 4.0) break;
          zi = 2 * zr * zi + ci;
          zr = zr2 - zi2 + cr;
          it++;
        }
        total += it;
      }
    gSinkInt = total;
    return static_cast<double>(total);
  }};
}

// Four independent sums, so the loads and not the additions set the pace.
bool PrepareReferenceStreams(size_t plannedBytes, int maxThreads) {
  gStreamPlannedBytes = plannedBytes;
  const size_t bytes = engine::StreamArrayBytes(plannedBytes, maxThreads);
  for (uint64_t** array : {&gStreamFrom, &gStreamTo}) {
    std::free(*array);
    *array = static_cast<uint64_t*>(std::aligned_alloc(2u << 20, bytes));
    if (*array == nullptr) return false;
    madvise(*array, bytes, MADV_HUGEPAGE);
    for (size_t i = 0; i < bytes / 8; i++) (*array)[i] = i;
  }
  return true;
}

ReferenceWork ReferenceStreamRead(int thread, int threads) {
  const StreamPart part = PartOf(gStreamFrom, thread, threads);
  return {.run = [part] {
    const uint64_t* p = part.data;
    Wide a = Zero(), b = a, c = a, d = a;
    for (size_t i = 0; i < part.elements; i += 4 * kLane) {
      a = Add(a, Load(p + i));
      b = Add(b, Load(p + i + kLane));
      c = Add(c, Load(p + i + 2 * kLane));
      d = Add(d, Load(p + i + 3 * kLane));
    }
    gSinkInt = Lanes(Add(Add(a, b), Add(c, d)));
    return part.elements * 8.0;
  }};
}

ReferenceWork ReferenceStreamWrite(int thread, int threads) {
  const StreamPart part = PartOf(gStreamFrom, thread, threads);
  auto stamp = std::make_shared<uint64_t>(0);
  return {.run = [part, stamp] {
    const Wide v = Splat(++*stamp);
    uint64_t* p = part.data;
    for (size_t i = 0; i < part.elements; i += kLane) Stream(p + i, v);
    _mm_sfence();
    return part.elements * 8.0;
  }};
}

// The faster of a non-temporal copy loop and the C library's memcpy, chosen once per thread
// by a trial of each.
ReferenceWork ReferenceStreamCopy(int thread, int threads) {
  const StreamPart from = PartOf(gStreamFrom, thread, threads);
  const StreamPart to = PartOf(gStreamTo, thread, threads);
  auto loop = [from, to] {
    const uint64_t* s = from.data;
    uint64_t* d = to.data;
    for (size_t i = 0; i < from.elements; i += kLane) Stream(d + i, Load(s + i));
    _mm_sfence();
  };
  auto library = [from, to] { std::memcpy(to.data, from.data, from.elements * 8); };
  auto seconds = [](auto copy) {
    timespec a{}, b{};
    clock_gettime(CLOCK_MONOTONIC_RAW, &a);
    copy();
    clock_gettime(CLOCK_MONOTONIC_RAW, &b);
    return (b.tv_sec - a.tv_sec) + (b.tv_nsec - a.tv_nsec) * 1e-9;
  };
  loop();
  library();
  double loopBest = 1e9, libraryBest = 1e9;
  for (int i = 0; i < 3; i++) {
    loopBest = std::min(loopBest, seconds(loop));
    libraryBest = std::min(libraryBest, seconds(library));
  }
  const bool useLoop = loopBest <= libraryBest;
  return {.run = [=] {
    if (useLoop)
      loop();
    else
      library();
    gSinkInt = to.data[to.elements / 3];
    return from.elements * 16.0;
  }};
}

}  // namespace velora::bench
