// The readers of recorded files: every recorded input of each kind is read, recognised as its
// kind and nothing else, and written back to the same result; hostile inputs are refused.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/replay/recorded_cpuid.h"
#include "platform/replay/recorded_identify.h"
#include "platform/replay/recorded_pci.h"
#include "platform/replay/recorded_smbios.h"
#include "platform/replay/recording_kind.h"
#include "tests/support/temp_folder.h"

namespace velora {

bool operator==(const CpuidRegisters& a, const CpuidRegisters& b) {
  return a.eax == b.eax && a.ebx == b.ebx && a.ecx == b.ecx && a.edx == b.edx;
}

namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) { return testing::ReadText(path.string()); }

struct Folder {
  const char* folder;
  bool recursive;
  const char* extension;  // "" for any
  RecordingKind kind;
};

constexpr Folder kFolders[] = {
    {"cpuid", true, ".txt", RecordingKind::kCpuid},
    {"pci-config", false, ".txt", RecordingKind::kPci},
    {"smbios/ep-plus-table", false, "", RecordingKind::kSmbios},
    {"smbios/table-only", false, "", RecordingKind::kSmbios},
    {"ata-identify", false, ".txt", RecordingKind::kIdentify},
};

struct Recorded {
  std::string path;
  RecordingKind kind;
};

std::vector<Recorded> RecordedFiles() {
  std::vector<Recorded> files;
  for (const Folder& f : kFolders) {
    auto take = [&](const fs::directory_entry& e) {
      if (e.is_regular_file() && (*f.extension == '\0' || e.path().extension() == f.extension)) {
        files.push_back({e.path().string(), f.kind});
      }
    };
    const fs::path root = fs::path(VELORA_TESTDATA) / f.folder;
    if (f.recursive) {
      for (const auto& e : fs::recursive_directory_iterator(root)) take(e);
    } else {
      for (const auto& e : fs::directory_iterator(root)) take(e);
    }
  }
  return files;
}

bool SameCpuid(const CpuidRecording& a, const CpuidRecording& b) {
  if (a.logicalProcessors != b.logicalProcessors || a.processors.size() != b.processors.size()) {
    return false;
  }
  for (size_t i = 0; i < a.processors.size(); ++i) {
    if (a.processors[i].number != b.processors[i].number ||
        a.processors[i].leaves != b.processors[i].leaves) {
      return false;
    }
  }
  return true;
}

bool SamePci(const std::vector<RecordedPciFunction>& a, const std::vector<RecordedPciFunction>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].domain != b[i].domain || a[i].address != b[i].address || a[i].config != b[i].config) {
      return false;
    }
  }
  return true;
}

// Each file is its own kind and reads back from what the writer makes of it.
TEST(RecordedFiles, EveryRecordedInputIsItsKindAndWritesBack) {
  const std::vector<Recorded> files = RecordedFiles();
  ASSERT_GT(files.size(), 300u);  // 256 CPUID dumps and the rest
  for (const Recorded& file : files) {
    SCOPED_TRACE(file.path);
    const std::string bytes = Contents(file.path);
    EXPECT_EQ(RecordingKindName(DetectRecordingKind(bytes)),
              std::string(RecordingKindName(file.kind)));
    std::string error, again;
    switch (file.kind) {
      case RecordingKind::kCpuid: {
        CpuidRecording first, second;
        ASSERT_TRUE(ParseCpuidRecording(bytes, first, error)) << error;
        ASSERT_TRUE(ParseCpuidRecording(CpuidRawText(first), second, again)) << again;
        EXPECT_TRUE(SameCpuid(first, second));
        break;
      }
      case RecordingKind::kPci: {
        std::vector<RecordedPciFunction> first, second;
        ASSERT_TRUE(ParsePciRecording(bytes, first, error)) << error;
        ASSERT_TRUE(ParsePciRecording(PciHexText(first), second, again)) << again;
        EXPECT_TRUE(SamePci(first, second));
        break;
      }
      case RecordingKind::kSmbios: {
        SmbiosRecording first, second;
        ASSERT_TRUE(ParseSmbiosRecording(bytes, first, error)) << error;
        const std::string dump = SmbiosDumpBin(first);
        ASSERT_TRUE(ParseSmbiosRecording(dump, second, again)) << again;
        EXPECT_EQ(second.table, first.table);
        EXPECT_EQ(second.tableAddress, 0x20u);
        EXPECT_EQ(SmbiosDumpBin(second), dump);
        break;
      }
      case RecordingKind::kIdentify: {
        IdentifyBlock block{};
        ASSERT_TRUE(ParseIdentifyText(bytes, block, error)) << error;
        // The files are written as the writer writes: 32 lines of 8 "%04X" words.
        EXPECT_EQ(IdentifyText(block), bytes);
        break;
      }
      case RecordingKind::kUnknown: break;
    }
  }
}

