// The button bar: its close control and the question it asks, how the main
// window hides and shows it, and which program each of its buttons starts.
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPointer>

#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "tests/windows/window_fixture.h"
#include "windows/artwork/artwork.h"
#include "windows/main/main_window.h"
#include "windows/programs/button_bar.h"
#include "windows/programs/button_bar_question.h"

namespace tempodial {
namespace {

class ButtonBarTest : public WindowTest {
 protected:
  ButtonBar& bar() { return runtime->form<ButtonBar>(); }
  bool barShowing() const {
    Form* bar = runtime->loadedForm(ButtonBar::kName);
    return bar != nullptr && bar->isVisible();
  }
  ButtonBarQuestion* question() const {
    return static_cast<ButtonBarQuestion*>(runtime->loadedForm(ButtonBarQuestion::kName));
  }
  // Starts with the bar showing and closes it with its close control.
  QPointer<ButtonBar> closeShownBar() {
    writeValue(Place::Data, files::kButtShow, "0");
    startMain();
    EXPECT_TRUE(barShowing());
    QPointer<ButtonBar> closed = &bar();
    closed->close();
    EXPECT_NE(question(), nullptr);
    return closed;
  }
  static void releaseClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

TEST_F(ButtonBarTest, CloseControlUnloadsBarAndAsksWithoutBlocking) {
  closeShownBar();
  ASSERT_NE(question(), nullptr);
  EXPECT_FALSE(runtime->isLoaded(ButtonBar::kName));
  EXPECT_TRUE(question()->isVisible());
  EXPECT_TRUE(services.modalsShown.isEmpty());
  main().Timer5->elapse();
  EXPECT_EQ(main().Command1->text(), "Show buttonbar");
}

TEST_F(ButtonBarTest, BarHasItsOwnThirtyTwoPixelIcon) {
  startMain();
  const auto image = [](const QWidget& window) {
    return window.windowIcon()
        .pixmap(QSize(32, 32), 1.0)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32);
  };
  const QImage own = image(bar());
  EXPECT_EQ(own.size(), QSize(32, 32));
  EXPECT_EQ(own, artImage(Art::ButtonBar, 32).convertToFormat(QImage::Format_ARGB32));
  EXPECT_NE(own, image(main()));
}

TEST_F(ButtonBarTest, QuestionOutlivesTheReleaseOfTheClosedBar) {
  closeShownBar();
  ASSERT_NE(question(), nullptr);
  releaseClosedWindows();
  ASSERT_NE(question(), nullptr);
  EXPECT_TRUE(question()->isVisible());
}

TEST_F(ButtonBarTest, EndingTheRunWithTheQuestionOpenReleasesTheBarSafely) {
  QPointer<ButtonBar> closedBar = closeShownBar();
  runtime.reset();
  releaseClosedWindows();
  EXPECT_TRUE(closedBar.isNull());
}

TEST_F(ButtonBarTest, NoRemovesOnlyTheDataDirectoryOption) {
  writeValue(Place::Windows, files::kButtShow, "0");
  closeShownBar();
  ASSERT_NE(question(), nullptr);
  question()->Command2->click();
  EXPECT_EQ(question(), nullptr);
  EXPECT_FALSE(exists(Place::Data, files::kButtShow));
  EXPECT_TRUE(exists(Place::Windows, files::kButtShow));
  EXPECT_FALSE(barShowing());
}

TEST_F(ButtonBarTest, YesLeavesTheOptionFileAsItWas) {
  closeShownBar();
  ASSERT_NE(question(), nullptr);
  const QByteArray before = readRaw(Place::Data, files::kButtShow);
  question()->Command1->click();
  EXPECT_EQ(question(), nullptr);
  EXPECT_EQ(readRaw(Place::Data, files::kButtShow), before);
  EXPECT_FALSE(barShowing());
}

TEST_F(ButtonBarTest, EachButtonStartsItsOwnRowAndFailuresLeaveTheBarOpen) {
  writeValue(Place::Data, files::kLocation1, "true netscape");
  writeValue(Place::Data, files::kLocation2, "true dialup");
  startMain();
  bar().show();
  bar().SSCommand5->click();
  bar().SSCommand6->click();
  ASSERT_EQ(services.starts.size(), 2u);
  EXPECT_EQ(services.starts[0].arguments, QStringList{"dialup"});
  EXPECT_EQ(services.starts[1].arguments, QStringList{"netscape"});
  bar().SSCommand9->click();  // no location stored for row 3
  EXPECT_EQ(services.messages, QStringList{"Ye Gods that didn't work"});
  EXPECT_TRUE(barShowing());
}

}  // namespace
}  // namespace tempodial
