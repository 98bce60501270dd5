#include "info/disk_page_data.h"

#include <cstdio>

#include "core/ui_language.h"

namespace velora {
namespace {

std::string Tenths(uint32_t hundredMegabytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%0.1f", hundredMegabytes * 0.1);
  return text;
}

}  // namespace

const std::array<DiskColumn, kDiskColumnCount> kDiskColumns{{
    {"Model", 9, false},
    {"Interface", 3, true},
    {"Disk Size [GB]", 4, true},
    {"Buffer Size [KB]", 4, true},
    {"CHS", 0, true},
    {"LBA28", 0, true},
    {"LBA48", 0, true},
    {"Serial Number", 0, true},
    {"Revision", 0, true},
    {"ATA", 0, true},
    {"MaxMode", 0, true},
    {"CurrentMode", 0, true},
    {"Data", 0, true},
}};

DiskListRow DiskListCells(const DiskRow& row) {
  const DiskIdentity& d = row.identity;
  // The three addressing schemes are ATA's; other disks have no figures for them.
  const bool ata =
      row.source == DiskRowSource::kAtaIdentify || row.source == DiskRowSource::kIdeIdentity;
  return {d.model,
          row.interfaceText,
          Tenths(d.diskSize),
          d.bufferBytes != 0 ? std::to_string(d.bufferBytes / 1024) : "",
          ata ? Tenths(d.chsSize) : "",
          ata ? Tenths(d.lba28Size) : "",
          ata ? Tenths(d.lba48Size) : "",
          d.serialNumber,
          d.firmwareRevision,
          d.ataStandard,
          d.maximumMode,
          d.currentMode,
          d.rawData};
}

DiskPageData MakeDiskPageData(const std::vector<DiskRow>& rows, std::vector<DriveRow> drives) {
  DiskPageData page;
  for (const DiskRow& row : rows) {
    page.devices.push_back(DiskListCells(row));
    page.needsPrivilege.push_back(row.identifyNeedsPrivilege);
    if (row.source != DiskRowSource::kKernel) page.identifiedModels.push_back(row.identity.model);
  }
  page.rows = rows;
  page.drives = std::move(drives);
  ShowDiskRow(page, 0);
  return page;
}

bool ShowDiskRow(DiskPageData& page, int row) {
  if (row < 0 || row >= static_cast<int>(page.devices.size())) return false;
  const DiskListRow& r = page.devices[static_cast<size_t>(row)];
  page.detail = {" " + r[0],
                 r[1],
                 r[2],
                 r[3],
                 r[4],
                 r[5],
                 r[6],
                 " " + r[7],
                 r[8],
                 " " + r[9],
                 r[10],
                 r[11],
                 page.needsPrivilege[static_cast<size_t>(row)]};
  page.shownRow = row;
  return true;
}

DiskPageData ReadDiskPageData(const DiskPageSources& sources) {
  std::vector<DiskRow> rows;
  if (!sources.safeMode) {
    if (sources.log) sources.log("Get HDD Infomation Start");
    rows = IdentifyDisks(ListBlockDevices(sources.root), sources.commands, sources.root);
    if (sources.log) sources.log("Get HDD Infomation OK!");
  }
  return MakeDiskPageData(rows, ListDrives(sources.root, sources.space));
}

PageView DiskPageView(const DiskPageData& page, int language) {
  const bool english = language == kEnglish;
  const DiskDetail& d = page.detail;
  PageView v;
  v.name = "Disk";
  const std::string note = !d.needsPrivilege ? ""
                           : english         ? "IDENTIFY needs root"
                                             : "IDENTIFY には root 権限が必要";
  v.groups = {{"Disk ( IDE Only )",
               {{"Model", d.model},
                {"Interface", d.interfaceText},
                {"Disk Size", d.diskSize},
                {"Buffer Size", d.bufferSize},
                {"CHS", d.chs},
                {"LBA28", d.lba28},
                {"LBA48", d.lba48},
                {"Serial Number", d.serialNumber},
                {"Revision", d.revision},
                {"ATA/ATAPI", d.ata},
                {"Max Mode", d.maxMode},
                {"Current Mode", d.currentMode},
                {english ? "Note" : "備考", note}}}};

  PageTable devices{"", {}, {}};
  for (int c = 0; c < kDiskDataColumn; ++c) devices.columns.push_back(kDiskColumns[c].title);
  for (const DiskListRow& row : page.devices)
    devices.rows.push_back({row.begin(), row.begin() + kDiskDataColumn});
  v.tables.push_back(std::move(devices));

  PageTable drives{"",
                   {"", english ? "Type" : "タイプ", english ? "Free [GiB]" : "空き容量 [GiB]",
                    english ? "Used [GiB]" : "使用量 [GiB]", english ? "Size [GiB]" : "サイズ [GiB]",
                    english ? "Usage Rate [%]" : "使用率 [%]"},
                   {}};
  for (const DriveRow& drive : page.drives) {
    std::vector<std::string> cells{drive.mountPoint, DriveKindText(drive, language)};
    for (std::string& cell : DriveSpaceTexts(drive)) cells.push_back(std::move(cell));
    drives.rows.push_back(std::move(cells));
  }
  v.tables.push_back(std::move(drives));
  return v;
}

}  // namespace velora
