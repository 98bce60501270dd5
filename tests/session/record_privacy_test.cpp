#include "session/record_privacy.h"

#include <gtest/gtest.h>

#include <cstring>
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

// One structure of the given type whose formatted part (length bytes) names string 1 "Maker"
// at offset 4 and string 2 "SN-1234" at serialOffset, then the end-of-table structure.
std::vector<uint8_t> OneStructure(uint8_t type, uint8_t length, uint8_t serialOffset) {
  std::vector<uint8_t> table(length, 0);
  table[0] = type;
  table[1] = length;
  table[4] = 1;
  table[serialOffset] = 2;
  for (const char* text : {"Maker", "SN-1234"}) {
    table.insert(table.end(), text, text + std::strlen(text));
    table.push_back(0);
  }
  table.push_back(0);
  table.insert(table.end(), {127, 4, 0, 0, 0, 0});
  return table;
}

TEST(RecordPrivacy, EachIdentifyingStringIsBlankedAndOthersKept) {
  struct Case {
    uint8_t type, length, offset;
    bool blanked;
  };
  const Case cases[] = {
      {1, 0x1B, 0x07, true},  {2, 0x0F, 0x07, true},  {2, 0x0F, 0x08, true},
      {3, 0x15, 0x07, true},  {3, 0x15, 0x08, true},  {4, 0x28, 0x20, true},
      {4, 0x28, 0x21, true},  {17, 0x22, 0x18, true}, {17, 0x22, 0x19, true},
      {22, 0x1A, 0x07, true}, {39, 0x16, 0x08, true}, {39, 0x16, 0x09, true},
      {126, 0x10, 0x07, true},
      {1, 0x1B, 0x05, false},  // the product name
      {4, 0x28, 0x10, false},  // the processor's version
      {11, 0x10, 0x07, false}, // an OEM string
      {17, 0x22, 0x17, false}, // the memory's maker
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << int(c.type) << " at " << int(c.offset));
    std::vector<uint8_t> table = OneStructure(c.type, c.length, c.offset);
    const size_t size = table.size();
    BlankSmbiosSerials(table);
    EXPECT_EQ(table.size(), size);
    EXPECT_EQ(Holds(table, "SN-1234"), !c.blanked);
    // An inactive structure loses all its strings.
    const std::string strings = std::string(c.type == 126 ? "     " : "Maker") + '\0' +
                                (c.blanked ? "       " : "SN-1234") + '\0' + '\0';
    EXPECT_TRUE(Holds(table, strings));
  }
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

TEST(RecordPrivacy, MountTablesLoseUuidsAndDiskNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"36 25 8:1 / / rw - ext4 /dev/sda1 rw\n", "36 25 8:1 / / rw - ext4 /dev/sda1 rw\n"},
      {"90 25 8:17 / /run/media/ann/0f3e2c1a-5b6d-4e7f-8a9b-0c1d2e3f4a5b rw - ext4 /dev/sdb1 rw",
       "90 25 8:17 / /run/media/ann/00000000-0000-0000-0000-000000000000 rw - ext4 /dev/sdb1 rw"},
      {"40 25 8:2 / /home rw - xfs /dev/disk/by-id/ata-WDC_WD800JD_WD-WMAM9AB12345-part2 rw",
       "40 25 8:2 / /home rw - xfs /dev/disk/by-id/- rw"},
      {"41 25 8:3 / /srv rw - xfs /dev/disk/by-uuid/1234-ABCD rw",
       "41 25 8:3 / /srv rw - xfs /dev/disk/by-uuid/- rw"},
  };
  for (const auto& [table, expected] : cases) EXPECT_EQ(MountTableWithoutSerials(table), expected);
}

TEST(RecordPrivacy, TheProcessorSerialOfLeafThreeIsZeroed) {
  CpuidLeaves leaves;
  leaves[{1, 0}] = {0x686, 0, 0, 0x0383FBFF};
  leaves[{3, 0}] = {0, 0, 0x12345678, 0x9ABCDEF0};
  BlankProcessorSerial(leaves);
  EXPECT_EQ(leaves.at({3, 0}).ecx | leaves.at({3, 0}).edx, 0u);
  EXPECT_EQ(leaves.at({1, 0}).edx, 0x0383FBFFu);
  CpuidLeaves none;
  BlankProcessorSerial(none);
  EXPECT_TRUE(none.empty());
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
