// The backends of a recorded machine: CPUID pinned processor by processor, the driver link's
// PCI and physical memory as the probe walks them, the clock, the disks.

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/fake/fake_clock_source.h"
#include "platform/fake/fake_cpuid_source.h"
#include "platform/fake/fake_directx_sources.h"
#include "platform/fake/fake_driver_link.h"
#include "platform/fake/fake_system_queries.h"
#include "platform/replay/replay_clock_source.h"
#include "platform/replay/replay_cpuid_source.h"
#include "platform/replay/replay_disk_commands.h"
#include "platform/replay/replay_driver_link.h"
#include "probe/pci/pci_config.h"
#include "probe/probe_id_table.h"
#include "probe/probix_object.h"
#include "probe/smbios/smbios_probe.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) { return testing::ReadText(path.string()); }

const fs::path kData = VELORA_TESTDATA;

TEST(ReplayCpuid, PinsTheRecordedProcessorOfEachPosition) {
  CpuidRecording recording;
  std::string error;
  // Leaf 1 EBX bits 31-24: the initial APIC id, 0 and 2.
  ASSERT_TRUE(ParseCpuidRecording(
      "CPU 0:\n   0x00000001 0x00: eax=0x000006f6 ebx=0x00020800 ecx=0x0 edx=0x0\n"
      "CPU 1:\n   0x00000001 0x00: eax=0x000006f6 ebx=0x02020800 ecx=0x0 edx=0x0\n",
      recording, error));
  ReplayCpuidSource cpuid(recording);
  EXPECT_TRUE(cpuid.Available());
  EXPECT_EQ(cpuid.Query(1, 0).ebx >> 24, 0u) << "unpinned: the first processor";
  struct Step {
    uint32_t mask;
    bool pinned;
    uint32_t apicId;  // of the processor answering afterwards
  };
  const Step steps[] = {
      {0b10, true, 2}, {0b100, false, 2}, {0, false, 2}, {0b01, true, 0}, {0b110, true, 2},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(cpuid.PinThread(s.mask), s.pinned) << s.mask;
    EXPECT_EQ(cpuid.Query(1, 0).ebx >> 24, s.apicId) << s.mask;
  }
  cpuid.RestoreThread();
  EXPECT_EQ(cpuid.Query(1, 0).ebx >> 24, 0u);
  EXPECT_EQ(cpuid.Query(0x80000000, 0).eax, 0u) << "a leaf not recorded answers zeros";
  EXPECT_FALSE(ReplayCpuidSource(CpuidRecording{}).Available());
}

RecordedPciFunction Function(uint32_t domain, PciAddress address, size_t bytes) {
  RecordedPciFunction f{domain, address, std::vector<uint8_t>(bytes)};
  for (size_t i = 0; i < bytes; ++i) f.config[i] = static_cast<uint8_t>(i);
  return f;
}

TEST(ReplayDriverLink, AnswersDomainZeroAsTheLiveLink) {
  const PciAddress a = MakePciAddress(0, 0x1F, 2);
  ReplayDriverLink link({Function(0, a, 64), Function(1, MakePciAddress(0, 3, 0), 256)},
                        std::nullopt);
  EXPECT_EQ(link.Status(), kDriverOpen);
  EXPECT_EQ(ReplayDriverLink({}, std::nullopt).Status(), kDriverNoDevice);
  struct Read {
    PciAddress address;
    uint32_t offset;
    size_t count;
    uint32_t result;
  };
  const Read reads[] = {
      {a, 0x3C, 4, 0},
      {a, 0x3E, 4, EIO},  // past the 64 bytes an ordinary user reads
      {a, 0x40, 1, EIO},
      {a, 0xFFFFFFFF, 1, EIO},
      {a | 0x10000, 0, 4, 0},  // the live link looks at the low 16 bits only
      {MakePciAddress(0, 0x1F, 3), 0, 4, kPciErrorDeviceAbsent},
      {MakePciAddress(0, 3, 0), 0, 4, kPciErrorDeviceAbsent},  // recorded in domain 1
  };
  for (const Read& r : reads) {
    uint8_t bytes[4] = {};
    EXPECT_EQ(link.ReadPciConfig(r.address, r.offset, bytes, r.count), r.result) << r.offset;
    if (r.result == 0) {
      EXPECT_EQ(bytes[0], static_cast<uint8_t>(r.offset));
    }
  }
  const uint8_t zero = 0;
  EXPECT_EQ(link.WritePciConfig(a, 4, &zero, 1), static_cast<uint32_t>(EPERM));
  uint8_t after = 0;
  link.ReadPciConfig(a, 4, &after, 1);
  EXPECT_EQ(after, 4) << "a refused write changes nothing";
  uint32_t low = 1, high = 1;
  EXPECT_FALSE(link.ReadMsr(0x17, low, high));
  EXPECT_EQ(low | high, 0u);
  EXPECT_FALSE(link.WriteMsr(0x17, 0, 0));
  EXPECT_EQ(link.ReadPort32(0xCF8), 0u);
  char memory[16];
  EXPECT_EQ(link.ReadPhysicalMemory(0xF0000, memory, sizeof memory), 0u) << "no SMBIOS recorded";
}

