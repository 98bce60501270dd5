#include "server/stored_pairs.h"

#include <nlohmann/json.hpp>

namespace velora::server {

std::string PairsJson(const std::vector<FormPair>& pairs) {
  nlohmann::json list = nlohmann::json::array();
  for (const FormPair& pair : pairs) list.push_back({pair.key, pair.value});
  return list.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::vector<FormPair> PairsOfJson(const std::string& text) {
  std::vector<FormPair> pairs;
  const nlohmann::json list = nlohmann::json::parse(text, nullptr, false);
  if (!list.is_array()) return pairs;
  for (const nlohmann::json& pair : list) {
    if (pair.is_array() && pair.size() == 2 && pair[0].is_string() && pair[1].is_string()) {
      pairs.push_back({pair[0].get<std::string>(), pair[1].get<std::string>()});
    }
  }
  return pairs;
}

std::string FieldOf(const std::vector<FormPair>& pairs, const std::string& key) {
  for (const FormPair& pair : pairs) {
    if (pair.key == key) return pair.value;
  }
  return {};
}

}  // namespace velora::server
