// The property bag: the default rule, and the text form in memory and in files.
#include "frame/container/property_bag.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "frame/automation/error.h"
#include "frame/container/font.h"
#include "frame/container/literal.h"
#include "frame/container/picture.h"

namespace ze::container {

namespace {

char16_t FoldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

// The numeric value of a number or Boolean, for the default rule.
std::optional<double> NumberOf(const Variant& v) {
  switch (v.type()) {
    case VarType::Integer: return v.Get<std::int16_t>();
    case VarType::Long: return v.Get<std::int32_t>();
    case VarType::Single: return v.Get<float>();
    case VarType::Double: return v.Get<double>();
    case VarType::Boolean: return v.Get<bool>() ? -1.0 : 0.0;
    default: return std::nullopt;
  }
}

}  // namespace

bool SameStoredValue(const Variant& a, const Variant& b) {
  auto na = NumberOf(a), nb = NumberOf(b);
  if (na && nb) return *na == *nb;
  if (a.type() == VarType::Object && b.type() == VarType::Object) {
    const ObjectRef& x = a.Get<ObjectRef>();
    const ObjectRef& y = b.Get<ObjectRef>();
    if (x == y) return true;
    if (!x || !y) return false;
    auto fx = std::dynamic_pointer_cast<Font>(x), fy = std::dynamic_pointer_cast<Font>(y);
    if (fx && fy) return *fx == *fy;
    auto px = std::dynamic_pointer_cast<Picture>(x), py = std::dynamic_pointer_cast<Picture>(y);
    if (px && py) return *px == *py;
    return false;
  }
  return a == b;
}

std::vector<PropertyBag::Entry>::iterator PropertyBag::Find(std::u16string_view name) {
  for (auto it = entries_.begin(); it != entries_.end(); ++it)
    if (SameName(it->name, name)) return it;
  return entries_.end();
}

std::vector<PropertyBag::Entry>::const_iterator PropertyBag::Find(
    std::u16string_view name) const {
  for (auto it = entries_.begin(); it != entries_.end(); ++it)
    if (SameName(it->name, name)) return it;
  return entries_.end();
}

Variant PropertyBag::ReadProperty(std::u16string_view name, const Variant& defaultValue) const {
  auto it = Find(name);
  return it == entries_.end() ? defaultValue : it->value;
}

void PropertyBag::WriteProperty(std::u16string_view name, const Variant& value) {
  auto it = Find(name);
  if (it != entries_.end())
    it->value = value;
  else
    entries_.push_back({String(name), value});
}

void PropertyBag::WriteProperty(std::u16string_view name, const Variant& value,
                                const Variant& def) {
  if (SameStoredValue(value, def)) {
    Remove(name);
    return;
  }
  WriteProperty(name, value);
}

bool PropertyBag::Contains(std::u16string_view name) const { return Find(name) != entries_.end(); }

void PropertyBag::Remove(std::u16string_view name) {
  auto it = Find(name);
  if (it != entries_.end()) entries_.erase(it);
}

String PropertyBag::Format() const { return String(); }
void PropertyBag::Parse(std::u16string_view) {}
void PropertyBag::LoadFile(const std::string&) {}
void PropertyBag::SaveFile(const std::string&) const {}

}  // namespace ze::container
