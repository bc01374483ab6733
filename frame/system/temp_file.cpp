// Exclusive creation of temporary files; see temp_file.h.
#include "frame/system/temp_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "frame/system/native_path.h"

namespace ze::system {
namespace {

constexpr std::uint32_t kNumbers = 0xFFFF;  // 1 to FFFF: four hexadecimal digits at most

std::optional<std::uint16_t>& StartOverride() {
  static std::optional<std::uint16_t> start;
  return start;
}

std::uint32_t StartNumber() {
  if (StartOverride()) return *StartOverride();
  std::random_device random;
  return 1 + random() % kNumbers;
}

String Hexadecimal(std::uint32_t number) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  String digits;
  do {
    digits.insert(digits.begin(), kDigits[number & 0xF]);
    number >>= 4;
  } while (number != 0);
  return digits;
}

}  // namespace

String GetTempFileName(const String& folder, const String& prefix) {
  String base = folder;
  if (base.empty()) return {};
  if (base.back() != u'\\' && base.back() != u'/') base.push_back(u'\\');
  const std::uint32_t start = StartNumber();
  for (std::uint32_t tried = 0; tried < kNumbers; ++tried) {
    const std::uint32_t number = 1 + (start - 1 + tried) % kNumbers;
    const String name = base + prefix + Hexadecimal(number) + u".TMP";
    const std::optional<std::string> native = NativePath(name);
    if (!native) return {};
    const int fd = ::open(native->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          0600);
    if (fd >= 0) {
      if (::close(fd) != 0) {
        ::unlink(native->c_str());
        return {};
      }
      return name;
    }
    if (errno != EEXIST) return {};
  }
  return {};
}

void SetTempFileNumberStart(std::optional<std::uint16_t> number) {
  if (number && *number == 0) number = 1;
  StartOverride() = number;
}

}  // namespace ze::system
