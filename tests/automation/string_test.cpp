// Encodings at the edges: UTF-8 round trips, broken input, the ANSI code page.
#include "frame/automation/string.h"

#include <gtest/gtest.h>

#include "frame/automation/error.h"

namespace ze {
namespace {

TEST(Utf8, RoundTripsEveryPlane) {
  const String text = u"25/12/2005 \u00e8\u20ac \U0001F600";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
}

TEST(Utf8, BrokenInputBecomesReplacement) {
  EXPECT_EQ(FromUtf8("a\xC3"), u"a\uFFFD");          // truncated
  EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\uFFFD");        // overlong
  EXPECT_EQ(FromUtf8("\xED\xA0\x80x"), u"\uFFFDx");  // surrogate
  EXPECT_EQ(FromUtf8("\xFF"), u"\uFFFD");
  EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Ansi, EveryByteRoundTrips) {
  for (int b = 0; b < 256; ++b) {
    auto back = ToAnsi(FromAnsi(static_cast<std::uint8_t>(b)));
    ASSERT_TRUE(back.has_value()) << b;
    EXPECT_EQ(*back, b);
  }
}

TEST(Ansi, CharactersOutsideTheCodePageHaveNoByte) {
  EXPECT_EQ(ToAnsi(u'\u20ac'), 0x80);
  EXPECT_FALSE(ToAnsi(u'\u0100').has_value());
  EXPECT_FALSE(ToAnsi(u'\u4e2d').has_value());
}

TEST(ErrorRecord, RaiseFillsTheRecordAndThrows) {
  Err().Clear();
  try {
    Raise(errors::kOverflow);
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 6);
    EXPECT_EQ(e.description(), u"Overflow");
  }
  EXPECT_EQ(Err().Number, 6);
  Err().Clear();
  EXPECT_EQ(Err().Number, 0);
}

}  // namespace
}  // namespace ze
