// Every file of the set replaced in turn by something that is not a value
// document: start-up and every load keep their promises (defaults or their
// own messages) and nothing crashes or hangs.
#include <QAction>
#include <QDir>

#include "platform/controls.h"
#include "window_fixture.h"
#include "windows/launcher.h"
#include "windows/locations_window.h"
#include "windows/main_window.h"
#include "windows/options_window.h"

namespace tempodial {
namespace {

enum class Bad { Garbage, Empty, Huge, Folder };

struct BadCase {
  const char* name;
  Bad kind;
};

const std::string_view kEveryFile[] = {
    files::kSeconds,    files::kMinutes,  files::kHours,       files::kCost,
    files::kShowCost,   files::kButtShow, files::kLocation1,   files::kLocation2,
    files::kLocation3,  files::kWeekday,  files::kWeekend,     files::kFriendsFamily,
    files::kCustom1,    files::kCustom2,  files::kCustomCost1, files::kCustomCost2,
    files::kLastTariff, files::kLastRate, files::kLastCurrency};

class BadFiles : public WindowTest, public testing::WithParamInterface<BadCase> {
 protected:
  void spoil(Place place, std::string_view name) {
    switch (GetParam().kind) {
      case Bad::Garbage:
        writeRaw(place, name, QByteArray("\x00\xff{\\rtf1 {{{ \\'zz", 16));
        break;
      case Bad::Empty:
        writeRaw(place, name, QByteArray());
        break;
      case Bad::Huge:
        writeRaw(place, name, QByteArray(10 * 1024 * 1024, 'x'));
        break;
      case Bad::Folder:
        QDir().mkpath(path(place, name));
        break;
    }
  }
};

TEST_P(BadFiles, StartUpAndEveryLoadFallBackToDefaultsOrTheirMessages) {
  for (std::string_view name : kEveryFile) {
    spoil(Place::Data, name);
    spoil(Place::Windows, name);
  }
  startMain();
  selectRateTick();
  // Unreadable tariff files count as missing, so the defaults stand.
  EXPECT_EQ(options().Combo1->text(), "Weekday");
  EXPECT_EQ(options().combo1ass->text(), "1.4");
  EXPECT_EQ(options().Combo2->text(), "£");
  EXPECT_EQ(main().Label4->caption(), "£");
  EXPECT_EQ(main().cost->text(), "0");
  // Presence is all an option file needs; a folder of that name is no file.
  const bool optionsOn = GetParam().kind != Bad::Folder;
  EXPECT_EQ(main().Check1->value(), optionsOn ? 1 : 0);
  EXPECT_EQ(options().Check1->value(), optionsOn ? 1 : 0);

  services.messages.clear();
  main().SSCommand4->click();
  main().prev->trigger();
  EXPECT_EQ(main().RichTextBox1->text() + main().RichTextBox2->text() + main().RichTextBox3->text(),
            "000");
  if (GetParam().kind == Bad::Folder) {
    EXPECT_TRUE(services.messages.isEmpty()) << "a folder is not a TimeLog file";
  } else {
    ASSERT_EQ(services.messages.size(), 6) << "each unreadable TimeLog file is named once";
    EXPECT_TRUE(services.messages[0].contains(path(Place::Data, files::kSeconds)));
  }

  services.messages.clear();
  main().SSCommand8->click();
  main().box->trigger();
  EXPECT_EQ(services.messages, (QStringList{"No such file, or other error",
                                            "There was an error on loading, so aborted"}));
  EXPECT_EQ(main().cost->text(), "0");

  services.messages.clear();
  for (int row = 1; row <= 3; ++row) launchProgram(*runtime, row);
  EXPECT_EQ(services.messages, QStringList(3, "Ye Gods that didn't work"));
  EXPECT_TRUE(services.starts.empty());
  auto& locations = runtime->form<LocationsWindow>();
  for (int row = 1; row <= 3; ++row) EXPECT_EQ(locations.box(row)->text(), "");
}

INSTANTIATE_TEST_SUITE_P(Kinds, BadFiles,
                         testing::Values(BadCase{"Garbage", Bad::Garbage},
                                         BadCase{"Empty", Bad::Empty},
                                         BadCase{"TenMegabytes", Bad::Huge},
                                         BadCase{"FolderOfTheSameName", Bad::Folder}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, DocumentFromAnotherRtfWriterLoadsItsText) {
  writeRaw(Place::Data, files::kSeconds,
           "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
           "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
           "\\pard\\f0\\fs20\\lang2057 42\\par\r\n}\r\n");
  writeRaw(Place::Data, files::kLastCurrency,
           "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\uc1\\u163?\\par}");
  startMain();
  main().SSCommand4->click();
  EXPECT_EQ(main().RichTextBox1->text(), "42");
  EXPECT_EQ(main().SSPanel2->caption(), "£: Pounds");
}

}  // namespace
}  // namespace tempodial
