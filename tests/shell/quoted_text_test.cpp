// Text from files quoted in messages: what is text stays, what is not is
// escaped, and a long text is cut where the limit falls.
#include <gtest/gtest.h>

#include <string>

#include "shell/quoted_text.h"

namespace vna {
namespace {

TEST(QuotedTextTest, EscapesWhatIsNotTextAndCutsAtTheLimit) {
  struct Case {
    const char* name;
    std::string in;
    size_t max;
    std::string out;
  };
  const Case cases[] = {
      {"plain text and tabs", "Marker data\t120716", 80, "Marker data\t120716"},
      {"a Windows path", "c:\\vna\\my cal.vcal", 80, "c:\\vna\\my cal.vcal"},
      {"control bytes", std::string("a\0b\x1b\x7f\r\n", 7), 80, "a\\x00b\\x1B\\x7F\\x0D\\x0A"},
      {"UTF-8 characters",
       "\xc3\x9c"
       "bung \xe2\x82\xac \xf0\x9f\x93\xa1",
       80,
       "\xc3\x9c"
       "bung \xe2\x82\xac \xf0\x9f\x93\xa1"},
      {"a stray continuation byte", "a\x80z", 80, "a\\x80z"},
      {"a truncated sequence", "a\xe2\x82", 80, "a\\xE2\\x82"},
      {"an overlong form", "\xc0\xaf", 80, "\\xC0\\xAF"},
      {"a surrogate", "\xed\xa0\x80", 80, "\\xED\\xA0\\x80"},
      {"a C1 control", "\xc2\x85", 80, "\\xC2\\x85"},
      {"beyond the last code point", "\xf4\x90\x80\x80", 80, "\\xF4\\x90\\x80\\x80"},
      {"exactly at the limit", "abcde", 5, "abcde"},
      {"one over the limit", "abcdef", 5, "abcde..."},
      {"an escape that would cross the limit", "abc\x01", 5, "abc..."},
      {"a character counts one", "\xc3\xa9\xc3\xa9\xc3\xa9", 2, "\xc3\xa9\xc3\xa9..."},
      {"empty", "", 80, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(QuotedText(c.in, c.max), c.out) << c.name;
  EXPECT_EQ(QuotedText(std::string(100, 'x')), std::string(kQuotedChars, 'x') + "...");
  const std::string long_path = "/data/" + std::string(400, 'p') + ".scn";
  EXPECT_EQ(QuotedPath(long_path), long_path.substr(0, kQuotedPathChars) + "...");
}

}  // namespace
}  // namespace vna
