// The tariff files: what the Options window writes, in which font, and the
// restore of the tariff and currency state at start-up, missing and broken
// files included.
#include <QDir>

#include "tests/windows/cost/cost_fixture.h"

namespace tempodial {
namespace {

const QByteArray kSansSerifFonts =
    "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\fnil\\fcharset2 "
    "Symbol;}{\\f2\\fswiss\\fprq2 System;}{\\f3\\fswiss Arial;}{\\f4\\fnil Arial;}{\\f5\\fswiss MS "
    "Sans Serif;}}\r\n{\\colortbl\\red0\\green0\\blue0;}\r\n\\deflang2057\\pard\\plain";

using TariffFilesTest = CostTest;

TEST_F(TariffFilesTest, FirstRunWithoutFilesRestoresTheDefaultsAndWritesNothing) {
  startMain();
  EXPECT_EQ(tariffEntries(),
            (QStringList{"Weekday", "Weekend", "BT: Friends and Family",
                         "User set 1, to be defined", "User set 2, to be defined"}));
  EXPECT_EQ(options().Combo1->text(), "Weekday");
  EXPECT_EQ(options().combo1ass->text(), "1.4");
  EXPECT_EQ(options().RichTextBox1->text() + options().RichTextBox2->text() +
                options().RichTextBox3->text(),
            "1.41.00.9");
  EXPECT_EQ(options().ccost1->text() + options().ccost2->text(), "");
  EXPECT_EQ(options().Combo2->text(), "£");
  EXPECT_EQ(options().Combo2->count(), 3);
  EXPECT_TRUE(QDir(runtime->places().folder(Place::Data)).isEmpty());
}

TEST_F(TariffFilesTest, ChosenTariffIsRememberedWithThePreviousRateAndCorrectedAfterRestart) {
  startMain();
  chooseTariff(1);
  EXPECT_EQ(readText(Place::Data, files::kLastTariff), "Weekend");
  EXPECT_EQ(readText(Place::Data, files::kLastRate), "1.4");
  EXPECT_EQ(options().combo1ass->text(), "1.4");
  restart();
  EXPECT_EQ(options().Combo1->text(), "Weekend");
  selectRateTick();
  EXPECT_EQ(options().combo1ass->text(), "1.0");
}

TEST_F(TariffFilesTest, RestoredNameMatchingNoTariffKeepsTheRememberedRate) {
  writeValue(Place::Data, files::kLastTariff, QStringLiteral("Old plan"));
  writeValue(Place::Data, files::kLastRate, QStringLiteral("2.5"));
  startMain();
  selectRateTick();
  EXPECT_EQ(options().Combo1->text(), "Old plan");
  EXPECT_EQ(options().combo1ass->text(), "2.5");
}

TEST_F(TariffFilesTest, MissingOrBrokenLastRateRestoresTheNameWithTheWeekdayRate) {
  writeValue(Place::Data, files::kLastTariff, QStringLiteral("Old plan"));
  startMain();
  EXPECT_EQ(options().Combo1->text(), "Old plan");
  EXPECT_EQ(options().combo1ass->text(), "1.4");
  writeRaw(Place::Data, files::kLastRate, "garbage");
  restart();
  EXPECT_EQ(options().combo1ass->text(), "1.4");
  EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(TariffFilesTest, UnreadableTariffFilesCountAsMissing) {
  writeRaw(Place::Data, files::kWeekday, "not a document");
  QDir().mkpath(path(Place::Data, files::kWeekend));
  writeRaw(Place::Data, files::kCustom1, "{\\rtf1 truncated");
  writeRaw(Place::Data, files::kLastCurrency, QByteArray(70000, 'x'));
  startMain();
  EXPECT_EQ(options().RichTextBox1->text(), "1.4");
  EXPECT_EQ(options().RichTextBox2->text(), "1.0");
  EXPECT_EQ(options().custom1->text(), "User set 1, to be defined");
  EXPECT_EQ(options().Combo2->text(), "£");
  chooseTariff(1);
  selectRateTick();
  EXPECT_EQ(options().combo1ass->text(), "1.0");
  EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(TariffFilesTest, EmptySavedWeekdayRateChargesNothing) {
  writeValue(Place::Data, files::kWeekday, QString());
  startMain();
  selectRateTick();
  EXPECT_EQ(options().RichTextBox1->text(), "");
  EXPECT_EQ(options().combo1ass->text(), "");
  EXPECT_EQ(costAfterMinute(), "0");
}

TEST_F(TariffFilesTest, RateFilesAreWrittenInArialAndCustomFilesInSansSerif) {
  startMain();
  options().RichTextBox2->setText(QStringLiteral("1.2"));
  options().Command4->click();
  EXPECT_EQ(readRaw(Place::Data, files::kWeekend),
            kSansSerifFonts + "\\f3\\fs17 1.2\r\n\\par }\r\n");
  options().custom1->setText(QStringLiteral("Night {cheap}"));
  options().Command2->click();
  EXPECT_EQ(readRaw(Place::Data, files::kCustom1),
            kSansSerifFonts + "\\f5\\fs17 Night \\{cheap\\}\r\n\\par }\r\n");
  chooseTariff(0);
  EXPECT_TRUE(readRaw(Place::Data, files::kLastTariff).contains("\\f5\\fs17 Weekday\r\n"));
  EXPECT_TRUE(readRaw(Place::Data, files::kLastRate).contains("\\f5\\fs17 1.4\r\n"));
}

TEST_F(TariffFilesTest, SavedCustomTariffsComeBackAfterRestart) {
  startMain();
  options().custom2->setText(QStringLiteral("Evening"));
  options().ccost2->setText(QStringLiteral("0.5"));
  options().Command2->click();
  chooseTariff(4);
  restart();
  EXPECT_EQ(tariffEntries().last(), "Evening");
  EXPECT_EQ(options().Combo1->text(), "Evening");
  selectRateTick();
  EXPECT_EQ(options().combo1ass->text(), "0.5");
}

TEST_F(TariffFilesTest, FailedWritesAreReportedOnceAndNothingIsRemembered) {
  startMain();
  blockPlace(Place::Data);
  options().Command4->click();
  chooseTariff(1);
  ASSERT_EQ(services.messages.size(), 2);
  EXPECT_TRUE(services.messages[0].contains(QStringLiteral("weekday.cst")));
  EXPECT_TRUE(services.messages[1].contains(QStringLiteral("last2.cst")));
}

}  // namespace
}  // namespace tempodial
