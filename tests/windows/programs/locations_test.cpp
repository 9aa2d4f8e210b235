// The program locations window: what its load, "REFRESH", "SET", the close
// box and Escape do to the three boxes and the three location files.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>

#include "platform/forms/controls.h"
#include "tests/windows/window_fixture.h"
#include "windows/main/main_window.h"
#include "windows/programs/locations_window.h"

namespace tempodial {
namespace {

class LocationsTest : public WindowTest {
 protected:
  LocationsWindow& locations() { return runtime->form<LocationsWindow>(); }
};

TEST_F(LocationsTest, UnreadableFileLeavesOnlyItsOwnBoxEmptyAndSilent) {
  writeRaw(Place::Data, files::kLocation1, "not a document");
  writeValue(Place::Data, files::kLocation3, "/usr/bin/ie4");
  auto& window = locations();
  EXPECT_EQ(window.RichTextBox1->text(), "");
  EXPECT_EQ(window.RichTextBox2->text(), "");
  EXPECT_EQ(window.RichTextBox3->text(), "/usr/bin/ie4");
  EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(LocationsTest, RefreshOfMissingFileSaysSoAndKeepsTheBox) {
  auto& window = locations();
  window.RichTextBox2->setText("typed");
  window.Command5->click();
  EXPECT_EQ(services.messages, QStringList{"error, unable to load file"});
  EXPECT_EQ(window.RichTextBox2->text(), "typed");
}

TEST_F(LocationsTest, SetStoresOnlyItsRowAndClosesAfterTheMessage) {
  writeRaw(Place::Data, files::kLocation1, "one");
  writeRaw(Place::Data, files::kLocation3, "three");
  bool visibleAtMessage = false;
  services.answerModal(LocationsWindow::kName, [&](Form& form) {
    auto& window = static_cast<LocationsWindow&>(form);
    window.RichTextBox2->setText("dialer --now");
    services.onNextMessage([&](const QString&) { visibleAtMessage = window.isVisible(); });
    window.Command2->click();
  });
  startMain().s->trigger();
  EXPECT_EQ(services.modalsShown, QStringList{LocationsWindow::kName});
  EXPECT_EQ(services.messages, QStringList{"OK, location set"});
  EXPECT_TRUE(visibleAtMessage);
  EXPECT_FALSE(runtime->isLoaded(LocationsWindow::kName));
  EXPECT_TRUE(readRaw(Place::Data, files::kLocation2).contains("\\f5\\fs17 dialer --now\r\n"));
  EXPECT_EQ(readRaw(Place::Data, files::kLocation1), "one");
  EXPECT_EQ(readRaw(Place::Data, files::kLocation3), "three");
}

TEST_F(LocationsTest, CommandWithSpacesQuotesAndBackslashesSurvivesSetThenRefresh) {
  const QString command = R"("/opt/My Programs/net scape" --dir 'C:\Users\me' \{a})";
  locations().RichTextBox1->setText(command);
  locations().Command1->click();
  EXPECT_TRUE(readRaw(Place::Data, files::kLocation1).contains(R"('C:\\Users\\me' \\\{a\})"));
  auto& reopened = locations();
  reopened.RichTextBox1->setText("changed");
  reopened.Command4->click();
  EXPECT_EQ(reopened.RichTextBox1->text(), command);
}

TEST_F(LocationsTest, SetThatCannotWriteNamesTheFileAndKeepsTheWindowOpen) {
  auto& window = locations();
  window.show();
  blockPlace(Place::Data);
  window.RichTextBox3->setText("/usr/bin/ie4");
  window.Command3->click();
  ASSERT_EQ(services.messages.size(), 1);
  EXPECT_TRUE(
      services.messages[0].startsWith("Could not save " + path(Place::Data, files::kLocation3)));
  EXPECT_TRUE(runtime->isLoaded(LocationsWindow::kName));
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.RichTextBox3->text(), "/usr/bin/ie4");
}

TEST_F(LocationsTest, CloseBoxDiscardsEditsWithoutWriting) {
  auto& window = locations();
  window.show();
  window.RichTextBox1->setText("/usr/bin/netscape");
  window.close();
  EXPECT_FALSE(runtime->isLoaded(LocationsWindow::kName));
  EXPECT_FALSE(exists(Place::Data, files::kLocation1));
  EXPECT_EQ(locations().RichTextBox1->text(), "");
}

TEST_F(LocationsTest, EscapeClosesTheWindowAsItsCloseBoxDoesAndWritesNothing) {
  for (const auto& [modifiers, closes] :
       {std::pair{Qt::NoModifier, true}, {Qt::ShiftModifier, false}}) {
    auto& window = locations();
    window.show();
    window.RichTextBox1->setText("typed");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, modifiers);
    QApplication::sendEvent(window.RichTextBox1, &escape);
    EXPECT_EQ(!runtime->isLoaded(LocationsWindow::kName), closes) << modifiers;
    EXPECT_FALSE(exists(Place::Data, files::kLocation1));
  }
}

}  // namespace
}  // namespace tempodial
