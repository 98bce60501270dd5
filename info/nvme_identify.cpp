#include "info/nvme_identify.h"

#include "info/sysfs_text.h"

namespace velora {
namespace {

uint32_t Little32(const NvmeIdentifyData& d, size_t at) {
  return static_cast<uint32_t>(d[at]) | static_cast<uint32_t>(d[at + 1]) << 8 |
         static_cast<uint32_t>(d[at + 2]) << 16 | static_cast<uint32_t>(d[at + 3]) << 24;
}

uint64_t Little64(const NvmeIdentifyData& d, size_t at) {
  return static_cast<uint64_t>(Little32(d, at)) | static_cast<uint64_t>(Little32(d, at + 4)) << 32;
}

// ASCII fields are padded with blanks on the right.
std::string Ascii(const NvmeIdentifyData& d, size_t at, size_t length) {
  std::string text;
  for (size_t i = at; i < at + length; ++i)
    text += d[i] >= 0x20 && d[i] < 0x7F ? static_cast<char>(d[i]) : ' ';
  return TrimBlanks(text);
}

}  // namespace

std::string NvmeVersionText(uint32_t version) {
  if (version == 0) return "NVMe";
  const uint32_t major = version >> 16, minor = (version >> 8) & 0xFF, tertiary = version & 0xFF;
  std::string text = "NVMe " + std::to_string(major) + "." + std::to_string(minor);
  if (tertiary != 0) text += "." + std::to_string(tertiary);
  return text;
}

uint64_t NvmeNamespaceBytes(const NvmeIdentifyData& ns) {
  const uint64_t blocks = Little64(ns, 0);  // NSZE
  // FLBAS bits 3:0, and bits 6:5 above them where a controller has more than 16 formats.
  const uint8_t flbas = ns[26];
  const size_t format = (flbas & 0x0F) | ((flbas >> 5) & 0x03) << 4;
  if (format > 63) return 0;
  const uint32_t lbaFormat = Little32(ns, 128 + 4 * format);
  const unsigned shift = (lbaFormat >> 16) & 0xFF;  // LBADS: the block size as a power of two
  if (shift < 9 || shift > 16) return 0;
  return blocks << shift;
}

DiskIdentity DecodeNvmeIdentify(const NvmeIdentifyData& controller,
                                const NvmeIdentifyData& nameSpace) {
  DiskIdentity d;
  d.serialNumber = Ascii(controller, 4, 20);
  d.model = Ascii(controller, 24, 40);
  d.firmwareRevision = Ascii(controller, 64, 8);
  d.ataStandard = NvmeVersionText(Little32(controller, 80));
  d.diskSize = HundredMegabytes(NvmeNamespaceBytes(nameSpace));
  std::array<uint8_t, 512> head{};
  for (size_t i = 0; i < head.size(); ++i) head[i] = controller[i];
  d.rawData = IdentifyRawDataText(WordsOfBlock(head));
  return d;
}

}  // namespace velora
