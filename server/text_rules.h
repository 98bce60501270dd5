#pragma once
// What the texts of a registration must show, beyond being plain UTF-8: no C1 control and no
// direction control in any text (they would reorder or hide what the ranking pages show), and
// no name typed by a person that shows nothing at all.

#include <cstdint>

#include "server/registration.h"

namespace velora::server {

// 0, kMarkupInText for a hidden control in any text, or kMissingField for a typed name that is
// not empty but draws nothing (blanks, zero-width characters, fillers).
int32_t CheckTextRules(const Registration& registration);

}  // namespace velora::server