// The probe's walks over a recorded guest: its first domain, not the second.
TEST(ReplayDriverLink, TheProbeWalksTheRecordedFunctions) {
  std::vector<RecordedPciFunction> functions;
  std::string error;
  ASSERT_TRUE(ParsePciRecording(Contents(kData / "pci-config/hwloc_cloudstack-kvm-vm.lspci-x.txt"),
                                functions, error));
  ReplayDriverLink link(functions, std::nullopt);
  // 00:01.0 the PIIX3 ISA bridge (class 0601); 00:01.1 its IDE function (class 0101,
  // interface 80), walked because 00:01.0's header type has bit 7 set (80).
  EXPECT_EQ(FindPciClass(link, 0x06, 0x01, 0x00, 0), MakePciAddress(0, 1, 0) << 16);
  EXPECT_EQ(FindPciClass(link, 0x01, 0x01, 0x80, 0), MakePciAddress(0, 1, 1) << 16);
  EXPECT_EQ(FindPciDevice(link, 0x1013, 0x00B8, 0), MakePciAddress(0, 2, 0) << 16);
  EXPECT_EQ(FindPciDevice(link, 0x1AF4, 0x1001, 0), kPciDeviceNotFound) << "domain 10000";
  EXPECT_EQ(FindPciDevice(link, 0x8086, 0x1237, 1), kPciDeviceNotFound) << "one in domain 0";
}

// A recording with PCI opens the link, but no MSR answers: the processor part answers every
// id as on a machine whose PCI functions are readable and whose MSRs are not.
TEST(ReplayDriverLink, TheProcessorPartDegradesAsWithoutMsrAccess) {
  CpuidRecording cpuid;
  std::vector<RecordedPciFunction> functions;
  std::string error;
  // A Core 2, whose identification reads MSRs 0x17, 0x2A and 0x8B.
  ASSERT_TRUE(ParseCpuidRecording(
      Contents(kData / "cpuid/intel/x86-64/core/intel-core2-duo-cpu-e6750.txt"), cpuid, error));
  ASSERT_TRUE(ParsePciRecording(Contents(kData / "pci-config/hwloc_cloudstack-kvm-vm.lspci-x.txt"),
                                functions, error));
  ReplayDriverLink replay(functions, std::nullopt);
  FakeDriverLink withoutMsrs;  // open, and no MSR recorded
  struct Machine {
    Machine(DriverLink& link, const CpuidRecording& recording) : driver(link), cpuid(recording) {
      clock.tscMhz = 0.0;
    }
    DriverLink& driver;
    ReplayCpuidSource cpuid;
    FakeClockSource clock;
    FakeDirectXSources directx;
    FakeSystemQueries system;
    std::atomic<int32_t> status{0};
    ProbeEnvironment env{driver, clock, directx, status, cpuid, system, "", "", ""};
  };
  Machine a(replay, cpuid), b(withoutMsrs, cpuid);
  std::vector<std::unique_ptr<ProbixObject>> probes;
  for (Machine* m : {&a, &b})
    probes.push_back(std::make_unique<ProbixObject>(m->env, kCreateCpuProbe));
  char text[2][kProbeTextCapacity] = {};
  std::string name;
  for (uint32_t id = kCpuIds.first; id < kCpuIds.end; ++id) {
    int32_t value[2] = {};
    for (int i = 0; i < 2; ++i) {
      probes[static_cast<size_t>(i)]->GetString(id, text[i]);
      probes[static_cast<size_t>(i)]->GetInt(id, &value[i]);
    }
    EXPECT_STREQ(text[0], text[1]) << std::hex << id;
    EXPECT_EQ(value[0], value[1]) << std::hex << id;
    if (id == probe_id::kCpuName) name = text[0];
  }
  EXPECT_EQ(name, "Core2 Duo E6750");
}

struct SmbiosCase {
  const char* what;
  const char* entryPoint;  // a file of the pair, or nullptr
  const char* file;
  const char* texts[5];  // BIOS vendor, version, date; board maker, product
};

