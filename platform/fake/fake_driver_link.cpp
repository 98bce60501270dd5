#include "platform/fake/fake_driver_link.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace velora {

bool FakeDriverLink::ReadMsr(uint32_t index, uint32_t& low, uint32_t& high) {
  low = 0;
  high = 0;
  if (status != kDriverOpen) return false;
  auto it = msrs.find(index);
  if (it == msrs.end()) return false;
  low = static_cast<uint32_t>(it->second);
  high = static_cast<uint32_t>(it->second >> 32);
  return true;
}

bool FakeDriverLink::WriteMsr(uint32_t index, uint32_t low, uint32_t high) {
  if (status != kDriverOpen || refuseMsrWrites) return false;
  uint64_t value = static_cast<uint64_t>(high) << 32 | low;
  msrWrites.emplace_back(index, value);
  msrs[index] = value;
  if (onMsrWrite) onMsrWrite(index, value);
  return true;
}

uint32_t FakeDriverLink::ReadPort32(uint32_t port) {
  if (status != kDriverOpen) return 0;
  auto it = ports.find(port);
  return it == ports.end() ? 0 : it->second;
}

uint32_t FakeDriverLink::ReadPciConfig(PciAddress address, uint32_t offset, void* destination,
                                       size_t count) {
  ++pciReads;
  if (status != kDriverOpen) return EBADF;
  if (auto e = pciReadErrors.find(address); e != pciReadErrors.end()) return e->second;
  auto it = pciConfig.find(address);
  if (it == pciConfig.end()) return kPciErrorDeviceAbsent;
  if (offset + count > it->second.size()) return EIO;
  std::memcpy(destination, it->second.data() + offset, count);
  return 0;
}

uint32_t FakeDriverLink::WritePciConfig(PciAddress address, uint32_t offset, const void* source,
                                        size_t count) {
  if (status != kDriverOpen) return EBADF;
  auto it = pciConfig.find(address);
  if (it == pciConfig.end()) return kPciErrorDeviceAbsent;
  if (offset + count > it->second.size()) return EIO;
  std::memcpy(it->second.data() + offset, source, count);
  return 0;
}

size_t FakeDriverLink::ReadPhysicalMemory(uint64_t address, void* destination, size_t bytes) {
  if (status != kDriverOpen) return 0;
  if (address < memoryBase || address - memoryBase >= memory.size()) return 0;
  size_t start = static_cast<size_t>(address - memoryBase);
  size_t n = std::min<size_t>({bytes, memory.size() - start, memoryReadLimit});
  std::memcpy(destination, memory.data() + start, n);
  return n;
}

void FakeDriverLink::AddFunction(PciAddress address, uint16_t vendor, uint16_t device,
                                 uint32_t classCode, uint8_t headerType, uint8_t revision) {
  std::vector<uint8_t> config(64, 0);
  config[0] = vendor & 0xFF;
  config[1] = vendor >> 8;
  config[2] = device & 0xFF;
  config[3] = device >> 8;
  config[8] = revision;
  config[9] = classCode & 0xFF;
  config[10] = (classCode >> 8) & 0xFF;
  config[11] = (classCode >> 16) & 0xFF;
  config[0x0E] = headerType;
  pciConfig[address] = std::move(config);
}

int FakeDriverLink::LoadLspciDump(const std::string& path) {
  std::ifstream in(path);
  if (!in) return -1;
  int loaded = 0;
  std::vector<uint8_t>* current = nullptr;
  std::string line;
  while (std::getline(in, line)) {
    unsigned domain = 0, bus = 0, dev = 0, fn = 0;
    int used = 0;
    if (std::sscanf(line.c_str(), "%x:%x:%x.%x%n", &domain, &bus, &dev, &fn, &used) == 4 &&
        used > 0 && line[static_cast<size_t>(used)] == ' ') {
      current = nullptr;
      if (domain == 0 && bus < 256 && dev < 32 && fn < 8) {
        current = &pciConfig[MakePciAddress(bus, dev, fn)];
        current->clear();
        ++loaded;
      }
      continue;
    }
    if (std::sscanf(line.c_str(), "%x:%x.%x%n", &bus, &dev, &fn, &used) == 3 && used > 0 &&
        line[static_cast<size_t>(used)] == ' ') {
      current = nullptr;
      if (bus < 256 && dev < 32 && fn < 8) {
        current = &pciConfig[MakePciAddress(bus, dev, fn)];
        current->clear();
        ++loaded;
      }
      continue;
    }
    unsigned rowOffset = 0;
    if (current != nullptr && std::sscanf(line.c_str(), "%x:%n", &rowOffset, &used) == 1 &&
        used > 0 && rowOffset == current->size()) {
      std::istringstream row(line.substr(static_cast<size_t>(used)));
      std::string byte;
      while (row >> byte) current->push_back(static_cast<uint8_t>(std::stoul(byte, nullptr, 16)));
    }
  }
  return loaded;
}

}  // namespace velora
