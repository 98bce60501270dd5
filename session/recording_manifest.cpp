#include "session/recording_manifest.h"

#include <nlohmann/json.hpp>

namespace velora {

namespace {
constexpr const char* kFormatName = "velora-recording";
}  // namespace

std::string ManifestJson(const RecordingManifest& m) {
  nlohmann::ordered_json j;
  j["format"] = kFormatName;
  j["format_version"] = kRecordingFormatVersion;
  j["program"] = m.program;
  j["recorded_at"] = m.recordedAt;
  if (m.clockMhz > 0) j["cpu_clock_mhz"] = m.clockMhz;
  j["machine"] = m.machineName;
  j["serials_included"] = m.serials;
  j["not_recorded"] = m.notRecorded;
  return j.dump(2) + "\n";
}

bool ParseManifest(const std::string& text, RecordingManifest& m, std::string& error) {
  const nlohmann::json j = nlohmann::json::parse(text, nullptr, false);
  if (j.is_discarded() || !j.is_object()) {
    error = "is not JSON";
    return false;
  }
  if (j.value("format", std::string()) != kFormatName) {
    error = "is not a recording's manifest (no \"format\": \"velora-recording\")";
    return false;
  }
  const auto version = j.find("format_version");
  if (version == j.end() || !version->is_number_integer() ||
      version->get<int>() > kRecordingFormatVersion || version->get<int>() < 1) {
    error = "has a format version this program does not read";
    return false;
  }
  auto text_of = [&](const char* key) {
    const auto it = j.find(key);
    return it != j.end() && it->is_string() ? it->get<std::string>() : std::string();
  };
  m.program = text_of("program");
  m.recordedAt = text_of("recorded_at");
  m.machineName = text_of("machine");
  const auto clock = j.find("cpu_clock_mhz");
  // A clock is believed only within what processors run at.
  if (clock != j.end() && clock->is_number() && clock->get<double>() > 0 &&
      clock->get<double>() < 100000) {
    m.clockMhz = clock->get<double>();
  }
  const auto serials = j.find("serials_included");
  m.serials = serials != j.end() && serials->is_boolean() && serials->get<bool>();
  m.notRecorded.clear();
  const auto missing = j.find("not_recorded");
  if (missing != j.end() && missing->is_array()) {
    for (const auto& item : *missing) {
      if (item.is_string()) m.notRecorded.push_back(item.get<std::string>());
    }
  }
  return true;
}

}  // namespace velora
