// The Tariff plans window: a plan made in the editor, refused with the field
// at fault, imported only when sound, exported, put in use and given up.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <tuple>

#include "core/plans/plan_file.h"
#include "platform/files/settings_file.h"
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
  w.allowance->setText(QStringLiteral("20000"));
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
  auto found = findPlan(QStringLiteral("Evenings"));
  ASSERT_TRUE(found.ok()) << found.reason();
  const plans::Plan* saved = &found.value();
  ASSERT_EQ(saved->rules.size(), 2u);
  EXPECT_EQ(saved->rules[0].days, 0b1100000u);
  EXPECT_EQ(saved->rules[1].fromMin, 18 * 60);
  EXPECT_EQ(saved->perMb, 500);
  EXPECT_EQ(saved->allowanceBytes, 20000000000);
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
  // Chosen in the list, it says why.
  const int faulty = w.planList->currentRow();
  w.planList->setCurrentRow(faulty == 0 ? 1 : 0);
  w.planList->setCurrentRow(faulty);
  EXPECT_TRUE(w.inUse->text().startsWith(QStringLiteral("Flat.ini, line 2, key rate: ")))
      << w.inUse->text().toStdString();

  w.classicButton->click();
  EXPECT_EQ(planInUse(), QString());
  EXPECT_TRUE(main().planRate->isHidden());
}

// A plan imported under the name of a kept one (here kept under another
// file name) replaces it, joins it under a new name, or is left out, as the
// user answers; the plan kept is never changed without the question.
TEST_F(PlansWindowTest, ImportOfAKeptNameAsksBeforeReplacing) {
  PlansWindow& w = window();
  // the answer, then the plans kept afterwards with their rates
  const std::pair<int, QStringList> cases[] = {
      {0, {"Flat 1"}},
      {1, {"Flat (2) 1", "Flat 2"}},
      {2, {"Flat 2"}},
  };
  for (const auto& [answer, kept] : cases) {
    QDir(plansFolder()).removeRecursively();
    QDir().mkpath(plansFolder());
    file("config/tempodial/plans/flat-rates.ini", "[plan]\nname=Flat\nrate=2\n");
    w.refresh();
    QStringList asked;
    w.ask = [&asked, answer = answer](const QString& question, const QStringList& answers) {
      asked << question << answers;
      return answer;
    };
    w.chooseOpenFile = [this](const QString&) {
      return file("import.ini", "[plan]\nname=Flat\nrate=1\n");
    };
    w.importButton->click();
    EXPECT_EQ(asked, (QStringList{"A tariff plan called \"Flat\" is kept already. Replace it "
                                  "with the one from import.ini, or keep both, the imported one "
                                  "as \"Flat (2)\"?",
                                  "Replace", "Keep both", "Cancel"}));
    QStringList plans;
    for (const PlanFile& each : listPlanFiles()) {
      ASSERT_TRUE(each.plan.ok()) << each.plan.reason();
      plans << QString::fromStdString(each.plan.value().name) + " " +
                   QString::number(each.plan.value().rate / 10000);
    }
    plans.sort();
    EXPECT_EQ(plans, kept) << answer;
    EXPECT_EQ(w.planList->count(), kept.size());
  }
  // A name of its own is imported without a question.
  w.ask = [](const QString&, const QStringList&) -> int {
    ADD_FAILURE() << "asked";
    return 2;
  };
  w.chooseOpenFile = [this](const QString&) {
    return file("other.ini", "[plan]\nname=Other\nrate=1\n");
  };
  w.importButton->click();
  EXPECT_EQ(w.planList->count(), 2);
}

// Export goes through the target check of every export: the program's own
// files are refused and stay as they were; a FIFO is written only while a
// program reads it.
TEST_F(PlansWindowTest, ExportNeverWritesTheProgramsOwnFiles) {
  PlansWindow& w = window();
  const QString root = runtime->places().root();
  QDir().mkpath(runtime->places().folder(Place::Data));
  QDir().mkpath(QFileInfo(settingsPath()).path());
  const QString fifo = home.path() + "/fifo";
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  // target, what reads it (a FIFO: nothing, "taking" or "full"), what is said
  const std::tuple<QString, QString, QString> cases[] = {
      {root + "/history.sqlite3", "", "that is the program's own file"},
      {root + "/history.sqlite3-wal", "", "that is the program's own file"},
      {path(Place::Data, files::kSeconds), "", "that is the program's own file"},
      {root + "/tempodial.lock", "", "that is the program's own file"},
      {settingsPath(), "", "that is the program's own file"},
      {fifo, "", "no program is reading from it"},
      {fifo, "full", "the program reading from it does not read"},
      {fifo, "taking", ""},
  };
  for (const auto& [target, reading, said] : cases) {
    told.clear();
    if (target != fifo) file(QDir(home.path()).relativeFilePath(target), "ours");
    const int reader =
        reading.isEmpty() ? -1 : ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    if (reading == "full") {  // a pipe its reader has left full
      const int filler = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
      ::fcntl(filler, F_SETPIPE_SZ, 4096);
      while (::write(filler, "x", 1) == 1) {
      }
      ::close(filler);
    }
    w.chooseSaveFile = [&target = target](const QString&) { return target; };
    w.exportButton->click();
    if (said.isEmpty()) {
      EXPECT_TRUE(told.isEmpty()) << told.join('\n').toStdString();
      char start[7] = {};
      EXPECT_EQ(::read(reader, start, 6), 6);
      EXPECT_STREQ(start, "[plan]");
      ::close(reader);
      continue;
    }
    if (reader >= 0) ::close(reader);
    ASSERT_EQ(told.size(), 1) << target.toStdString();
    EXPECT_EQ(told[0], "The plan was not exported: " + target + ": " + said);
    if (target != fifo) {
      QFile kept(target);
      ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
      EXPECT_EQ(kept.readAll(), "ours") << target.toStdString();
    }
  }
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
      {w.allowance, "20 GB",
       "Data allowance: \"20 GB\" is not a number of MB (like 20000 or 12.5)"},
      {w.allowance, "", ""},
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
  auto found = findPlan(QStringLiteral("Holidays"));
  ASSERT_TRUE(found.ok());
  const plans::Plan* saved = &found.value();
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
