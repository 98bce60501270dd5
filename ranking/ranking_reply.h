#pragma once
// What "Entry" does with the service's answer: open the new entry, offer the body for the
// clipboard, explain a refusal, or nothing.

#include <cstdint>
#include <string>

namespace velora {

enum class ReplyAction { kOpenEntry, kOfferClipboard, kShowMessage, kNothing };

struct ReplyDecision {
  ReplyAction action = ReplyAction::kNothing;
  std::string text;  // the entry's address, or the message
};

ReplyDecision DecideReply(int32_t reply, const std::string& server, int language);

// "http://host/Velora/09/ranking.php?ID=12", "/Velora/09en/..." in English.
std::string EntryPageAddress(const std::string& server, int32_t id, int language);

// The Yes/No question of an unreachable service.
const char* ClipboardOfferText(int language);

}  // namespace velora
