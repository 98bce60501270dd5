#include "bench/scratch_messages.h"

#include <cerrno>
#include <cstring>

#include "core/ui_language.h"

namespace velora {

namespace {

struct ReasonText {
  int error;
  const char* english;
  const char* japanese;
};

constexpr ReasonText kReasons[] = {
    {ENOENT, "no such folder", "フォルダがありません"},
    {ENOTDIR, "not a folder", "フォルダではありません"},
    {EACCES, "no permission to write there", "書き込む権限がありません"},
    {EPERM, "no permission to write there", "書き込む権限がありません"},
    {EROFS, "read-only file system", "読み取り専用のファイルシステムです"},
    {ENAMETOOLONG, "path too long", "パスが長すぎます"},
    {ENOSPC, "no space left on the file system", "空き容量がありません"},
    {EDQUOT, "disk quota exceeded", "ディスク クォータを超えました"},
    {EEXIST, "every scratch folder name tried is taken", "作業フォルダの名前がすべて使用中です"},
    {ELOOP, "a symbolic link is in the way", "シンボリックリンクがあります"},
    {EIO, "input/output error", "入出力エラーです"},
};

}  // namespace

std::string ErrorReason(int error, int language) {
  for (const ReasonText& reason : kReasons) {
    if (reason.error == error) return language == kEnglish ? reason.english : reason.japanese;
  }
  return std::strerror(error);
}

std::string ScratchFileGoneReason(int language) {
  return language == kEnglish ? "the scratch file is gone" : "作業ファイルがなくなりました";
}

std::string ScratchFailureMessage(const ScratchFailure& failure, int language) {
  const bool english = language == kEnglish;
  std::string text;
  switch (failure.kind) {
    case ScratchFailureKind::kInsufficientSpace:
      text = english ? "HDD capacity is insufficient."
                     : "HDD 容量が不足しているためベンチマークを行えません";
      break;
    case ScratchFailureKind::kNotWritable:
      text = english
                 ? "It seems to be the drive which cannot be written in."
                 : "書き込みできないドライブのようです。書き込み可能なドライブを選択してください";
      break;
    case ScratchFailureKind::kTooSmall:
      text = english ? "The HDD size is below the smallest the HDD test measures with (4MB)."
                     : "HDD サイズが HDD テストで測定できる最小値 (4MB) より小さいです";
      break;
    case ScratchFailureKind::kStopped:
      text = english ? "Stopped while the scratch file was written."
                     : "作業ファイルの書き込み中に停止しました";
      break;
  }
  std::string detail = failure.path;
  if (failure.error != 0) {
    detail += (detail.empty() ? "" : ": ") + ErrorReason(failure.error, language);
  }
  if (!detail.empty()) text += "\n" + detail;
  return text;
}

}  // namespace velora
