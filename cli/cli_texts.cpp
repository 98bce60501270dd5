#include "cli/cli_texts.h"

#include <string_view>

#include "core/ui_language.h"

namespace velora {

namespace {

struct TextPair {
  CliText id;
  const char* english;
  const char* japanese;
};

constexpr TextPair kTexts[] = {
    {CliText::kUsage,
     "Usage: velora mark [TEST...] [--hdd-dir DIR] [--hdd-size MB] [--mask MASK]\n"
     "                   [--submit | --submit-dry-run] [--form KEY=VALUE]...\n"
     "       velora help [mark] | --version\n"
     "\n"
     "mark          runs the benchmark without a window: every test (a full run, the\n"
     "              default) or the tests named, in the order given; TEST is one of ALU,\n"
     "              FPU, MEM, HDD, GDI, D2D, OGL. Each sub-test prints a line as it\n"
     "              finishes; Ctrl-C (or SIGTERM, SIGHUP, a closed output pipe) stops after\n"
     "              the current sub-test and removes the scratch file; a second signal\n"
     "              removes it at once and quits. At the end the result block of the text\n"
     "              report is printed.\n"
     "--hdd-dir     folder in which the HDD test's private scratch folder is made\n"
     "              (default: the home folder)\n"
     "--hdd-size    size of the scratch file in MB, 4 to 4095 (default 128); 4 MB is the\n"
     "              smallest file the HDD test measures with\n"
     "--mask        processors to run on, read right to left (0101: processors 0 and 2),\n"
     "              one of the masks this machine offers; applies to the whole process\n"
     "--submit      after a complete full run, registers it with the ranking service\n"
     "              (\"RankingServer\" of section \"Setting\" in velora09's settings file)\n"
     "              and prints the entry page's address, or why it was refused\n"
     "--submit-dry-run  writes the registration body to standard output instead of\n"
     "              posting it: exactly the bytes posted, ending in the zero byte; the\n"
     "              progress and the result block go to standard error\n"
     "--form        a field of the registration form the machine cannot fill, by its key\n"
     "              (ChipSetUser, VideoUser, MemoryUser, DiskName, Comment, RaidOn, ...);\n"
     "              the identity fields come from velora09's settings file\n"
     "\n"
     "Messages follow LC_ALL, LC_MESSAGES or LANG (ja*: Japanese), else the settings file.\n"
     "Exit status: 0 when every sub-test measured and the output was written; 1 when the\n"
     "run was stopped, a sub-test failed, the scratch file could not be prepared or the\n"
     "output could not be written; 2 for a usage error.\n",
     "使い方: velora mark [テスト...] [--hdd-dir フォルダ] [--hdd-size MB] [--mask マスク]\n"
     "                    [--submit | --submit-dry-run] [--form キー=値]...\n"
     "        velora help [mark] | --version\n"
     "\n"
     "mark          ウィンドウなしでベンチマークを実行します。テストを指定しなければ全テスト、\n"
     "              指定すればそのテストを指定順に実行します。テストは ALU, FPU, MEM, HDD,\n"
     "              GDI, D2D, OGL のいずれかです。サブテストが終わるたびに 1 行表示します。\n"
     "              Ctrl-C (SIGTERM, SIGHUP, 出力先パイプの切断も同じ) で現在のサブテストの\n"
     "              後に停止し作業ファイルを削除します。2 回目のシグナルでは直ちに削除して\n"
     "              終了します。最後にテキストレポートの結果ブロックを表示します。\n"
     "--hdd-dir     HDD テストの作業フォルダを作るフォルダ (既定: ホームフォルダ)\n"
     "--hdd-size    作業ファイルの大きさ (MB)。4 から 4095 (既定 128)。4 MB は HDD テストで\n"
     "              測定できる最小の大きさです\n"
     "--mask        実行するプロセッサ。右から読みます (0101: プロセッサ 0 と 2)。この\n"
     "              マシンで選べるマスクのいずれか。プロセス全体に適用されます\n"
     "--submit      完全な全テスト実行の後、ランキングサーバー (velora09 の設定\n"
     "              ファイルの \"Setting\" の \"RankingServer\") に登録し、\n"
     "              登録ページのアドレスか拒否の理由を表示します\n"
     "--submit-dry-run  登録データを送らずに標準出力へ書きます。送信されるバイト列\n"
     "              そのもの (最後はゼロバイト) で、進行状況と結果ブロックは標準エラー\n"
     "              出力へ書きます\n"
     "--form        マシンから取れない登録フォームの項目をキーで指定します (ChipSetUser,\n"
     "              VideoUser, MemoryUser, DiskName, Comment, RaidOn など)。名前などは\n"
     "              velora09 の設定ファイルから読みます\n"
     "\n"
     "メッセージの言語は LC_ALL, LC_MESSAGES, LANG (ja で始まれば日本語)、なければ設定ファイル\n"
     "に従います。\n"
     "終了コード: すべてのサブテストが測定でき出力できたとき 0。停止、サブテストの失敗、\n"
     "作業ファイルの準備の失敗、出力の失敗のとき 1。使い方の誤りは 2。\n"},
    {CliText::kUnknownCommand, "unknown command %s", "不明なコマンドです: %s"},
    {CliText::kUnknownWord, "unknown word: %s", "不明な語です: %s"},
    {CliText::kNeedsValue, "%s needs a value", "%s には値が必要です"},
    {CliText::kSizeRange, "--hdd-size takes 4 to 4095 (MB)",
     "--hdd-size には 4 から 4095 (MB) を指定してください"},
    {CliText::kMaskChoices, "--mask takes one of the masks of this machine: %s",
     "--mask にはこのマシンのマスクのいずれかを指定してください: %s"},
    {CliText::kMaskNotApplied, "the processor mask %s could not be applied",
     "プロセッサマスク %s を適用できませんでした"},
    {CliText::kCannotStart, "the run could not be started", "実行を開始できませんでした"},
    {CliText::kStopped, "stopped", "停止しました"},
    {CliText::kFailedSubTests, "%d sub-test(s) or step(s) failed",
     "%d 個のサブテストまたは処理が失敗しました"},
    {CliText::kOutputLost, "the output could not be written: %s", "出力できませんでした: %s"},
};

bool Set(const char* value) { return value != nullptr && *value != '\0'; }

}  // namespace

const char* CliTextOf(CliText id, int language) {
  for (const TextPair& text : kTexts) {
    if (text.id == id) return language == kEnglish ? text.english : text.japanese;
  }
  return "";
}

int CliLanguage(const char* lcAll, const char* lcMessages, const char* lang,
                const std::string& languageSetting) {
  for (const char* value : {lcAll, lcMessages, lang}) {
    if (Set(value)) return std::string_view(value).substr(0, 2) == "ja" ? kJapanese : kEnglish;
  }
  return LanguageFromSetting(languageSetting);
}

}  // namespace velora
