#pragma once
// Opening files and addresses with the desktop's default application.

#include <string>

namespace velora {

// The file name in the program folder, else in the installed share folder; the program
// folder's path when neither has it (the desktop then reports the missing file).
std::string HelpFilePath(const std::string& name);

// Opens programFolder/name (see HelpFilePath); false when the desktop refused.
bool openInProgramFolder(const std::string& name);

bool OpenFile(const std::string& path);
bool OpenAddress(const std::string& address);

}  // namespace velora
