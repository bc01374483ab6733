// The INI text rules: what a read finds, and what a write changes and keeps.
#include "frame/system/ini_text.h"

#include <gtest/gtest.h>

namespace ze::system {
namespace {

struct FindCase {
  const char* name;
  const char* text;
  const char16_t* section;
  const char16_t* key;
  const char16_t* expected;  // nullptr: not found
};

TEST(IniText, FindsValuesByTheProfileRules) {
  const FindCase cases[] = {
      {"plain", "[a]\nk=v\n", u"a", u"k", u"v"},
      {"names ignore case", "[Dati]\nPercorso=x\n", u"DATI", u"percorso", u"x"},
      {"Latin-1 letters ignore case", "[\xC0rea]\nk=v\n", u"\u00E0rea", u"k", u"v"},
      {"blanks around names and value", "  [ a ]  \n \t k \t= \t v w \t\n", u"a", u"k", u"v w"},
      {"caller's names are trimmed too", "[a]\nk=v\n", u" a ", u"\tk ", u"v"},
      {"one pair of double quotes", "[a]\nk=\" v \"\n", u"a", u"k", u" v "},
      {"one pair of single quotes", "[a]\nk='v'\n", u"a", u"k", u"v"},
      {"only one pair goes", "[a]\nk=\"\"v\"\"\n", u"a", u"k", u"\"v\""},
      {"unmatched quotes stay", "[a]\nk=\"v'\n", u"a", u"k", u"\"v'"},
      {"a lone quote stays", "[a]\nk=\"\n", u"a", u"k", u"\""},
      {"empty value is found", "[a]\nk=\n", u"a", u"k", u""},
      {"value keeps later equals signs", "[a]\nk=x=y\n", u"a", u"k", u"x=y"},
      {"inline semicolon is part of the value", "[a]\nk=v ; note\n", u"a", u"k", u"v ; note"},
      {"comment line is no key", "[a]\n;k=v\n", u"a", u"k", nullptr},
      {"indented comment is no key", "[a]\n  ; k=v\n", u"a", u"k", nullptr},
      {"line without equals is no key", "[a]\nk\n", u"a", u"k", nullptr},
      {"key before any section is never found", "k=v\n[a]\n", u"a", u"k", nullptr},
      {"key of another section", "[a]\nk=1\n[b]\nj=2\n", u"b", u"k", nullptr},
      {"missing section", "[a]\nk=v\n", u"b", u"k", nullptr},
      {"empty text", "", u"a", u"k", nullptr},
      {"header without closing bracket", "[a\nk=v\n", u"a", u"k", u"v"},
      {"text after the bracket ignored", "[a] tail\nk=v\n", u"a", u"k", u"v"},
      {"CR LF endings", "[a]\r\nk=v\r\n", u"a", u"k", u"v"},
      {"lone CR endings", "[a]\rk=v\rj=w", u"a", u"j", u"w"},
      {"no final line end", "[a]\nk=v", u"a", u"k", u"v"},
      {"Windows-1252 bytes", "[a]\nk=caff\xE8 \x80\n", u"a", u"k", u"caff\u00E8 \u20AC"},
      // Duplicates: repeated sections read as one, the first key wins.
      {"first of duplicated keys", "[a]\nk=1\nk=2\n", u"a", u"k", u"1"},
      {"key in second copy of a section", "[a]\nx=0\n[b]\n[A]\nk=2\n", u"a", u"k", u"2"},
      {"first copy's key wins", "[a]\nk=1\n[a]\nk=2\n", u"a", u"k", u"1"},
  };
  for (const FindCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<String> found = FindProfileValue(c.text, c.section, c.key);
    if (c.expected == nullptr) {
      EXPECT_FALSE(found.has_value());
    } else {
      ASSERT_TRUE(found.has_value());
      EXPECT_EQ(*found, String(c.expected));
    }
  }
}

struct SetCase {
  const char* name;
  const char* before;
  const char16_t* section;
  const char16_t* key;
  const char16_t* value;
  const char* after;
};

TEST(IniText, WritesChangeOneLineAndKeepTheRest) {
  const SetCase cases[] = {
      {"new file", "", u"a", u"k", u"v", "[a]\r\nk=v\r\n"},
      {"replace keeps spelling and spacing", "[A]\r\n  Key = old  \r\n", u"a", u"key", u"new",
       "[A]\r\n  Key = new\r\n"},
      {"replace keeps comments and other keys", "; top\n[a]\nj=1\n; mid\nk=2\n\n[b]\nk=3\n",
       u"a", u"k", u"9", "; top\n[a]\nj=1\n; mid\nk=9\n\n[b]\nk=3\n"},
      {"new key after the section's last key", "[a]\nj=1\n\n; about b\n[b]\nx=1\n", u"a", u"k",
       u"v", "[a]\nj=1\nk=v\n\n; about b\n[b]\nx=1\n"},
      {"new key in an empty section", "[a]\n[b]\n", u"a", u"k", u"v", "[a]\nk=v\n[b]\n"},
      {"new section at the end, LF kept", "[a]\nj=1\n", u"b", u"k", u"v", "[a]\nj=1\n[b]\nk=v\n"},
      {"CR LF kept", "[a]\r\nj=1\r\n", u"a", u"k", u"v", "[a]\r\nj=1\r\nk=v\r\n"},
      {"mixed endings stay per line", "[a]\r\nj=1\nk=2\r\n", u"a", u"j", u"5",
       "[a]\r\nj=5\nk=2\r\n"},
      {"no final line end, replace", "[a]\nk=1", u"a", u"k", u"2", "[a]\nk=2"},
      {"no final line end, add key", "[a]\nj=1", u"a", u"k", u"2", "[a]\nj=1\nk=2\n"},
      {"no final line end, add section", "[a]\nj=1", u"b", u"k", u"2", "[a]\nj=1\n[b]\nk=2\n"},
      {"first of duplicated keys changes", "[a]\nk=1\nk=2\n", u"a", u"k", u"3",
       "[a]\nk=3\nk=2\n"},
      {"key in the second copy changes there", "[a]\nx=1\n[a]\nk=2\n", u"a", u"k", u"3",
       "[a]\nx=1\n[a]\nk=3\n"},
      {"missing key goes to the first copy", "[a]\nx=1\n[a]\ny=2\n", u"a", u"k", u"3",
       "[a]\nx=1\nk=3\n[a]\ny=2\n"},
      {"empty value", "[a]\nk=1\n", u"a", u"k", u"", "[a]\nk=\n"},
      {"character outside the code page", "", u"a", u"k", u"\u4E00\u00E8", "[a]\r\nk=?\xE8\r\n"},
  };
  for (const SetCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<std::string> after = SetProfileValue(c.before, c.section, c.key, c.value);
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(*after, c.after);
  }
}

TEST(IniText, WhatIsWrittenReadsBack) {
  const char16_t* values[] = {u"plain", u"x=y", u"\"quoted\"", u"a ; b", u"caff\u00E8"};
  std::string text = "; settings\r\n[a]\r\nk=1\r\n";
  for (const char16_t* value : values) {
    SCOPED_TRACE(ToUtf8(value));
    text = *SetProfileValue(text, u"B", u"Key", value);
    const String expected = value == std::u16string_view(u"\"quoted\"") ? u"quoted" : value;
    EXPECT_EQ(FindProfileValue(text, u"b", u"KEY"), expected);
    EXPECT_EQ(FindProfileValue(text, u"a", u"k"), u"1");
  }
}

TEST(IniText, RefusesWhatCannotBeOneLine) {
  struct Bad {
    const char* name;
    const char16_t* section;
    const char16_t* key;
    std::u16string_view value;
  };
  const Bad cases[] = {
      {"line feed in value", u"a", u"k", u"v\n[b]\nx=1"},
      {"carriage return in value", u"a", u"k", u"v\rx=1"},
      {"NUL in value", u"a", u"k", std::u16string_view(u"v\0w", 3)},
      {"line break in key", u"a", u"k\nx", u"v"},
      {"line break in section", u"a\n", u"k", u"v"},
      {"equals in key", u"a", u"k=x", u"v"},
      {"bracket in section", u"a]b", u"k", u"v"},
      {"key reads as a section", u"a", u"[k", u"v"},
      {"key reads as a comment", u"a", u" ;k", u"v"},
      {"blank key", u"a", u"  ", u"v"},
      {"blank section", u"", u"k", u"v"},
  };
  for (const Bad& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(SetProfileValue("[a]\nk=1\n", c.section, c.key, c.value).has_value());
  }
}

}  // namespace
}  // namespace ze::system
