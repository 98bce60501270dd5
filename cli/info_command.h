#pragma once
// "velora info": the inventory pages' data without a window, as text or JSON.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "info/device_page_data.h"
#include "info/disk_page_data.h"
#include "info/inventory_collector.h"
#include "info/os_identity.h"
#include "info/page_view.h"
#include "info/system_page_data.h"
#include "platform/display_facts.h"
#include "session/machine_access.h"
#include "session/machine_snapshot.h"

namespace velora {

struct InfoCommand {
  std::vector<std::string> pages;  // "system", "cpu", ..., "info", in the page order
  bool json = false;
  // A recorded IDENTIFY block to decode instead of asking the machine's disks.
  std::string identifyFile;
  // Recordings to show instead of this machine (--from, any number of times).
  std::vector<std::string> from;
};

// The Disk page of one recorded IDENTIFY block (32 lines of 8 hexadecimal words); false, with
// the reason naming the file, when it cannot be read or is no such block.
bool IdentifyFileView(const std::string& path, int language, PageView& view, std::string& error);
bool IdentifyFileDisk(const std::string& path, DiskPageData& disk, std::string& error);

// Parses the words after "info"; no page word, or "all", means every page.
std::optional<InfoCommand> ParseInfoCommand(const std::vector<std::string>& words,
                                            std::string& error);

// This machine, or the recordings given; null when one cannot be read (said on standard error).
std::unique_ptr<MachineAccess> AccessFrom(const std::vector<std::string>& from);

// Identifies the machine once and prints the chosen pages; the exit code.
int RunInfo(const InfoCommand& command, int language);

const char* InfoUsage();

}  // namespace velora
