#include <nlohmann/json.hpp>

#include "info/machine_model.h"

namespace velora {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kSchemaVersion = 1;

// The CPU page's labels as keys, in the labels' order.
constexpr std::array<const char*, kCpuLabelCount> kCapabilityKeys{
    "mmx",   "mmx_ext", "sse",   "sse2", "sse3",      "amd_3dnow", "amd_3dnow_ext", "htt",
    "amd64", "ia64",    "em64t", "nx",   "speedstep", "powernow",  "longhaul",      "longrun"};

// An empty text is a value nobody could read.
Json Text(const std::string& text) { return text.empty() ? Json(nullptr) : Json(text); }
template <typename T>
Json Value(const Known<T>& value) {
  return value ? Json(*value) : Json(nullptr);
}

Json CpuJson(const CpuModel& c) {
  Json capabilities = Json::object();
  for (size_t i = 0; i < c.capabilities.size() && i < kCapabilityKeys.size(); ++i)
    capabilities[kCapabilityKeys[i]] = c.capabilities[i].second;
  Json caches = Json::array();
  for (const CacheModel& cache : c.caches) {
    caches.push_back({{"name", cache.name},
                      {"size_bytes", Value(cache.sizeBytes)},
                      {"ways", Value(cache.ways)},
                      {"line_bytes", Value(cache.lineBytes)}});
  }
  return {{"vendor", Text(c.vendor)},
          {"name", Text(c.name)},
          {"brand", Text(c.brand)},
          {"code_name", Text(c.codeName)},
          {"process_um", Value(c.processUm)},
          {"platform", Text(c.platform)},
          {"type", Text(c.type)},
          {"family", Value(c.family)},
          {"model", Value(c.model)},
          {"stepping", Value(c.stepping)},
          {"extended_family", Value(c.extendedFamily)},
          {"extended_model", Value(c.extendedModel)},
          {"clock_mhz", Value(c.clockMhz)},
          {"clock_original_mhz", Value(c.clockOriginalMhz)},
          {"system_clock_mhz", Value(c.systemClockMhz)},
          {"system_clock_original_mhz", Value(c.systemClockOriginalMhz)},
          {"system_bus_mhz", Value(c.systemBusMhz)},
          {"multiplier", Value(c.multiplier)},
          {"multiplier_original", Value(c.multiplierOriginal)},
          {"logical_processors", Value(c.logicalProcessors)},
          {"capabilities", capabilities},
          {"extensions", c.extensions},
          {"caches", caches}};
}

Json DeviceJson(const MachineModel& m) {
  const auto& d = m.device;
  Json adapters = Json::array();
  for (const NetworkAdapterModel& a : d.adapters) {
    adapters.push_back({{"type", Text(a.type)},
                        {"name", Text(a.name)},
                        {"mac", Text(a.mac)},
                        {"ipv4", Text(a.ipv4)},
                        {"netmask", Text(a.netmask)},
                        {"gateway", Text(a.gateway)},
                        {"dhcp_server", Text(a.dhcpServer)},
                        {"ipv6", a.ipv6},
                        {"link", Text(a.link)},
                        {"mtu", Value(a.mtu)}});
  }
  return {{"chipset", Text(d.chipset)},
          {"north_bridge", Text(d.northBridge)},
          {"south_bridge", Text(d.southBridge)},
          {"ide_controller", Text(d.ideController)},
          {"video",
           {{"name", Text(d.video)},
            {"vendor", Text(d.videoVendor)},
            {"chip", Text(d.videoChip)},
            {"product", Text(d.videoProduct)},
            {"memory_bytes", Value(d.videoMemoryBytes)},
            {"driver_version", Text(d.videoDriverVersion)},
            {"driver_date", Text(d.videoDriverDate)}}},
          {"display",
           {{"width", Value(d.displayWidth)},
            {"height", Value(d.displayHeight)},
            {"bits_per_pixel", Value(d.displayBitsPerPixel)},
            {"refresh_hz", Value(d.displayRefreshHz)},
            {"font_smoothing", Text(d.fontSmoothing)}}},
          {"opengl", {{"version", Text(d.openGlVersion)}, {"renderer", Text(d.openGlRenderer)}}},
          {"vulkan_version", Text(d.vulkanVersion)},
          {"network_adapters", adapters}};
}

}  // namespace

