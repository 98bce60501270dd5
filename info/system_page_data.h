#pragma once
// The System page as data: the operating system, names, folders, memory, address range and
// times, and the firmware groups the inventory collector fills. Texts of names and paths start
// with one blank, as the page shows them indented.

#include <ctime>
#include <string>

#include "info/inventory_collector.h"
#include "info/os_identity.h"
#include "info/page_view.h"
#include "info/system_facts.h"

namespace velora {

struct SystemPageData {
  std::string osName, servicePack, version, installDate;
  std::string machineName, userName;
  std::string homeDirectory, libraryDirectory;
  std::string physicalAvailable, physicalTotal, physicalUsage;
  std::string pageAvailable, pageTotal, pageUsage;
  std::string virtualAvailable, virtualTotal, virtualUsage;
  std::string pageSize, minimumAddress, maximumAddress;
  std::string currentTime, upTime;
  // Filled by the inventory collector.
  std::string biosVendor, biosCaption, biosVersion, biosDate;
  std::string smbiosCaption, smbiosVersion;
  std::string motherVendor, motherProduct, motherVersion;
  std::string systemVendor, systemModel;
};

// The fields fixed for the page's life.
void FillSystemPageOnce(SystemPageData& page, const OsIdentity& os, const FixedSystemFacts& facts);

// The timer's fields; each text is stored only when it changed. The number of changed fields.
int RefreshSystemPageLive(SystemPageData& page, const MemoryStatus& memory, std::time_t now,
                          double upSeconds);

// "%d h %02d m %02d s"; empty for a negative time.
std::string UpTimeText(double seconds);
// "0x%08X", with as many digits as the value needs beyond eight.
std::string AddressText(uint64_t address);

// The collector's BIOS, SM BIOS, board, system and install-date fields; fields it has not
// stored stay as they are.
void ApplyInventoryToSystemPage(SystemPageData& page, const InventoryFields& fields);

PageView SystemPageView(const SystemPageData& page, int language);

}  // namespace velora
