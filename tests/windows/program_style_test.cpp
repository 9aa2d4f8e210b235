// The program's style draws what Fusion draws, without reading a picture
// file through the image plugins.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QStyleFactory>

#include "platform/forms/program_style.h"

namespace tempodial {
namespace {

QImage drawn(QStyle* style, const QString& title, bool checkable) {
  QGroupBox box(title);
  box.setCheckable(checkable);
  box.setStyle(style);
  box.resize(160, 90);
  return box.grab().toImage();
}

TEST(ProgramStyle, GroupBoxFramesAreFusionsOwn) {
  QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"));
  ProgramStyle program(QStyleFactory::create(QStringLiteral("Fusion")));
  for (const auto& [title, checkable] :
       {std::pair{QStringLiteral("Controls"), false}, std::pair{QString(), false},
        std::pair{QStringLiteral("Frame1"), true}}) {
    EXPECT_EQ(drawn(&program, title, checkable), drawn(fusion, title, checkable))
        << qPrintable(title) << " checkable " << checkable;
  }
  delete fusion;
}

TEST(ProgramStyle, ExtensionArrowsAreDrawnAtEverySize) {
  ProgramStyle program(QStyleFactory::create(QStringLiteral("Fusion")));
  for (auto arrow :
       {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
    for (int side : {16, 32}) {
      const QImage image = program.standardIcon(arrow).pixmap(side, side).toImage();
      ASSERT_EQ(image.size(), QSize(side, side));
      int inked = 0;
      for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) inked += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
      }
      EXPECT_GT(inked, side) << "arrow " << arrow << " at " << side;
    }
  }
}

}  // namespace
}  // namespace tempodial
