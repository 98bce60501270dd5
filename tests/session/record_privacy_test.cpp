#include "session/record_privacy.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

#include "platform/replay/recorded_identify.h"
#include "session/record_system_files.h"
#include "tests/support/recorded_tree.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

namespace fs = std::filesystem;
using testing::ReadText;
using testing::TempFolder;

std::string Recorded(const std::string& path) {
  return ReadText(std::string(VELORA_TESTDATA) + "/" + path);
}

bool Holds(const std::vector<uint8_t>& bytes, const std::string& text) {
  return std::string(bytes.begin(), bytes.end()).find(text) != std::string::npos;
}

// An ATA string: two characters a word, the first in the high byte.
std::string AtaText(const IdentifyBlock& block, size_t firstWord, size_t words) {
  std::string text;
  for (size_t w = firstWord; w < firstWord + words; ++w) {
    text += static_cast<char>(block[2 * w + 1]);
    text += static_cast<char>(block[2 * w]);
  }
  return text;
}

TEST(RecordPrivacy, SmbiosSerialsAndUuidOfARecordedLaptopAreBlankedInPlace) {
  const std::string table = Recorded("smbios/sysfs-pair/dell_xps13-9365/DMI");
  std::vector<uint8_t> bytes(table.begin(), table.end());
  // The system's and chassis's serial "2R0Q2G2", the board's "/2R0Q2G2/CN1296374E0065/"; an
  // inactive structure (type 126) holds it too.
  ASSERT_TRUE(Holds(bytes, "2R0Q2G2"));
  ASSERT_TRUE(Holds(bytes, "CN1296374E0065"));
  BlankSmbiosSerials(bytes);
  EXPECT_EQ(bytes.size(), table.size());
  EXPECT_FALSE(Holds(bytes, "2R0Q2G2"));
  EXPECT_FALSE(Holds(bytes, "CN1296374E0065"));
  EXPECT_TRUE(Holds(bytes, "XPS 13 9365"));
  EXPECT_TRUE(Holds(bytes, "Dell Inc."));
  // The type 1 structure's UUID (bytes 8 to 23) is zero; it read 44 45 4C 4C ... before.
  size_t at = 0;
  while (at < bytes.size() && bytes[at] != 1) {
    size_t end = at + bytes[at + 1];
    while (!(bytes[end] == 0 && bytes[end + 1] == 0)) ++end;
    at = end + 2;
  }
  ASSERT_LT(at, bytes.size());
  EXPECT_TRUE(std::all_of(bytes.begin() + static_cast<long>(at + 8),
                          bytes.begin() + static_cast<long>(at + 24),
                          [](uint8_t b) { return b == 0; }));
  EXPECT_NE(std::string(table.begin() + static_cast<long>(at + 8),
                        table.begin() + static_cast<long>(at + 12)),
            std::string(4, '\0'));
}

TEST(RecordPrivacy, SmbiosTablesThatEndEarlyOrAreBrokenAreLeftAlone) {
  const std::vector<std::vector<uint8_t>> tables = {
      {},
      {1, 2},                          // shorter than a header
      {1, 0x1B, 0, 0},                 // a structure past the end
      {127, 4, 0, 0, 0, 0},            // end of table only
  };
  for (std::vector<uint8_t> table : tables) {
    const std::vector<uint8_t> before = table;
    BlankSmbiosSerials(table);
    EXPECT_EQ(table, before);
  }
}

TEST(RecordPrivacy, IdentifySerialAndWorldWideNameAreBlankedAndTheChecksumHolds) {
  IdentifyBlock block{};
  std::string error;
  ASSERT_TRUE(ParseIdentifyText(
      Recorded("ata-identify/fwupd_Samsung_SSD_870_EVO_2TB--SVT02B6Q.txt"), block, error))
      << error;
  ASSERT_EQ(AtaText(block, 10, 10), "S6PPNX0W203715P     ");
  const std::string model = AtaText(block, 27, 20);
  ASSERT_EQ(block[510], 0xA5);
  BlankIdentifySerials(block);
  EXPECT_EQ(AtaText(block, 10, 10), std::string(20, ' '));
  EXPECT_EQ(AtaText(block, 27, 20), model);
  for (size_t word = 108; word < 112; ++word) EXPECT_EQ(block[2 * word] | block[2 * word + 1], 0);
  EXPECT_EQ(std::accumulate(block.begin(), block.end(), 0u) & 0xFF, 0u);
  EXPECT_EQ(IdentifyText(block).find("5336 5050"), std::string::npos);
}

