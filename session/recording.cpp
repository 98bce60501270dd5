#include "session/recording.h"

#include <cstring>
#include <filesystem>
#include <map>

#include "platform/regular_file.h"
#include "platform/replay/recorded_identify.h"
#include "platform/replay/recording_kind.h"
#include "session/recording_manifest.h"

namespace velora {

namespace fs = std::filesystem;

namespace {

constexpr size_t kLargestRecordedFile = 64u << 20;
constexpr size_t kMostRecordedDisks = 256;
// A recorded tree of sysfs and proc files holds a few thousand entries; a folder far beyond
// that is not one, and walking it would only take time.
constexpr size_t kMostTreeEntries = 200000;
constexpr size_t kManifestLimit = 1u << 20;

class Loader {
 public:
  explicit Loader(Recording& r) : r_(r) {}

  bool Path(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec) return Fail(path, ec.message());
    if (fs::is_directory(status)) return Folder(path);
    return File(path);
  }

  std::string error;

 private:
  bool Fail(const std::string& path, const std::string& why) {
    error = path + ": " + why;
    return false;
  }

  // Each kind comes from one place only; two would leave it unclear which machine is shown.
  bool Claim(const char* kind, const std::string& path) {
    const auto [it, fresh] = sources_.emplace(kind, path);
    if (fresh) return true;
    return Fail(path, std::string("a second ") + kind + " recording (the first is " +
                          it->second + ")");
  }

  bool Read(const std::string& path, size_t limit, std::string& bytes, bool followLinks) {
    FileBytes file = ReadRegularFile(path, limit, followLinks);
    if (!file.ok) return Fail(path, file.error);
    bytes = std::move(file.bytes);
    return true;
  }

  bool File(const std::string& path) {
    std::string bytes;
    if (!Read(path, kLargestRecordedFile, bytes, true)) return false;
    return Decode(path, bytes, DetectRecordingKind(bytes), fs::path(path).stem().string());
  }

  bool Decode(const std::string& path, const std::string& bytes, RecordingKind kind,
              const std::string& diskName) {
    std::string why;
    switch (kind) {
      case RecordingKind::kCpuid: {
        CpuidRecording cpuid;
        if (!ParseCpuidRecording(bytes, cpuid, why)) return Fail(path, why);
        if (!Claim("CPUID", path)) return false;
        r_.cpuid = std::move(cpuid);
        return true;
      }
      case RecordingKind::kPci: {
        std::vector<RecordedPciFunction> functions;
        if (!ParsePciRecording(bytes, functions, why)) return Fail(path, why);
        if (!Claim("PCI", path)) return false;
        r_.pci = std::move(functions);
        return true;
      }
      case RecordingKind::kSmbios: {
        SmbiosRecording smbios;
        if (!ParseSmbiosRecording(bytes, smbios, why)) return Fail(path, why);
        if (!Claim("SMBIOS", path)) return false;
        r_.smbios = std::move(smbios);
        return true;
      }
      case RecordingKind::kIdentify: {
        IdentifyBlock block{};
        if (!ParseIdentifyText(bytes, block, why)) return Fail(path, why);
        if (!r_.disks) r_.disks.emplace();
        if (!r_.disks->ata.emplace(diskName, block).second) {
          return Fail(path, "a second IDENTIFY block for disk " + diskName);
        }
        return true;
      }
      case RecordingKind::kUnknown:
        break;
    }
    return Fail(path, std::string("is a file of no known kind; accepted are ") +
                          kAcceptedRecordingKinds);
  }

  bool Folder(const std::string& path) {
    std::error_code ec;
    const fs::path folder = fs::canonical(path, ec);
    if (ec) return Fail(path, ec.message());
    if (fs::exists(folder / recording_files::kManifest, ec)) return RecordingFolder(path, folder);
    if (fs::exists(folder / "smbios_entry_point", ec) && fs::exists(folder / "DMI", ec)) {
      std::string entry, table, why;
      if (!Read((folder / "smbios_entry_point").string(), 4096, entry, false) ||
          !Read((folder / "DMI").string(), kLargestSmbiosRecording, table, false)) {
        return false;
      }
      SmbiosRecording smbios;
      if (!ParseSmbiosPair(entry, table, smbios, why)) return Fail(path, why);
      if (!Claim("SMBIOS", path)) return false;
      r_.smbios = std::move(smbios);
      return true;
    }
    return Fail(path, std::string("is a folder, but neither a recording (it has no ") +
                          recording_files::kManifest +
                          ") nor a folder of SMBIOS tables (smbios_entry_point and DMI)");
  }

