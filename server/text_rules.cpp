#include "server/text_rules.h"

#include "core/visible_text.h"
#include "server/body_keys.h"
#include "server/result_codes.h"

namespace velora::server {

namespace {

// The fields a person types: the ones a ranking lists under a name. Texts read from the
// hardware may be blank, and the comment may be left blank on purpose.
constexpr const char* kTypedNames[] = {
    "UserName",  "Machine",    "Area",      "Country",        "CpuNameUser", "MotherUser",
    "ChipSetUser", "VideoUser", "MemoryUser", "DiskName",     "RaidController", "RaidType",
};

}  // namespace

int32_t CheckTextRules(const Registration& registration) {
  for (const BodyKey& key : RegistrationKeys()) {
    if (key.kind == ValueKind::kText && HasHiddenControls(registration.Value(key.name))) {
      return kMarkupInText;
    }
  }
  for (const char* name : kTypedNames) {
    if (ShowsNothing(registration.Value(name))) return kMissingField;
  }
  return 0;
}

}  // namespace velora::server
