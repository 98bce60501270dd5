#pragma once
// Where a delivered report goes: the preview file and the save dialog's choices.

#include <string>

#include "report/report_pages.h"

namespace velora {

// The folder of the preview files: the program folder when the program may write there (not an
// installed program), else $XDG_CACHE_HOME/velora09 (default ~/.cache/velora09).
std::string PreviewFolder(const std::string& programFolder, bool programFolderWritable,
                          const std::string& xdgCacheHome, const std::string& home);
// folder/temp.txt or folder/temp.html.
std::string PreviewPath(const std::string& folder, ReportForm form);

struct SaveDialogChoices {
  const char* defaultSuffix;
  const char* formFilter;  // "text (*.txt)" or "html (*.html)"
  const char* allFilter;   // "All files (*.*)"
};
SaveDialogChoices SaveChoicesOf(ReportForm form);

// Writes the report as it is, replacing the file; false with the reason when it cannot.
bool WriteReportFile(const std::string& path, const std::string& report, std::string& error);

}  // namespace velora