std::string MachineModelJson(const MachineModel& m, const std::string& programVersion) {
  Json root;
  root["schema_version"] = kSchemaVersion;
  root["program_version"] = programVersion;
  root["os"] = {{"name", Text(m.os.name)},
                {"edition", Text(m.os.edition)},
                {"version", Text(m.os.version)},
                {"kernel", Text(m.os.kernel)},
                {"install_date", Text(m.os.installDate)}};
  root["memory"] = {{"total_bytes", Value(m.memory.totalBytes)},
                    {"available_bytes", Value(m.memory.availableBytes)},
                    {"commit_limit_bytes", Value(m.memory.commitLimitBytes)},
                    {"commit_available_bytes", Value(m.memory.commitAvailableBytes)},
                    {"virtual_total_bytes", Value(m.memory.virtualTotalBytes)},
                    {"virtual_available_bytes", Value(m.memory.virtualAvailableBytes)}};
  if (m.hasSystem) {
    root["system"] = {{"machine_name", Text(m.system.machineName)},
                      {"user_name", Text(m.system.userName)},
                      {"home_directory", Text(m.system.homeDirectory)},
                      {"library_directory", Text(m.system.libraryDirectory)},
                      {"page_size_bytes", Value(m.system.pageSizeBytes)},
                      {"minimum_address", Value(m.system.minimumAddress)},
                      {"maximum_address", Value(m.system.maximumAddress)},
                      {"up_time_seconds", Value(m.system.upTimeSeconds)}};
    root["bios"] = {{"vendor", Text(m.bios.vendor)},
                    {"caption", Text(m.bios.caption)},
                    {"version", Text(m.bios.version)},
                    {"date", Text(m.bios.date)},
                    {"smbios_caption", Text(m.bios.smbiosCaption)},
                    {"smbios_version", Text(m.bios.smbiosVersion)}};
    root["board"] = {{"vendor", Text(m.board.vendor)},
                     {"product", Text(m.board.product)},
                     {"version", Text(m.board.version)},
                     {"system_vendor", Text(m.board.systemVendor)},
                     {"system_model", Text(m.board.systemModel)}};
  }
  if (m.hasCpu) root["cpu"] = CpuJson(m.cpu);
  if (m.hasFeatures) {
    Json features = Json::array();
    for (const FeatureModel& f : m.features) {
      features.push_back({{"leaf", f.leaf},
                          {"bit", f.bit},
                          {"name", Text(f.name)},
                          {"description", Text(f.description)},
                          {"supported", f.supported}});
    }
    root["features"] = features;
  }
  if (m.hasDevice) root["device"] = DeviceJson(m);
  if (m.hasPci) {
    Json pci = Json::array();
    for (const PciFunctionModel& f : m.pci) {
      pci.push_back({{"bus", Value(f.bus)},
                     {"device", Value(f.device)},
                     {"function", Value(f.function)},
                     {"vendor_id", Value(f.vendorId)},
                     {"device_id", Value(f.deviceId)},
                     {"revision", Value(f.revision)},
                     {"class_code", Value(f.classCode)},
                     {"subsystem_vendor_id", Value(f.subsystemVendorId)},
                     {"subsystem_id", Value(f.subsystemId)},
                     {"type", Text(f.type)},
                     {"vendor", Text(f.vendor)},
                     {"name", Text(f.name)},
                     {"subsystem_vendor", Text(f.subsystemVendor)}});
    }
    root["pci"] = pci;
  }
  if (m.hasDisks) {
    Json disks = Json::array();
    for (const DiskModel& d : m.disks) {
      disks.push_back({{"model", Text(d.model)},
                       {"serial_number", Text(d.serialNumber)},
                       {"firmware", Text(d.firmware)},
                       {"interface", Text(d.interface)},
                       {"device", Text(d.device)},
                       {"ata_standard", Text(d.ataStandard)},
                       {"maximum_mode", Text(d.maximumMode)},
                       {"current_mode", Text(d.currentMode)},
                       {"size_bytes", Value(d.sizeBytes)},
                       {"buffer_bytes", Value(d.bufferBytes)},
                       {"identify_needs_privilege", d.needsPrivilege}});
    }
    root["disks"] = disks;
    Json volumes = Json::array();
    for (const VolumeModel& v : m.volumes) {
      volumes.push_back({{"mount_point", v.mountPoint},
                         {"file_system", Text(v.fileSystem)},
                         {"kind", Text(v.kind)},
                         {"total_bytes", Value(v.totalBytes)},
                         {"available_bytes", Value(v.availableBytes)}});
    }
    root["volumes"] = volumes;
  }
  if (m.hasLibraries) {
    Json libraries = Json::array();
    for (const LibraryModel& l : m.libraries) {
      libraries.push_back({{"category", l.category},
                           {"name", l.name},
                           {"version", Text(l.version)},
                           {"description", Text(l.description)}});
    }
    root["libraries"] = libraries;
  }
  if (m.hasComponents) {
    Json components = Json::array();
    for (const ComponentVersion& c : m.components) {
      components.push_back(
          {{"component", c.component}, {"version", Text(c.version)}, {"date", Text(c.date)}});
    }
    root["components"] = components;
  }
  root["unavailable"] = m.unavailable;
  // Texts from the hardware may hold any byte; replace what is not UTF-8 instead of failing.
  return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace velora
