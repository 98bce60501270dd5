#include "report/template_folders.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>

#include "platform/program_folder.h"
#include "platform/regular_file.h"

namespace velora {

namespace fs = std::filesystem;

const char* const kTemplateGroupCaptions[kTemplateGroups] = {
    "[TEXT] Copy", "[TEXT] Save", "[TEXT] Preview", "[HTML] Copy", "[HTML] Save", "[HTML] Preview"};

namespace {

const char* FolderOf(ReportForm form) { return form == ReportForm::kHtml ? "html" : "text"; }
const char* ExtensionOf(ReportForm form) { return form == ReportForm::kHtml ? ".html" : ".txt"; }

bool HasExtension(const std::string& name, const std::string& extension) {
  return name.size() > extension.size() &&
         name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
}

std::vector<std::string> FolderFiles(const std::string& folder, ReportForm form) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    std::error_code typeError;
    if (HasExtension(name, ExtensionOf(form)) && it->is_regular_file(typeError))
      names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::vector<std::string> TemplateRoots(const std::string& programFolder,
                                       const std::string& xdgDataHome, const std::string& home) {
  std::vector<std::string> roots = {programFolder + "/template",
                                    programFolder + "/../share/velora09/template"};
  // An XDG base directory that is not absolute is to be ignored.
  if (!xdgDataHome.empty() && xdgDataHome.front() == '/') {
    roots.push_back(xdgDataHome + "/velora09/template");
  } else if (!home.empty()) {
    roots.push_back(home + "/.local/share/velora09/template");
  }
  return roots;
}

std::vector<std::string> CurrentTemplateRoots() {
  const char* data = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  return TemplateRoots(ProgramFolder(), data != nullptr ? data : "", home != nullptr ? home : "");
}

std::vector<TemplateFile> SearchTemplates(const std::vector<std::string>& roots, ReportForm form) {
  std::vector<TemplateFile> files;
  for (const std::string& root : roots) {
    const std::string folder = root + "/" + FolderOf(form);
    for (const std::string& name : FolderFiles(folder, form)) {
      auto known = std::find_if(files.begin(), files.end(),
                                [&](const TemplateFile& f) { return f.name == name; });
      if (known == files.end()) known = files.insert(files.end(), TemplateFile{name, "", true});
      known->path = folder + "/" + name;
      std::error_code error;
      const auto size = fs::file_size(known->path, error);
      known->empty = error || size == 0;
    }
  }
  return files;
}

std::optional<std::string> TemplatePath(const std::vector<std::string>& roots, ReportForm form,
                                        const std::string& name) {
  // A caption is a file name, never a path into another folder.
  if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..")
    return std::nullopt;
  for (auto root = roots.rbegin(); root != roots.rend(); ++root) {
    const std::string path = *root + "/" + FolderOf(form) + "/" + name;
    std::error_code error;
    if (fs::is_regular_file(path, error)) return path;
  }
  return std::nullopt;
}

std::optional<std::string> ReadTemplateBytes(const std::string& path, std::string* error) {
  FileBytes file = ReadRegularFile(path, kLargestTemplate);
  if (!file.ok) {
    if (error != nullptr) *error = file.error;
    return std::nullopt;
  }
  return std::move(file.bytes);
}

int TemplateCommandId(int group, int position) {
  return kFirstTemplateCommand + 100 * group + position;
}

int TemplateGroupOf(int commandId) {
  if (commandId < kFirstTemplateCommand || commandId > 3999) return -1;
  const int group = (commandId % 1000) / 100;
  return group < kTemplateGroups ? group : -1;
}

ReportForm FormOfGroup(int group) { return group >= 3 ? ReportForm::kHtml : ReportForm::kText; }

ReportAction ActionOfGroup(int group) {
  switch (group % 3) {
    case 0: return ReportAction::kCopy;
    case 1: return ReportAction::kSave;
    default: return ReportAction::kPreview;
  }
}

std::vector<TemplateMenuItem> TemplateMenuItems(const std::vector<TemplateFile>& files, int group) {
  std::vector<TemplateMenuItem> items;
  // Beyond 100 files the ids would run into the next group's block.
  for (size_t n = 0; n < files.size() && n < 100; ++n) {
    if (files[n].empty) continue;
    // Every item goes in at the top, so the last found is listed first.
    items.insert(items.begin(),
                 TemplateMenuItem{TemplateCommandId(group, static_cast<int>(n)), files[n].name});
  }
  return items;
}

}  // namespace velora
