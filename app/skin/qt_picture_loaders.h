#pragma once
// The two loaders of the skin that go through Qt's image readers: BMP files, and every other
// picture format the machine's Qt image plugins read (JPEG and the rest). Both end in a
// bottom-up 24-bit bitmap like the PNG loader's.

#include <QImage>
#include <string>

#include "core/dib_image.h"

namespace velora {

// Releases image, then loads a BMP file (and nothing else) into it; false with the reason.
bool loadBmp(DibImage& image, const std::string& path, std::string& error);

// Releases image, then loads any picture Qt reads, whatever its name says; false with the
// reason.
bool loadPicture(DibImage& image, const std::string& path, std::string& error);

// The bitmap as an image the painter can tile; null for an empty bitmap.
QImage ImageOfDib(const DibImage& image);

}  // namespace velora
