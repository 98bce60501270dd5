#pragma once
// A recording folder as `velora record` lays it out, put together at run time from the recorded
// inputs of tests/data: a Haswell desktop processor's CPUID, a virtual machine's PCI functions
// (with a Cirrus VGA), an MSI H87-G43 board's SMBIOS tables, one SATA disk's IDENTIFY block as
// sda, and a desktop's sysfs tree (whose sda it answers for).

#include <filesystem>
#include <string>

#include "tests/support/recorded_tree.h"
#include "tests/support/temp_folder.h"

namespace velora::testing {

inline void MakeRecordedMachine(const std::string& folder) {
  namespace fs = std::filesystem;
  const fs::path data = VELORA_TESTDATA;
  const fs::path to = folder;
  fs::create_directories(to / "disks");
  fs::copy_file(data / "cpuid/intel/x86-64/haswell/intel-core-i7-4770-cpu.txt", to / "cpuid.txt");
  fs::copy_file(data / "pci-config/hwloc_cloudstack-kvm-vm.lspci-x.txt", to / "lspci.txt");
  fs::copy_file(data / "smbios/ep-plus-table/uroot_MSI-MS-7816.dumpbin.bin", to / "smbios.bin");
  fs::copy_file(data / "ata-identify/libatasmart_WDC_WD5000AAKS--00TMA0-12.01C01.txt",
                to / "disks/sda.identify.txt");
  CopyRecordedTree("utillinux_desktop-2018-nvme-ssd-hdd", (to / "root").string());
  WriteText((to / "manifest.json").string(),
            "{\"format\": \"velora-recording\", \"format_version\": 1, \"program\": \"velora "
            "0.9.115\", \"recorded_at\": \"2026-12-09T20:00:00Z\", \"machine\": \"x86_64\"}\n");
}

}  // namespace velora::testing
