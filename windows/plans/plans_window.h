// The "Tariff plans" window: the plan files, one plan's editor (its rules in
// a table, the connection charge, minimum, step and default rate), the choice
// between a plan and the classic tariffs, and the import and export of plan
// files. Not one of the classic windows: opened from "Tariff &plans..." and
// never modal.
#pragma once

#include <functional>
#include <vector>

#include "platform/forms/form.h"
#include "platform/plans/plan_store.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace tempodial {

class ClockModel;

class PlansWindow : public Form {
  Q_OBJECT
 public:
  static constexpr const char* kName = "plans";
  static constexpr int kIndex = 16;

  PlansWindow(Runtime& runtime, ClockModel& clock);

  void onLoad() override;

  // Reads the plans folder again and shows its plans, choosing `selectPath`.
  void refresh(const QString& selectPath = QString());
  // Shows the plan in list row `row` in the editor.
  void selectPlan(int row);
  // The editor's plan, or nothing after telling the user what is wrong.
  std::optional<plans::Plan> editedPlan();
  // Writes the editor's plan to its file.
  bool saveEdited();
  // Makes the edited (and saved) plan the one in use.
  void useThisPlan();
  void useClassicTariffs();
  void importFile();
  void exportFile();
  void deletePlan();
  void newPlan();
  void addRule();
  void removeRule();
  void moveRule(int by);

  // How the window asks for file names and tells; tests answer instead.
  std::function<QString(const QString& caption)> chooseOpenFile;
  std::function<QString(const QString& suggested)> chooseSaveFile;
  std::function<void(const QString& text)> tell;
  // Asks `question` with `answers` as buttons, the last one the way out;
  // returns the index of the one chosen.
  std::function<int(const QString& question, const QStringList& answers)> ask;

  QListWidget* planList;
  QLineEdit* planName;
  QLineEdit* currency;
  QLineEdit* connection;
  QLineEdit* minimum;
  QSpinBox* step;
  QLineEdit* rate;
  QLineEdit* perMb;                   // empty: the data volume is not charged
  QLineEdit* allowance;               // MB a billing month; empty: none
  QLineEdit *validFrom, *validUntil;  // empty: no first or last day
  QTableWidget* rules;
  QPushButton *addButton, *removeButton, *upButton, *downButton;
  QPushButton *newButton, *saveButton, *deleteButton, *useButton, *classicButton;
  QPushButton *importButton, *exportButton, *closeButton;
  QLabel* inUse;

  // The whole form with the rules' cells whole, so that it opens unscrolled
  // where the screen has room.
  QSize sizeHint() const override;

 private:
  ClockModel& clock_;
  void buildControls();
  // The rules table on `area`, with its columns and its names.
  void makeRulesTable(QWidget* area);
  // The list beside the editor, the buttons below, on `area`.
  void layOut(QWidget* area);
  void connectControls();
  void showPlan(const plans::Plan& plan);
  void reflectInUse();

  std::vector<PlanFile> files_;
};

// Opens the window, or brings it to the front.
void showPlans(Runtime& runtime);

}  // namespace tempodial
