#include "engine/fpu_kernels.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "engine/kernel_clones.h"

namespace velora::engine {

MikoFpuKernel::MikoFpuKernel(KernelSize size)
    : points_(size == KernelSize::kFull ? 12'000'000 : 100'000) {}

namespace {

VELORA_KERNEL_CLONES double MikoIntegral(uint32_t points) {
  const double h = 1.0 / points;
  double sum = 0.0;
  for (uint32_t i = 0; i < points; ++i) {
    double x = (i + 0.5) * h;
    double x2 = x * x;
    sum += 4.0 / (1.0 + x2) + 4.0 * std::sqrt(1.0 - x2);
  }
  return sum * h;
}

VELORA_KERNEL_CLONES uint64_t RandomSums(uint64_t x, uint32_t count, double& sum, double& squares) {
  double s = 0.0, q = 0.0;
  for (uint32_t i = 0; i < count; ++i) {
    x ^= x >> 12;
    x ^= x << 25;
    x ^= x >> 27;
    double u = static_cast<double>((x * 0x2545F4914F6CDD1Dull) >> 11) * 0x1.0p-53;
    s += u;
    q += u * u;
  }
  sum = s;
  squares = q;
  return x;
}

VELORA_KERNEL_CLONES void FftInPlace(double* re, double* im, const double* wr, const double* wi,
                                     const uint32_t* reversed, uint32_t n) {
  for (uint32_t i = 0; i < n; ++i)
    if (i < reversed[i]) {
      std::swap(re[i], re[reversed[i]]);
      std::swap(im[i], im[reversed[i]]);
    }
  for (uint32_t half = 1, stride = n / 2; half < n; half *= 2, stride /= 2) {
    for (uint32_t start = 0; start < n; start += 2 * half) {
      for (uint32_t k = 0; k < half; ++k) {
        const double c = wr[k * stride], d = wi[k * stride];
        const uint32_t p = start + k, q = p + half;
        const double tr = c * re[q] - d * im[q];
        const double ti = c * im[q] + d * re[q];
        re[q] = re[p] - tr;
        im[q] = im[p] - ti;
        re[p] += tr;
        im[p] += ti;
      }
    }
  }
}

// The view [-2, 0.5] x [-1.25, 1.25]; coordinates relative to the centre row so that row r and
// row side-1-r get exactly opposite imaginary parts.
VELORA_KERNEL_CLONES uint64_t MandelbrotGrid(uint16_t* counts, uint32_t side, uint32_t limit) {
  const double step = 2.5 / side;
  const double centre = (side - 1) / 2.0;
  uint64_t total = 0;
  for (uint32_t row = 0; row < side; ++row) {
    const double ci = (row - centre) * step;
    for (uint32_t col = 0; col < side; ++col) {
      const double cr = -0.75 + (col - centre) * step;
      double zr = 0.0, zi = 0.0;
      uint32_t it = 0;
      while (it < limit) {
        const double zr2 = zr * zr, zi2 = zi * zi;
        if (zr2 + zi2 > 4.0) break;
        zi = 2.0 * zr * zi + ci;
        zr = zr2 - zi2 + cr;
        ++it;
      }
      counts[static_cast<size_t>(row) * side + col] = static_cast<uint16_t>(it);
      total += it;
    }
  }
  return total;
}

}  // namespace

void MikoFpuKernel::Run() { result_ = MikoIntegral(points_); }

// The square-root part converges as N^-1.5; 1e-6 leaves room for that at the small size.
bool MikoFpuKernel::Verify() { return std::fabs(result_ - 2.0 * std::numbers::pi) < 1e-6; }

RandMeanSsKernel::RandMeanSsKernel(KernelSize size)
    : count_(size == KernelSize::kFull ? 16'000'000 : 200'000) {}

void RandMeanSsKernel::Run() {
  double sum = 0.0, squares = 0.0;
  seed_ = RandomSums(seed_, count_, sum, squares);
  mean_ = sum / count_;
  meanSquare_ = squares / count_;
}

// Uniform on [0,1): mean 1/2 (sd 0.2887), mean square 1/3 (sd 0.2981); six standard errors.
bool RandMeanSsKernel::Verify() {
  const double n = std::sqrt(static_cast<double>(count_));
  return std::fabs(mean_ - 0.5) < 6.0 * 0.2887 / n &&
         std::fabs(meanSquare_ - 1.0 / 3.0) < 6.0 * 0.2981 / n;
}

FftKernel::FftKernel(KernelSize size) : log2n_(size == KernelSize::kFull ? 18 : 10) {}

double FftKernel::WorkPerRun() const { return 5.0 * static_cast<double>(1u << log2n_) * log2n_; }

bool FftKernel::Prepare() {
  const uint32_t n = 1u << log2n_;
  input_.resize(n);
  constexpr size_t kImaginaryGap = 264;  // doubles: 2 KiB and one cache line
  parts_.assign(2 * size_t{n} + kImaginaryGap, 0.0);
  real_ = std::span<double>(parts_).first(n);
  imag_ = std::span<double>(parts_).subspan(n + kImaginaryGap, n);
  twiddleReal_.resize(n / 2);
  twiddleImag_.resize(n / 2);
  reversed_.resize(n);
  uint64_t x = 88172645463325252ull;
  for (auto& v : input_) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    double re = static_cast<double>(x >> 11) * 0x1.0p-52 - 1.0;
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    double im = static_cast<double>(x >> 11) * 0x1.0p-52 - 1.0;
    v = {re, im};
  }
  for (uint32_t k = 0; k < n / 2; ++k) {
    const std::complex<double> w = std::polar(1.0, -2.0 * std::numbers::pi * k / n);
    twiddleReal_[k] = w.real();
    twiddleImag_[k] = w.imag();
  }
  circle_.resize(n);
  for (uint32_t k = 0; k < n; ++k) {
    const double angle = 2.0 * std::numbers::pi * k / n;
    circle_[k] = {std::cos(angle), -std::sin(angle)};
  }
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t r = 0;
    for (uint32_t b = 0; b < log2n_; ++b) r |= ((i >> b) & 1u) << (log2n_ - 1 - b);
    reversed_[i] = r;
  }
  return true;
}

void FftKernel::Reset() {
  for (size_t i = 0; i < input_.size(); ++i) {
    real_[i] = input_[i].real();
    imag_[i] = input_[i].imag();
  }
}

void FftKernel::Run() {
  FftInPlace(real_.data(), imag_.data(), twiddleReal_.data(), twiddleImag_.data(), reversed_.data(),
             1u << log2n_);
}

// Five bins against the direct sum (one of them moves every run), and Parseval's identity.
bool FftKernel::Verify() {
  const uint32_t n = 1u << log2n_;
  if (real_.size() != n || imag_.size() != n) return false;
  const uint32_t bins[5] = {0, 1, n / 2 + 3, n - 1, (checkRound_++ * 7919u + 11u) % n};
  for (uint32_t k : bins) {
    std::complex<double> direct = 0.0;
    for (uint32_t j = 0; j < n; ++j) {
      direct += input_[j] * circle_[(static_cast<uint64_t>(j) * k) % n];
    }
    if (std::abs(direct - std::complex<double>(real_[k], imag_[k])) >
        1e-6 * std::sqrt(static_cast<double>(n)))
      return false;
  }
  double energyIn = 0.0, energyOut = 0.0;
  for (uint32_t j = 0; j < n; ++j) {
    energyIn += std::norm(input_[j]);
    energyOut += real_[j] * real_[j] + imag_[j] * imag_[j];
  }
  return std::fabs(energyOut - n * energyIn) <= 1e-9 * n * energyIn;
}

MandelbrotKernel::MandelbrotKernel(KernelSize size) : side_(size == KernelSize::kFull ? 640 : 96) {}

bool MandelbrotKernel::Prepare() {
  counts_.assign(static_cast<size_t>(side_) * side_, 0);
  return true;
}

void MandelbrotKernel::Run() {
  iterations_ = MandelbrotGrid(counts_.data(), side_, kMaxIterations);
}

// Mirror symmetry of the rows, and the area of the set (about 1.5066, a little more at a
// finite iteration limit).
bool MandelbrotKernel::Verify() {
  uint64_t inside = 0;
  for (uint32_t row = 0; row < side_; ++row) {
    const uint16_t* a = &counts_[static_cast<size_t>(row) * side_];
    const uint16_t* b = &counts_[static_cast<size_t>(side_ - 1 - row) * side_];
    for (uint32_t col = 0; col < side_; ++col) {
      if (a[col] != b[col]) return false;
      inside += a[col] == kMaxIterations;
    }
  }
  const double step = 2.5 / side_;
  const double area = static_cast<double>(inside) * step * step;
  return area > 1.45 && area < 1.62;
}

}  // namespace velora::engine
