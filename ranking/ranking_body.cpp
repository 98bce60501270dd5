#include "ranking/ranking_body.h"

#include <cstdio>
#include <cstdlib>

namespace velora {

namespace {

std::string Printf(const char* format, const char* key, long long value) {
  char text[256];
  std::snprintf(text, sizeof text, format, key, value);
  return text;
}

std::string Escaped(const std::string& value) {
  size_t start = 0;
  // Leading white space as isspace sees it in the C locale.
  while (start < value.size() &&
         (value[start] == ' ' || (value[start] >= '\t' && value[start] <= '\r'))) {
    ++start;
  }
  std::string out;
  for (size_t i = start; i < value.size(); ++i) {
    switch (value[i]) {
      case '&': out += "%26"; break;
      case '+': out += "%2B"; break;
      case '=': out += "%3D"; break;
      default: out += value[i];
    }
  }
  return out;
}


}  // namespace

void BodyWriter::Text(const char* key, const std::string& value) {
  body_ += key;
  body_ += '=';
  body_ += Escaped(value);
  body_ += '&';
}

void BodyWriter::Integer(const char* key, int64_t value) {
  body_ += Printf("%s=%lld&", key, value < 0 ? -1 : static_cast<long long>(value));
}

void BodyWriter::IntegerFromText(const char* key, const std::string& value) {
  Integer(key, std::atoi(value.c_str()));
}

void BodyWriter::HexText(const char* key, const std::string& value) {
  const long long number = std::strtoll(("0x" + value).c_str(), nullptr, 16);
  body_ += Printf("%s=%lld&", key, number > 0 ? number : 0);
}

void BodyWriter::DecimalFromText(const char* key, const std::string& value) {
  char text[512];
  std::snprintf(text, sizeof text, "%s=%.2f&", key, std::atof(value.c_str()));
  body_ += text;
}

std::string VersionPairs(const std::string& title) {
  std::string rest = title;
  for (const std::string word : {"Velora", " Beta"}) {
    for (size_t at; (at = rest.find(word)) != std::string::npos;) rest.erase(at, word.size());
  }
  std::string pieces[4];
  size_t start = 0;
  for (std::string& piece : pieces) {
    if (start > rest.size()) break;
    const size_t dot = rest.find('.', start);
    piece = rest.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    start = dot == std::string::npos ? rest.size() + 1 : dot + 1;
  }
  return "Major=" + pieces[0] + "&Minor=" + pieces[1] + "&Revision=" + pieces[2] +
         "&Release=" + pieces[3] + "&";
}

std::string RankingBody(const RankingForm& form, const CpuFacts& cpu, const SystemFacts& system,
                        const DeviceFacts& device, const BenchResult& result,
                        const std::string& title) {
  BodyWriter w;
  w.Text("UserName", form.userName);
  w.Text("Machine", form.machineName);
  w.Text("Area", form.area);
  w.Text("Country", form.country);
  w.Text("Mail", form.mail);
  w.Text("Web", form.web);
  w.Text("Password", form.password);
  w.Text("Comment", form.comment);

  w.Text("CpuNameUser", form.cpuName);
  w.Text("MotherUser", form.motherBoard);
  w.Text("ChipSetUser", form.chipSet);
  w.Text("VideoUser", form.video);
  w.IntegerFromText("VideoSizeUser", form.videoMemory);
  w.Text("MemoryUser", form.memory);
  w.IntegerFromText("MemorySizeUser", form.memorySize);

  w.Text("DiskName", form.disk);
  w.DecimalFromText("DiskSize", form.diskSize);
  w.IntegerFromText("RaidOn", std::to_string(form.raid));
  w.Text("RaidController", form.raidController);
  w.Text("RaidType", form.raidType);
  char key[16];
  for (int i = 0; i < kRaidMemberCount; ++i) {
    std::snprintf(key, sizeof key, "RaidDisk%d", i + 1);
    w.Text(key, form.raidDisks[static_cast<size_t>(i)]);
  }
  for (int i = 0; i < kRaidMemberCount; ++i) {
    std::snprintf(key, sizeof key, "RaidDisk%dSize", i + 1);
    w.DecimalFromText(key, form.raidDiskSizes[static_cast<size_t>(i)]);
  }

  w.DecimalFromText("ClockUser", form.clock);
  w.DecimalFromText("ClockOriUser", form.clockOriginal);
  w.DecimalFromText("SystemClockUser", form.systemClock);
  w.DecimalFromText("SystemClockOriUser", form.systemClockOriginal);
  w.DecimalFromText("MultiplierUser", form.multiplier);
  w.DecimalFromText("MultiplierOriUser", form.multiplierOriginal);
  w.DecimalFromText("OverClockUser", form.overClock);

  w.Text("CpuName", cpu.cpuName);
  w.Text("CodeName", cpu.codeName);
  w.Text("Platform", cpu.platform);
  w.Text("CpuType", cpu.cpuType);
  w.DecimalFromText("Clock", cpu.clock);
  w.DecimalFromText("ClockOri", cpu.clockOriginal);
  w.DecimalFromText("SystemClock", cpu.systemClock);
  w.DecimalFromText("SystemClockOri", cpu.systemClockOriginal);
  w.DecimalFromText("SystemBus", cpu.systemBus);
  w.DecimalFromText("SystemBusOri", cpu.systemBusOriginal);
  w.DecimalFromText("Multiplier", cpu.multiplier);
  w.DecimalFromText("MultiplierOri", cpu.multiplierOriginal);
  w.DecimalFromText("OverClock", cpu.overClock);
  w.Text("DataRate", cpu.dataRate);
  w.Text("VendorString", cpu.vendorString);
  w.Text("NameString", cpu.nameString);
  w.HexText("Apic", cpu.apic);
  w.HexText("BrandID", cpu.brandId);
  w.HexText("Family", cpu.family);
  w.HexText("ExFamily", cpu.exFamily);
  w.HexText("FamilyEx", cpu.familyEx);
  w.HexText("Model", cpu.model);
  w.HexText("ExModel", cpu.exModel);
  w.HexText("Stepping", cpu.stepping);
  w.HexText("ExStepping", cpu.exStepping);
  w.IntegerFromText("CpuNumber", cpu.cpuNumber);
  w.IntegerFromText("HyperThreadNum", cpu.hyperThreadNum);
  w.IntegerFromText("L1I", cpu.l1i);
  w.IntegerFromText("L1T", cpu.l1t);
  w.IntegerFromText("L1U", cpu.l1u);
  w.IntegerFromText("L1D", cpu.l1d);
  w.IntegerFromText("L2", cpu.l2);
  w.IntegerFromText("L3", cpu.l3);
  w.DecimalFromText("L2SpeedMHz", cpu.l2SpeedMhz);
  w.Text("L2Speed", cpu.l2Speed);

  w.Text("OsName", system.osName);
  std::string servicePack = system.osServicePack;
  for (size_t at; (at = servicePack.find(" Service Pack")) != std::string::npos;) {
    servicePack.erase(at, 13);
  }
  w.Text("OsServicePack", servicePack);
  w.Integer("OsVersionMajor", system.osVersionMajor);
  w.Integer("OsVersionMinor", system.osVersionMinor);
  w.Integer("OsVersionBuild", system.osVersionBuild);
  w.Integer("OsType", system.osType);
  w.Text("BiosVendor", system.biosVendor);
  w.Text("BiosCaption", system.biosCaption);
  w.Text("BiosVersion", system.biosVersion);
  w.Text("BiosDate", system.biosDate);
  w.Text("SmBiosCaption", system.smbiosCaption);
  w.Text("SmBiosVersion", system.smbiosVersion);
  w.Text("SystemVendor", system.systemVendor);
  w.Text("SystemModel", system.systemModel);
  w.Text("MotherVendor", system.motherVendor);
  w.Text("MotherProduct", system.motherProduct);
  w.Text("MotherVersion", system.motherVersion);

  w.Text("ChipSet", device.chipSet);
  w.Text("North", device.north);
  w.Text("South", device.south);
  w.Text("IdeController", device.ideController);
  w.Text("Video", device.video);
  w.Text("DirectX", device.directX);
  w.Text("VideoProduct", device.videoProduct);
  w.Text("VideoVendor", device.videoVendor);
  w.Text("VideoChip", device.videoChip);
  w.IntegerFromText("VideoRam", device.videoRam);
  w.Text("VideoDriverVersion", device.videoDriverVersion);
  w.Text("VideoDriverDate", device.videoDriverDate);
  w.IntegerFromText("NorthVID", device.northVid);
  w.IntegerFromText("SouthVID", device.southVid);
  w.IntegerFromText("VideoVID", device.videoVid);
  w.IntegerFromText("NorthDID", device.northDid);
  w.IntegerFromText("SouthDID", device.southDid);
  w.IntegerFromText("VideoDID", device.videoDid);
  w.IntegerFromText("NorthRID", device.northRid);
  w.IntegerFromText("SouthRID", device.southRid);
  w.IntegerFromText("VideoRID", device.videoRid);

  const RunSettings& run = result.runSettings;
  w.Text("ProcessorMask", run.processorMask);
  w.Integer("BenchDiskSize", run.scratchSizeMb);
  w.Text("DisplayMode", run.displayMode);
  w.Text("FontSmoothing", run.fontSmoothing);
  // The display state the last full run started with.
  w.Integer("DISP1", run.display.width);
  w.Integer("DISP2", run.display.height);
  w.Integer("DISP3", run.display.bitsPerPixel);
  w.Integer("DISP4", run.display.fontSmoothing);

  w.IntegerFromText("Mark", std::to_string(result.score[0][0]));
  for (int t = 1; t <= 10; ++t) {
    std::snprintf(key, sizeof key, "T%s", TestShortName(t));
    w.IntegerFromText(key, std::to_string(result.score[0][static_cast<size_t>(t)]));
  }
  for (int t = 1; t <= 10; ++t) {
    for (int n = 1; n <= 8; ++n) {
      const auto row = static_cast<size_t>(t), column = static_cast<size_t>(n - 1);
      std::snprintf(key, sizeof key, "%s%d", TestShortName(t), n);
      w.IntegerFromText(key, std::to_string(result.score[row][column]));
      std::snprintf(key, sizeof key, "%s%dV", TestShortName(t), n);
      w.IntegerFromText(key, std::to_string(result.value[row][column]));
    }
  }
  w.Raw(VersionPairs(title));
  w.Raw("check=1");
  return w.body();
}

}  // namespace velora
