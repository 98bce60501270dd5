#pragma once
// The processor-mask option: which masks a machine offers, what each text means, and applying
// one to every thread of the process.

#include <cstdint>
#include <string>
#include <vector>

namespace velora {

// The entries offered with n processors, in list order; the last one starts selected.
std::vector<std::string> ProcessorMaskEntries(int processorCount);

// The list is disabled with one processor or more than four.
bool ProcessorMaskListEnabledAtStart(int processorCount);

// "0001", "0011", "0101", "0111", "1111" read right to left as processors 0 to 3; any other
// text gives 0.
uint32_t ProcessorMaskFromText(const std::string& text);

// Binds every thread of the process to the processors of mask, for the rest of the process's
// life. False when mask is 0 or a thread refused it.
bool ApplyProcessorMask(uint32_t mask);

// The processors this system reports as configured.
int ConfiguredProcessorCount();

}  // namespace velora
