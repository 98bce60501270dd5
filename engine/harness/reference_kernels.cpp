#include "engine/harness/reference_kernels.h"

#include <immintrin.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace velora::bench {
namespace {

// Keeps results alive so that the compiler cannot drop the work.
volatile uint64_t gSinkInt;
volatile double gSinkDouble;

double Now() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC_RAW, &ts);
  return ts.tv_sec + ts.tv_nsec * 1e-9;
}

// One measurement: body (which returns its work) repeated for at least 0.25 s of timed work,
// like one engine call; prepare runs untimed before every body.
template <typename Prepare, typename Body>
double BestRate(Prepare prepare, Body body) {
  double seconds = 0.0, work = 0.0;
  while (seconds < 0.25) {
    prepare();
    double start = Now();
    work += body();
    seconds += Now() - start;
  }
  return work / seconds;
}

auto kNothing = [] {};

// Same sizes as the engine's full runs.
constexpr uint32_t kFibN = 32;
constexpr uint32_t kDigits = 9000;
constexpr uint32_t kSieveLimit = 10'000'000;
constexpr uint32_t kSortCount = 1'000'000;
constexpr uint32_t kMikoPoints = 12'000'000;
constexpr uint32_t kRandomCount = 16'000'000;
constexpr uint32_t kFftLog2 = 18;
constexpr uint32_t kMandelSide = 640;
constexpr size_t kStreamElements = 80'000'000 / 8;

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

}  // namespace

double ReferenceFibonacci() {
  volatile uint32_t n = kFibN;
  double calls = 0;
  uint64_t a = 0, b = 1;
  for (uint32_t i = 0; i <= kFibN; i++) {
    uint64_t c = a + b;
    a = b;
    b = c;
  }
  calls = 2.0 * a - 1.0;  // a = fib(n + 1)
  return BestRate(kNothing, [&] {
    gSinkInt = fib(n);
    return calls;
  });
}

double ReferenceNapierian() {
  const size_t limbs = 1 + (kDigits + 8) / 9 + 2;
  std::vector<uint32_t> sum(limbs), term(limbs);
  return BestRate(kNothing, [&] {
    std::fill(sum.begin(), sum.end(), 0u);
    std::fill(term.begin(), term.end(), 0u);
    sum[0] = term[0] = 1;
    for (uint32_t k = 1;; k++) {
      uint64_t r = 0;
      for (size_t i = 0; i < limbs; i++) {
        uint64_t cur = r * 1000000000u + term[i];
        term[i] = static_cast<uint32_t>(cur / k);
        r = cur % k;
      }
      uint32_t carry = 0;
      bool any = false;
      for (size_t i = limbs; i-- > 0;) {
        any |= term[i] != 0;
        uint32_t s = sum[i] + term[i] + carry;
        carry = s >= 1000000000u;
        sum[i] = carry ? s - 1000000000u : s;
      }
      if (!any) break;
    }
    gSinkInt = sum[1];
    return static_cast<double>(kDigits);
  });
}

double ReferenceEratosthenes() {
  std::vector<uint8_t> table(kSieveLimit + 1);
  return BestRate(kNothing, [&] {
    uint8_t* t = table.data();
    std::memset(t, 0, kSieveLimit + 1);
    for (uint32_t i = 2; i * i <= kSieveLimit; i++)
      if (!t[i])
        for (uint32_t j = i * i; j <= kSieveLimit; j += i) t[j] = 1;
    uint32_t count = 0;
    for (uint32_t i = 2; i <= kSieveLimit; i++) count += t[i] == 0;
    gSinkInt = count;
    return static_cast<double>(kSieveLimit);
  });
}

double ReferenceQuickSort() {
  std::vector<int32_t> input(kSortCount), data(kSortCount);
  uint32_t x = 0x2545F491u;
  for (auto& v : input) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    v = static_cast<int32_t>(x);
  }
  return BestRate([&] { std::copy(input.begin(), input.end(), data.begin()); },
                  [&] {
                    quicksort(data.data(), 0, kSortCount);
                    gSinkInt = static_cast<uint64_t>(data[kSortCount / 2]);
                    return static_cast<double>(kSortCount);
                  });
}