// Function counts from the folder's list of sources, sizes by counting rows (the laptop has
// 16 functions of 256 bytes and 6 of 4096, its host bridge among them); ids from the name lines.
TEST(RecordedFiles, PciDumpsHoldTheirFunctions) {
  struct Row {
    const char* file;
    size_t functions, bytes;
    uint32_t domain;
    PciAddress first;
    uint32_t vendorDevice;  // of the first function
  };
  const Row rows[] = {
      {"pciutils_tree-fujitsu-p8010.lspci.txt", 22, 4096, 0, MakePciAddress(0, 0, 0), 0x2A008086},
      {"pciutils_PCI-X-bridges-and-domains.lspci.txt", 31, 256, 0, MakePciAddress(0, 1, 0),
       0x00E01014},
      {"pciutils_cap-ht.lspci.txt", 2, 256, 0, MakePciAddress(0, 0, 0), 0x5A131002},
      {"pciutils_broken-ecaps.lspci.txt", 1, 4096, 0, MakePciAddress(0, 0, 0), 0x79111002},
      {"pciutils_tree-fsl-p2020.lspci.txt", 6, 4096, 0, MakePciAddress(4, 0, 0), 0x00701957},
      {"hwloc_dell-poweredge-r910.lspci-x.txt", 37, 64, 0, MakePciAddress(0, 0, 0), 0x34078086},
      {"hwloc_dell-dcs8000z.lspci-x.txt", 137, 64, 0, MakePciAddress(0, 0, 0), 0x3C008086},
      {"hwloc_cloudstack-kvm-vm.lspci-x.txt", 9, 64, 0, MakePciAddress(0, 0, 0), 0x12378086},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    std::vector<RecordedPciFunction> functions;
    std::string error;
    ASSERT_TRUE(ParsePciRecording(Contents(fs::path(VELORA_TESTDATA) / "pci-config" / row.file),
                                  functions, error))
        << error;
    ASSERT_EQ(functions.size(), row.functions);
    EXPECT_EQ(functions[0].config.size(), row.bytes);
    EXPECT_EQ(functions[0].domain, row.domain);
    EXPECT_EQ(functions[0].address, row.first);
    const auto& c = functions[0].config;
    EXPECT_EQ(uint32_t{c[0]} | c[1] << 8 | c[2] << 16 | uint32_t{c[3]} << 24, row.vendorDevice);
  }
  // The guest's second domain is kept: 10000:00:04.0, a virtio block device.
  std::vector<RecordedPciFunction> guest;
  std::string error;
  ParsePciRecording(
      Contents(fs::path(VELORA_TESTDATA) / "pci-config/hwloc_cloudstack-kvm-vm.lspci-x.txt"), guest,
      error);
  ASSERT_EQ(guest.size(), 9u);
  EXPECT_EQ(guest[8].domain, 0x10000u);
  EXPECT_EQ(guest[8].address, MakePciAddress(0, 4, 0));
}

// Two processors whose leaf 1 differs in its initial APIC id (EBX bits 31-24).
constexpr const char* kTwoProcessors =
    "CPU 0:\n"
    "   0x00000000 0x00: eax=0x00000001 ebx=0x756e6547 ecx=0x6c65746e edx=0x49656e69\n"
    "   0x00000001 0x00: eax=0x000006f6 ebx=0x00020800 ecx=0x0000e3bd edx=0xbfebfbff\n"
    "CPU 1:\n"
    "   0x00000000 0x00: eax=0x00000001 ebx=0x756e6547 ecx=0x6c65746e edx=0x49656e69\n"
    "   0x00000001 0x00: eax=0x000006f6 ebx=0x01020800 ecx=0x0000e3bd edx=0xbfebfbff\n";

