// The help and About windows, and the splash window the About window borrows
// its picture from.
#include <QAction>
#include <QEvent>
#include <QImage>
#include <QLabel>

#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "platform/forms/picture_box.h"
#include "tests/windows/window_fixture.h"
#include "windows/help/about_window.h"
#include "windows/help/help_window.h"
#include "windows/main/main_window.h"
#include "windows/start_and_exit/splash_window.h"

namespace tempodial {
namespace {

const QString kHelp = QString::fromLatin1(HelpWindow::kName);
const QString kAbout = QString::fromLatin1(AboutWindow::kName);
const QString kSplash = QString::fromLatin1(SplashWindow::kName);

// Counts every time a window is shown, however briefly.
class ShowCounter : public QObject {
 public:
  int shows = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Show) ++shows;
    return false;
  }
};

class InfoWindowsTest : public WindowTest {
 protected:
  void SetUp() override {
    startMain();
    main().show();
  }
  // Opens the About window, notes what it shows, and leaves it with `leave`.
  QImage openAbout(const std::function<void(AboutWindow&)>& leave) {
    QImage seen;
    services.answerModal(kAbout, [&](Form& form) {
      auto& about = static_cast<AboutWindow&>(form);
      seen = about.background->pixmap().toImage();
      if (Form* splash = runtime->loadedForm(kSplash)) splash->installEventFilter(&splashShows);
      leave(about);
    });
    main().about->trigger();
    return seen;
  }
  bool visible(const QString& name) {
    Form* form = runtime->loadedForm(name);
    return form != nullptr && form->isVisible();
  }
  ShowCounter splashShows;
};

TEST_F(InfoWindowsTest, HelpOkClosesAndUnloadsTheWindow) {
  services.answerModal(kHelp, [](Form& form) { static_cast<HelpWindow&>(form).Command1->click(); });
  main().help1->trigger();
  EXPECT_EQ(services.modalsShown, QStringList{kHelp});
  EXPECT_FALSE(runtime->isLoaded(kHelp));
}

TEST_F(InfoWindowsTest, HelpHasNoCloseControlSoATitleBarCloseIsIgnored) {
  services.answerModal(kHelp, [](Form& form) {
    form.close();
    EXPECT_TRUE(form.isVisible());
    static_cast<HelpWindow&>(form).Command1->click();
  });
  main().help1->trigger();
  EXPECT_FALSE(runtime->isLoaded(kHelp));
}

TEST_F(InfoWindowsTest, AboutShowsTheSplashPictureEveryTimeWithoutShowingTheSplash) {
  const QImage first = openAbout([](AboutWindow& about) { about.Command1->click(); });
  EXPECT_FALSE(runtime->isLoaded(kAbout));
  const QImage second = openAbout([](AboutWindow& about) { about.close(); });
  EXPECT_FALSE(runtime->isLoaded(kAbout));

  ASSERT_FALSE(first.isNull());
  EXPECT_EQ(first, second);
  ASSERT_TRUE(runtime->isLoaded(kSplash));
  EXPECT_EQ(first, runtime->form<SplashWindow>().picture->image().convertToFormat(first.format()));
  EXPECT_FALSE(visible(kSplash));
  EXPECT_EQ(splashShows.shows, 0);
}

TEST_F(InfoWindowsTest, SplashStaysHiddenWhenTheMainTimerTicksFirst) {
  openAbout([](AboutWindow& about) { about.Command1->click(); });
  auto* splash = static_cast<SplashWindow*>(runtime->loadedForm(kSplash));
  ASSERT_NE(splash, nullptr);
  main().Timer3->elapse();
  splash->Timer1->elapse();
  splash->Timer1->elapse();
  EXPECT_FALSE(visible(kSplash));
  EXPECT_EQ(splashShows.shows, 0);
  EXPECT_TRUE(main().isVisible());
}

TEST_F(InfoWindowsTest, SplashHandsOverWithoutShowingWhenItsTimerTicksFirst) {
  openAbout([](AboutWindow& about) { about.Command1->click(); });
  auto* splash = static_cast<SplashWindow*>(runtime->loadedForm(kSplash));
  ASSERT_NE(splash, nullptr);
  splash->Timer1->elapse();
  EXPECT_FALSE(visible(kSplash));
  EXPECT_EQ(splashShows.shows, 0);
  EXPECT_TRUE(main().isVisible());
}

}  // namespace
}  // namespace tempodial
