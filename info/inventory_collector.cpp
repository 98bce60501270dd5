#include "info/inventory_collector.h"

#include "core/settings.h"

namespace velora {

namespace {

void StoreText(std::string& field, const std::string& text, bool blank = true) {
  if (!text.empty()) field = blank ? " " + text : text;
}

using Log = std::function<void(const std::string&)>;

void CollectDisks(InventorySources& sources, const InventoryRequest& request, InventoryFields& f,
                  const Log& log) {
  const std::vector<DiskObject> disks = sources.Disks();
  log("Disk A");
  const int before = static_cast<int>(request.identifiedModels.size());
  for (const DiskObject& disk : disks) {
    log("Disk B");
    log("Disk C");
    std::optional<InventoryDiskRow> row =
        DiskRowFor(disk, request.identifiedModels, request.startFlags);
    log("Disk D");
    if (!row) continue;
    f.diskRows.push_back(*row);
    f.rankingDisks.push_back(row->model);
    log("Disk E");
  }
  log("Disk F");
  f.identifiedDriveCount = before + static_cast<int>(f.diskRows.size());
}

void CollectBios(InventorySources& sources, InventoryFields& f, const Log& log) {
  log("BIOS 1");
  std::optional<BiosObject> bios = sources.Bios();
  if (!bios) return;
  log("BIOS 2");
  if (!bios->releaseDate.empty()) {
    log("BIOS 3");
    if (auto date = BiosDateField(bios->releaseDate)) {
      log("BIOS 4");
      f.biosDate = *date;
      log("BIOS 5");
    }
  }
  StoreText(f.biosVersion, bios->version);
  StoreText(f.biosVendor, bios->manufacturer);
  StoreText(f.biosCaption, bios->caption);
  StoreText(f.smbiosCaption, bios->smbiosBiosVersion);
  if (bios->smbiosMajor) {
    f.smbiosVersion = " " + std::to_string(*bios->smbiosMajor);
    if (bios->smbiosMinor) f.smbiosVersion += "." + std::to_string(*bios->smbiosMinor);
  }
  log("BIOS 6");
}

void CollectVideo(InventorySources& sources, InventoryFields& f, const Log& log) {
  log("Video 1");
  std::optional<VideoControllerObject> video = sources.VideoController();
  if (!video) return;
  log("Video 2");
  StoreText(f.videoVendor, video->adapterCompatibility);
  StoreText(f.videoProduct, video->caption);
  StoreText(f.videoChip, video->videoProcessor);
  log("Video 3");
  log("Video 4");
  if (auto chosen = ChooseDriverVersion(video->driverFileVersion, video->driverVersion)) {
    f.driverVersion =
        video->driverName.empty() ? chosen->text : video->driverName + " " + chosen->text;
    log(chosen->fromFile ? "VideoDriver GetFileVersion" : "VideoDriver GetInventory");
  }
  log("Video 5");
  if (auto day = DateTimeToDayText(video->driverDate)) f.driverDate = *day;
  if (video->adapterRamBytes) f.videoRam = VideoMemoryText(*video->adapterRamBytes);
  log("Video 6");
}

void RunSection(int section, InventorySources& sources, const InventoryRequest& request,
                InventoryFields& f, const Log& log) {
  switch (section) {
    case 0: CollectDisks(sources, request, f, log); break;
    case 1: CollectBios(sources, f, log); break;
    case 2:
      if (auto system = sources.ComputerSystem()) {
        StoreText(f.systemVendor, system->manufacturer);
        StoreText(f.systemModel, system->model);
      }
      break;
    case 3:
      if (auto board = sources.BaseBoard()) {
        StoreText(f.motherVersion, board->version);
        StoreText(f.motherProduct, board->product);
        StoreText(f.motherVendor, board->manufacturer);
      }
      break;
    case 4:
      if (auto os = sources.OperatingSystem()) {
        if (auto day = DateTimeToDayText(os->installDate)) f.installDate = " " + *day;
      }
      break;
    case 5:
      if (auto controller = sources.StorageController()) {
        StoreText(f.ideController, controller->caption);
      }
      break;
    case 6: CollectVideo(sources, f, log); break;
    default: break;
  }
}

// Ends the collection on every way out of it, a fault included.
class Finisher {
 public:
  explicit Finisher(InventoryHost& host) : host_(host) {}
  ~Finisher() { host_.EndCollecting(); }
  Finisher(const Finisher&) = delete;
  Finisher& operator=(const Finisher&) = delete;

 private:
  InventoryHost& host_;
};

}  // namespace

std::array<bool, 7> ReadInventorySwitches(const Settings& settings) {
  std::array<bool, 7> off{};
  for (size_t i = 0; i < off.size(); ++i) off[i] = settings.ReadInt(kInventorySectionKeys[i]) != 0;
  return off;
}

InventoryFields CollectInventory(InventorySources& sources, const InventoryRequest& request,
                                 InventoryHost& host, const Log& log) {
  InventoryFields fields;
  host.BeginCollecting(kInventoryTitleSuffix);
  Finisher finish(host);
  try {
    log("Inventory Initialize Start");
    for (int section = 0; section < static_cast<int>(kInventorySectionNames.size()); ++section) {
      if (request.stop != nullptr && request.stop->load()) return fields;
      if (request.disabled[static_cast<size_t>(section)]) continue;
      const std::string name = kInventorySectionNames[static_cast<size_t>(section)];
      log(name);
      // A section fills a copy, so a fault leaves none of its fields half stored.
      InventoryFields next = fields;
      try {
        RunSection(section, sources, request, next, log);
        fields = std::move(next);
      } catch (...) {
        log("Exception " + name);
      }
      host.Publish(fields);
    }
    log("Inventory Initialize OK!");
  } catch (...) {
    log("Exception");
  }
  return fields;
}

}  // namespace velora
