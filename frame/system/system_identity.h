// Which operating system runs the process, from uname(2): its name ("Linux"), the
// kernel release ("6.1.0-18-amd64") with the three leading numbers read from it, and
// the kernel's version text (its build description, "#1 SMP PREEMPT_DYNAMIC ...").
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ze::system {

struct SystemIdentity {
  std::string name;
  std::string release;
  std::string version;
  // The leading numbers of the release ("6.1.0-18" gives 6, 1, 0); a number missing
  // from it is 0, one too large for 32 bits is cut to the largest.
  std::int32_t major = 0;
  std::int32_t minor = 0;
  std::int32_t build = 0;
};

// Nothing when uname fails.
std::optional<SystemIdentity> QuerySystemIdentity();

// The three numbers at the start of a release text.
void ReadReleaseNumbers(const std::string& release, SystemIdentity& identity);

}  // namespace ze::system
