#include "info/machine_model.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace velora {
namespace {

using nlohmann::json;

// Page texts as the pages show them (padded, hexadecimal, "%4.2f"), and what the model must
// make of each: the numbers worked out by hand from the texts.
TEST(MachineModel, PageTextsBecomeTypedValuesAndUnreadOnesNull) {
  CpuPageData cpu;
  cpu.vendorString = "AuthenticAMD";
  cpu.cpuName = " AMD Ryzen 7 9700X ";
  cpu.family = "F";
  cpu.familyEx = "B";
  cpu.model = "4";
  cpu.stepping = "0";
  cpu.internalClockCurrent = "3800.25";
  cpu.internalClockOriginal = "";  // not measured
  cpu.multiplierCurrent = "0.00";  // not measured either
  cpu.number = "16";
  cpu.process = "0.004";
  cpu.labels[kCpuLabelNx] = true;
  cpu.cacheRows = {
      {"L2 Cache", "1024 KB, 16 way set associative, 64 byte line size.", 1024, 16, 64}};
  PciPageData pci;
  PciRow row{};
  row[kPciBusCell] = "31";  // the page prints bus, device and function in decimal
  row[kPciDeviceCell] = "0";
  row[kPciFunctionCell] = "3";
  row[kPciVendorIdCell] = "8086h";
  row[kPciDeviceIdCell] = "2918h";
  row[kPciRevisionCell] = "02h";
  row[kPciSubsystemCell] = "50001458h";  // device 0x5000 of vendor 0x1458
  row[kPciClassCell] = "060100h";
  row[kPciVendorNameCell] = " Intel Corporation";
  pci.rows = {row};
  MemoryStatus memory;
  memory.physicalTotal = 25769803776;
  MachineModelInputs in;
  in.cpu = &cpu;
  in.pci = &pci;
  in.memory = &memory;
  const json j = json::parse(MachineModelJson(BuildMachineModel(in), "0.9.115"));

  EXPECT_EQ(j.at("schema_version"), 1);
  EXPECT_EQ(j.at("memory").at("total_bytes"), 25769803776);
  EXPECT_TRUE(j.at("memory").at("available_bytes").is_null());
  const json& c = j.at("cpu");
  EXPECT_EQ(c.at("name"), "AMD Ryzen 7 9700X");
  EXPECT_EQ(c.at("family"), 15);
  EXPECT_EQ(c.at("extended_family"), 11);
  EXPECT_EQ(c.at("model"), 4);
  EXPECT_EQ(c.at("stepping"), 0);
  EXPECT_DOUBLE_EQ(c.at("clock_mhz").get<double>(), 3800.25);
  EXPECT_TRUE(c.at("clock_original_mhz").is_null());
  EXPECT_TRUE(c.at("multiplier").is_null());
  EXPECT_TRUE(c.at("code_name").is_null());
  EXPECT_EQ(c.at("logical_processors"), 16);
  EXPECT_DOUBLE_EQ(c.at("process_um").get<double>(), 0.004);
  EXPECT_EQ(c.at("capabilities").at("nx"), true);
  EXPECT_EQ(c.at("capabilities").at("mmx"), false);
  EXPECT_EQ(c.at("caches").at(0).at("size_bytes"), 1048576);
  EXPECT_EQ(c.at("caches").at(0).at("ways"), 16);
  const json& f = j.at("pci").at(0);
  EXPECT_EQ(f.at("bus"), 31);
  EXPECT_EQ(f.at("function"), 3);
  EXPECT_EQ(f.at("vendor_id"), 0x8086);
  EXPECT_EQ(f.at("device_id"), 0x2918);
  EXPECT_EQ(f.at("subsystem_vendor_id"), 0x1458);
  EXPECT_EQ(f.at("subsystem_id"), 0x5000);
  EXPECT_EQ(f.at("class_code"), 0x060100);
  EXPECT_EQ(f.at("vendor"), "Intel Corporation");
  EXPECT_FALSE(j.contains("disks")) << "parts not collected are left out";
}

TEST(MachineModel, TextsTrimmedBytesReplacedSpaceAsTheUserHasIt) {
  SystemPageData system;
  system.biosVendor = " Bad\xff byte\r\n";
  system.motherProduct = "   ";
  // What the user can write, as df shows it, not every free block.
  DriveRow root;
  root.mountPoint = "/";
  root.hasSpace = true;
  root.space = {270553174016, 85000000000, 71272710144};
  const DiskPageData disk = MakeDiskPageData({}, {root});
  MachineModelInputs in;
  in.system = &system;
  in.disk = &disk;
  const json j = json::parse(MachineModelJson(BuildMachineModel(in), "0.9.115"));
  EXPECT_EQ(j.at("bios").at("vendor"), "Bad\xEF\xBF\xBD byte");
  EXPECT_TRUE(j.at("board").at("product").is_null());
  EXPECT_EQ(j.at("volumes").at(0).at("available_bytes"), 71272710144);
  EXPECT_EQ(j.at("volumes").at(0).at("total_bytes"), 270553174016);
}

}  // namespace
}  // namespace velora
