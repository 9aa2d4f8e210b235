// The Options window: its frame and pages, the custom entries and the two
// start-up options with their files in both places.
#include <QAction>
#include <QTabWidget>

#include "tests/windows/cost/cost_fixture.h"
#include "windows/programs/button_bar.h"

namespace tempodial {
namespace {

class OptionsTest : public CostTest {
 protected:
  ButtonBar& bar() { return runtime->form<ButtonBar>(); }
  void enterCustom(const char* name1, const char* name2) {
    options().custom1->setText(QString::fromLatin1(name1));
    options().custom2->setText(QString::fromLatin1(name2));
  }
};

TEST_F(OptionsTest, WindowCannotBeClosedOnlyHiddenAndKeepsSelectingRates) {
  startMain();
  options().show();
  EXPECT_EQ(options().windowTitle(), "Options");
  EXPECT_FALSE(options().windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(options().windowFlags() & Qt::WindowMinimizeButtonHint);
  options().close();
  EXPECT_TRUE(runtime->isLoaded(QString::fromLatin1(OptionsWindow::kName)));
  options().Command5->click();
  EXPECT_FALSE(options().isVisible());
  EXPECT_TRUE(options().Timer1->enabled());
  EXPECT_EQ(options().Timer1->interval(), 100);
}

TEST_F(OptionsTest, PagesComeInOrderAndHideOptionsShowsOnEachOfThem) {
  startMain();
  options().show();
  QTabWidget* tabs = options().SSTab1;
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->currentIndex(), 0);
  const char* captions[] = {"Window Options", "Customising Cost", "Specifying Specific Costs"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(tabs->tabText(i), captions[i]);
    tabs->setCurrentIndex(i);
    EXPECT_TRUE(options().Command5->isVisible()) << captions[i];
  }
  EXPECT_TRUE(tabs->widget(1)->isAncestorOf(options().Combo1));
  EXPECT_TRUE(tabs->widget(2)->isAncestorOf(options().Combo2));
  EXPECT_TRUE(tabs->widget(0)->isAncestorOf(options().Check2));
}

TEST_F(OptionsTest, EveryControlHasAnAccessibleName) {
  startMain();
  for (QWidget* control : options().client()->findChildren<QWidget*>()) {
    if (qobject_cast<RichTextBox*>(control) || qobject_cast<ComboBox*>(control) ||
        qobject_cast<Button*>(control) || qobject_cast<CheckBox*>(control) ||
        qobject_cast<Label*>(control)) {
      EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
    }
  }
  EXPECT_EQ(options().RichTextBox3->accessibleName(), "BT: Friends and Family");
  EXPECT_EQ(options().ccost2->accessibleName(), "Cost Intended in Pence 2");
}

TEST_F(OptionsTest, SaveCustomEntriesLeavesFiveEntriesWithTheNewNamesLast) {
  startMain();
  for (int length : {5, 4, 3}) {
    while (options().Combo1->count() > length) options().Combo1->removeItem(length);
    enterCustom("Night", "Evening");
    options().Combo1->setText(QStringLiteral("Weekend"));
    options().Command2->click();
    EXPECT_EQ(tariffEntries(),
              (QStringList{"Weekday", "Weekend", "BT: Friends and Family", "Night", "Evening"}))
        << "list of " << length;
  }
  EXPECT_EQ(services.messages, QStringList(3, QStringLiteral("OK Both were saved")));
  EXPECT_EQ(options().Combo1->text(), "Weekday 1.4p a minute");
  EXPECT_EQ(options().combo1ass->text(), "1.4");
  selectRateTick();
  EXPECT_EQ(options().combo1ass->text(), "1.4");
  EXPECT_EQ(readText(Place::Data, files::kCustom2), "Evening");
  EXPECT_FALSE(exists(Place::Data, files::kLastTariff));
}

TEST_F(OptionsTest, FailedCustomSaveIsReportedWithoutSuccessAndKeepsTheChoice) {
  startMain();
  chooseTariff(1);
  blockPlace(Place::Data);
  enterCustom("Night", "Evening");
  options().Command2->click();
  ASSERT_EQ(services.messages.size(), 1);
  EXPECT_TRUE(services.messages[0].contains(QStringLiteral("custom1.cst")));
  EXPECT_EQ(tariffEntries().size(), 5);
  EXPECT_EQ(options().Combo1->text(), "Weekend");
}

TEST_F(OptionsTest, ResetDefaultValuesLeavesCustomEntriesChoiceAndCurrency) {
  startMain();
  enterCustom("Night", "Evening");
  options().Combo1->setText(QStringLiteral("Night"));
  main().frank->trigger();
  options().RichTextBox3->setText(QStringLiteral("7"));
  options().Command1->click();
  EXPECT_EQ(options().RichTextBox3->text(), "0.9");
  EXPECT_EQ(options().custom1->text(), "Night");
  EXPECT_EQ(options().Combo1->text(), "Night");
  EXPECT_EQ(options().Combo2->text(), "Frank");
}

TEST_F(OptionsTest, ButtonBarOptionWritesTheFileButClearingLeavesTheBarShowing) {
  startMain();
  options().Check1->setValue(1);
  EXPECT_TRUE(bar().isVisible());
  EXPECT_EQ(readText(Place::Data, files::kButtShow), "0");
  EXPECT_TRUE(readRaw(Place::Data, files::kButtShow).contains("\\f3\\fs18 0\r\n"));
  options().Check1->setValue(0);
  EXPECT_FALSE(exists(Place::Data, files::kButtShow));
  EXPECT_TRUE(bar().isVisible());
}

TEST_F(OptionsTest, CostOptionWritesTheFileAndSwapsThePopUpItems) {
  startMain();
  options().Check2->setValue(1);
  EXPECT_TRUE(exists(Place::Data, files::kShowCost));
  EXPECT_FALSE(main().showstart->isVisible());
  EXPECT_TRUE(main().hidestart->isVisible());
  options().Check2->setValue(0);
  EXPECT_FALSE(exists(Place::Data, files::kShowCost));
  EXPECT_TRUE(main().showstart->isVisible());
  EXPECT_FALSE(main().hidestart->isVisible());
}

TEST_F(OptionsTest, OptionFilesInTheWindowsDirectoryAreCarriedOverAtEveryStart) {
  writeValue(Place::Windows, files::kShowCost, QStringLiteral("0"));
  writeRaw(Place::Windows, files::kButtShow, QByteArray());
  startMain();
  EXPECT_EQ(options().Check2->value(), 1);
  EXPECT_EQ(main().Check1->value(), 1);
  EXPECT_EQ(options().Check1->value(), 1);
  EXPECT_TRUE(exists(Place::Data, files::kShowCost));
  EXPECT_TRUE(exists(Place::Data, files::kButtShow));
  options().Check1->setValue(0);
  options().Check2->setValue(0);
  restart();
  EXPECT_EQ(options().Check1->value(), 1);
  EXPECT_EQ(options().Check2->value(), 1);
  EXPECT_TRUE(bar().isVisible());
}

TEST_F(OptionsTest, ShowCostOnlyInTheDataDirectoryLeavesItsBoxCleared) {
  writeValue(Place::Data, files::kShowCost, QStringLiteral("0"));
  startMain();
  EXPECT_EQ(main().Check1->value(), 1);
  EXPECT_EQ(options().Check2->value(), 0);
  EXPECT_TRUE(exists(Place::Data, files::kShowCost));
}

TEST_F(OptionsTest, FailedOptionWriteIsReportedAndTheBoxClearsAgain) {
  startMain();
  blockPlace(Place::Data);
  options().Check1->setValue(1);
  options().Check2->setValue(1);
  ASSERT_EQ(services.messages.size(), 2);
  EXPECT_TRUE(services.messages[0].contains(QStringLiteral("buttshow.opt")));
  EXPECT_EQ(options().Check1->value(), 0);
  EXPECT_FALSE(bar().isVisible());
  EXPECT_EQ(options().Check2->value(), 0);
  EXPECT_TRUE(main().showstart->isVisible());
  EXPECT_FALSE(main().hidestart->isVisible());
}

}  // namespace
}  // namespace tempodial
