// Literal parsing and printing.
#include "frame/container/literal.h"

#include "frame/automation/error.h"

namespace ze::container {

Variant ParseLiteral(std::u16string_view) { Raise(errors::kTypeMismatch); }
String FormatLiteral(const Variant&, LiteralStyle) { return String(); }

}  // namespace ze::container
