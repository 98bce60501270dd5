#pragma once
// Why a run could not prepare its scratch file, and the message that says so in the interface
// language: the general message, then the path and the reason.

#include <string>

namespace velora {

enum class ScratchFailureKind { kInsufficientSpace, kNotWritable, kTooSmall, kStopped };

struct ScratchFailure {
  ScratchFailureKind kind = ScratchFailureKind::kNotWritable;
  std::string path;  // the folder or file concerned; empty when none was chosen
  int error = 0;     // errno of the refusing call, 0 when the kind says it all
};

std::string ScratchFailureMessage(const ScratchFailure& failure, int language);

// The reason of an errno in the interface language: the common ones in words of our own, the
// rest as the C library says it.
std::string ErrorReason(int error, int language);
// A scratch file removed under a running HDD test (ENOENT names a folder above).
std::string ScratchFileGoneReason(int language);

}  // namespace velora
