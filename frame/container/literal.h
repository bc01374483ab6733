// Literals: the one text form of automation values used in property-bag files, in the
// test container's commands and in its output.
//
//   String   "text", a quote inside doubled: "say ""hi""". A character that cannot stand
//            inside a one-line literal (a control character, an unpaired surrogate) is
//            written as a concatenation: "a" & ChrW(10) & "b".
//   Numbers  380 (Integer when it fits 16 bits, else Long when it fits 32, else Double),
//            -1.5 and 1E+20 (Double), &H80000005 (hex, as Long; a trailing & allowed).
//            A type suffix forces the kind: 5% Integer, 5& Long, 1.5! Single, 5# Double.
//   Boolean  True, False
//   Date     #2005-12-25#, #2005-12-25 14:30:00#  (years 100 to 9999)
//   Others   Empty, Null, Nothing, Error(448)
//   Font     Font("MS Sans Serif", 9.75) with optional , Bold  , Italic  , Underline
//            , Strikethrough  , Weight(600)  , Charset(2)
//   Picture  Picture(Icon, 32, 32, "BASE64 OF THE IMAGE BYTES")
// Keywords are matched without regard to case; blanks around tokens are ignored.
//
// FormatLiteral writes numbers in the shortest form that reads back to the same value,
// dates with the time only when it is not midnight. In the Typed style it adds the type
// suffix wherever reading back would otherwise give another kind, so a value survives a
// file round trip kind and all; the Plain style (for people) never does.
#pragma once

#include <string_view>

#include "frame/automation/string.h"
#include "frame/automation/variant.h"

namespace ze::container {

enum class LiteralStyle { Plain, Typed };

// Raises automation error 13 (type mismatch) with a description of what is wrong and
// where, when the text is not exactly one literal.
Variant ParseLiteral(std::u16string_view text);

// The literal of a value. Objects other than fonts and pictures cannot be written and
// raise error 13.
String FormatLiteral(const Variant& value, LiteralStyle style = LiteralStyle::Plain);

}  // namespace ze::container
