#pragma once
// A look at a PNG file's chunk lengths before a decoder believes them: a few bytes may declare
// a chunk of two gigabytes, which some decoders allocate before they find the file too short.

#include <string_view>

namespace velora {

// False when bytes start with the PNG signature and a chunk (its data and CRC, by its declared
// length) runs past the end of the bytes, or declares more than 2^31 - 1; true for every other
// file.
bool PngChunksFitTheFile(std::string_view bytes);

}  // namespace velora
