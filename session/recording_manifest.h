#pragma once
// The manifest of a recording folder (JSON): what was recorded, when, by which program, and
// which parts could not be read and why.

#include <string>

#include "session/recording.h"

namespace velora {

inline constexpr int kRecordingFormatVersion = 1;

std::string ManifestJson(const RecordingManifest& manifest);
// False with error when text is not a manifest of a format this program reads.
bool ParseManifest(const std::string& text, RecordingManifest& manifest, std::string& error);

}  // namespace velora