// The texts as the files hold them (their strings are readable in the bytes).
const SmbiosCase kSmbiosCases[] = {
    {"dump-bin, SMBIOS 2.4",
     nullptr,
     "ep-plus-table/uroot_Gigabyte-GA-MA74GMT-S2.dumpbin.bin",
     {"Award Software International, Inc.", "F8", "08/03/2010", "Gigabyte Technology Co., Ltd.",
      "GA-MA74GMT-S2"}},
    {"dump-bin, SMBIOS 3.0",
     nullptr,
     "ep-plus-table/uroot_Lenovo-ThinkPad-T480.dumpbin.bin",
     {"LENOVO", "N22ET52W (1.29 )", "01/16/2019", "LENOVO", "20L8S07A14"}},
    {"a table shorter than its entry's maximum",
     nullptr,
     "ep-plus-table/siderolabs_Beelink-EQ12.ep-plus-table.bin",
     {"American Megatrends International, LLC.", "N95V106", "12/15/2023", "AZW", "EQ"}},
    {"Dell, table at 0xE0020",
     nullptr,
     "ep-plus-table/dell_IDS4235.smbios.dat",
     {"Dell Computer Corporation", "A04", "09/30/2002", "Dell Computer Corporation", "0U1426"}},
    {"a bare table",
     nullptr,
     "table-only/siderolabs_ASRock-Single-Ryzen.dmi",
     {"American Megatrends International, LLC.", "P1.20", "05/19/2021", "ASRockRack", "X570D4U"}},
    {"a bare table broken after five structures",
     nullptr,
     "table-only/siderolabs_HyperV.dmi",
     {"American Megatrends Inc.", "090008 ", "12/07/2018", "Microsoft Corporation",
      "Virtual Machine"}},
    {"the pair, table at 0x6A162000",
     "sysfs-pair/dell_xps13-9365/smbios_entry_point",
     "sysfs-pair/dell_xps13-9365/DMI",
     {"Dell Inc.", "1.0.21", "12/05/2017", "Dell Inc.", "0DVT6M"}},
    {"the pair, table inside the firmware segment at 0xF16E0",
     "sysfs-pair/dell_precision-t7600/smbios_entry_point",
     "sysfs-pair/dell_precision-t7600/DMI",
     {"Dell Inc.", "T51", "04/06/2012", "Dell Inc.", "      "}},
};

TEST(ReplayDriverLink, TheSmbiosProbeReadsEveryLayout) {
  for (const SmbiosCase& c : kSmbiosCases) {
    SCOPED_TRACE(c.what);
    SmbiosRecording recording;
    std::string error;
    const std::string table = Contents(kData / "smbios" / c.file);
    const bool parsed =
        c.entryPoint != nullptr
            ? ParseSmbiosPair(Contents(kData / "smbios" / c.entryPoint), table, recording, error)
            : ParseSmbiosRecording(table, recording, error);
    ASSERT_TRUE(parsed) << error;
    ReplayDriverLink link({}, recording);
    FakeClockSource clock;
    FakeDirectXSources directx;
    FakeCpuidSource cpuid;
    FakeSystemQueries system;
    std::atomic<int32_t> status{0};
    ProbeEnvironment env{link, clock, directx, status, cpuid, system, "", "", ""};
    SmbiosProbe probe(env);
    int32_t found = 0;
    probe.GetInt(probe_id::kSmbiosFound, found);
    EXPECT_EQ(found, 1);
    const uint32_t ids[5] = {probe_id::kSmbiosBiosVendor, probe_id::kSmbiosBiosVersion,
                             probe_id::kSmbiosBiosDate, probe_id::kSmbiosBoardVendor,
                             probe_id::kSmbiosBoardProduct};
    for (int i = 0; i < 5; ++i) {
      std::string text;
      probe.GetString(ids[i], text);
      EXPECT_EQ(text, c.texts[i]) << i;
    }
  }
}

