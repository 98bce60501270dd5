#pragma once
// ATA IDENTIFY data as `hdparm --Istdin` reads it: 256 words in hexadecimal, word 0 first,
// eight to a line; word i holds bytes 2i (low) and 2i+1 of the block the drive delivered.

#include <string>
#include <string_view>

#include "platform/disk_commands.h"

namespace velora {

inline constexpr size_t kLargestIdentifyRecording = 64u << 10;

// False with error when text is not 256 hexadecimal words.
bool ParseIdentifyText(std::string_view text, IdentifyBlock& block, std::string& error);
std::string IdentifyText(const IdentifyBlock& block);

}  // namespace velora
