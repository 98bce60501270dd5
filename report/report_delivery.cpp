#include "report/report_delivery.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace velora {

std::string PreviewFolder(const std::string& programFolder, bool programFolderWritable,
                          const std::string& xdgCacheHome, const std::string& home) {
  if (programFolderWritable) return programFolder;
  // An XDG base directory that is not absolute is to be ignored.
  if (!xdgCacheHome.empty() && xdgCacheHome.front() == '/') return xdgCacheHome + "/velora09";
  return home + "/.cache/velora09";
}

std::string PreviewPath(const std::string& folder, ReportForm form) {
  return folder + (form == ReportForm::kHtml ? "/temp.html" : "/temp.txt");
}

SaveDialogChoices SaveChoicesOf(ReportForm form) {
  if (form == ReportForm::kHtml) return {"html", "html (*.html)", "All files (*.*)"};
  return {"txt", "text (*.txt)", "All files (*.*)"};
}

bool WriteReportFile(const std::string& path, const std::string& report, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(report.data(), 1, report.size(), file) == report.size();
  const int writeError = errno;
  if (std::fclose(file) != 0 || !written) {
    error = path + ": " + std::strerror(written ? errno : writeError);
    return false;
  }
  return true;
}

}  // namespace velora
