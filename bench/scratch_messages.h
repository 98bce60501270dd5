#pragma once
// The two messages that end a run before the HDD test, in the interface language.

namespace velora {

enum class ScratchFailure { kInsufficientSpace, kNotWritable };

const char* ScratchFailureMessage(ScratchFailure failure, int language);

}  // namespace velora
