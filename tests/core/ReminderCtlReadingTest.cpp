// The commands that only read: they decode no further than they need.
#include "core/ReminderCtlFixture.h"

namespace reminder {
namespace testing {

// next stops at its record, so damage behind it is never met; list reads to the end and
// says what it found.
TEST_F(ReminderCtl, NextReadsNoFurtherThanItsRecord) {
  files.files["Reminder.dat"] =
      Encoded({Reminder("eins"), Reminder("zwei", rkDaily)}) + std::string(40, '\xFF');
  ASSERT_EQ(Run({"next", "1", "--count", "2", "--at", "24.07.2025 08:00"}), kExitOk);
  EXPECT_EQ(out, "24.07.2025 09:30:00\n");
  EXPECT_EQ(err, "");
  ASSERT_EQ(Run({"list"}), kExitOk);
  EXPECT_EQ(Lines(out).size(), 1u);
  EXPECT_NE(err.find("besch\xC3\xA4"
                     "digt"),
            std::string::npos)
      << err;
}

}  // namespace testing
}  // namespace reminder
