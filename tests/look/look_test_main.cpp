// The look of the windows, measured in-process: on the offscreen platform,
// unless the test runs in a real X session (QT_QPA_PLATFORM=xcb), where the
// desktop's font size and scale apply.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
