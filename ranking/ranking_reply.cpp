#include "ranking/ranking_reply.h"

#include <cstdio>

#include "core/ui_language.h"
#include "ranking/ranking_post.h"

namespace velora {

std::string EntryPageAddress(const std::string& server, int32_t id, int language) {
  char path[64];
  std::snprintf(
      path, sizeof path,
      language == kEnglish ? "/Velora/09en/ranking.php?ID=%d" : "/Velora/09/ranking.php?ID=%d",
      static_cast<int>(id));
  return ServiceAddress(server, path);
}

const char* ClipboardOfferText(int language) {
  return language == kEnglish
             ? "Is data required in order to register copied to a clip board?"
             : "Web 上で登録を行うために必要なデータをクリップボードにコピーしますか？";
}

ReplyDecision DecideReply(int32_t reply, const std::string& server, int language) {
  const bool english = language == kEnglish;
  if (reply >= 0) return {ReplyAction::kOpenEntry, EntryPageAddress(server, reply, language)};
  switch (reply) {
    case kReplyUnreachable: return {ReplyAction::kOfferClipboard, ClipboardOfferText(language)};
    case kReplyDuplicate:
      return {ReplyAction::kShowMessage, english ? "Already registed." : "二重投稿のようです。"};
    case kReplyAlreadyRegistered:
      return {ReplyAction::kShowMessage,
              english ? "Already registed."
                      : "同一マシンで複数回登録する場合は必ずコメントに何がどう違うのか明記して"
                        "ください。"};
    default: return {};
  }
}

}  // namespace velora
