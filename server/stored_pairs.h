#pragma once
// A registration's pairs as the entries table keeps them: one JSON array of [key, value].

#include <string>
#include <vector>

#include "server/form_body.h"

namespace velora::server {

std::string PairsJson(const std::vector<FormPair>& pairs);
// The pairs of the text; those that are not [text, text] are left out.
std::vector<FormPair> PairsOfJson(const std::string& text);
// The value of the first pair with that key; "" when there is none.
std::string FieldOf(const std::vector<FormPair>& pairs, const std::string& key);

}  // namespace velora::server
