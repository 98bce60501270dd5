#include "ranking/ranking_body.h"

#include <gtest/gtest.h>

namespace velora {
namespace {

RankingForm KnownForm() {
  RankingForm f;
  f.userName = "  a&b=c+d ";
  f.machineName = "Box 100%";
  f.country = "JP Japan";
  f.mail = "m@example.org";
  f.web = "http://example.org/?a=1&b=2";
  f.password = "pw";
  f.comment = "\tline1\r\nline2";
  f.cpuName = "Core 2 Duo";
  f.motherBoard = "P5B";
  f.chipSet = "Intel P965";
  f.video = "GeForce 8800";
  f.videoMemory = "768";
  f.memory = "DDR2-800";
  f.memorySize = "2048";
  f.disk = "WDC WD5000";
  f.diskSize = "500.1";
  f.raidDisks[7] = "X";
  f.raidDiskSizes[0] = "12.5";
  f.clock = "2400.00";
  f.clockOriginal = "2400";
  f.systemClock = "266.67";
  f.systemClockOriginal = "266.666";
  f.multiplier = "9";
  f.multiplierOriginal = "9.0";
  return f;
}

CpuFacts KnownCpu() {
  CpuFacts c;
  c.cpuName = " Core 2 Duo E6600";
  c.codeName = "Conroe";
  c.platform = "LGA775";
  c.cpuType = "Original OEM Processor";
  c.clock = "2400.12";
  c.clockOriginal = "2400.00";
  c.systemClock = "266.68";
  c.systemClockOriginal = "266.67";
  c.systemBus = "1066.72";
  c.systemBusOriginal = "1066.67";
  c.multiplier = "9.0";
  c.multiplierOriginal = "9";
  c.overClock = "0.005";
  c.dataRate = "QDR";
  c.vendorString = "GenuineIntel";
  c.nameString = "Intel(R) Core(TM)2 CPU 6600 @ 2.40GHz";
  c.apic = "1F";
  c.family = "6";
  c.exFamily = "0";
  c.model = "F";
  c.exModel = "0F";
  c.stepping = "6";
  c.exStepping = "zz";
  c.cpuNumber = "2";
  c.hyperThreadNum = "1";
  c.l1i = "32";
  c.l1d = "32";
  c.l2 = "4096";
  c.l2SpeedMhz = "2400.12";
  c.l2Speed = "Full";
  return c;
}

SystemFacts KnownSystem() {
  SystemFacts s;
  s.osName = " Debian GNU/Linux ";
  s.osServicePack = " Service Pack 2";
  s.osVersionMajor = 6;
  s.osVersionMinor = 1;
  s.osVersionBuild = 0;
  s.osType = -7;
  s.biosVendor = " ACME";
  s.biosDate = "2007/01/02";
  s.motherProduct = "P5B";
  return s;
}

DeviceFacts KnownDevice() {
  DeviceFacts d;
  d.chipSet = " Intel P965";
  d.north = " P965";
  d.video = " GeForce 8800 GTX";
  d.directX = "0.0";
  d.videoRam = "-2";
  d.northVid = "32902";
  d.northDid = "10656";
  d.northRid = "2";
  return d;
}

BenchResult KnownResult() {
  BenchResult r;
  r.score[0][0] = 12345;
  for (size_t t = 1; t <= 10; ++t) r.score[0][t] = static_cast<int32_t>(t * 1000 + t);
  r.score[0][4] = -9;
  r.score[1][0] = 11;
  r.value[1][0] = -22;
  r.score[10][7] = 99;
  r.value[10][7] = 100;
  r.runSettings.processorMask = "0011";
  r.runSettings.scratchSizeMb = 256;
  r.runSettings.displayMode = "1920 x 1080 32bit";
  r.runSettings.fontSmoothing = "ClearType";
  r.runSettings.display = {1920, 1080, 32, 2};
  r.fullRun = 1;
  return r;
}

// The eight sub-test pairs of a test whose scores and values are all 0.
std::string ZeroPairs(const std::string& test) {
  std::string pairs;
  for (const char* n : {"1", "2", "3", "4", "5", "6", "7", "8"}) {
    pairs += test + n + "=0&" + test + n + "V=0&";
  }
  return pairs;
}

TEST(RankingBody, KnownFormAndResultGiveThisBodyByteForByte) {
  const std::string expected =
      "UserName=a%26b%3Dc%2Bd &Machine=Box 100%&Area=&Country=JP Japan&Mail=m@example.org&"
      "Web=http://example.org/?a%3D1%26b%3D2&Password=pw&Comment=line1\r\nline2&"
      "CpuNameUser=Core 2 Duo&MotherUser=P5B&ChipSetUser=Intel P965&VideoUser=GeForce 8800&"
      "VideoSizeUser=768&MemoryUser=DDR2-800&MemorySizeUser=2048&"
      "DiskName=WDC WD5000&DiskSize=500.10&RaidOn=0&RaidController=&RaidType=&"
      "RaidDisk1=&RaidDisk2=&RaidDisk3=&RaidDisk4=&RaidDisk5=&RaidDisk6=&RaidDisk7=&RaidDisk8=X&"
      "RaidDisk1Size=12.50&RaidDisk2Size=0.00&RaidDisk3Size=0.00&RaidDisk4Size=0.00&"
      "RaidDisk5Size=0.00&RaidDisk6Size=0.00&RaidDisk7Size=0.00&RaidDisk8Size=0.00&"
      "ClockUser=2400.00&ClockOriUser=2400.00&SystemClockUser=266.67&SystemClockOriUser=266.67&"
      "MultiplierUser=9.00&MultiplierOriUser=9.00&OverClockUser=0.00&"
      "CpuName=Core 2 Duo E6600&CodeName=Conroe&Platform=LGA775&CpuType=Original OEM Processor&"
      "Clock=2400.12&ClockOri=2400.00&SystemClock=266.68&SystemClockOri=266.67&"
      "SystemBus=1066.72&SystemBusOri=1066.67&Multiplier=9.00&MultiplierOri=9.00&OverClock=0.01&"
      "DataRate=QDR&VendorString=GenuineIntel&NameString=Intel(R) Core(TM)2 CPU 6600 @ 2.40GHz&"
      "Apic=31&BrandID=0&Family=6&ExFamily=0&FamilyEx=0&Model=15&ExModel=15&Stepping=6&"
      "ExStepping=0&"
      "CpuNumber=2&HyperThreadNum=1&L1I=32&L1T=0&L1U=0&L1D=32&L2=4096&L3=0&"
      "L2SpeedMHz=2400.12&L2Speed=Full&"
      "OsName=Debian GNU/Linux &OsServicePack=2&"
      "OsVersionMajor=6&OsVersionMinor=1&OsVersionBuild=0&OsType=-1&"
      "BiosVendor=ACME&BiosCaption=&BiosVersion=&BiosDate=2007/01/02&SmBiosCaption=&"
      "SmBiosVersion=&SystemVendor=&SystemModel=&MotherVendor=&MotherProduct=P5B&MotherVersion=&"
      "ChipSet=Intel P965&North=P965&South=&IdeController=&Video=GeForce 8800 GTX&DirectX=0.0&"
      "VideoProduct=&VideoVendor=&VideoChip=&VideoRam=-1&VideoDriverVersion=&VideoDriverDate=&"
      "NorthVID=32902&SouthVID=0&VideoVID=0&NorthDID=10656&SouthDID=0&VideoDID=0&"
      "NorthRID=2&SouthRID=0&VideoRID=0&"
      "ProcessorMask=0011&BenchDiskSize=256&DisplayMode=1920 x 1080 32bit&"
      "FontSmoothing=ClearType&DISP1=1920&DISP2=1080&DISP3=32&DISP4=2&"
      "Mark=12345&"
      "TALU=1001&TFPU=2002&TMEM=3003&THDD=-1&TMMT=5005&TGDI=6006&TD2D=7007&TD3D=8008&"
      "TOGL=9009&TNET=10010&"
      "ALU1=11&ALU1V=-1&ALU2=0&ALU2V=0&ALU3=0&ALU3V=0&ALU4=0&ALU4V=0&"
      "ALU5=0&ALU5V=0&ALU6=0&ALU6V=0&ALU7=0&ALU7V=0&ALU8=0&ALU8V=0&" +
      ZeroPairs("FPU") + ZeroPairs("MEM") + ZeroPairs("HDD") + ZeroPairs("MMT") + ZeroPairs("GDI") +
      ZeroPairs("D2D") + ZeroPairs("D3D") + ZeroPairs("OGL") +
      "NET1=0&NET1V=0&NET2=0&NET2V=0&NET3=0&NET3V=0&NET4=0&NET4V=0&"
      "NET5=0&NET5V=0&NET6=0&NET6V=0&NET7=0&NET7V=0&NET8=99&NET8V=100&"
      "Major= 0&Minor=9&Revision=115&Release=3&check=1";
  const std::string body = RankingBody(KnownForm(), KnownCpu(), KnownSystem(), KnownDevice(),
                                       KnownResult(), "Velora 0.9.115.3 Beta");
  EXPECT_EQ(body, expected);
  // 300 pairs: every "&" left in the body separates two of them.
  size_t pairs = 1;
  for (char c : body) pairs += c == '&' ? 1 : 0;
  EXPECT_EQ(pairs, 300u);
}

TEST(RankingBody, EncodersFollowTheirRules) {
  BodyWriter w;
  w.Text("K", " \t a + b ");
  w.Text("E", "");
  w.Text("J", "日本 %20");
  w.Integer("I", -123);
  w.Integer("Z", 0);
  w.IntegerFromText("A", "  42abc");
  w.IntegerFromText("N", "-7");
  w.IntegerFromText("X", "x");
  w.HexText("H", "1F");
  w.HexText("L", "ff");
  w.HexText("Y", "");
  w.HexText("G", "-3");
  w.DecimalFromText("D", "3.14159");
  w.DecimalFromText("B", "");
  w.DecimalFromText("M", "-0.5x");
  EXPECT_EQ(w.body(),
            "K=a %2B b &E=&J=日本 %20&I=-1&Z=0&A=42&N=-1&X=0&H=31&L=255&Y=0&G=0&D=3.14&B=0.00&"
            "M=-0.50&");
}

TEST(RankingBody, VersionPairsFromTheTitle) {
  EXPECT_EQ(VersionPairs("Velora 0.9.115.3"), "Major= 0&Minor=9&Revision=115&Release=3&");
  EXPECT_EQ(VersionPairs("Velora 1.2 Beta"), "Major= 1&Minor=2&Revision=&Release=&");
  EXPECT_EQ(VersionPairs("Velora 0.9.115.3.8"), "Major= 0&Minor=9&Revision=115&Release=3&");
}

}  // namespace
}  // namespace velora