  bool RecordingFolder(const std::string& given, const fs::path& folder) {
    if (!StaysInside(given, folder)) return false;
    std::string text, why;
    const fs::path manifestPath = folder / recording_files::kManifest;
    if (!Read(manifestPath.string(), kManifestLimit, text, false)) return false;
    RecordingManifest manifest;
    if (!ParseManifest(text, manifest, why)) return Fail(manifestPath.string(), why);
    if (!Claim("recording", given)) return false;
    r_.manifest = std::move(manifest);

    const std::pair<const char*, RecordingKind> parts[] = {
        {recording_files::kCpuid, RecordingKind::kCpuid},
        {recording_files::kPci, RecordingKind::kPci},
        {recording_files::kSmbios, RecordingKind::kSmbios},
    };
    std::error_code ec;
    for (const auto& [name, kind] : parts) {
      const fs::path file = folder / name;
      if (!fs::exists(fs::symlink_status(file, ec))) continue;
      std::string bytes;
      if (!Read(file.string(), kLargestRecordedFile, bytes, false)) return false;
      if (!Decode(file.string(), bytes, kind, "")) return false;
    }
    if (!Disks(folder / recording_files::kDisks)) return false;
    const fs::path files = folder / recording_files::kFiles;
    if (fs::is_directory(fs::symlink_status(files, ec))) r_.files = files.string();
    return true;
  }

  bool Disks(const fs::path& folder) {
    std::error_code ec;
    if (!fs::is_directory(fs::symlink_status(folder, ec))) return true;
    std::map<std::string, RecordedNvme> nvme;
    size_t seen = 0;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
      if (++seen > kMostRecordedDisks * 3) return Fail(folder.string(), "holds too many files");
      const std::string file = entry.path().filename().string();
      const std::string path = entry.path().string();
      std::string bytes;
      if (const auto dot = file.find(".identify.txt"); dot != std::string::npos && dot > 0) {
        if (!Read(path, kLargestIdentifyRecording, bytes, false)) return false;
        if (!Decode(path, bytes, RecordingKind::kIdentify, file.substr(0, dot))) return false;
      } else if (const auto ctrl = file.find(".nvme-ctrl.bin"); ctrl != std::string::npos && ctrl > 0) {
        if (!Read(path, 4096, bytes, false)) return false;
        if (bytes.size() != 4096) return Fail(path, "is not a 4096-byte NVMe identify block");
        std::memcpy(nvme[file.substr(0, ctrl)].controller.data(), bytes.data(), 4096);
      } else if (const auto ns = file.find(".nvme-ns"); ns != std::string::npos && ns > 0) {
        // NAME.nvme-nsN.bin: the namespace's identify block, N its id.
        const std::string rest = file.substr(ns + 8);
        char* end = nullptr;
        const unsigned long id = std::strtoul(rest.c_str(), &end, 10);
        if (end == rest.c_str() || std::string(end) != ".bin" || id == 0 || id > 0xFFFFFFFEul) {
          return Fail(path, "is not named NAME.nvme-nsN.bin");
        }
        if (!Read(path, 4096, bytes, false)) return false;
        if (bytes.size() != 4096) return Fail(path, "is not a 4096-byte NVMe identify block");
        RecordedNvme& disk = nvme[file.substr(0, ns)];
        disk.namespaceId = static_cast<uint32_t>(id);
        disk.nameSpace.emplace();
        std::memcpy(disk.nameSpace->data(), bytes.data(), 4096);
      }
    }
    if (ec) return Fail(folder.string(), ec.message());
    if (!nvme.empty()) {
      if (!r_.disks) r_.disks.emplace();
      r_.disks->nvme = std::move(nvme);
    }
    if (!r_.disks) r_.disks.emplace();  // the disks folder says disks were looked at
    return true;
  }

  // Refuses a recording with a link that leads outside it or a file that is no plain file
  // (a FIFO would stall the reader), before anything in it is read.
  bool StaysInside(const std::string& given, const fs::path& folder) {
    std::error_code ec;
    const std::string inside = folder.string() + "/";
    size_t entries = 0;
    fs::recursive_directory_iterator it(folder, fs::directory_options::none, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
      if (++entries > kMostTreeEntries) return Fail(given, "holds too many files for a recording");
      const fs::file_status status = it->symlink_status(ec);
      if (ec) break;
      const fs::path& path = it->path();
      if (fs::is_symlink(status)) {
        const fs::path target = fs::weakly_canonical(path, ec);
        if (ec) break;
        if (target.string().rfind(inside, 0) != 0 && target != folder) {
          return Fail(path.string(), "is a link that leads outside the recording");
        }
      } else if (!fs::is_directory(status) && !fs::is_regular_file(status)) {
        return Fail(path.string(), "is neither a file nor a folder");
      }
    }
    if (ec) return Fail(given, ec.message());
    return true;
  }

  Recording& r_;
  std::map<std::string, std::string> sources_;
};

}  // namespace

bool LoadRecording(const std::vector<std::string>& paths, Recording& recording,
                   std::string& error) {
  recording = Recording{};
  Loader loader(recording);
  for (const std::string& path : paths) {
    if (!loader.Path(path)) {
      error = loader.error;
      return false;
    }
    recording.name += (recording.name.empty() ? "" : ", ") + path;
  }
  return true;
}

}  // namespace velora