TEST(RecordedCpuid, ReadsBothForms) {
  CpuidRecording raw, own, single;
  std::string error;
  ASSERT_TRUE(ParseCpuidRecording(kTwoProcessors, raw, error)) << error;
  ASSERT_EQ(raw.processors.size(), 2u);
  EXPECT_EQ(raw.logicalProcessors, 2);
  EXPECT_EQ(raw.processors[1].number, 1u);
  EXPECT_EQ(raw.processors[1].leaves.at({1, 0}).ebx, 0x01020800u);

  ASSERT_TRUE(
      ParseCpuidRecording("# logical-processors: 4\n"
                          "00000000 00 00000001 756E6547 6C65746E 49656E69\n",
                          own, error));
  ASSERT_EQ(own.processors.size(), 1u);
  EXPECT_EQ(own.logicalProcessors, 4);
  EXPECT_EQ(own.processors[0].leaves.at({0, 0}).ecx, 0x6C65746Eu);

  // "CPU:" is one processor of a machine the dump does not describe.
  ASSERT_TRUE(ParseCpuidRecording(
      "CPU:\n   0x00000000 0x00: eax=0x0000000d ebx=0x68747541 ecx=0x444d4163 edx=0x69746e65\n",
      single, error));
  EXPECT_EQ(single.logicalProcessors, 0);
  EXPECT_EQ(CpuidRawText(single).substr(0, 5), "CPU:\n");
  EXPECT_EQ(CpuidRawText(own).substr(0, 32), "# logical-processors: 4\nCPU 0:\n ");
}

struct Hostile {
  const char* what;
  std::string text;
  const char* reason;  // part of the error
};

std::string Repeat(const std::string& piece, size_t times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (size_t i = 0; i < times; ++i) text += piece;
  return text;
}

const std::string kCpuLeaf =
    "   0x00000000 0x00: eax=0x00000001 ebx=0x756e6547 ecx=0x6c65746e edx=0x49656e69\n";

TEST(RecordedCpuid, RefusesWhatIsNoDump) {
  std::string manyCpus;
  for (int i = 0; i <= 4096; ++i) manyCpus += "CPU " + std::to_string(i) + ":\n" + kCpuLeaf;
  const Hostile cases[] = {
      {"empty", "", "holds no CPUID leaves"},
      {"a block without leaves", "CPU 0:\nCPU 1:\n" + kCpuLeaf, "line 1: CPU 0 holds no"},
      {"the last block empty", "CPU 0:\n" + kCpuLeaf + "CPU 1:\n", "line 3: CPU 1 holds no"},
      {"a processor twice", "CPU 0:\n" + kCpuLeaf + "CPU 0:\n" + kCpuLeaf, "line 3: CPU 0 again"},
      {"too many processors", manyCpus, "more than 4096 processors"},
      {"registers first", kCpuLeaf, "line 1: registers before any"},
      {"odd hex", "CPU 0:\n   0x00000000 0x00: eax=0x0000000g ebx=0x0 ecx=0x0 edx=0x0\n",
       "line 2: expected 0xLEAF"},
      {"a register missing", "CPU 0:\n   0x00000000 0x00: eax=0x1 ebx=0x0 ecx=0x0\n",
       "line 2: expected 0xLEAF"},
      {"forms mixed", "00000000 00 00000001 756E6547 6C65746E 49656E69\nCPU 0:\n" + kCpuLeaf,
       "line 2: a \"CPU\" line among"},
      {"a huge count", "# logical-processors: 99999999999999999999\n", "between 1 and 4096"},
      {"a line of megabytes", Repeat("0", 3 << 20) + "\n", "line 1: expected LEAF SUB"},
      {"nine-digit leaf", "000000000 00 00000001 756E6547 6C65746E 49656E69\n",
       "line 1: the leaf must be 8 hex digits"},
      {"larger than the limit", Repeat("#", kLargestCpuidRecording + 1), "larger than 4 MB"},
  };
  for (const Hostile& c : cases) {
    CpuidRecording recording;
    std::string error;
    EXPECT_FALSE(ParseCpuidRecording(c.text, recording, error)) << c.what;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    EXPECT_TRUE(recording.processors.empty()) << c.what;
  }
}

