// The command-line split: the original platform's rules, case by case, beside what a
// POSIX shell would have made of the same line.
#include "frame/system/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace ze::system {
namespace {

struct Case {
  const char* name;
  std::u16string_view line;
  std::vector<String> args;
};

const Case kCases[] = {
    {"empty", u"", {}},
    {"blanks only", u" \t  ", {}},
    {"program alone", u"prova", {u"prova"}},
    {"leading blanks and tabs", u"  \tprova  a\t\tb  ", {u"prova", u"a", u"b"}},
    {"quoted program with blanks",
     u"\"C:\\Program Files\\x.exe\" -a",
     {u"C:\\Program Files\\x.exe", u"-a"}},
    // A program name is a path: its backslashes never escape, even before a quote.
    {"program keeps backslashes", u"C:\\a\\\"b c", {u"C:\\a\\\"b", u"c"}},
    {"quoted program ends at the next quote", u"\"a\\\"b c", {u"a\\", u"b", u"c"}},
    {"program quote glued to an argument", u"\"prog\"arg", {u"prog", u"arg"}},
    {"quoted argument with blanks", u"p \"a b\" c", {u"p", u"a b", u"c"}},
    {"quoted part inside an argument", u"p ab\"c d\"e", {u"p", u"abc de"}},
    {"empty quoted argument", u"p \"\" x", {u"p", u"", u"x"}},
    {"backslashes without a quote stay", u"p a\\\\b\\c", {u"p", u"a\\\\b\\c"}},
    {"odd backslashes before a quote", u"p a\\\"b", {u"p", u"a\"b"}},
    {"three backslashes before a quote", u"p a\\\\\\\"b", {u"p", u"a\\\"b"}},
    {"even backslashes before a quote", u"p \"a\\\\\" b", {u"p", u"a\\", u"b"}},
    {"trailing backslash in quotes", u"p \"C:\\dir\\\\\"", {u"p", u"C:\\dir\\"}},
    {"two quotes inside quotes", u"p \"a\"\"b c\"", {u"p", u"a\"b c"}},
    {"two quotes outside quotes", u"p a\"\"b", {u"p", u"ab"}},
    {"unclosed quote runs to the end", u"p \"a b", {u"p", u"a b"}},
    {"single quotes are plain characters", u"p 'a b'", {u"p", u"'a", u"b'"}},
    {"no expansion", u"p $HOME `id` *.txt %PATH%", {u"p", u"$HOME", u"`id`", u"*.txt", u"%PATH%"}},
    {"shell operators are plain", u"p a;b|c&&d>e", {u"p", u"a;b|c&&d>e"}},
};

TEST(SplitCommandLine, FollowsTheWindowsRules) {
  for (const Case& c : kCases) {
    EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.name;
  }
}

// One line whose every argument a POSIX shell would have split or unescaped otherwise
// (sh: 'a\b', 'c"d', 'e f', 'g"h i'; here the backslashes stay and ' is no quote).
TEST(SplitCommandLine, DiffersFromAShellWhereTheRulesDiffer) {
  const std::vector<String> args = SplitCommandLine(u"prog \"a\\\\b\" c\\\"d 'e f' \"g\"\"h i\"");
  EXPECT_EQ(args, (std::vector<String>{u"prog", u"a\\\\b", u"c\"d", u"'e", u"f'", u"g\"h i"}));
}

}  // namespace
}  // namespace ze::system
