#pragma once
// The CPU id table: which field each id answers and in which form.

#include <cstdint>
#include <string>

#include "probe/cpu/cpu_fields.h"

namespace velora {

// 0 with the text, or -1 with the empty text for an id without a text form.
int32_t CpuTextAnswer(const CpuFields& f, uint32_t id, std::string& text);
// 0 with the value, or -1 with -1 for an id without an integer form.
int32_t CpuIntAnswer(const CpuFields& f, uint32_t id, int32_t& value);

}  // namespace velora
