// The release numbers read from a kernel release text.
#include "frame/system/system_identity.h"

#include <gtest/gtest.h>

namespace ze::system {
namespace {

struct Release {
  const char* text;
  std::int32_t major, minor, build;
};

TEST(SystemIdentity, ReleaseNumbersAreTheLeadingThree) {
  const Release cases[] = {
      {"6.1.0-18-amd64", 6, 1, 0},
      {"5.15.153.1-microsoft-standard-WSL2", 5, 15, 153},
      {"6.8", 6, 8, 0},
      {"6.8-rc1", 6, 8, 0},
      {"4.", 4, 0, 0},
      {"", 0, 0, 0},
      {"abc", 0, 0, 0},
      {"99999999999.2.3", 2147483647, 2, 3},
  };
  for (const Release& r : cases) {
    SystemIdentity id;
    id.build = 77;
    ReadReleaseNumbers(r.text, id);
    EXPECT_EQ(id.major, r.major) << r.text;
    EXPECT_EQ(id.minor, r.minor) << r.text;
    EXPECT_EQ(id.build, r.build) << r.text;
  }
  EXPECT_TRUE(QuerySystemIdentity().has_value());
}

}  // namespace
}  // namespace ze::system
