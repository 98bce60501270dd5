#pragma once
// Where report templates live and which of them the Edit menu offers. The folders are searched
// in order: the program folder's template/, the installed layout's ../share/velora09/template,
// then the user's own folder; a user file of the same name takes the place of a shipped one.

#include <optional>
#include <string>
#include <vector>

#include "report/report_pages.h"

namespace velora {

enum class ReportAction { kCopy, kSave, kPreview };

// The template roots (each holding text/ and html/) in search order. xdgDataHome and home are
// the environment's values and may be empty; the user's root is left out when both are.
std::vector<std::string> TemplateRoots(const std::string& programFolder,
                                       const std::string& xdgDataHome, const std::string& home);
// The same for the running program and its environment.
std::vector<std::string> CurrentTemplateRoots();

struct TemplateFile {
  std::string name;  // the file name, extension included: the menu caption
  std::string path;  // the file that wins: the one in the last root holding the name
  bool empty = true;
};

// Every template file of a form in search order: the folders in root order, each folder's files
// sorted by name, a name counted once, where it is first found.
std::vector<TemplateFile> SearchTemplates(const std::vector<std::string>& roots, ReportForm form);

// The file a menu caption names now, or nothing when no folder holds it any more.
std::optional<std::string> TemplatePath(const std::vector<std::string>& roots, ReportForm form,
                                        const std::string& name);

// Far beyond any real template; the reports are built in memory.
constexpr size_t kLargestTemplate = 8u << 20;
// The whole file as it is, or nothing with the reason in error: a file that is not a regular
// one (a FIFO, a device, a folder) or is larger than kLargestTemplate is refused.
std::optional<std::string> ReadTemplateBytes(const std::string& path,
                                             std::string* error = nullptr);

// Menu groups 0 to 5: Text Copy, Save, Preview, then Html Copy, Save, Preview.
constexpr int kTemplateGroups = 6;
constexpr int kFirstTemplateCommand = 3000;
int TemplateCommandId(int group, int position);
// The group of a template command id, or -1 for any other id.
int TemplateGroupOf(int commandId);
ReportForm FormOfGroup(int group);
ReportAction ActionOfGroup(int group);
// The submenus' captions, in group order.
extern const char* const kTemplateGroupCaptions[kTemplateGroups];

struct TemplateMenuItem {
  int id;
  std::string caption;
};
// One group's items as the submenu lists them, top first: the last-found file first, empty
// files left out. Positions count every file found.
std::vector<TemplateMenuItem> TemplateMenuItems(const std::vector<TemplateFile>& files, int group);

}  // namespace velora