TEST(ReplayDriverLink, PhysicalMemoryEndsWhereNothingWasRecorded) {
  SmbiosRecording recording;
  std::string error;
  ASSERT_TRUE(ParseSmbiosRecording(Contents(kData / "smbios/ep-plus-table/dell_IDS4235.smbios.dat"),
                                   recording, error));
  ReplayDriverLink link({}, recording);
  std::vector<uint8_t> bytes(0x20000);
  // The table: 1858 bytes at 0xE0020, nothing before it or after it up to the segment.
  EXPECT_EQ(link.ReadPhysicalMemory(0xE0020, bytes.data(), 4000), 1858u);
  EXPECT_EQ(bytes[0], recording.table[0]);
  EXPECT_EQ(link.ReadPhysicalMemory(0xE001F, bytes.data(), 4), 0u);
  EXPECT_EQ(link.ReadPhysicalMemory(0xFFFF0, bytes.data(), 0x20), 0x10u) << "the segment's end";
  EXPECT_EQ(link.ReadPhysicalMemory(0x100000, bytes.data(), 1), 0u);
  EXPECT_EQ(link.ReadPhysicalMemory(UINT64_MAX, bytes.data(), 2), 0u);
  // The entry point lies 16-byte aligned in the segment, as recorded.
  ASSERT_EQ(link.ReadPhysicalMemory(0xF0000, bytes.data(), 0x10000), 0x10000u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 0x1F), recording.entryPoint);

  // A table said to cover the whole segment leaves the entry point no room: the table moves.
  SmbiosRecording wide = recording;
  wide.tableAddress = 0xF0000;
  wide.table.assign(0x10000, 0);
  ReplayDriverLink moved({}, wide);
  ASSERT_EQ(moved.ReadPhysicalMemory(0xF0000, bytes.data(), 0x10000), 0x10000u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "_SM_");
  EXPECT_EQ(bytes[0x18] | bytes[0x19] << 8 | bytes[0x1A] << 16, 0x100000) << "the new address";
  EXPECT_EQ(moved.ReadPhysicalMemory(0x100000, bytes.data(), 0x10000), 0x10000u);
}

TEST(ReplayClock, TheCounterRunsAtTheRecordedClockOnThePerformanceCounter) {
  ReplayClockSource standing(0.0);
  EXPECT_EQ(standing.ReadTimeStampCounter(), 0u);
  EXPECT_EQ(ReplayClockSource(-5.0).ReadTimeStampCounter(), 0u);
  EXPECT_EQ(ReplayClockSource(std::nan("")).ReadTimeStampCounter(), 0u);

  // Ticks of 2000 MHz between two counter reads lie within the nanoseconds of the reads
  // around them and outside those of the reads between them.
  ReplayClockSource clock(2000.0);
  const uint64_t before = clock.PerformanceCounter();
  const uint64_t t0 = clock.ReadTimeStampCounter();
  const uint64_t inner0 = clock.PerformanceCounter();
  for (int i = 0; i < 1000; ++i) clock.YieldTimeSlice();
  const uint64_t inner1 = clock.PerformanceCounter();
  const uint64_t t1 = clock.ReadTimeStampCounter();
  const uint64_t after = clock.PerformanceCounter();
  EXPECT_EQ(clock.PerformanceFrequency(), 1'000'000'000u);
  EXPECT_GE(t1 - t0 + 2, 2 * (inner1 - inner0));
  EXPECT_LE(t1 - t0, 2 * (after - before) + 2);
}

TEST(ReplayDisks, AnswersByDeviceNameOrRefuses) {
  DiskRecording recording;
  recording.ata["sda"][0] = 0x40;
  RecordedNvme nvme;
  nvme.namespaceId = 1;
  nvme.controller[0] = 0x86;
  nvme.nameSpace = NvmeIdentifyData{};
  (*nvme.nameSpace)[0] = 0x10;
  recording.nvme["nvme0n1"] = nvme;
  ReplayDiskCommands disks(recording);
  IdentifyBlock block{};
  EXPECT_EQ(disks.AtaIdentify("/dev/sda", false, block), DiskCommandStatus::kDone);
  EXPECT_EQ(block[0], 0x40);
  EXPECT_EQ(disks.IdeIdentity("/root/dev/sda", block), DiskCommandStatus::kDone);
  EXPECT_EQ(disks.AtaIdentify("/dev/sdb", false, block), DiskCommandStatus::kRefused);
  uint32_t nsid = 0;
  EXPECT_EQ(disks.NvmeNamespaceId("/dev/nvme0n1", nsid), DiskCommandStatus::kDone);
  EXPECT_EQ(nsid, 1u);
  NvmeIdentifyData data{};
  EXPECT_EQ(disks.NvmeIdentify("/dev/nvme0n1", 1, 0, data), DiskCommandStatus::kDone);
  EXPECT_EQ(data[0], 0x86);
  EXPECT_EQ(disks.NvmeIdentify("/dev/nvme0n1", 0, 1, data), DiskCommandStatus::kDone);
  EXPECT_EQ(data[0], 0x10);
  EXPECT_EQ(disks.NvmeIdentify("/dev/nvme0n1", 0, 2, data), DiskCommandStatus::kRefused);
  EXPECT_EQ(disks.NvmeNamespaceId("/dev/sda", nsid), DiskCommandStatus::kRefused);
}

}  // namespace
}  // namespace velora
