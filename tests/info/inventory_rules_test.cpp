// The forms the inventory collector stores: dates, disk rows, video memory, driver version.

#include <gtest/gtest.h>

#include "info/inventory_rules.h"

namespace velora {
namespace {

TEST(InventoryDates, DayTextAndTheBiosDateRules) {
  EXPECT_EQ(DateTimeToDayText("20111026000000.000000+000"), "2011/10/26");
  EXPECT_EQ(DateTimeToDayText("1903010"), std::nullopt) << "seven characters are too few";
  // The "190" -> "200" rule mends two-digit-year firmware dates of the 2000s.
  EXPECT_EQ(BiosDateField("19030101"), " 2003/01/01");
  EXPECT_EQ(BiosDateField("20061018"), " 2006/10/18");
  EXPECT_EQ(BiosDateField("ABCD0101"), std::nullopt) << "not a positive number";
  EXPECT_EQ(BiosDateField("00000000"), std::nullopt);
  EXPECT_EQ(BiosDateField("2011"), std::nullopt);
}

TEST(InventoryDates, FirmwareDatesOfSysfs) {
  EXPECT_EQ(FirmwareDateToDateTime("10/26/2011\n"), "20111026");
  EXPECT_EQ(FirmwareDateToDateTime("01/01/1903"), "19030101");
  EXPECT_EQ(FirmwareDateToDateTime("2011-10-26"), "");
  EXPECT_EQ(FirmwareDateToDateTime("1/2/2011"), "");
  EXPECT_EQ(FirmwareDateToDateTime("aa/bb/cccc"), "");
  EXPECT_EQ(TrimRight("Dell                            \n"), "Dell");
}

TEST(InventoryDisks, SkippedRows) {
  const std::vector<std::string> identified{"WDC WD800JD-75MSA3"};
  // Spaces do not count when comparing with the identified drives.
  EXPECT_FALSE(DiskRowFor({"WDC  WD800JD-75MSA3", "SATA", "80026361856"}, identified, 0));
  EXPECT_FALSE(DiskRowFor({"Kingston SH103S3", "SATA", "0"}, identified, 0)) << "zero size";
  EXPECT_FALSE(DiskRowFor({"Kingston SH103S3", "SATA", ""}, identified, 0)) << "no size";
  EXPECT_FALSE(DiskRowFor({"A\\\\B", "SATA", "1000000000"}, identified, 0));
  EXPECT_FALSE(DiskRowFor({"AB", "S\\\\", "1000000000"}, identified, 0));
}

TEST(InventoryDisks, IdeDisksWaitForTheStartFlags) {
  const DiskObject ide{"ST320410A", "IDE", "20020396032"};
  EXPECT_FALSE(DiskRowFor(ide, {}, 0)) << "the disk identification covers IDE disks";
  for (uint32_t flags : {1u, 2u, 4u}) {
    auto row = DiskRowFor(ide, {}, flags);
    ASSERT_TRUE(row) << flags;
    EXPECT_EQ(row->interfaceType, "IDE");
    // 20020396032 / 1000 / 1000 / 100 = 200, times 0.1.
    EXPECT_EQ(row->sizeGb, "20.0");
  }
}

TEST(InventoryDisks, RowForms) {
  auto row = DiskRowFor({"PERC H700 SCSI Disk Device", "SCSI", "298999349248"}, {}, 0);
  ASSERT_TRUE(row);
  EXPECT_EQ(row->model, "PERC H700");
  // 298999349248 / 1000 / 1000 / 100 = 2989 -> 298.9, truncated, not rounded.
  EXPECT_EQ(row->sizeGb, "298.9");
  row = DiskRowFor({"Generic Disk", "SDCARD", "123456789012"}, {}, 0);
  ASSERT_TRUE(row);
  EXPECT_EQ(row->interfaceType, "") << "longer than four characters";
  EXPECT_EQ(row->sizeGb, "123.4");
}

TEST(InventoryVideo, MemoryAndDriverVersion) {
  EXPECT_EQ(VideoMemoryText(134217728), "128");
  EXPECT_EQ(VideoMemoryText(33554432), "32");
  EXPECT_EQ(VideoMemoryText(1048575), "0");

  auto chosen = ChooseDriverVersion("2.0.0", "6.1.0-13-amd64");
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->text, "2.0.0");
  EXPECT_TRUE(chosen->fromFile);
  // A driver version that cannot be read falls back to the kernel's.
  chosen = ChooseDriverVersion("", "6.1.0-13-amd64");
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->text, "6.1.0-13-amd64");
  EXPECT_FALSE(chosen->fromFile);
  chosen = ChooseDriverVersion("0.0.9", "6.1.0");
  ASSERT_TRUE(chosen) << "below 0.01 counts as unreadable";
  EXPECT_FALSE(chosen->fromFile);
  EXPECT_FALSE(ChooseDriverVersion("", ""));
}

}  // namespace
}  // namespace velora