double ReferenceMikoFpu() {
  return BestRate(kNothing, [&] {
    double h = 1.0 / kMikoPoints, s = 0.0;
    for (uint32_t i = 0; i < kMikoPoints; i++) {
      double x = (i + 0.5) * h;
      s += 4.0 / (1.0 + x * x) + 4.0 * std::sqrt(1.0 - x * x);
    }
    gSinkDouble = s * h;
    return static_cast<double>(kMikoPoints);
  });
}

double ReferenceRandMeanSs() {
  uint64_t x = 0x9E3779B97F4A7C15ull;
  return BestRate(kNothing, [&] {
    double s = 0.0, q = 0.0;
    for (uint32_t i = 0; i < kRandomCount; i++) {
      x ^= x >> 12;
      x ^= x << 25;
      x ^= x >> 27;
      double u = static_cast<double>((x * 0x2545F4914F6CDD1Dull) >> 11) * 0x1.0p-53;
      s += u;
      q += u * u;
    }
    gSinkDouble = s + q;
    return static_cast<double>(kRandomCount);
  });
}

double ReferenceFft() {
  const uint32_t n = 1u << kFftLog2;
  std::vector<double> re(n), im(n), wr(n / 2), wi(n / 2), inRe(n), inIm(n);
  std::vector<uint32_t> rev(n);
  for (uint32_t i = 0; i < n; i++) {
    inRe[i] = std::sin(i * 0.37);
    inIm[i] = std::cos(i * 0.11);
    uint32_t r = 0;
    for (uint32_t b = 0; b < kFftLog2; b++) r |= ((i >> b) & 1u) << (kFftLog2 - 1 - b);
    rev[i] = r;
  }
  for (uint32_t k = 0; k < n / 2; k++) {
    wr[k] = std::cos(2 * std::numbers::pi * k / n);
    wi[k] = -std::sin(2 * std::numbers::pi * k / n);
  }
  return BestRate(
      [&] {
        re = inRe;
        im = inIm;
      },
      [&] {
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
      });
}

double ReferenceMandelbrot() {
  return BestRate(kNothing, [&] {
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
  });
}

namespace {

struct StreamArrays {
  uint64_t *a, *b, *c;
  StreamArrays() {
    a = static_cast<uint64_t*>(std::aligned_alloc(64, kStreamElements * 8));
    b = static_cast<uint64_t*>(std::aligned_alloc(64, kStreamElements * 8));
    c = static_cast<uint64_t*>(std::aligned_alloc(64, kStreamElements * 8));
    for (size_t i = 0; i < kStreamElements; i++) a[i] = b[i] = c[i] = i;
  }
  ~StreamArrays() {
    std::free(a);
    std::free(b);
    std::free(c);
  }
};

StreamArrays& Arrays() {
  static StreamArrays arrays;
  return arrays;
}

}  // namespace

double ReferenceStreamRead() {
  StreamArrays& s = Arrays();
  return BestRate(kNothing, [&] {
    uint64_t sum = 0;
    for (size_t i = 0; i < kStreamElements; i++) sum += s.a[i];
    gSinkInt = sum;
    return kStreamElements * 8.0;
  });
}

double ReferenceStreamWrite() {
  StreamArrays& s = Arrays();
  uint64_t v = 0;
  return BestRate(kNothing, [&] {
    const __m256i x = _mm256_set1_epi64x(static_cast<long long>(++v));
    for (size_t i = 0; i < kStreamElements; i += 4)
      _mm256_stream_si256(reinterpret_cast<__m256i*>(s.b + i), x);
    _mm_sfence();
    return kStreamElements * 8.0;
  });
}

// The faster of the plain loop and the C library's memcpy, which streams large copies.
double ReferenceStreamCopy() {
  StreamArrays& s = Arrays();
  double loop = BestRate(kNothing, [&] {
    for (size_t i = 0; i < kStreamElements; i++) s.c[i] = s.a[i];
    gSinkInt = s.c[kStreamElements - 1];
    return kStreamElements * 16.0;
  });
  double library = BestRate(kNothing, [&] {
    std::memcpy(s.c, s.a, kStreamElements * 8);
    gSinkInt = s.c[kStreamElements / 3];
    return kStreamElements * 16.0;
  });
  return std::max(loop, library);
}

}  // namespace velora::bench
