#pragma once
// Text for HTML: every character that could open markup or end an attribute is replaced by
// its entity, so no text from a machine or a submission reaches a page as markup.

#include <string>

namespace velora {

std::string HtmlEscaped(const std::string& text);

}  // namespace velora
