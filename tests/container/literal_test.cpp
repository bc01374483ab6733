// Literals: every kind in both styles, kind-exact round trips, a sweep of dates, and
// the texts that must be refused.
#include "frame/container/literal.h"

#include <gtest/gtest.h>

#include <cmath>

#include "frame/automation/error.h"
#include "frame/container/font.h"
#include "frame/container/picture.h"
#include "frame/container/property_bag.h"

namespace ze::container {
namespace {

std::string Fmt(const Variant& v, LiteralStyle style = LiteralStyle::Plain) {
  return ToUtf8(FormatLiteral(v, style));
}
Variant Parse(const char* text) {
  return ParseLiteral(FromUtf8(text));
}

TEST(Literal, ReadsEachKind) {
  struct {
    const char* text;
    Variant want;
  } cases[] = {
      {"\"text\"", u"text"},
      {"\"say \"\"hi\"\"\"", u"say \"hi\""},
      {"\"\"", u""},
      {"\"a\" & ChrW(10) & \"b\"", String(u"a\nb")},
      {"380", std::int16_t{380}},
      {"-32768", std::int16_t{-32768}},
      {"32768", std::int32_t{32768}},
      {"-2147483648", std::int32_t{-2147483647 - 1}},
      {"2147483648", 2147483648.0},
      {"-1.5", -1.5},
      {"1E+20", 1e20},
      {".5", 0.5},
      {"&H80000005", std::int32_t(0x80000005u)},
      {"&H80000005&", std::int32_t(0x80000005u)},
      {"&hff", std::int32_t{255}},
      {"5%", std::int16_t{5}},
      {"5&", std::int32_t{5}},
      {"1.5!", 1.5f},
      {"5#", 5.0},
      {"True", true},
      {"false", false},
      {"#2005-12-25#", ze::Date(38711)},
      {"#2005-12-25 14:30:00#", ze::Date(38711 + (14.5 / 24))},
      {"#1899-12-29 06:00#", ze::Date(-1.25)},
      {"Empty", Variant()},
      {"Null", Variant::Null()},
      {"Nothing", Variant::Nothing()},
      {"Error(448)", ErrorValue{448}},
      {"  True  ", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Parse(c.text), c.want) << c.text;
  }
}

TEST(Literal, FontsAndPictures) {
  auto v = Parse("Font(\"MS Sans Serif\", 9.75, Bold, Italic)");
  auto font = std::dynamic_pointer_cast<Font>(v.Get<ObjectRef>());
  ASSERT_TRUE(font);
  EXPECT_EQ(font->Name(), u"MS Sans Serif");
  EXPECT_EQ(font->Size(), 9.75);
  EXPECT_TRUE(font->Bold());
  EXPECT_TRUE(font->Italic());
  EXPECT_FALSE(font->Underline());
  EXPECT_EQ(Fmt(v), "Font(\"MS Sans Serif\", 9.75, Bold, Italic)");

  Font odd(u"Arial", 10);
  odd.SetWeight(600);
  odd.SetUnderline(true);
  odd.SetStrikethrough(true);
  odd.SetCharset(2);
  const Variant oddValue(ObjectRef(std::make_shared<Font>(odd)));
  EXPECT_EQ(Fmt(oddValue),
            "Font(\"Arial\", 10, Weight(600), Underline, Strikethrough, Charset(2))");
  EXPECT_TRUE(SameStoredValue(ParseLiteral(FormatLiteral(oddValue)), oddValue));

  // A name with characters written as ChrW (a tab, a leading control character) and a
  // quote reads back as it was saved.
  for (const char16_t* name : {u"T\tf", u"\tLead", u"Say \"hi\""}) {
    const Variant named(ObjectRef(std::make_shared<Font>(name, 15)));
    const Variant back = ParseLiteral(FormatLiteral(named));
    EXPECT_TRUE(SameStoredValue(back, named)) << ToUtf8(name);
  }

  const std::string bytes("\x00\x01\xFF\x80glyph", 9);
  for (std::size_t n = 0; n <= bytes.size(); ++n) {  // every padding case
    const Variant pic(
        ObjectRef(std::make_shared<Picture>(PictureKind::Icon, 32, 16, bytes.substr(0, n))));
    const Variant back = ParseLiteral(FormatLiteral(pic));
    EXPECT_TRUE(SameStoredValue(back, pic)) << n;
  }
  EXPECT_EQ(Fmt(Variant(ObjectRef(std::make_shared<Picture>(PictureKind::Bitmap, 11, 9, "ab")))),
            "Picture(Bitmap, 11, 9, \"YWI=\")");
}

TEST(Literal, WritesEachKind) {
  struct {
    Variant value;
    const char* plain;
    const char* typed;
  } cases[] = {
      {u"say \"hi\"", "\"say \"\"hi\"\"\"", "\"say \"\"hi\"\"\""},
      {String(u"line1\r\nline2"), "\"line1\" & ChrW(13) & ChrW(10) & \"line2\"", nullptr},
      {String(1, char16_t(0xD800)), "ChrW(55296)", nullptr},
      {u"\U0001F600", "\"\U0001F600\"", nullptr},
      {std::int16_t{-5}, "-5", "-5"},
      {std::int32_t{5}, "5", "5&"},
      {std::int32_t{40000}, "40000", "40000"},
      {std::int32_t(0x80000005u), "-2147483643", "-2147483643"},
      {0.1f, "0.1", "0.1!"},
      {0.1, "0.1", "0.1"},
      {5.0, "5", "5#"},
      {1e20, "1E+20", "1E+20"},
      {-1.5, "-1.5", "-1.5"},
      {true, "True", "True"},
      {ze::Date(38711), "#2005-12-25#", nullptr},
      {ze::Date(38711.6041666667), "#2005-12-25 14:30:00#", nullptr},
      {ze::Date(-1.25), "#1899-12-29 06:00:00#", nullptr},
      {ze::Date(38711.99999999), "#2005-12-26#", nullptr},  // rounds to the next midnight
      {Variant(), "Empty", "Empty"},
      {Variant::Null(), "Null", "Null"},
      {Variant::Nothing(), "Nothing", "Nothing"},
      {ErrorValue{448}, "Error(448)", "Error(448)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Fmt(c.value), c.plain);
    EXPECT_EQ(Fmt(c.value, LiteralStyle::Typed), c.typed ? c.typed : c.plain);
  }
}

TEST(Literal, TypedFormReadsBackKindAndValue) {
  const Variant values[] = {std::int16_t{0},
                            std::int16_t{-32768},
                            std::int32_t{0},
                            std::int32_t{-1},
                            std::int32_t{32768},
                            0.0f,
                            -3.25f,
                            1e-30f,
                            0.0,
                            1.0 / 3,
                            -1e300,
                            123456789012.0,
                            true,
                            false,
                            ze::Date(0),
                            ze::Date(2958465 + 86399.0 / 86400),
                            ze::Date(-657434),
                            String(u"tab\there"),
                            String(u""),
                            ErrorValue{0}};
  for (const auto& v : values) {
    const String text = FormatLiteral(v, LiteralStyle::Typed);
    const Variant back = ParseLiteral(text);
    EXPECT_EQ(back.type(), v.type()) << ToUtf8(text);
    EXPECT_EQ(back, v) << ToUtf8(text);
  }
}

TEST(Literal, EveryDayOfTwoCenturiesAndASpreadOfTheRestRoundTrip) {
  // 1850 to 2150 day by day (with a time of day on each), then every 97th day over
  // the whole range of years.
  auto check = [](double serial) {
    const Variant v(ze::Date{serial});
    const String text = FormatLiteral(v);
    const Variant back = ParseLiteral(text);
    ASSERT_EQ(back, v) << ToUtf8(text);
  };
  for (double d = -18260; d <= 91677; ++d) {
    check(d);
    check(d < 0 ? d - 0.75 : d + 0.75);  // 18:00
  }
  for (double d = -657434; d <= 2958465; d += 97) check(d);
  // Consecutive days print consecutive dates across a month and a leap day.
  EXPECT_EQ(Fmt(ze::Date(-36464)), "#1800-02-28#");
  EXPECT_EQ(Fmt(ze::Date(-36463)), "#1800-03-01#");  // 1800 is not a leap year
  EXPECT_EQ(Fmt(ze::Date(36585)), "#2000-02-29#");
}

TEST(Literal, RefusesWhatIsNotOneLiteral) {
  const char* bad[] = {
      "",                               // nothing
      "\"abc",                          // no closing quote
      "\"a\" \"b\"",                    // two strings
      "\"a\" &",                        // concatenation without a right side
      "abc",                            // unknown word
      "Foo(1)",                         // unknown kind
      "True False",                     // trailing text
      "1.5%",                           // an Integer cannot have a fraction
      "40000%",                         // nor be that big
      "1e400",                          // beyond a Double
      "3.5e39!",                        // beyond a Single
      "&H",                             // no hex digits
      "&H123456789",                    // more than 32 bits
      "#2005-02-29#",                   // not a leap year
      "#2005-13-01#",                   // no month 13
      "#0099-01-01#",                   // before year 100
      "#2005-12-25 24:00#",             // no hour 24
      "#2005-12-25",                    // unterminated
      "#25/12/2005#",                   // another date form
      "ChrW(70000)",                    // beyond UTF-16 units
      "Font(\"Arial\")",                // no size
      "Font(\"Arial\", 0)",             // a size must be positive
      "Font(\"Arial\", 9, Heavy)",      // unknown attribute
      "Font(\"Arial\", 9, Weight(0))",  // weight 1 to 1000
      "Picture(Gif, 1, 1, \"\")",       // unknown kind
      "Picture(Icon, -1, 1, \"\")",     // negative size
      "Picture(Icon, 1, 1, \"YW\")",    // truncated base64
      "Picture(Icon, 1, 1, \"Y!==\")",  // not base64
      "Error(1.5)",                     // a code is whole
  };
  for (const char* text : bad) {
    try {
      Parse(text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), errors::kTypeMismatch) << text;
      EXPECT_NE(ToUtf8(e.description()).find("column"), std::string::npos) << text;
    }
  }
}

TEST(Literal, RefusesToWriteWhatCannotBeRead) {
  struct Other : Object {
    String TypeName() const override { return u"Kalendo"; }
  };
  const Variant cases[] = {Variant(ObjectRef(std::make_shared<Other>())), std::nan(""), HUGE_VALF,
                           ze::Date(1e9)};
  for (const auto& v : cases) EXPECT_THROW(FormatLiteral(v), AutomationError);
}

}  // namespace
}  // namespace ze::container
