// What a text shows, worked out from the code points written in each case.

#include "core/visible_text.h"

#include <gtest/gtest.h>

namespace velora {
namespace {

TEST(VisibleText, NothingShownHiddenControlsAndTheirEscapes) {
  struct Case {
    std::string text;
    bool showsNothing;
    bool hiddenControls;
    std::string escaped;
  };
  const Case cases[] = {
      {"", false, false, ""},
      {"Taro", false, false, "Taro"},
      {" \t", true, false, " \t"},
      {"\xE2\x80\x8B\xE2\x80\x8C\xE2\x80\x8D", true, false, "\xE2\x80\x8B\xE2\x80\x8C\xE2\x80\x8D"},
      {"\xC2\xAD\xE3\x80\x80\xEF\xBB\xBF", true, false, "\xC2\xAD\xE3\x80\x80\xEF\xBB\xBF"},
      {"\xF3\xA0\x80\x81", true, false, "\xF3\xA0\x80\x81"},  // a tag character
      {"a\xE2\x80\x8B", false, false, "a\xE2\x80\x8B"},
      {"\xE6\x97\xA5", false, false, "\xE6\x97\xA5"},
      {"\xC2\x9B" "31m", false, true, "\\u{009B}31m"},
      {"\xE2\x80\xAE" "abc", false, true, "\\u{202E}abc"},
      {"\xE2\x81\xA6", true, true, "\\u{2066}"},
      {"bell\x07 esc\x1B[2J\r\n", false, false, "bell\\x07 esc\\x1B[2J\\x0D\n"},
      {std::string("nul\0del\x7F", 8), false, false, "nul\\x00del\\x7F"},
      {"\xFF\xC2", false, false, "\\xFF\\xC2"},  // not UTF-8
      {"\\x1B", false, false, "\\x1B"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShowsNothing(c.text), c.showsNothing) << c.text;
    EXPECT_EQ(HasHiddenControls(c.text), c.hiddenControls) << c.text;
    EXPECT_EQ(EscapedForTerminal(c.text), c.escaped) << c.text;
  }
}

}  // namespace
}  // namespace velora
