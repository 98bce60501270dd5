#pragma once
// An ATA or ATAPI device as its IDENTIFY block describes it: the 256 words decoded into the
// texts and sizes the Disk page shows.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace velora {

using IdentifyWords = std::array<uint16_t, 256>;

struct DiskIdentity {
  std::string model, serialNumber, firmwareRevision;
  std::string ataStandard, maximumMode, currentMode;
  std::string rawData;  // 32 lines of 8 words, "%08X" each, CR LF line ends
  uint32_t bufferBytes = 0;
  // In units of 100,000,000 bytes.
  uint32_t diskSize = 0, chsSize = 0, lba28Size = 0, lba48Size = 0;
};

DiskIdentity DecodeIdentify(const IdentifyWords& words);

// The words of a block as the device sends them: word n in bytes 2n (low) and 2n + 1.
IdentifyWords WordsOfBlock(const std::array<uint8_t, 512>& block);
// 32 lines of 8 words, "%08X" each, separated by one blank, CR LF line ends.
std::string IdentifyRawDataText(const IdentifyWords& words);
// Bytes in 64 bits, then the count of 10^8 bytes kept in 32 bits as the page stores it.
uint32_t HundredMegabytes(uint64_t bytes);

// "Ultra DMA/133", ... for a set of Ultra DMA mode bits (the highest set wins); empty for none.
std::string UltraDmaModeName(uint8_t modeBits);

// A block written as 32 lines of 8 hexadecimal words (word 0 first, as `hdparm --Istdin` reads
// it); nullopt for anything else.
std::optional<IdentifyWords> ParseIdentifyText(const std::string& text);

}  // namespace velora
