#include "info/machine_model.h"

#include <cerrno>
#include <cstdlib>

#include "core/ui_language.h"
#include "info/drive_list.h"
#include "info/feature_tables.h"

namespace velora {

namespace {

// A whole text read as a number in the base given; anything else (empty, "-", "Unknown") is not
// known.
Known<int64_t> Integer(const std::string& text, int base) {
  const std::string t = WithoutPadding(text);
  if (t.empty()) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(t.c_str(), &end, base);
  if (errno != 0 || end == t.c_str() || *end != '\0') return std::nullopt;
  return v;
}

// A measured figure: a decimal number above 0; 0 and below mean "not measured".
Known<double> Positive(const std::string& text) {
  const std::string t = WithoutPadding(text);
  if (t.empty()) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(t.c_str(), &end);
  if (end == t.c_str() || *end != '\0' || !(v > 0)) return std::nullopt;
  return v;
}

Known<int64_t> Count(int64_t v) { return v > 0 ? Known<int64_t>(v) : std::nullopt; }
Known<int64_t> Bytes(uint64_t v) {
  return v > 0 ? Known<int64_t>(static_cast<int64_t>(v)) : std::nullopt;
}

void FillCpu(CpuModel& m, const CpuPageData& p) {
  m.vendor = WithoutPadding(p.vendorString);
  m.name = WithoutPadding(p.cpuName);
  m.brand = WithoutPadding(p.nameString);
  m.codeName = WithoutPadding(p.codeName);
  m.processUm = Positive(p.process);
  m.platform = WithoutPadding(p.platform);
  m.type = WithoutPadding(p.cpuType);
  m.family = Integer(p.family, 16);
  m.model = Integer(p.model, 16);
  m.stepping = Integer(p.stepping, 16);
  m.extendedFamily = Integer(p.familyEx, 16);
  m.extendedModel = Integer(p.modelEx, 16);
  m.clockMhz = Positive(p.internalClockCurrent);
  m.clockOriginalMhz = Positive(p.internalClockOriginal);
  m.systemClockMhz = Positive(p.systemClockCurrent);
  m.systemClockOriginalMhz = Positive(p.systemClockOriginal);
  m.systemBusMhz = Positive(p.systemBusCurrent);
  m.multiplier = Positive(p.multiplierCurrent);
  m.multiplierOriginal = Positive(p.multiplierOriginal);
  m.logicalProcessors = Integer(p.number, 10);
  for (int i = 0; i < kCpuLabelCount; ++i)
    m.capabilities.emplace_back(kCpuLabelNames[static_cast<size_t>(i)],
                                p.labels[static_cast<size_t>(i)]);
  m.extensions = p.extensions;
  for (const CpuCacheRow& row : p.cacheRows) {
    m.caches.push_back({row.cache,
                        row.sizeKb > 0 ? Known<int64_t>(row.sizeKb * 1024) : std::nullopt,
                        Count(row.ways), Count(row.lineBytes)});
  }
}

std::vector<FeatureModel> Features(const FeaturePageData& p) {
  std::vector<FeatureModel> features;
  for (int r = 0; r < kFeatureRegisterCount; ++r) {
    const auto reg = static_cast<FeatureRegister>(r);
    const FeatureTable table = FeatureTableFor(reg, p.vendorShortName);
    const uint32_t bits = p.registers[static_cast<size_t>(r)];
    for (int bit = 0; bit < 32; ++bit) {
      const FeatureBit& named = table[static_cast<size_t>(bit)];
      const bool set = ((bits >> bit) & 1u) != 0;
      // Unnamed bits are listed only when set, so nothing the processor reports is lost.
      if (*named.name == '\0' && !set) continue;
      features.push_back(
          {FeatureTableCaption(reg), bit, named.name, WithoutPadding(named.description), set});
    }
  }
  return features;
}

void FillDevice(MachineModel& m, const DevicePageData& p,
                const std::optional<X11DisplayMode>& mode) {
  auto& d = m.device;
  d.chipset = WithoutPadding(p.chipset);
  d.northBridge = WithoutPadding(p.north);
  d.southBridge = WithoutPadding(p.south);
  d.ideController = WithoutPadding(p.ideController);
  d.video = WithoutPadding(p.video);
  d.videoVendor = WithoutPadding(p.videoVendor);
  d.videoChip = WithoutPadding(p.videoChip);
  d.videoProduct = WithoutPadding(p.videoProduct);
  d.videoDriverVersion = WithoutPadding(p.driverVersion);
  d.videoDriverDate = WithoutPadding(p.driverDate);
  // The collector gives video memory in MB.
  if (const auto mb = Integer(p.videoRam, 10); mb && *mb > 0) d.videoMemoryBytes = *mb * 1048576;
  if (mode) {
    d.displayWidth = Count(mode->width);
    d.displayHeight = Count(mode->height);
    d.displayBitsPerPixel = Count(mode->bitsPerPixel);
    d.displayRefreshHz = Count(mode->refreshRate);
  }
  d.fontSmoothing = WithoutPadding(p.fontSmoothing);
  d.openGlVersion = WithoutPadding(p.openGlVersion);
  d.openGlRenderer = WithoutPadding(p.openGlRenderer);
  d.vulkanVersion = WithoutPadding(p.vulkanVersion);
  for (const NetworkAdapterRow& a : p.adapters) {
    NetworkAdapterModel n{WithoutPadding(a[0]), WithoutPadding(a[1]), WithoutPadding(a[2]),
                          WithoutPadding(a[3]), WithoutPadding(a[4]), WithoutPadding(a[5]),
                          WithoutPadding(a[6]), WithoutPadding(a[8]), {},
                          Integer(a[9], 10)};
    // The list joins the IPv6 addresses with ", ".
    for (size_t at = 0; at < a[7].size();) {
      const size_t comma = a[7].find(',', at);
      const std::string one = WithoutPadding(a[7].substr(at, comma - at));
      if (!one.empty()) n.ipv6.push_back(one);
      at = comma == std::string::npos ? a[7].size() : comma + 1;
    }
    d.adapters.push_back(n);
  }
}

// The list's identifiers are hexadecimal with an "h" behind them ("8086h").
Known<int64_t> Hex(const std::string& cell) {
  std::string t = WithoutPadding(cell);
  if (!t.empty() && (t.back() == 'h' || t.back() == 'H')) t.pop_back();
  return Integer(t, 16);
}

PciFunctionModel PciFunction(const PciRow& r) {
  PciFunctionModel f;
  f.bus = Integer(r[kPciBusCell], 10);
  f.device = Integer(r[kPciDeviceCell], 10);
  f.function = Integer(r[kPciFunctionCell], 10);
  f.vendorId = Hex(r[kPciVendorIdCell]);
  f.deviceId = Hex(r[kPciDeviceIdCell]);
  f.revision = Hex(r[kPciRevisionCell]);
  // The subsystem cell is the subsystem's device id, then its vendor id, 4 digits each.
  std::string sub = WithoutPadding(r[kPciSubsystemCell]);
  if (!sub.empty() && (sub.back() == 'h' || sub.back() == 'H')) sub.pop_back();
  if (sub.size() == 8) {
    f.subsystemId = Integer(sub.substr(0, 4), 16);
    f.subsystemVendorId = Integer(sub.substr(4), 16);
  }
  f.classCode = Hex(r[kPciClassCell]);
  f.type = WithoutPadding(r[kPciTypeCell]);
  f.vendor = WithoutPadding(r[kPciVendorNameCell]);
  f.name = WithoutPadding(r[kPciDeviceNameCell]);
  f.subsystemVendor = WithoutPadding(r[kPciSubsystemVendorCell]);
  return f;
}

void FillDisks(MachineModel& m, const DiskPageData& p) {
  for (size_t i = 0; i < p.rows.size(); ++i) {
    const DiskRow& row = p.rows[i];
    DiskModel d;
    d.model = WithoutPadding(row.identity.model);
    d.serialNumber = WithoutPadding(row.identity.serialNumber);
    d.firmware = WithoutPadding(row.identity.firmwareRevision);
    d.interface = WithoutPadding(row.interfaceText);
    d.device = row.deviceName;
    d.ataStandard = WithoutPadding(row.identity.ataStandard);
    d.maximumMode = WithoutPadding(row.identity.maximumMode);
    d.currentMode = WithoutPadding(row.identity.currentMode);
    // Sizes are kept in units of 10^8 bytes, the precision the page shows.
    if (row.identity.diskSize > 0) d.sizeBytes = int64_t{row.identity.diskSize} * 100000000;
    d.bufferBytes = Count(row.identity.bufferBytes);
    d.needsPrivilege = row.identifyNeedsPrivilege;
    m.disks.push_back(d);
  }
  for (const DriveRow& drive : p.drives) {
    VolumeModel v;
    v.mountPoint = drive.mountPoint;
    v.fileSystem = drive.fsType;
    v.kind = DriveKindText(drive, kEnglish);
    if (drive.hasSpace) {
      v.totalBytes = static_cast<int64_t>(drive.space.totalBytes);
      v.availableBytes = static_cast<int64_t>(drive.space.availableBytes);
    }
    m.volumes.push_back(v);
  }
}

}  // namespace

std::string WithoutPadding(const std::string& text) {
  const char* blanks = " \t\r\n";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

MachineModel BuildMachineModel(const MachineModelInputs& in) {
  MachineModel m;
  m.unavailable = in.unavailable;
  if (in.os != nullptr) {
    m.os = {WithoutPadding(in.os->name), WithoutPadding(in.os->edition),
            WithoutPadding(in.os->servicePack), WithoutPadding(in.os->build), ""};
  }
  if (in.system != nullptr) {
    m.hasSystem = true;
    const SystemPageData& s = *in.system;
    m.os.installDate = WithoutPadding(s.installDate);
    m.bios = {WithoutPadding(s.biosVendor),    WithoutPadding(s.biosCaption),
              WithoutPadding(s.biosVersion),   WithoutPadding(s.biosDate),
              WithoutPadding(s.smbiosCaption), WithoutPadding(s.smbiosVersion)};
    m.board = {WithoutPadding(s.motherVendor), WithoutPadding(s.motherProduct),
               WithoutPadding(s.motherVersion), WithoutPadding(s.systemVendor),
               WithoutPadding(s.systemModel)};
  }
  if (in.facts != nullptr) {
    const FixedSystemFacts& f = *in.facts;
    m.system.machineName = f.machineName;
    m.system.userName = f.userName;
    m.system.homeDirectory = f.homeDirectory;
    m.system.libraryDirectory = f.libraryDirectory;
    m.system.pageSizeBytes = Bytes(f.pageSize);
    m.system.minimumAddress = static_cast<int64_t>(f.minimumAddress);
    m.system.maximumAddress = Bytes(f.maximumAddress);
  }
  m.system.upTimeSeconds = in.upTimeSeconds;
  // No memory table read (a recording without one): every figure stays unknown.
  if (in.memory != nullptr && in.memory->physicalTotal != 0) {
    const MemoryStatus& s = *in.memory;
    m.memory = {Bytes(s.physicalTotal), Bytes(s.physicalAvailable),
                Bytes(s.pageTotal),     static_cast<int64_t>(s.pageAvailable),
                Bytes(s.virtualTotal),  Bytes(s.virtualAvailable)};
  }
  if (in.cpu != nullptr) {
    m.hasCpu = true;
    FillCpu(m.cpu, *in.cpu);
  }
  if (in.feature != nullptr) {
    m.hasFeatures = true;
    m.features = Features(*in.feature);
  }
  if (in.device != nullptr) {
    m.hasDevice = true;
    FillDevice(m, *in.device, in.display);
  }
  if (in.pci != nullptr) {
    m.hasPci = true;
    for (const PciRow& row : in.pci->rows) m.pci.push_back(PciFunction(row));
  }
  if (in.disk != nullptr) {
    m.hasDisks = true;
    FillDisks(m, *in.disk);
  }
  if (in.libraries != nullptr) {
    m.hasLibraries = true;
    for (const DllPageData& page : *in.libraries) {
      const char* category =
          DllCategories()[static_cast<size_t>(DllCategoryIndex(page.category))].english;
      for (const DllRow& row : page.rows)
        m.libraries.push_back(
            {category, WithoutPadding(row[0]), WithoutPadding(row[1]), WithoutPadding(row[2])});
    }
  }
  if (in.info != nullptr) {
    m.hasComponents = true;
    for (const ComponentVersion& c : in.info->versions)
      m.components.push_back(
          {WithoutPadding(c.component), WithoutPadding(c.version), WithoutPadding(c.date)});
  }
  return m;
}

}  // namespace velora
