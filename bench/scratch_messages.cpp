#include "bench/scratch_messages.h"

#include "core/ui_language.h"

namespace velora {

const char* ScratchFailureMessage(ScratchFailure failure, int language) {
  const bool english = language == kEnglish;
  switch (failure) {
    case ScratchFailure::kInsufficientSpace:
      return english ? "HDD capacity is insufficient."
                     : "HDD 容量が不足しているためベンチマークを行えません";
    case ScratchFailure::kNotWritable:
      return english
                 ? "It seems to be the drive which cannot be written in."
                 : "書き込みできないドライブのようです。書き込み可能なドライブを選択してください";
  }
  return "";
}

}  // namespace velora
