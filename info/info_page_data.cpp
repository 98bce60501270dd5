#include "info/info_page_data.h"

#include "core/main_window_model.h"
#include "core/probe_binding.h"
#include "probe/probe_id_table.h"

namespace velora {

namespace {

constexpr const char* kEngineLibraryName = "libvelora09.so";

std::string ProbeText(ProbeObject* probe, uint32_t id) {
  if (probe == nullptr) return {};
  char text[kProbeTextCapacity] = "";
  if (probe->GetString(id, text) != 0) return {};
  text[kProbeTextCapacity - 1] = '\0';
  return text;
}

}  // namespace

std::vector<ComponentVersion> ComponentVersions(ProbeObject* probe,
                                                const std::string& engineVersion,
                                                const std::string& engineDate) {
  std::vector<ComponentVersion> rows;
  rows.push_back({"Core System", kCoreVersion, kCoreDate});
  const std::string build = ProbeText(probe, probe_id::kBuildNumber);
  rows.push_back({kProbeLibraryName, probe != nullptr ? "Release " + build : std::string(),
                  ProbeText(probe, probe_id::kBuildDate)});
  rows.push_back({kEngineLibraryName, engineVersion, engineDate});
  return rows;
}

std::string CreditText() {
  return "Velora\nPC Benchmark & Hardware Information\nPC ベンチマーク・ハードウェア情報";
}

PageView InfoPageView(const InfoPageData& data) {
  PageView view;
  view.name = "Info";
  PageTable table;
  table.title = "Version";
  table.columns = {"Component", "Version", "Date"};
  for (const ComponentVersion& row : data.versions)
    table.rows.push_back({row.component, row.version, row.date});
  view.tables.push_back(table);
  return view;
}

}  // namespace velora
