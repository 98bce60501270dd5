#pragma once
// The sub-tests of GDI, D2D and OGL: their rows of the name and formula table and their kernels.

#include <cstdint>
#include <memory>
#include <span>

#include "engine/bench_kernel.h"
#include "engine/sub_test_table.h"

namespace velora::engine::graphics {

std::span<const SubTestRow> GdiRows();
std::span<const SubTestRow> D2dRows();
std::span<const SubTestRow> OglRows();

// The kernel of a graphics sub-test, drawing in a window when a display is named, else
// offscreen; nullptr for a sub-test the test does not have.
std::unique_ptr<BenchKernel> MakeGraphicsKernel(int32_t test, int32_t subTest, KernelSize size);

}  // namespace velora::engine::graphics
