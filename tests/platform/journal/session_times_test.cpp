// A session's end in the local time at its end, across the clocks going
// forward and back.
#include <gtest/gtest.h>

#include "platform/journal/session_times.h"

namespace tempodial {
namespace {

TEST(SessionTimes, TheEndHasTheOffsetOfItsOwnMoment) {
  const QTimeZone london("Europe/London");
  ASSERT_TRUE(london.isValid());
  auto utc = [](const char* text) { return QDateTime::fromString(text, Qt::ISODate); };
  const struct {
    const char* name;
    const char* start;
    int startOffset;
    const char* end;
    int endOffset;
  } cases[] = {
      {"forward: 00:30 GMT to 04:30 BST", "2024-03-31T00:30:00Z", 0, "2024-03-31T03:30:00Z", 3600},
      {"back: 01:30 BST to 02:30 GMT", "2024-10-27T00:30:00Z", 3600, "2024-10-27T02:30:00Z", 0},
      {"no change", "2024-07-01T10:00:00Z", 3600, "2024-07-01T12:00:00Z", 3600},
      {"kept in another zone", "2024-03-31T00:30:00Z", 19800, "2024-03-31T03:30:00Z", 19800},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(endOffset(utc(c.start), c.startOffset, utc(c.end), london), c.endOffset) << c.name;
  }
}

}  // namespace
}  // namespace tempodial
