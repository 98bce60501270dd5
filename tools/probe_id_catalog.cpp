#include "tools/probe_id_catalog.h"

#include <algorithm>

namespace velora {

namespace {

struct Span {
  uint32_t first;
  uint32_t last;  // inclusive
  ProbeIdKind kind;
};

using K = ProbeIdKind;

constexpr Span kLibraryIds[] = {
    {1, 3, K::Text}, {16, 16, K::Int}, {0x300, 0x300, K::Text},
};

constexpr Span kCpuIds[] = {
    {0x1001, 0x1012, K::Text},       {0x1020, 0x1029, K::Text},
    {0x102A, 0x102F, K::TextAction}, {0x1030, 0x1030, K::Int},
    {0x1031, 0x1036, K::TextAndInt}, {0x1037, 0x1046, K::Int},
    {0x1047, 0x1047, K::TextAndInt}, {0x1048, 0x1049, K::Int},
    {0x104B, 0x104B, K::Int},        {0x104D, 0x105F, K::Int},
    {0x1060, 0x1060, K::Text},       {0x1061, 0x1065, K::TextAndInt},
    {0x1066, 0x1067, K::Text},       {0x1068, 0x1068, K::Action},
    {0x1070, 0x1071, K::Int},        {0x1080, 0x1087, K::TextAndInt},
    {0x1090, 0x1093, K::Int},        {0x10A0, 0x10A2, K::TextAndInt},
    {0x10A3, 0x10A3, K::Int},        {0x10B0, 0x10B0, K::Int},
    {0x10B1, 0x10B4, K::Text},       {0x10C0, 0x10C1, K::Text},
    {0x1100, 0x111F, K::Action},     {0x1200, 0x1200, K::Action},
    {0x1201, 0x1202, K::Int},        {0x1203, 0x1203, K::Command},
    {0x1211, 0x1213, K::Int},        {0x1214, 0x1216, K::Text},
    {0x1217, 0x1218, K::Command},    {0x1221, 0x1223, K::Int},
    {0x1224, 0x1226, K::Text},       {0x1227, 0x1228, K::Command},
};

constexpr Span kChipsetIds[] = {
    {0x2001, 0x200D, K::Text}, {0x2010, 0x2010, K::Int}, {0x2020, 0x2024, K::Int},
    {0x2030, 0x2034, K::Int},  {0x2040, 0x2044, K::Int}, {0x5001, 0x5001, K::Int},
};

// Per-device table: base id + n.
constexpr struct {
  uint32_t base;
  ProbeIdKind kind;
} kDeviceColumns[] = {
    {0x5100, K::Int}, {0x5200, K::Int}, {0x5300, K::Int},  {0x5400, K::Int},
    {0x5500, K::Int}, {0x5600, K::Text}, {0x5700, K::Int}, {0x5800, K::Int},
    {0x5900, K::Int}, {0x5A00, K::Text}, {0x5B00, K::Text}, {0x5C00, K::Text},
};

constexpr Span kSmbiosIds[] = {
    {0x6001, 0x6001, K::Int},  {0x6002, 0x6002, K::Text}, {0x6100, 0x6103, K::Text},
    {0x6200, 0x6202, K::Text}, {0x6300, 0x6305, K::Text},
};

template <size_t N>
void Append(std::vector<ProbeIdEntry>& out, const Span (&spans)[N]) {
  for (const Span& s : spans) {
    for (uint32_t id = s.first; id <= s.last; ++id) out.push_back({id, s.kind});
  }
}

}  // namespace

std::vector<ProbeIdEntry> ProbeIdCatalog(uint32_t deviceEntries) {
  std::vector<ProbeIdEntry> out;
  Append(out, kLibraryIds);
  Append(out, kCpuIds);
  Append(out, kChipsetIds);
  deviceEntries = std::min<uint32_t>(deviceEntries, 128);
  for (const auto& column : kDeviceColumns) {
    for (uint32_t n = 0; n < deviceEntries; ++n) out.push_back({column.base + n, column.kind});
  }
  Append(out, kSmbiosIds);
  return out;
}

}  // namespace velora