TEST(RecordPrivacy, NvmeSerialAndNamespaceIdentifiersAreBlanked) {
  NvmeIdentifyData controller{}, nameSpace{};
  const std::string serial = "S5P2NG0R123456X     ", model = "Samsung SSD 980 PRO 1TB";
  std::copy(serial.begin(), serial.end(), controller.begin() + 4);
  std::copy(model.begin(), model.end(), controller.begin() + 24);
  std::fill(nameSpace.begin(), nameSpace.end(), 0x5A);
  BlankNvmeControllerSerial(controller);
  BlankNvmeNamespaceIds(nameSpace);
  EXPECT_EQ(std::string(controller.begin() + 4, controller.begin() + 24), std::string(20, ' '));
  EXPECT_EQ(std::string(controller.begin() + 24, controller.begin() + 47), model);
  for (size_t i = 0; i < nameSpace.size(); ++i)
    EXPECT_EQ(nameSpace[i], i >= 104 && i < 128 ? 0 : 0x5A) << i;
}

TEST(RecordPrivacy, UdevEntriesKeepTheModelLinesOnly) {
  const std::string entry =
      "S:disk/by-id/ata-WDC_WD800JD-75MSA3_WD-WMAM9AB12345\n"
      "W:4\n"
      "E:ID_ATA=1\n"
      "E:ID_MODEL=WDC_WD800JD-75MSA3\n"
      "E:ID_MODEL_ENC=WDC\\x20WD800JD-75MSA3\n"
      "E:ID_REVISION=10.01E04\n"
      "E:ID_SERIAL=WDC_WD800JD-75MSA3_WD-WMAM9AB12345\n"
      "E:ID_SERIAL_SHORT=WD-WMAM9AB12345\n"
      "E:ID_WWN=0x50014ee0aaaaaaaa\n"
      "E:ID_PART_TABLE_UUID=6c1f2b4e-0000-4000-8000-123456789abc\n"
      "E:DEVLINKS=/dev/disk/by-id/ata-WDC_WD800JD-75MSA3_WD-WMAM9AB12345\n"
      "E:ID_BUS=ata";
  EXPECT_EQ(UdevEntryWithoutSerials(entry),
            "E:ID_MODEL=WDC_WD800JD-75MSA3\n"
            "E:ID_MODEL_ENC=WDC\\x20WD800JD-75MSA3\n"
            "E:ID_REVISION=10.01E04\n"
            "E:ID_BUS=ata\n");
}

// Every file written under folder, as one text.
std::string AllWritten(const std::string& folder) {
  std::string all;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file() && !entry.is_symlink()) all += ReadText(entry.path().string());
  }
  return all;
}

TEST(RecordPrivacy, ARecordedDesktopsFilesKeepTheirSerialsOnlyWhenAskedTo) {
  TempFolder folder;
  const std::string machine = folder.file("machine");
  testing::CopyRecordedTree("utillinux_desktop-2026-nvme-ssd-hdd-dvd", machine);
  const std::string nvme = "/sys/devices/pci0000:00/0000:00:1c.4/0000:05:00.0/nvme/nvme0";
  const std::string serial = "50026B7283B12B31";  // the NVMe controller's
  ASSERT_NE(ReadText(machine + nvme + "/serial").find(serial), std::string::npos);
  // The first disk's world-wide id names the drive's serial as well.
  const std::string wwid =
      ReadText(machine + "/sys/devices/pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0/wwid");
  ASSERT_FALSE(wwid.empty());
  for (const bool serials : {false, true}) {
    SCOPED_TRACE(serials);
    const std::string copy = folder.file(serials ? "with" : "without");
    fs::create_directories(copy);
    TreeCopier copier(machine, copy);
    RecordSystemFiles(copier, serials);
    EXPECT_TRUE(copier.writeError().empty());
    EXPECT_EQ(ReadText(copy + nvme + "/model"), ReadText(machine + nvme + "/model"));
    EXPECT_EQ(fs::read_symlink(copy + "/sys/block/sda").string(),
              "../devices/pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0/block/sda");
    const std::string all = AllWritten(copy);
    EXPECT_EQ(all.find(serial) != std::string::npos, serials);
    EXPECT_EQ(all.find(wwid) != std::string::npos, serials);
  }
}

}  // namespace
}  // namespace velora
