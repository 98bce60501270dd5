#pragma once
// The one style sheet of every page, both languages: readable from a 390-pixel phone up.

namespace velora::server {

const char* StyleSheet();

}  // namespace velora::server
