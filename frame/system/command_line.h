// Splitting a command line into an argument vector the way programs of the original
// platform split their own (the rules of its shell library's command-line parser).
//
// The line is one text; the program name and the arguments come out of it as follows.
//   - The first token is the program name. It ends at the first blank or tab, or, when
//     it opens with a quote, at the next quote, whatever comes between: a program name
//     is a path, and backslashes in a path are folder separators, never escapes.
//   - Blanks and tabs outside quotes separate the other arguments; any number of them
//     count as one separator.
//   - A quote opens or closes a quoted part, which may hold blanks and tabs; a quoted
//     part can sit inside an argument (ab"c d"e is one argument, abc de).
//   - Backslashes are plain characters unless a quote follows them: 2n backslashes
//     and a quote give n backslashes and open or close a quoted part, 2n+1 backslashes
//     and a quote give n backslashes and a plain quote.
//   - Inside a quoted part, two quotes give one plain quote and the part goes on.
//   - A quoted part still open at the end of the line ends there.
// A POSIX shell splits many lines differently: it takes single quotes as quotes,
// backslashes as escapes everywhere, and $ and ` as expansions; none of that applies
// here, and no character is expanded. An empty or blank line gives no arguments.
#pragma once

#include <string_view>
#include <vector>

#include "frame/automation/string.h"

namespace ze::system {

std::vector<String> SplitCommandLine(std::u16string_view line);

}  // namespace ze::system
