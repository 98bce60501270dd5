#pragma once
// An NVMe namespace as its controller's Identify data describes it, in the row form of an ATA
// disk: the same texts, sizes and raw-data format.

#include "info/ata_identify.h"
#include "platform/disk_commands.h"

namespace velora {

// controller: Identify Controller (CNS 1); nameSpace: Identify Namespace (CNS 0).
DiskIdentity DecodeNvmeIdentify(const NvmeIdentifyData& controller,
                                const NvmeIdentifyData& nameSpace);

// "NVMe 1.4", "NVMe 2.0.1" from the VER field; "NVMe" for a controller of 1.0 that leaves it 0.
std::string NvmeVersionText(uint32_t version);

// Bytes of a namespace: its size in logical blocks times the block size of the format in use.
uint64_t NvmeNamespaceBytes(const NvmeIdentifyData& nameSpace);

}  // namespace velora
