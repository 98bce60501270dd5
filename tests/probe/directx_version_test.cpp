#include "probe/directx_version.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_directx_sources.h"
#include "platform/linux/linux_directx_sources.h"

namespace velora {
namespace {

std::string Detect(FakeDirectXSources& s) { return DirectXVersionText(s); }

TEST(DirectXProviderTest, ProviderValuesWinAndTheLetterIsLowered) {
  FakeDirectXSources s;
  s.files["\\d3d9.dll"] = MakeFileVersion(5, 3, 2600, 2180);
  s.provider = DirectXDiagnosticVersion{9, 0, 'C'};
  EXPECT_EQ(Detect(s), "9.0c");
  s.provider = DirectXDiagnosticVersion{9, 0, ' '};
  EXPECT_EQ(Detect(s), "9.0");
  s.provider = DirectXDiagnosticVersion{8, 1, '\0'};
  EXPECT_EQ(Detect(s), "8.1");
}

TEST(DirectXFileTest, NothingReadableIsZero) {
  FakeDirectXSources s;
  EXPECT_EQ(Detect(s), "0.0");
  s.systemDirectory = false;
  s.files["\\d3d9.dll"] = MakeFileVersion(5, 3, 2600, 2180);
  EXPECT_EQ(Detect(s), "0.0");
  LinuxDirectXSources linux;
  EXPECT_EQ(DirectXVersionText(linux), "0.0");
}

TEST(DirectXFileTest, StepsOverwriteInOrder) {
  FakeDirectXSources s;
  s.files["\\ddraw.dll"] = MakeFileVersion(4, 2, 0, 95);
  EXPECT_EQ(Detect(s), "1.0");
  s.files["\\ddraw.dll"] = MakeFileVersion(4, 4, 0, 68);
  EXPECT_EQ(Detect(s), "3.0");
  s.files["\\d3drg8x.dll"] = MakeFileVersion(4, 4, 0, 70);
  EXPECT_EQ(Detect(s), "3.0a");
  s.files["\\ddraw.dll"] = MakeFileVersion(4, 6, 0, 436);
  EXPECT_EQ(Detect(s), "6.1");
  s.files["\\dplayx.dll"] = MakeFileVersion(4, 6, 3, 518);
  EXPECT_EQ(Detect(s), "6.1a");
  s.files["\\ddraw.dll"] = MakeFileVersion(4, 7, 0, 700);
  EXPECT_EQ(Detect(s), "7.0");
  s.files["\\dinput.dll"] = MakeFileVersion(4, 7, 0, 716);
  EXPECT_EQ(Detect(s), "7.0a");
  // The 64-bit comparison: a higher third part beats a lower fourth part.
  s.files.clear();
  s.files["\\ddraw.dll"] = MakeFileVersion(4, 5, 1, 0);
  EXPECT_EQ(Detect(s), "5.0");
  s.files["\\ddraw.dll"] = MakeFileVersion(4, 5, 0, 154);
  EXPECT_EQ(Detect(s), "3.0");
}

TEST(DirectXFileTest, Version490SetsTheMinorButDoesNotCountAlone) {
  FakeDirectXSources s;
  s.version490 = true;
  EXPECT_EQ(Detect(s), "0.0");
  s.files["\\ddraw.dll"] = MakeFileVersion(4, 7, 0, 700);
  s.files["\\dinput.dll"] = MakeFileVersion(4, 7, 0, 716);
  EXPECT_EQ(Detect(s), "7.1");
}

TEST(DirectXFileTest, ThresholdsByTheFileFirstNumber) {
  FakeDirectXSources s;
  s.files["\\d3d8.dll"] = MakeFileVersion(5, 1, 2600, 0);
  EXPECT_EQ(Detect(s), "0.0");
  s.files["\\d3d8.dll"] = MakeFileVersion(5, 1, 2600, 881);
  EXPECT_EQ(Detect(s), "8.1");
  s.files["\\d3d8.dll"] = MakeFileVersion(4, 8, 1, 901);
  EXPECT_EQ(Detect(s), "8.1a");
  // A first number other than 4 or 5 passes neither threshold.
  s.files["\\d3d8.dll"] = MakeFileVersion(6, 0, 0, 0);
  EXPECT_EQ(Detect(s), "0.0");
  s.files.clear();
  s.files["\\ddraw.dll"] = MakeFileVersion(5, 1, 2258, 400);
  EXPECT_EQ(Detect(s), "8.0");
  s.files["\\ddraw.dll"] = MakeFileVersion(5, 1, 2258, 399);
  EXPECT_EQ(Detect(s), "7.0");
  s.files["\\mpg2splt.ax"] = MakeFileVersion(6, 3, 1, 885);
  EXPECT_EQ(Detect(s), "8.1b");
  s.files["\\dpnet.dll"] = MakeFileVersion(5, 2, 3677, 134);
  EXPECT_EQ(Detect(s), "8.2");
}

TEST(DirectXFileTest, OnlyD3d9GivesNine) {
  FakeDirectXSources s;
  s.files["\\d3d9.dll"] = MakeFileVersion(0, 0, 0, 1);
  EXPECT_EQ(Detect(s), "9.0");
}

TEST(DirectXFormatTest, CutToFifteenCharacters) {
  EXPECT_EQ(FormatDirectXVersion({2147483647, 2147483647, 'Q'}), "2147483647.2147");
  EXPECT_EQ(FormatDirectXVersion({12, 3, 'b'}), "12.3b");
}

}  // namespace
}  // namespace velora
