#include "server/html_text.h"

#include "core/html_text.h"

namespace velora::server {

// The same escaping as the reports'.
std::string HtmlEscaped(const std::string& text) { return velora::HtmlEscaped(text); }

}  // namespace velora::server
