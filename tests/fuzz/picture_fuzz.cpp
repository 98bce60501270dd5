// libFuzzer target over the PNG background loader: any bytes as the picture. Beyond the
// sanitizers' findings it traps when a loaded picture is not the bitmap it claims to be, and
// the memory limit of the run catches a loader that believes a declared size.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/png_chunks.h"
#include "core/png_loader.h"
#include "tests/fuzz/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = velora::fuzz::FuzzFile(data, size);
  velora::DibImage image;
  std::string error;
  if (velora::loadPng(image, path, error)) {
    // A picture libpng read whole has no chunk that runs past the file's end.
    if (!velora::PngChunksFitTheFile(std::string_view(reinterpret_cast<const char*>(data), size)))
      std::abort();
    if (!error.empty() || image.width() <= 0 || image.height() <= 0 ||
        image.bitsPerPixel() != 24 || image.bits() == nullptr) {
      std::abort();
    }
    // Every row is there to be read.
    volatile uint8_t sink = image.rowFromTop(image.height() - 1)[image.stride() - 1];
    (void)sink;
  } else if (error.empty() || image.bits() != nullptr) {
    std::abort();
  }
  return 0;
}
