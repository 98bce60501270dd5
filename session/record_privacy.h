#pragma once
// What identifies one unit rather than a model, taken out of recorded data so that a recording
// is safe to post: serial numbers, asset tags, UUIDs, world-wide names and MAC addresses. Text
// fields become blanks and binary identifiers zeros, in place, so layouts and lengths stay.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/disk_commands.h"
#include "platform/replay/recorded_cpuid.h"

namespace velora {

// The serial numbers and asset tags of the system, board, chassis, processor and memory device
// structures, every string of an inactive structure, and the system's UUID. Stops at a
// malformed structure.
void BlankSmbiosSerials(std::vector<uint8_t>& table);

// Words 10-19 (serial number) and 108-111 (world-wide name); the checksum in word 255 is
// mended when the block carries one.
void BlankIdentifySerials(IdentifyBlock& block);

// The controller's serial number (bytes 4-23).
void BlankNvmeControllerSerial(NvmeIdentifyData& controller);
// The namespace's NGUID (bytes 104-119) and EUI-64 (bytes 120-127).
void BlankNvmeNamespaceIds(NvmeIdentifyData& nameSpace);

// The processor serial number of leaf 3 (ECX and EDX), which some processors of the Pentium III
// era report.
void BlankProcessorSerial(CpuidLeaves& leaves);

// /proc/self/mountinfo with file-system UUIDs zeroed and by-id and by-uuid disk names cut.
std::string MountTableWithoutSerials(const std::string& table);

// A udev database entry reduced to the lines naming the model, vendor, revision and bus; its
// serials, world-wide names, UUIDs and by-id links are left out.
std::string UdevEntryWithoutSerials(const std::string& entry);

}  // namespace velora
