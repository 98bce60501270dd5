#include "info/ata_identify.h"

#include <cctype>
#include <cstdio>
#include <sstream>

#include "platform/replay/recorded_identify.h"

namespace velora {

namespace {

constexpr const char* kUltraDmaNames[8] = {"Ultra DMA/16",  "Ultra DMA/25",    "Ultra DMA/33",
                                           "Ultra DMA/44",  "Ultra DMA/66",    "Ultra DMA/100",
                                           "Ultra DMA/133", "Ultra DMA Mode 7"};

// Two characters a word, high byte first; trailing blanks go.
std::string WordText(const IdentifyWords& w, int first, int last) {
  std::string text;
  for (int i = first; i <= last; ++i) {
    text += static_cast<char>(w[static_cast<size_t>(i)] >> 8);
    text += static_cast<char>(w[static_cast<size_t>(i)] & 0xFF);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  return text;
}

}  // namespace

uint32_t HundredMegabytes(uint64_t bytes) {
  return static_cast<uint32_t>(bytes / 1000 / 1000 / 100);
}

std::string IdentifyRawDataText(const IdentifyWords& w) {
  std::string text;
  for (int line = 0; line < 32; ++line) {
    char row[128];
    const uint16_t* p = &w[static_cast<size_t>(line) * 8];
    std::snprintf(row, sizeof row, "%08X %08X %08X %08X %08X %08X %08X %08X\r\n", p[0], p[1], p[2],
                  p[3], p[4], p[5], p[6], p[7]);
    text += row;
  }
  return text;
}

IdentifyWords WordsOfBlock(const std::array<uint8_t, 512>& block) {
  IdentifyWords words{};
  for (size_t i = 0; i < words.size(); ++i)
    words[i] = static_cast<uint16_t>(block[2 * i] | block[2 * i + 1] << 8);
  return words;
}

std::string UltraDmaModeName(uint8_t modeBits) {
  for (int bit = 7; bit >= 0; --bit) {
    if (modeBits & (1u << bit)) return kUltraDmaNames[bit];
  }
  return {};
}

DiskIdentity DecodeIdentify(const IdentifyWords& w) {
  DiskIdentity d;
  d.model = WordText(w, 27, 46);
  d.serialNumber = WordText(w, 10, 19);
  std::erase(d.serialNumber, ' ');
  d.firmwareRevision = WordText(w, 23, 26);
  d.bufferBytes = static_cast<uint32_t>(w[21]) * 512;

  const uint64_t chs = uint64_t{w[1]} * w[3] * w[6] * 512;
  const uint64_t lba28 = (uint64_t{w[60]} + uint64_t{w[61]} * 65536) * 512;
  const uint64_t lba48 = (uint64_t{w[100]} + uint64_t{w[101]} * 65536) * 512;
  d.chsSize = HundredMegabytes(chs);
  d.lba28Size = HundredMegabytes(lba28);
  d.lba48Size = HundredMegabytes(lba48);
  d.diskSize = d.lba48Size > d.lba28Size ? d.lba48Size : std::max(d.chsSize, d.lba28Size);

  int major = 0;
  for (int bit = 15; bit >= 1; --bit) {
    if (w[80] & (1u << bit)) {
      major = bit;
      break;
    }
  }
  char text[32] = "";
  if (major > 3) {
    std::snprintf(text, sizeof text, "ATA/ATAPI-%d", major);
  } else if (major > 0) {
    std::snprintf(text, sizeof text, "ATA-%d", major);
  }
  d.ataStandard = text;

  d.maximumMode = UltraDmaModeName(static_cast<uint8_t>(w[88] & 0xFF));
  if (d.maximumMode.empty()) d.maximumMode = (w[63] & 0x0007) ? "PIO / DMA" : "PIO";
  if (w[76] != 0 && w[76] != 0xFFFF) {
    d.maximumMode = "SATA/150";
    if (w[76] & 0x0008) {
      d.maximumMode = "SATA/600";
    } else if (w[76] & 0x0004) {
      d.maximumMode = "SATA/300";
    } else if (w[76] & 0x0002) {
      d.maximumMode = "SATA/150";
    }
  }
  d.currentMode = UltraDmaModeName(static_cast<uint8_t>(w[88] >> 8));
  if (d.currentMode.empty()) d.currentMode = (w[63] & 0x0700) ? "PIO / DMA" : "PIO";

  d.rawData = IdentifyRawDataText(w);
  return d;
}

std::optional<IdentifyWords> ParseIdentifyText(const std::string& text) {
  IdentifyBlock block{};
  std::string error;
  if (!ParseIdentifyText(text, block, error)) return std::nullopt;
  return WordsOfBlock(block);
}

}  // namespace velora
