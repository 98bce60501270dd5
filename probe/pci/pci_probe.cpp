#include "probe/pci/pci_probe.h"

#include <array>

#include "probe/pci/pci_chipset_prepare.h"
#include "probe/pci/pci_config.h"
#include "probe/pci/pci_special_cases.h"
#include "probe/probe_id_table.h"

namespace velora {

namespace {

constexpr size_t kChipsetNameCapacity = 64;
constexpr size_t kPartNameCapacity = 128;

struct ClassSearch {
  uint32_t base, sub, interface;
};

// Tried in order; the first that finds a function wins.
constexpr ClassSearch kSouthBridgeSearches[] = {
    {0x06, 0x01, 0x00},  // ISA bridge
    {0x01, 0x01, 0x80}, {0x01, 0x01, 0x8A}, {0x01, 0x01, 0xFA},
    {0x01, 0x01, 0x01}, {0x01, 0x01, 0x00},  // IDE controllers
    {0x06, 0x02, 0x00},                      // EISA bridge
};
constexpr ClassSearch kNorthBridgeSearch{0x06, 0x00, 0x00};
// nForce boards whose south bridge is 10DE:0050 show their memory controller instead.
constexpr uint32_t kNforceSouthPair = 0x10DE0050;
constexpr ClassSearch kNforceNorthBridgeSearch{0x05, 0x80, 0x00};
constexpr ClassSearch kVideoSearches[] = {
    {0x03, 0x00, 0x00}, {0x00, 0x01, 0x00}, {0x03, 0x01, 0x00},
    {0x03, 0x02, 0x00}, {0x03, 0x80, 0x00}, {0x04, 0x00, 0x00},
};

bool Found(uint32_t search) { return (search & 0xFF) == 0; }

uint32_t Search(DriverLink& link, const ClassSearch& s) {
  return FindPciClass(link, s.base, s.sub, s.interface, 0);
}

template <size_t N>
uint32_t SearchInOrder(DriverLink& link, const ClassSearch (&searches)[N]) {
  uint32_t result = kPciDeviceNotFound;
  for (const ClassSearch& s : searches) {
    result = Search(link, s);
    if (Found(result)) break;
  }
  return result;
}

uint32_t SwapHalves(uint32_t value) { return value << 16 | value >> 16; }

PciChipIds ReadChipIds(DriverLink& link, uint32_t search) {
  PciChipIds ids;
  if (!Found(search)) return ids;
  PciAddress address = search >> 16;
  uint32_t id = ReadPciConfigDword(link, address, 0x00);
  ids.vendor = id & 0xFFFF;
  ids.device = id >> 16;
  ids.revision = ReadPciConfigDword(link, address, 0x08) & 0xFF;
  ids.subsystem = SwapHalves(ReadPciConfigDword(link, address, 0x2C));
  ids.pair = ids.vendor << 16 | ids.device;
  return ids;
}

PciChip Chip(const PciChipIds& ids) { return {ids.vendor, ids.device, ids.revision}; }

// Text ids of the three blocks: reserved, name, reserved, reserved.
namespace ids = probe_id;
constexpr uint32_t kBlockTextIds = 12;
constexpr uint32_t kIdChipIdsBase[] = {ids::kChipsetNorthIds, ids::kChipsetSouthIds,
                                       ids::kChipsetVideoIds};

}  // namespace

PciProbe::PciProbe(ProbeEnvironment& env) : env_(env) {
  if (env_.driver.Status() != kDriverOpen) return;
  const PciNameDatabase db(env_.programFolder);
  Identify();
  Name(db);
  ScanBus(db);
}

void PciProbe::Identify() {
  DriverLink& link = env_.driver;
  uint32_t south = SearchInOrder(link, kSouthBridgeSearches);
  chips_[kSouth] = ReadChipIds(link, south);
  uint32_t north = Search(link, chips_[kSouth].pair == kNforceSouthPair ? kNforceNorthBridgeSearch
                                                                         : kNorthBridgeSearch);
  chips_[kNorth] = ReadChipIds(link, north);
  chips_[kVideo] = ReadChipIds(link, SearchInOrder(link, kVideoSearches));
  RecordNorthBridge(chips_[kNorth].pair, north);
}

std::string PciProbe::VendorFallback(const PciNameDatabase& db, uint32_t vendor) const {
  if (vendor == 0) return {};
  std::string name;
  if (db.VendorName(vendor, name)) return name + " Unknown";
  return "Unknown";
}

void PciProbe::Name(const PciNameDatabase& db) {
  const char* files[kParts] = {kChipDatabase, kChipDatabase, kVideoDatabase};
  for (int part = kNorth; part < kParts; ++part) {
    std::string name;
    if (!db.ChipName(files[part], Chip(chips_[part]), name)) {
      ++missingNames_;
      name = VendorFallback(db, chips_[part].vendor);
    }
    partName_[part] = std::move(name);
  }
  if (!db.ChipsetName(Chip(chips_[kNorth]), Chip(chips_[kSouth]), chipsetName_)) {
    ++missingNames_;
    chipsetName_ = VendorFallback(db, chips_[kNorth].vendor);
  }

  PciChipsetNames names{chips_[kNorth].pair, chips_[kNorth].revision, chips_[kSouth].pair,
                        partName_[kNorth],   partName_[kSouth],       chipsetName_};
  ApplyPciSpecialCases(names);
  partName_[kNorth] = std::move(names.north);
  partName_[kSouth] = std::move(names.south);
  chipsetName_ = std::move(names.chipset);

  CutToCapacity(chipsetName_, kChipsetNameCapacity);
  for (std::string& name : partName_) CutToCapacity(name, kPartNameCapacity);
}

void PciProbe::ScanBus(const PciNameDatabase& db) {
  DriverLink& link = env_.driver;
  for (uint32_t bus = 0; bus < 256; ++bus) {
    for (uint32_t device = 0; device < 32; ++device) {
      for (uint32_t function = 0; function < 8; ++function) {
        // Further functions are dropped: the table has no room for them.
        if (deviceCount_ == kPciTableEntries) return;
        PciAddress address = MakePciAddress(bus, device, function);
        uint32_t ids = ReadPciConfigDword(link, address, 0x00);
        uint32_t vendor = ids & 0xFFFF;
        if (vendor != 0xFFFF && vendor != 0) Store(db, address, ids);
        // A failed read has all low bits set, so it counts as multi-function.
        uint32_t headerType = ReadPciConfigByte(link, address, 0x0E);
        if (function == 0 && (headerType & 0x80) == 0) break;
      }
    }
  }
}

void PciProbe::Store(const PciNameDatabase& db, PciAddress address, uint32_t ids) {
  DriverLink& link = env_.driver;
  const uint32_t n = deviceCount_;
  const uint32_t vendor = ids & 0xFFFF;
  const uint32_t classRevision = ReadPciConfigDword(link, address, 0x08);
  const uint32_t subsystem = SwapHalves(ReadPciConfigDword(link, address, 0x2C));
  const uint32_t subsystemVendor = subsystem >> 16;

  table_.bus[n] = PciBus(address);
  table_.deviceNumber[n] = PciDevice(address);
  table_.function[n] = PciFunction(address);
  table_.vendor[n] = vendor;
  table_.device[n] = ids >> 16;
  table_.revision[n] = classRevision & 0xFF;
  table_.classCode[n] = classRevision >> 8;
  table_.subsystem[n] = subsystem;

  std::string text;
  if (!db.ClassName(table_.classCode[n], text)) text.clear();
  table_.className[n] = text;
  if (!db.VendorName(vendor, text)) text = "Unknown";
  table_.vendorName[n] = text;
  text.clear();
  if (subsystemVendor != 0 && !db.VendorName(subsystemVendor, text)) text = "Unknown";
  table_.subsystemVendorName[n] = text;
  if (!db.DeviceName(vendor, table_.device[n], text)) text = "Unknown";
  table_.deviceName[n] = text;

  for (auto* column : {&table_.className, &table_.vendorName, &table_.deviceName,
                       &table_.subsystemVendorName}) {
    CutToCapacity((*column)[n], kPciTableTextCapacity);
  }
  ++deviceCount_;
}

int32_t PciProbe::GetString(uint32_t id, std::string& text) {
  text.clear();
  if (id == ids::kChipsetName) {
    text = chipsetName_;
    return 0;
  }
  if (id >= ids::kChipsetBlockText && id < ids::kChipsetBlockText + kBlockTextIds) {
    uint32_t slot = id - ids::kChipsetBlockText;
    if (slot % 4 == 1) text = partName_[slot / 4];  // the others are reserved, always empty
    return 0;
  }
  uint32_t column = id & 0xFF00, n = id & 0xFF;
  if (n < kPciTableEntries) {
    switch (column) {
      case ids::kPciClassName: text = table_.className[n]; return 0;
      case ids::kPciVendorName: text = table_.vendorName[n]; return 0;
      case ids::kPciDeviceName: text = table_.deviceName[n]; return 0;
      case ids::kPciSubsystemVendorName: text = table_.subsystemVendorName[n]; return 0;
      default: break;
    }
  }
  return -1;
}

int32_t PciProbe::GetInt(uint32_t id, int32_t& value) {
  auto answer = [&](uint32_t v) {
    value = static_cast<int32_t>(v);
    return 0;
  };
  if (id == ids::kChipsetMissingNames) return answer(static_cast<uint32_t>(missingNames_));
  if (id == ids::kPciDeviceCount) return answer(deviceCount_);
  for (int part = kNorth; part < kParts; ++part) {
    const PciChipIds& c = chips_[part];
    switch (id - kIdChipIdsBase[part]) {
      case 0: return answer(c.vendor);
      case 1: return answer(c.device);
      case 2: return answer(c.revision);
      case 3: return answer(c.subsystem);
      case 4: return answer(c.pair);
      default: break;
    }
  }
  uint32_t column = id & 0xFF00, n = id & 0xFF;
  if (n < kPciTableEntries) {
    switch (column) {
      case ids::kPciVendor: return answer(table_.vendor[n]);
      case ids::kPciDevice: return answer(table_.device[n]);
      case ids::kPciRevision: return answer(table_.revision[n]);
      case ids::kPciSubsystem: return answer(table_.subsystem[n]);
      case ids::kPciClassCode: return answer(table_.classCode[n]);
      case ids::kPciBus: return answer(table_.bus[n]);
      case ids::kPciDeviceNumber: return answer(table_.deviceNumber[n]);
      case ids::kPciFunction: return answer(table_.function[n]);
      default: break;
    }
  }
  value = -1;
  return -1;
}

void PciProbe::PrepareChipsetK7() { velora::PrepareChipsetK7(env_.driver); }
void PciProbe::PrepareChipsetK8() { velora::PrepareChipsetK8(env_.driver); }

}  // namespace velora
