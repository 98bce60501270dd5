#include "engine/mmt_kernels.h"

#include <immintrin.h>

#include <cmath>

namespace velora::engine {
namespace {

// Coefficients of a polynomial that stays near 1 on [0, 1), so the floats keep their precision.
constexpr float kCoefficients[MmtKernel::kDegree + 1] = {1.0f,   0.5f,   -0.25f, 0.125f, -0.0625f,
                                                          0.03125f, -0.015625f, 0.0078125f,
                                                          -0.00390625f};

void HornerSse2(const float* in, float* out, int n) {
  for (int i = 0; i < n; i += 8) {
    __m128 x0 = _mm_load_ps(in + i), x1 = _mm_load_ps(in + i + 4);
    __m128 y0 = _mm_set1_ps(kCoefficients[MmtKernel::kDegree]), y1 = y0;
    for (int k = MmtKernel::kDegree - 1; k >= 0; --k) {
      const __m128 c = _mm_set1_ps(kCoefficients[k]);
      y0 = _mm_add_ps(_mm_mul_ps(y0, x0), c);
      y1 = _mm_add_ps(_mm_mul_ps(y1, x1), c);
    }
    _mm_store_ps(out + i, y0);
    _mm_store_ps(out + i + 4, y1);
  }
}

__attribute__((target("avx2,fma"))) void HornerAvx2(const float* in, float* out, int n) {
  for (int i = 0; i < n; i += 16) {
    __m256 x0 = _mm256_load_ps(in + i), x1 = _mm256_load_ps(in + i + 8);
    __m256 y0 = _mm256_set1_ps(kCoefficients[MmtKernel::kDegree]), y1 = y0;
    for (int k = MmtKernel::kDegree - 1; k >= 0; --k) {
      const __m256 c = _mm256_set1_ps(kCoefficients[k]);
      y0 = _mm256_fmadd_ps(y0, x0, c);
      y1 = _mm256_fmadd_ps(y1, x1, c);
    }
    _mm256_store_ps(out + i, y0);
    _mm256_store_ps(out + i + 8, y1);
  }
}

__attribute__((target("avx512f"))) void HornerAvx512(const float* in, float* out, int n) {
  for (int i = 0; i < n; i += 32) {
    __m512 x0 = _mm512_load_ps(in + i), x1 = _mm512_load_ps(in + i + 16);
    __m512 y0 = _mm512_set1_ps(kCoefficients[MmtKernel::kDegree]), y1 = y0;
    for (int k = MmtKernel::kDegree - 1; k >= 0; --k) {
      const __m512 c = _mm512_set1_ps(kCoefficients[k]);
      y0 = _mm512_fmadd_ps(y0, x0, c);
      y1 = _mm512_fmadd_ps(y1, x1, c);
    }
    _mm512_store_ps(out + i, y0);
    _mm512_store_ps(out + i + 16, y1);
  }
}

}  // namespace

std::vector<SimdSet> AvailableSimdSets() {
  std::vector<SimdSet> sets;
  if (__builtin_cpu_supports("sse2")) sets.push_back(SimdSet::kSse2);
  if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) sets.push_back(SimdSet::kAvx2);
  if (__builtin_cpu_supports("avx512f")) sets.push_back(SimdSet::kAvx512);
  return sets;
}

const char* SimdSetName(SimdSet set) {
  switch (set) {
    case SimdSet::kSse2: return "SSE2";
    case SimdSet::kAvx2: return "AVX2";
    case SimdSet::kAvx512: return "AVX-512";
  }
  return "";
}

MmtKernel::MmtKernel(SimdSet set, KernelSize size)
    : set_(set), passes_(size == KernelSize::kFull ? 20000 : 50) {}

double MmtKernel::WorkPerRun() const {
  return 2.0 * kDegree * kElements * static_cast<double>(passes_);
}

bool MmtKernel::Prepare() {
  for (float& v : output_) v = 0.0f;
  for (int i = 0; i < kElements; ++i) input_[i] = static_cast<float>(i) / kElements;
  return true;
}

void MmtKernel::Run() {
  for (int pass = 0; pass < passes_; ++pass) {
    switch (set_) {
      case SimdSet::kSse2: HornerSse2(input_, output_, kElements); break;
      case SimdSet::kAvx2: HornerAvx2(input_, output_, kElements); break;
      case SimdSet::kAvx512: HornerAvx512(input_, output_, kElements); break;
    }
    // Every pass must really happen: the compiler may not fold identical passes into one.
    asm volatile("" ::: "memory");
  }
}

// Every element against the polynomial in double precision.
bool MmtKernel::Verify() {
  for (int i = 0; i < kElements; ++i) {
    double x = input_[i], y = kCoefficients[kDegree];
    for (int k = kDegree - 1; k >= 0; --k) y = y * x + kCoefficients[k];
    if (std::fabs(y - output_[i]) > 1e-5 * std::fabs(y)) return false;
  }
  return true;
}

}  // namespace velora::engine
