// The Tariff plans window: a plan made in the editor, refused with the field
// at fault, imported only when sound, exported, put in use and given up.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>

#include "core/plans/plan_file.h"
#include "platform/forms/controls.h"
#include "platform/plans/plan_store.h"
#include "tests/windows/window_fixture.h"
#include "windows/main/main_window.h"
#include "windows/plans/plans_window.h"

namespace tempodial {
namespace {

class PlansWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    startMain();
    window().tell = [this](const QString& text) { told << text; };
  }
  PlansWindow& window() { return runtime->form<PlansWindow>(); }
  void setCell(int row, int column, const QString& text) {
    window().rules->setItem(row, column, new QTableWidgetItem(text));
  }
  QString file(const QString& name, const QByteArray& bytes) {
    const QString path = home.path() + QLatin1Char('/') + name;
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    return path;
  }
  QStringList told;
};

TEST_F(PlansWindowTest, MakesImportsExportsAndUsesPlans) {
  PlansWindow& w = window();
  w.planName->setText(QStringLiteral("Evenings"));
  w.rate->setText(QStringLiteral("1.4"));
  w.perMb->setText(QStringLiteral("0.05"));
  w.addButton->click();
  setCell(0, 1, QStringLiteral("mon-fri"));
  setCell(0, 3, QStringLiteral("18:00"));
  setCell(0, 4, QStringLiteral("18:00"));
  setCell(0, 5, QStringLiteral("0.5"));
  w.saveButton->click();
  ASSERT_EQ(told.size(), 1);
  EXPECT_EQ(told[0], QStringLiteral("Rule 1, To: from and to are the same time"));
  setCell(0, 4, QStringLiteral("08:00"));
  w.addButton->click();
  setCell(1, 1, QStringLiteral("sat,sun"));
  w.upButton->click();  // the weekend rule is tried first
  w.useButton->click();
  EXPECT_EQ(told.size(), 1);
  EXPECT_EQ(planInUse(), QStringLiteral("Evenings"));
  QString error;
  auto saved = findPlan(QStringLiteral("Evenings"), &error);
  ASSERT_TRUE(saved) << error.toStdString();
  ASSERT_EQ(saved->rules.size(), 2u);
  EXPECT_EQ(saved->rules[0].days, 0b1100000u);
  EXPECT_EQ(saved->rules[1].fromMin, 18 * 60);
  EXPECT_EQ(saved->perMb, 500);
  EXPECT_FALSE(main().planRate->isHidden());

  // A faulty file is not imported; a sound one joins the list.
  w.chooseOpenFile = [this](const QString&) {
    return file("bad.ini", "[plan]\nrate=1\nsteps=2\n");
  };
  w.importButton->click();
  EXPECT_EQ(told.last(),
            QStringLiteral(
                "The plan was not imported: bad.ini, line 3, key steps: is not a key of [plan]"));
  EXPECT_EQ(w.planList->count(), 1);
  w.chooseOpenFile = [this](const QString&) {
    return file("good.ini", "[plan]\nname=Flat\nrate=1\n");
  };
  w.importButton->click();
  EXPECT_EQ(w.planList->count(), 2);
  EXPECT_EQ(w.planName->text(), QStringLiteral("Flat"));

  const QString exported = home.path() + QStringLiteral("/out.ini");
  w.chooseSaveFile = [&exported](const QString&) { return exported; };
  w.exportButton->click();
  EXPECT_TRUE(QFile::exists(exported));

  // A plan file that turns faulty is listed, but cannot be used.
  file("config/tempodial/plans/Flat.ini", "[plan]\nrate=x\n");
  w.refresh(plansFolder() + QStringLiteral("/Flat.ini"));
  EXPECT_EQ(w.planList->currentItem()->text(), QStringLiteral("Flat.ini (cannot be used)"));
  EXPECT_FALSE(w.useButton->isEnabled());

  w.classicButton->click();
  EXPECT_EQ(planInUse(), QString());
  EXPECT_TRUE(main().planRate->isHidden());
}

// The editor takes dates with years, ranges and days of validity, and
// refuses with the field at fault and the range where a value is out of it.
TEST_F(PlansWindowTest, TakesDatedRulesAndDaysOfValidityWithTheFileChecks) {
  PlansWindow& w = window();
  w.planName->setText(QStringLiteral("Holidays"));
  w.rate->setText(QStringLiteral("1.4"));
  w.addButton->click();
  setCell(0, 5, QStringLiteral("0.5"));
  struct Field {
    QLineEdit* edit;
    const char* text;
    const char* told;  // empty: saved
  };
  const Field cases[] = {
      {w.rate, "1000000", "Default rate: \"1000000\" is out of range: at most 999999.9999"},
      {w.rate, "1.4", ""},
      {w.validFrom, "01-01", "Valid from: \"01-01\" is not a date with its year (like 2027-01-31)"},
      {w.validFrom, "2027-01-01", ""},
      {w.validUntil, "2026-12-31", "Valid until: comes before valid_from"},
      {w.validUntil, "2027-12-31", ""}};
  for (const Field& c : cases) {
    told.clear();
    c.edit->setText(QString::fromUtf8(c.text));
    w.saveButton->click();
    EXPECT_EQ(told.value(0), QString::fromUtf8(c.told)) << c.text;
  }
  setCell(0, 2, QStringLiteral("12-24..2027-01-02"));
  told.clear();
  w.saveButton->click();
  EXPECT_EQ(told.value(0), QStringLiteral("Rule 1, Dates: \"12-24..2027-01-02\" gives a year at "
                                          "one end only"));
  setCell(0, 2, QStringLiteral("2027-12-28, 12-24..01-02"));
  w.saveButton->click();
  auto saved = findPlan(QStringLiteral("Holidays"), nullptr);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->validFrom, 20270101);
  EXPECT_EQ(saved->validUntil, 20271231);
  EXPECT_EQ(plans::datesText(saved->rules.at(0)), "2027-12-28,12-24..01-02");
  w.newButton->click();
  w.refresh(plansFolder() + QStringLiteral("/Holidays.ini"));
  EXPECT_EQ(w.validUntil->text(), QStringLiteral("2027-12-31"));
  EXPECT_EQ(w.rules->item(0, 2)->text(), QStringLiteral("2027-12-28,12-24..01-02"));
}

// On a small screen the form scrolls: a control that takes the focus by any
// way (here as assistive technology gives it) is scrolled into view.
TEST_F(PlansWindowTest, AControlGivenTheFocusIsScrolledIntoView) {
  window().show();
  window().resize(320, 160);
  auto* area = window().findChild<QScrollArea*>();
  ASSERT_NE(area, nullptr);
  for (QWidget* control : {static_cast<QWidget*>(window().closeButton),
                           static_cast<QWidget*>(window().importButton)}) {
    control->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    const QRect place(control->mapTo(area->viewport(), QPoint(0, 0)), control->size());
    EXPECT_TRUE(area->viewport()->rect().contains(place)) << qPrintable(control->objectName());
  }
}

}  // namespace
}  // namespace tempodial
