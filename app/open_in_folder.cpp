#include "app/open_in_folder.h"

#include <unistd.h>

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "platform/app_paths.h"

namespace velora {

std::string HelpFilePath(const std::string& name) {
  std::string beside = ProgramFolderFile(name);
  if (access(beside.c_str(), R_OK) == 0) return beside;
  std::string installed = programFolder() + "/../share/velora09/" + name;
  if (access(installed.c_str(), R_OK) == 0) return installed;
  return beside;
}

bool openInProgramFolder(const std::string& name) { return OpenFile(HelpFilePath(name)); }

bool OpenFile(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

bool OpenAddress(const std::string& address) {
  return QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

}  // namespace velora
