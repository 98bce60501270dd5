#pragma once
// The Disk page as data: the identified devices (13 cells a row, the hidden ones for the detail
// panel and the reports), the detail panel of the row last shown, and the drive list.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "info/disk_identification.h"
#include "info/drive_list.h"
#include "info/page_view.h"

namespace velora {

constexpr int kDiskColumnCount = 13;
struct DiskColumn {
  const char* title;
  int widthShare;  // of 20; 0 for a hidden column
  bool centred;
};
extern const std::array<DiskColumn, kDiskColumnCount> kDiskColumns;
// The last column, the raw IDENTIFY words: read by the reports, not drawn in a table.
constexpr int kDiskDataColumn = 12;

using DiskListRow = std::array<std::string, kDiskColumnCount>;

struct DiskDetail {
  std::string model, interfaceText, diskSize, bufferSize, chs, lba28, lba48;
  std::string serialNumber, revision, ata, maxMode,
      currentMode;  // model, serial, ATA: one blank in front
  bool needsPrivilege = false;
};

struct DiskPageData {
  std::vector<DiskRow> rows;  // what the cells were made of, for the machine model
  std::vector<DiskListRow> devices;
  std::vector<bool> needsPrivilege;  // per device row
  // Models a command identified (not the kernel's rows): the inventory leaves these disks out.
  std::vector<std::string> identifiedModels;
  std::vector<DriveRow> drives;
  int shownRow = -1;
  DiskDetail detail;
};

DiskListRow DiskListCells(const DiskRow& row);
DiskPageData MakeDiskPageData(const std::vector<DiskRow>& rows, std::vector<DriveRow> drives);
// Shows row r in the panel; a row outside the list changes nothing. False then.
bool ShowDiskRow(DiskPageData& page, int row);

struct DiskPageSources {
  explicit DiskPageSources(DiskCommands& c) : commands(c) {}
  DiskCommands& commands;
  bool safeMode = false;  // identifies nothing; the drive list is still built
  std::string root;       // in front of /sys, /run, /proc and /dev
  std::function<void(const std::string&)> log;
  SpaceQuery space = StatvfsSpace;
};
DiskPageData ReadDiskPageData(const DiskPageSources& sources);

PageView DiskPageView(const DiskPageData& page, int language);

}  // namespace velora
