#pragma once
// Background pictures in PNG through libpng: only pictures that end as plain 8-bit RGB after
// the expansions are taken, so anything whose transparency survives (a palette with a
// transparency chunk, grey with alpha) is refused here and left to the general picture reader.

#include <string>

#include "core/dib_image.h"

namespace velora {

// Releases image, then loads path into it as 24 bits per pixel; false with the reason in
// error when the file is missing, is no PNG, is damaged, too large or not plain RGB. Every
// libpng structure and the file are released on every path.
bool loadPng(DibImage& image, const std::string& path, std::string& error);

}  // namespace velora
