#pragma once
// The registration form's fields by the body keys that carry them ("UserName", "ChipSetUser",
// "RaidDisk3Size", ...), so a field can be named on the command line.

#include <string>

#include "ranking/ranking_form.h"

namespace velora {

// Sets the field a body key names; false for a key that is not a form field.
bool SetFormField(RankingForm& form, const std::string& key, const std::string& value);

// Whether SetFormField takes the key.
bool IsFormKey(const std::string& key);

}  // namespace velora
