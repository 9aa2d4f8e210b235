// The minute charge at the rate the chosen tariff selects, and the currency
// labels of the three ways of choosing a currency.
#include <QAction>

#include "tests/windows/cost/cost_fixture.h"

namespace tempodial {
namespace {

class CostMeterTest : public CostTest {
 protected:
  void SetUp() override { startMain(); }

  // A custom tariff 1 with this name and rate, chosen by typing its name.
  void useCustom(const QString& name, const QString& rate) {
    options().custom1->setText(name);
    options().ccost1->setText(rate);
    options().Combo1->setText(name);
    selectRateTick();
  }
  QStringList labels() {
    return {main().Label4->caption(), main().SSPanel2->caption(), options().Label4->caption()};
  }
};

TEST_F(CostMeterTest, WeekdayDefaultChargesFiveMinutesWithoutRoundingDrift) {
  selectRateTick();
  const char* expected[] = {"0.014", "0.028", "0.042", "0.056", "0.07"};
  for (const char* cost : expected) EXPECT_EQ(costAfterMinute(), cost);
}

TEST_F(CostMeterTest, EditedWeekdayRateCountsOnlyWhileItsFileIsSaved) {
  options().RichTextBox1->setText(QStringLiteral("2.0"));
  selectRateTick();
  EXPECT_EQ(options().combo1ass->text(), "1.4");
  options().Command4->click();
  EXPECT_TRUE(exists(Place::Data, files::kWeekday));
  EXPECT_TRUE(exists(Place::Data, files::kFriendsFamily));
  selectRateTick();
  EXPECT_EQ(options().combo1ass->text(), "2.0");
  options().Command1->click();
  EXPECT_FALSE(exists(Place::Data, files::kWeekday));
  EXPECT_FALSE(exists(Place::Data, files::kWeekend));
  EXPECT_EQ(options().RichTextBox1->text(), "1.4");
  selectRateTick();
  EXPECT_EQ(options().combo1ass->text(), "1.4");
  EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(CostMeterTest, CustomTariffNamedWeekdayWinsAndOfTwoEqualNamesTheSecondWins) {
  useCustom(QStringLiteral("Weekday"), QStringLiteral("3"));
  EXPECT_EQ(options().combo1ass->text(), "3");
  options().custom2->setText(QStringLiteral("Weekday"));
  options().ccost2->setText(QStringLiteral("4"));
  selectRateTick();
  EXPECT_EQ(options().combo1ass->text(), "4");
}

TEST_F(CostMeterTest, TypedTariffThatMatchesNothingKeepsTheRate) {
  useCustom(QStringLiteral("Night"), QStringLiteral("2.5"));
  options().Combo1->setText(QStringLiteral("night"));
  selectRateTick();
  EXPECT_EQ(options().combo1ass->text(), "2.5");
}

TEST_F(CostMeterTest, RateWithTrailingLetterChargesItsLeadingNumber) {
  useCustom(QStringLiteral("Mine"), QStringLiteral("1.5p"));
  EXPECT_EQ(costAfterMinute(), "0.015");
}

TEST_F(CostMeterTest, EmptyRateChargesNothingButRewritesAnEmptyCostBox) {
  useCustom(QStringLiteral("Free"), QString());
  session->clock().setCost(QString());
  EXPECT_EQ(costAfterMinute(), "0");
}

TEST_F(CostMeterTest, LettersInTheCostBoxAreReplacedByTheCharge) {
  selectRateTick();
  session->clock().setCost(QStringLiteral("abc"));
  EXPECT_EQ(costAfterMinute(), "0.014");
}

TEST_F(CostMeterTest, LineBreakInABoxOrParagraphMarkInAFileEndsTheNumber) {
  // A CostLog whose amount runs on after a paragraph mark.
  writeRaw(Place::Data, files::kCost, "{\\rtf1\\ansi\\deff0 1\\par 2\\par }");
  main().SSCommand8->click();
  EXPECT_EQ(session->clock().cost(), "1\n2");
  selectRateTick();
  EXPECT_EQ(costAfterMinute(), "1.014");

  // "2", Enter, "5" typed as the Weekday rate and saved.
  options().RichTextBox1->setText(QStringLiteral("2\n5"));
  options().Command4->click();
  selectRateTick();
  session->clock().setCost(QStringLiteral("0"));
  EXPECT_EQ(costAfterMinute(), "0.02");

  // A weekday.cst written by another program with a paragraph mark inside.
  writeRaw(Place::Data, files::kWeekday, "{\\rtf1\\ansi\\deff0 4.5\\par 6\\par }");
  restart();
  EXPECT_EQ(options().RichTextBox1->text(), "4.5\n6");
  selectRateTick();
  EXPECT_EQ(costAfterMinute(), "0.045");
  EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(CostMeterTest, ListChoiceSetsRunTimeLabelsAndRemembersTheCurrency) {
  chooseCurrency(2);
  EXPECT_EQ(labels(), (QStringList{"Fr", "Fr: Frank", "C"}));
  EXPECT_EQ(readText(Place::Data, files::kLastCurrency), "Frank");
  chooseCurrency(1);
  EXPECT_EQ(labels(), (QStringList{"$", "$: Dollars", "Cent(s)"}));
  chooseCurrency(0);
  EXPECT_EQ(labels(), (QStringList{"£", "£: Pounds", "Pence"}));
  EXPECT_TRUE(readRaw(Place::Data, files::kLastCurrency).contains("\\f3\\fs17 \\'a3\r\n"));
}

TEST_F(CostMeterTest, TypedCurrencyChangesNoLabelButIsRemembered) {
  chooseCurrency(1);
  options().Combo2->setText(QStringLiteral("Euro"));
  Q_EMIT options().Combo2->activated(1);
  EXPECT_EQ(labels(), (QStringList{"$", "$: Dollars", "Cent(s)"}));
  EXPECT_EQ(readText(Place::Data, files::kLastCurrency), "Euro");
}

TEST_F(CostMeterTest, MenuChoiceSetsTheListTextWithoutClickingIt) {
  int clicks = 0;
  options().Combo2->onClick = [&] { ++clicks; };
  main().Dollar->trigger();
  EXPECT_EQ(labels(), (QStringList{"$", "$: Dollars", "Cent(s)"}));
  EXPECT_EQ(options().Combo2->text(), "$");
  EXPECT_EQ(readText(Place::Data, files::kLastCurrency), "$");
  EXPECT_EQ(clicks, 0);
}

TEST_F(CostMeterTest, FrankFromTheMenuComesBackAsFAfterARestart) {
  main().frank->trigger();
  restart();
  EXPECT_EQ(labels(), (QStringList{"F", "Fr: Frank", "C"}));
  EXPECT_EQ(options().Combo2->text(), "Frank");
}

TEST_F(CostMeterTest, DollarComesBackWithCentsAndThePoundSignSurvivesItsFile) {
  main().Dollar->trigger();
  restart();
  EXPECT_EQ(labels(), (QStringList{"$", "$: Dollars", "Cents"}));
  chooseCurrency(0);
  restart();
  EXPECT_EQ(labels(), (QStringList{"£", "£: Pounds", "Pence"}));
  EXPECT_EQ(options().Combo2->text(), "£");
}

TEST_F(CostMeterTest, UnknownRememberedCurrencyChangesNoLabelAtStartUp) {
  writeValue(Place::Data, files::kLastCurrency, QStringLiteral("Euro"));
  restart();
  EXPECT_EQ(labels(), (QStringList{"£", "", "Pence"}));
  EXPECT_EQ(options().Combo2->text(), "Euro");
}

TEST_F(CostMeterTest, FailedCurrencySaveIsReportedAndTheLabelsStillChange) {
  blockPlace(Place::Data);
  main().frank->trigger();
  ASSERT_EQ(services.messages.size(), 1);
  EXPECT_TRUE(services.messages[0].contains(QStringLiteral("last3.cst")));
  EXPECT_EQ(labels(), (QStringList{"Fr", "Fr: Frank", "C"}));
}

}  // namespace
}  // namespace tempodial
