#pragma once
// Text for HTML: every character that could open markup or end an attribute is replaced by
// its entity, so nothing a submission carries reaches a page as markup.

#include <string>

namespace velora::server {

std::string HtmlEscaped(const std::string& text);

}  // namespace velora::server