std::string PciRows(size_t rows, size_t from = 0) {
  std::string text;
  char line[8];
  for (size_t r = from; r < from + rows; ++r) {
    std::snprintf(line, sizeof line, "%02zx:", r * 16);
    text += line + Repeat(" 5a", 16) + "\n";
  }
  return text;
}

TEST(RecordedPci, ReadsNameLinesOfEveryFormAndBareAddresses) {
  const std::string text = "00:1f.2 SATA controller: Intel Corporation Device 2922\n" + PciRows(4) +
                           "\n\n0000:00:1f.3 0c05: 8086:2930 (rev 02)\n" + PciRows(8) +
                           "00:1e.0 PCI bridge [0604]: Intel [8086:244e] (rev 92)\n" +
                           "\tControl: I/O+ Mem+\n" + PciRows(256) + "03:00.0\n" + PciRows(16);
  std::vector<RecordedPciFunction> functions;
  std::string error;
  ASSERT_TRUE(ParsePciRecording(text, functions, error)) << error;
  ASSERT_EQ(functions.size(), 4u);
  EXPECT_EQ(functions[0].address, MakePciAddress(0, 0x1F, 2));
  EXPECT_EQ(functions[0].config.size(), 64u);
  EXPECT_EQ(functions[1].config.size(), 128u);
  EXPECT_EQ(functions[2].config.size(), 4096u);
  EXPECT_EQ(functions[3].address, MakePciAddress(3, 0, 0));
  ASSERT_EQ(functions[3].config.size(), 256u);
  EXPECT_EQ(functions[3].config[255], 0x5A);
}

TEST(RecordedPci, RefusesWhatIsNoDump) {
  const std::string head = "00:00.0 Host bridge: Intel\n";
  const Hostile cases[] = {
      {"empty", "", "holds no PCI function"},
      {"names only", "00:00.0 Host bridge\n00:01.0 ISA bridge\n",
       "line 1: 0000:00:00.0 has 0 bytes"},
      {"rows first", PciRows(4), "line 1: configuration bytes before"},
      {"a function twice", head + PciRows(4) + head + PciRows(4), "line 6: 0000:00:00.0 again"},
      {"odd hex", head + "00: 86 80 3g" + Repeat(" 00", 13) + "\n", "line 2: expected 16 bytes"},
      {"a truncated row", head + "00: 86 80 37 12\n", "line 2: expected 16 bytes"},
      {"a row too long", head + "00:" + Repeat(" 00", 17) + "\n", "line 2: expected 16 bytes"},
      {"a row skipped", head + PciRows(1) + PciRows(3, 2), "line 3: expected the row at 10"},
      {"an offset past 4096", head + PciRows(256) + "1000:" + Repeat(" 00", 16) + "\n",
       "offset past the 4096 bytes"},
      {"an odd size", head + PciRows(5), "line 1: 0000:00:00.0 has 80 bytes"},
      {"device 32", "00:20.0 Host bridge\n" + PciRows(4), "line 1: expected a function"},
      {"function 8", "00:00.8 Host bridge\n" + PciRows(4), "line 1: expected a function"},
      {"a line of megabytes", head + PciRows(4) + Repeat("z", 3 << 20),
       "line 6: expected a function"},
      {"a text of something else", "Hello, world.\n", "line 1: expected a function"},
  };
  for (const Hostile& c : cases) {
    std::vector<RecordedPciFunction> functions;
    std::string error;
    EXPECT_FALSE(ParsePciRecording(c.text, functions, error)) << c.what;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    EXPECT_TRUE(functions.empty()) << c.what;
  }
}

