#pragma once
// What the main window is made of, as data: its pages, its menu commands and the captions
// that change with the language.

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

namespace velora {

constexpr int kPageCount = 11;

struct PageRow {
  int tabIndex;
  const char* caption;
  int templateId;
};

// In tab order.
constexpr std::array<PageRow, kPageCount> kPages{{
    {0, "Mark", 138},
    {1, "Ranking", 139},
    {2, "System", 129},
    {3, "CPU", 130},
    {4, "Feature", 134},
    {5, "Device", 132},
    {6, "PCI", 133},
    {7, "Disk", 131},
    {8, "DLL", 150},
    {9, "Info", 137},
    {10, "Back", 155},
}};

// Tab indexes in the order the pages are constructed and created: each page may read the
// ones before it (the Mark page reads the CPU page, the Ranking page the CPU, Device and
// Disk pages).
constexpr std::array<int, kPageCount> kPageCreationOrder{2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 1};

// Tab indexes in the order the pages are deleted.
constexpr std::array<int, kPageCount> kPageDeletionOrder{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

enum CommandId : int {
  kCmdTabFirst = 32770,  // + tab index
  kCmdTabLast = 32780,
  kCmdOrvanto = 32782,
  kCmdHelpVelora = 32783,
  kCmdExit = 32785,
  kCmdJapanese = 32786,
  kCmdEnglish = 32787,
  kCmdHelpSettings = 32790,
  kCmdHelpProbix = 32791,
  kCmdTemplateFirst = 3000,
  kCmdTemplateLast = 3999,
};

struct MenuEntry {
  int command;  // 0 for a separator
  const char* caption;
};

constexpr std::array<MenuEntry, 11> kTabMenu{{
    {32770, "Mark (&M)"},
    {32771, "Ranking (&R)"},
    {32772, "System (&S)"},
    {32773, "CPU (&C)"},
    {32774, "Feature (&F)"},
    {32775, "Device (&D)"},
    {32776, "PCI (&P)"},
    {32777, "Disk (&D)"},
    {32778, "DLL (&L)"},
    {32779, "Info (&I)"},
    {32780, "Back (&B)"},
}};

constexpr std::array<MenuEntry, 6> kHelpMenu{{
    {32783, "Velora09.txt"},
    {32791, "Probix.txt"},
    {0, ""},
    {32782, "Orvanto"},
    {0, ""},
    {32790, "Velora09.ini"},
}};

constexpr std::array<MenuEntry, 2> kLanguageMenu{{
    {32786, "Japanese (&J)"},
    {32787, "English (&E)"},
}};

// The report submenus of "Edit", filled from the template files.
constexpr std::array<const char*, 6> kEditSubmenus{"[TEXT] Copy", "[TEXT] Save", "[TEXT] Preview",
                                                   "[HTML] Copy", "[HTML] Save", "[HTML] Preview"};

// The captions that follow the language: the first four menu-bar entries and "Exit".
struct LanguageCaption {
  const char* english;
  const char* japanese;
};

constexpr std::array<LanguageCaption, 4> kMenuBarCaptions{{
    {"File (&F)", "ファイル (&F)"},
    {"Edit (&E)", "編集 (&E)"},
    {"Tab (&T)", "タブ (&T)"},
    {"Help (&H)", "ヘルプ (&H)"},
}};
constexpr LanguageCaption kExitCaption{"Exit (&E)", "終了 (&E)"};
// What a recorded machine lacks, where this machine's value would otherwise stand.
constexpr LanguageCaption kNotRecordedCaption{"not recorded", "未記録"};
// After the title of a window showing a recording, before the recording's name.
constexpr LanguageCaption kRecordingTitleCaption{" - recording ", " - 記録 "};
constexpr const char* kLanguageMenuCaption = "Language (&L)";

const char* CaptionFor(const LanguageCaption& caption, int language);

constexpr const char* kCoreVersion = "0.9.115";
// The release date of this version of the program, as the Info page shows it.
constexpr const char* kCoreDate = "2026/12/09";

// "Velora 0.9.115.<release>".
std::string BaseTitle(const std::string& probeRelease);
// "<base> - recording <name>": the title of a window showing a recording.
std::string RecordingTitle(const std::string& base, const std::string& recording, int language);
// "<base> <suffix>"; an empty suffix leaves the trailing blank.
std::string TitleWithSuffix(const std::string& base, const std::string& suffix);

// The maker's site; English adds "?lang=en".
std::string MakerSiteAddress(int language);

// The page-refresh state: 0 nothing pending, 1 the collector has finished, 2 done.
// The collector's thread sets it, the GUI thread takes it.
class PageRefreshState {
 public:
  void Request() { state_.store(1); }
  // True exactly once after a request: the page change that must refresh the pages.
  bool TakeOnPageChange() {
    int pending = 1;
    return state_.compare_exchange_strong(pending, 2);
  }
  int value() const { return state_.load(); }

 private:
  std::atomic<int> state_{0};
};

}  // namespace velora
