#include "info/system_page_data.h"

#include <cinttypes>
#include <cstdio>

#include "core/ui_language.h"

namespace velora {

namespace {

std::string Format(const char* format, double v) {
  char text[64];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

std::string Megabytes(uint64_t bytes) {
  return Format("%.2f", static_cast<double>(bytes) / 1048576.0);
}

std::string Percent(uint64_t available, uint64_t total) {
  return total == 0
             ? std::string()
             : Format("%.2f", static_cast<double>(available) / static_cast<double>(total) * 100.0);
}

int Store(std::string& field, std::string text) {
  if (field == text) return 0;
  field = std::move(text);
  return 1;
}

const char* L(int language, const char* english, const char* japanese) {
  return language == kEnglish ? english : japanese;
}

}  // namespace

std::string UpTimeText(double seconds) {
  if (seconds < 0) return {};
  const int64_t s = static_cast<int64_t>(seconds);
  char text[64];
  std::snprintf(text, sizeof text, "%" PRId64 " h %02d m %02d s", s / 3600,
                static_cast<int>((s / 60) % 60), static_cast<int>(s % 60));
  return text;
}

std::string AddressText(uint64_t address) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%08" PRIX64, address);
  return text;
}

void FillSystemPageOnce(SystemPageData& page, const OsIdentity& os, const FixedSystemFacts& facts) {
  page.osName = " " + os.name + " " + os.edition;
  page.servicePack = " " + os.servicePack;
  page.version = " " + os.version + " Build " + os.build;
  if (!facts.machineName.empty()) page.machineName = " " + facts.machineName;
  if (!facts.userName.empty()) page.userName = " " + facts.userName;
  if (!facts.homeDirectory.empty()) page.homeDirectory = " " + facts.homeDirectory;
  if (!facts.libraryDirectory.empty()) page.libraryDirectory = " " + facts.libraryDirectory;
  page.pageSize = std::to_string(facts.pageSize);
  page.minimumAddress = AddressText(facts.minimumAddress);
  page.maximumAddress = AddressText(facts.maximumAddress);
}

int RefreshSystemPageLive(SystemPageData& page, const MemoryStatus& m, std::time_t now,
                          double upSeconds) {
  int changed = 0;
  // Without a memory table (a recording that holds none) no figure is known; 0.00 would be one.
  const bool known = m.physicalTotal != 0;
  auto megabytes = [known](uint64_t bytes) { return known ? Megabytes(bytes) : std::string(); };
  changed += Store(page.physicalAvailable, megabytes(m.physicalAvailable));
  changed += Store(page.physicalTotal, megabytes(m.physicalTotal));
  changed += Store(page.physicalUsage, Percent(m.physicalAvailable, m.physicalTotal));
  changed += Store(page.pageAvailable, megabytes(m.pageAvailable));
  changed += Store(page.pageTotal, megabytes(m.pageTotal));
  changed += Store(page.pageUsage, Percent(m.pageAvailable, m.pageTotal));
  changed += Store(page.virtualAvailable, megabytes(m.virtualAvailable));
  changed += Store(page.virtualTotal, megabytes(m.virtualTotal));
  changed += Store(page.virtualUsage, known ? Percent(m.virtualAvailable, m.virtualTotal) : "");
  std::tm local{};
  if (localtime_r(&now, &local) != nullptr) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %d:%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    changed += Store(page.currentTime, text);
  }
  changed += Store(page.upTime, UpTimeText(upSeconds));
  return changed;
}

void ApplyInventoryToSystemPage(SystemPageData& page, const InventoryFields& f) {
  for (auto [field, value] : {std::pair{&page.biosDate, &f.biosDate},
                              {&page.biosVersion, &f.biosVersion},
                              {&page.biosVendor, &f.biosVendor},
                              {&page.biosCaption, &f.biosCaption},
                              {&page.smbiosCaption, &f.smbiosCaption},
                              {&page.smbiosVersion, &f.smbiosVersion},
                              {&page.systemVendor, &f.systemVendor},
                              {&page.systemModel, &f.systemModel},
                              {&page.motherVersion, &f.motherVersion},
                              {&page.motherProduct, &f.motherProduct},
                              {&page.motherVendor, &f.motherVendor},
                              {&page.installDate, &f.installDate}}) {
    if (!value->empty()) *field = *value;
  }
}

PageView SystemPageView(const SystemPageData& p, int lang) {
  PageView v;
  v.name = "System";
  v.groups = {
      {"OS",
       {{"OS Name", p.osName},
        {"ServicePack", p.servicePack},
        {"Version", p.version},
        {"Install Date", p.installDate}}},
      {"",
       {{"Machine Name", p.machineName},
        {"User Name", p.userName},
        {L(lang, "Home Directory", "ホームディレクトリ"), p.homeDirectory},
        {L(lang, "Library Directory", "ライブラリディレクトリ"), p.libraryDirectory}}},
      {"Memory",
       {{"Physical Available (MB)", p.physicalAvailable},
        {"Physical Total (MB)", p.physicalTotal},
        {"Physical (%)", p.physicalUsage},
        {"Page Available (MB)", p.pageAvailable},
        {"Page Total (MB)", p.pageTotal},
        {"Page (%)", p.pageUsage},
        {"Virtual Available (MB)", p.virtualAvailable},
        {"Virtual Total (MB)", p.virtualTotal},
        {"Virtual (%)", p.virtualUsage}}},
      {"",
       {{"Page Size", p.pageSize},
        {"Minimum Application Address", p.minimumAddress},
        {"Maximum Application Address", p.maximumAddress},
        {"Current Time", p.currentTime},
        {L(lang, "Up Time", "起動時間"), p.upTime}}},
      {"BIOS",
       {{"Vendor", p.biosVendor},
        {"Caption", p.biosCaption},
        {"Version", p.biosVersion},
        {"Date", p.biosDate}}},
      {"SM BIOS", {{"Caption", p.smbiosCaption}, {"Version", p.smbiosVersion}}},
      {"Mother",
       {{"Vendor", p.motherVendor}, {"Product", p.motherProduct}, {"Version", p.motherVersion}}},
      {"Computer System", {{"Vendor", p.systemVendor}, {"Model", p.systemModel}}},
  };
  return v;
}

}  // namespace velora