TEST(RecordedIdentify, RefusesWhatIsNoBlock) {
  const std::string word = "0040 ";
  const Hostile cases[] = {
      {"too few", Repeat(word, 255), "holds 255 words"},
      {"too many", Repeat(word, 257), "line 1: more than 256 words"},
      {"five digits", "00400" + Repeat(" 0000", 255), "line 1: word 0 is not 1 to 4 hex digits"},
      {"odd hex", Repeat(word, 8) + "\n00G0" + Repeat(" 0000", 247), "line 2: word 8 is not"},
      {"a line of megabytes", Repeat("f", 1 << 20), "larger than 64 KB"},
  };
  for (const Hostile& c : cases) {
    IdentifyBlock block{};
    std::string error;
    EXPECT_FALSE(ParseIdentifyText(c.text, block, error)) << c.what;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
  }
  IdentifyBlock block{};
  std::string error;
  // Word 27 "4D61" holds 'a' (0x61) in its low byte: bytes 54 and 55.
  ASSERT_TRUE(ParseIdentifyText(Repeat("0000 ", 27) + "4D61" + Repeat(" 0", 228), block, error));
  EXPECT_EQ(block[54], 0x61);
  EXPECT_EQ(block[55], 0x4D);
}

TEST(RecordedSmbios, TakesTheTableAtOffset0x20AndKeepsTheNamedAddress) {
  SmbiosRecording dell;
  std::string error;
  ASSERT_TRUE(ParseSmbiosRecording(
      Contents(fs::path(VELORA_TESTDATA) / "smbios/ep-plus-table/dell_IDS4235.smbios.dat"), dell,
      error));
  EXPECT_EQ(dell.entryPoint.size(), 0x1Fu);
  EXPECT_EQ(dell.tableAddress, 0xE0020u);  // bytes 0x18-0x1B of the file: 20 00 0e 00
  EXPECT_EQ(dell.table.size(), 1858u);     // the length at 0x16 and the file less 0x20

  // A bare table gets an "_SM3_" entry point whose checksum holds and which names its length.
  SmbiosRecording bare;
  const std::string table = std::string("\x7f\x04\x00\x00\x00\x00", 6);
  const std::string two = std::string("\x01\x04\x01\x00\x00\x00", 6);
  ASSERT_TRUE(ParseSmbiosRecording(two + table, bare, error)) << error;
  ASSERT_EQ(bare.entryPoint.size(), 0x18u);
  EXPECT_EQ(std::string(bare.entryPoint.begin(), bare.entryPoint.begin() + 5), "_SM3_");
  uint8_t sum = 0;
  for (uint8_t b : bare.entryPoint) sum = static_cast<uint8_t>(sum + b);
  EXPECT_EQ(sum, 0);
  EXPECT_EQ(bare.entryPoint[7], 3);  // version 3.0
  EXPECT_EQ(bare.entryPoint[0x0C], 12);

  const Hostile cases[] = {
      {"an entry point alone", std::string("_SM3_\x00\x18\x03", 8) + std::string(24, '\0'),
       "no table after it"},
      {"text", "Hello, world.\n", "neither"},
      {"zeros", std::string(4096, '\0'), "neither"},
      {"a length past the end", std::string("\x00\xff\x00\x00", 4) + std::string(64, '\0'),
       "neither"},
      {"strings without an end",
       std::string("\x01\x04\x00\x00"
                   "abc",
                   7),
       "neither"},
      {"an end-of-table first", table + table, "neither"},
  };
  for (const Hostile& c : cases) {
    SmbiosRecording recording;
    EXPECT_FALSE(ParseSmbiosRecording(c.text, recording, error)) << c.what;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
  }
}

TEST(RecordingKind, GarbageAndOtherTextsAreUnknown) {
  std::mt19937 random(7);
  std::string noise(8192, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  const std::string inputs[] = {
      "",
      noise,
      "\x7f"
      "ELF\x02\x01\x01" +
          std::string(64, '\0'),
      "\x89PNG\r\n\x1a\n" + std::string(32, '\0'),
      "[Settings]\nLanguage=0\n",
      "00:00.0 Host bridge: Intel Corporation 440FX\n00:01.0 ISA bridge\n",  // lspci without -x
      "0040 3FFF 0000\n",
  };
  for (const std::string& input : inputs) {
    EXPECT_EQ(DetectRecordingKind(input), RecordingKind::kUnknown) << input.substr(0, 16);
  }
  EXPECT_STREQ(RecordingKindName(RecordingKind::kUnknown), "unknown");
}

}  // namespace
}  // namespace velora
