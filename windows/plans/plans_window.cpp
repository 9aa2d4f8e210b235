#include "windows/plans/plans_window.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/plans/plan_file.h"
#include "platform/clock/clock_model.h"
#include "platform/clock/plan_meter.h"
#include "platform/files/export_target.h"
#include "platform/forms/controls.h"
#include "platform/journal/session_journal.h"
#include "platform/runtime/runtime.h"
#include "windows/artwork/artwork.h"
#include "windows/history/history_tables.h"
#include "windows/plans/plan_editor.h"

namespace tempodial {
namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
  auto* made = new QPushButton(caption, parent);
  made->setObjectName(QString::fromLatin1(name));
  made->setAccessibleName(withoutAccessKeys(caption));
  return made;
}

template <typename Field>
Field* field(QWidget* parent, const char* name, const QString& accessibleName) {
  auto* made = new Field(parent);
  made->setObjectName(QString::fromLatin1(name));
  made->setAccessibleName(accessibleName);
  return made;
}

}  // namespace

PlansWindow::PlansWindow(Runtime& runtime, ClockModel& clock)
    : Form(runtime, QString::fromLatin1(kName), kIndex), clock_(clock) {
  setWindowTitle(QStringLiteral("Tariff plans"));
  setAccessibleName(QStringLiteral("Tariff plans"));
  setWindowIcon(artIcon(Art::Application));
  setWindowFlags(Qt::Window);
  // Each waits for the user as the runtime's messages do.
  chooseOpenFile = [this](const QString& caption) {
    return this->runtime().waitFor([&] {
      return QFileDialog::getOpenFileName(this, caption, QString(),
                                          QStringLiteral("Tariff plans (*.ini)"));
    });
  };
  chooseSaveFile = [this](const QString& suggested) {
    return this->runtime().waitFor([&] {
      return QFileDialog::getSaveFileName(this, QStringLiteral("Export tariff plan"), suggested,
                                          QStringLiteral("Tariff plans (*.ini)"));
    });
  };
  tell = [this](const QString& text) {
    this->runtime().waitFor(
        [&] { QMessageBox::information(this, QStringLiteral("Tempodial"), text); });
  };
  ask = [this](const QString& question, const QStringList& answers) {
    return this->runtime().waitFor([&] {
      QMessageBox box(QMessageBox::Question, QStringLiteral("Tempodial"), question,
                      QMessageBox::NoButton, this);
      QList<QAbstractButton*> buttons;
      for (const QString& answer : answers) {
        buttons << box.addButton(answer, buttons.size() + 1 == answers.size()
                                             ? QMessageBox::RejectRole
                                             : QMessageBox::AcceptRole);
      }
      box.setEscapeButton(buttons.last());
      box.exec();
      const int chosen = static_cast<int>(buttons.indexOf(box.clickedButton()));
      return chosen < 0 ? static_cast<int>(answers.size()) - 1 : chosen;
    });
  };
  buildControls();
  setLaidOut(QSize(720, 440));
}

QSize PlansWindow::sizeHint() const {
  const auto* scroll = findChild<QScrollArea*>(QStringLiteral("scroll"));
  QSize wanted = scroll->widget()->sizeHint();
  const QAbstractItemView* table = rules;  // where the cells' widths are public
  int cells = 2 * rules->frameWidth();
  for (int column = 0; column < rules->columnCount(); ++column) {
    cells += std::max(rules->horizontalHeader()->sectionSizeHint(column),
                      table->sizeHintForColumn(column));
  }
  wanted.rwidth() += std::max(0, cells - rules->sizeHint().width()) +
                     style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  return wanted.expandedTo(Form::sizeHint());
}

void PlansWindow::buildControls() {
  // The form scrolls where the screen is smaller than it (a large scale).
  auto* scroll = new QScrollArea(client());
  scroll->setObjectName(QStringLiteral("scroll"));
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setFocusPolicy(Qt::NoFocus);  // Tab goes to the controls; the area follows
  auto* outer = new QVBoxLayout(client());
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(scroll);
  auto* area = new QWidget(scroll);
  area->setObjectName(QStringLiteral("form"));
  planList = field<QListWidget>(area, "planList", QStringLiteral("Plans"));
  newButton = button(area, "newButton", QStringLiteral("&New"));
  deleteButton = button(area, "deleteButton", QStringLiteral("&Delete"));
  importButton = button(area, "importButton", QStringLiteral("&Import..."));
  exportButton = button(area, "exportButton", QStringLiteral("&Export..."));

  planName = field<QLineEdit>(area, "planName", QStringLiteral("Name"));
  currency = field<QLineEdit>(area, "currency", QStringLiteral("Currency"));
  connection = field<QLineEdit>(area, "connection", QStringLiteral("Connection charge"));
  minimum = field<QLineEdit>(area, "minimum", QStringLiteral("Minimum"));
  step = field<QSpinBox>(area, "step", QStringLiteral("Step"));
  step->setRange(1, 3600);
  step->setSuffix(QStringLiteral(" s"));
  rate = field<QLineEdit>(area, "rate", QStringLiteral("Default rate"));
  perMb = field<QLineEdit>(area, "perMb", QStringLiteral("Data charge per MB"));
  allowance = field<QLineEdit>(area, "allowance", QStringLiteral("Data allowance"));
  validFrom = field<QLineEdit>(area, "validFrom", QStringLiteral("Valid from"));
  validUntil = field<QLineEdit>(area, "validUntil", QStringLiteral("Valid until"));
  makeRulesTable(area);
  addButton = button(area, "addButton", QStringLiteral("&Add rule"));
  removeButton = button(area, "removeButton", QStringLiteral("&Remove rule"));
  upButton = button(area, "upButton", QStringLiteral("Move u&p"));
  downButton = button(area, "downButton", QStringLiteral("Move do&wn"));
  saveButton = button(area, "saveButton", QStringLiteral("&Save"));
  useButton = button(area, "useButton", QStringLiteral("&Use this plan"));
  classicButton = button(area, "classicButton", QStringLiteral("Use the classic &tariffs"));
  closeButton = button(area, "closeButton", QStringLiteral("Close"));
  inUse = new QLabel(area);
  inUse->setObjectName(QStringLiteral("inUse"));
  inUse->setWordWrap(true);

  layOut(area);
  scroll->setWidget(area);
  connectControls();
}

void PlansWindow::makeRulesTable(QWidget* area) {
  rules = field<QTableWidget>(area, "rules", QStringLiteral("Rules"));
  rules->setColumnCount(6);
  rules->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Days"),
                                    QStringLiteral("Dates"), QStringLiteral("From"),
                                    QStringLiteral("To"), QStringLiteral("Rate")});
  rules->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  rules->horizontalHeader()->setMinimumSectionSize(50);
  rules->setSelectionBehavior(QAbstractItemView::SelectRows);
  rules->setSelectionMode(QAbstractItemView::SingleSelection);
  rules->setTabKeyNavigation(false);
  followFont(rules);
  // The table's corner button selects every rule.
  for (auto* corner : rules->findChildren<QAbstractButton*>()) {
    corner->setAccessibleName(QStringLiteral("Select all rules"));
  }
}

void PlansWindow::layOut(QWidget* area) {
  auto* listSide = new QVBoxLayout;
  listSide->addWidget(new QLabel(QStringLiteral("Plans:"), area));
  listSide->addWidget(planList, 1);
  auto* listButtons = new QGridLayout;
  listButtons->addWidget(newButton, 0, 0);
  listButtons->addWidget(deleteButton, 0, 1);
  listButtons->addWidget(importButton, 1, 0);
  listButtons->addWidget(exportButton, 1, 1);
  listSide->addLayout(listButtons);

  // Narrow windows (a small screen, a large scale) put labels above fields.
  auto* form = new QFormLayout;
  form->setRowWrapPolicy(QFormLayout::WrapLongRows);
  const std::pair<const char*, QWidget*> rows[] = {
      {"Name:", planName},
      {"Currency:", currency},
      {"Connection (minor units):", connection},
      {"Minimum (minor units):", minimum},
      {"Charging step:", step},
      {"Default rate (minor units a minute):", rate},
      {"Data (minor units an MB, if charged):", perMb},
      {"Data allowance (MB a month, if any):", allowance},
      {"Valid from (YYYY-MM-DD, if bounded):", validFrom},
      {"Valid until (YYYY-MM-DD, if bounded):", validUntil}};
  for (const auto& [caption, widget] : rows) {
    auto* label = new QLabel(QString::fromUtf8(caption), area);
    label->setBuddy(widget);
    form->addRow(label, widget);
  }
  auto* ruleButtons = new QGridLayout;
  ruleButtons->addWidget(addButton, 0, 0);
  ruleButtons->addWidget(removeButton, 0, 1);
  ruleButtons->addWidget(upButton, 1, 0);
  ruleButtons->addWidget(downButton, 1, 1);
  auto* editor = new QVBoxLayout;
  editor->addLayout(form);
  editor->addWidget(new QLabel(QStringLiteral("Rules, tried in order:"), area));
  editor->addWidget(rules, 1);
  editor->addLayout(ruleButtons);

  auto* upper = new QHBoxLayout;
  upper->addLayout(listSide, 1);
  upper->addLayout(editor, 3);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  for (QPushButton* b : {saveButton, useButton, classicButton, closeButton}) bottom->addWidget(b);
  auto* layout = new QVBoxLayout(area);
  layout->addLayout(upper, 1);
  layout->addWidget(inUse);
  layout->addLayout(bottom);
}

void PlansWindow::connectControls() {
  connect(planList, &QListWidget::currentRowChanged, this, &PlansWindow::selectPlan);
  connect(newButton, &QPushButton::clicked, this, &PlansWindow::newPlan);
  connect(deleteButton, &QPushButton::clicked, this, &PlansWindow::deletePlan);
  connect(importButton, &QPushButton::clicked, this, &PlansWindow::importFile);
  connect(exportButton, &QPushButton::clicked, this, &PlansWindow::exportFile);
  connect(addButton, &QPushButton::clicked, this, &PlansWindow::addRule);
  connect(removeButton, &QPushButton::clicked, this, &PlansWindow::removeRule);
  connect(upButton, &QPushButton::clicked, this, [this] { moveRule(-1); });
  connect(downButton, &QPushButton::clicked, this, [this] { moveRule(1); });
  connect(saveButton, &QPushButton::clicked, this, &PlansWindow::saveEdited);
  connect(useButton, &QPushButton::clicked, this, &PlansWindow::useThisPlan);
  connect(classicButton, &QPushButton::clicked, this, &PlansWindow::useClassicTariffs);
  connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);
  setCancelButton(closeButton);
}

void PlansWindow::onLoad() { refresh(); }

void PlansWindow::refresh(const QString& selectPath) {
  files_ = listPlanFiles();
  const QSignalBlocker quiet(planList);
  planList->clear();
  int chosen = files_.empty() ? -1 : 0;
  for (std::size_t i = 0; i < files_.size(); ++i) {
    const PlanFile& file = files_[i];
    auto* item = new QListWidgetItem(planList);
    if (file.plan.ok()) {
      item->setText(QString::fromStdString(file.plan.value().name));
    } else {
      item->setText(QFileInfo(file.path).fileName() + QStringLiteral(" (cannot be used)"));
      item->setToolTip(file.error());
    }
    if (file.path == selectPath) chosen = static_cast<int>(i);
  }
  planList->setCurrentRow(chosen);
  selectPlan(chosen);
  reflectInUse();
}

void PlansWindow::selectPlan(int row) {
  if (row < 0 || row >= static_cast<int>(files_.size())) {
    newPlan();
    return;
  }
  const PlanFile& file = files_[static_cast<std::size_t>(row)];
  // A file that cannot be read is listed with its error but not offered.
  for (QPushButton* b : {saveButton, useButton, exportButton}) b->setEnabled(file.plan.ok());
  if (file.plan.ok()) {
    showPlan(file.plan.value());
  } else {
    inUse->setText(file.error());
  }
}

void PlansWindow::showPlan(const plans::Plan& plan) { showPlanInEditor(*this, plan); }

std::optional<plans::Plan> PlansWindow::editedPlan() {
  auto plan = planFromEditor(*this);
  if (!plan.ok()) {
    tell(QString::fromStdString(plan.reason()));
    return std::nullopt;
  }
  return std::move(plan.value());
}

bool PlansWindow::saveEdited() {
  auto plan = editedPlan();
  if (!plan) return false;
  auto saved = savePlan(*plan);
  if (!saved.ok()) {
    tell(QStringLiteral("The plan was not saved: %1").arg(QString::fromStdString(saved.reason())));
    return false;
  }
  refresh(saved.value());
  // A plan in use that was edited charges as edited from the next start.
  clock_.planMeter().reload();
  return true;
}

void PlansWindow::useThisPlan() {
  if (!saveEdited()) return;
  Status status = setPlanInUse(planName->text().trimmed());
  if (!status.ok()) tell(QString::fromStdString(status.reason()));
  clock_.planMeter().reload();
  reflectInUse();
}

void PlansWindow::useClassicTariffs() {
  Status status = setPlanInUse(QString());
  if (!status.ok()) tell(QString::fromStdString(status.reason()));
  clock_.planMeter().reload();
  reflectInUse();
}

void PlansWindow::importFile() {
  const QString from = chooseOpenFile(QStringLiteral("Import tariff plan"));
  if (from.isEmpty()) return;
  const PlanFile read = readPlanFile(from);
  if (!read.plan.ok()) {
    tell(QStringLiteral("The plan was not imported: %1").arg(read.error()));
    return;
  }
  plans::Plan plan = read.plan.value();
  const QString name = QString::fromStdString(plan.name);
  // The kept plans of the same name, and every name a new plan cannot take.
  QStringList sameName, taken;
  for (const PlanFile& file : listPlanFiles()) {
    const QString kept =
        file.plan.ok() ? QString::fromStdString(file.plan.value().name) : QString();
    if (kept == name || file.path == planPath(name)) sameName << file.path;
    taken << kept << QFileInfo(file.path).fileName();
  }
  if (!sameName.isEmpty()) {
    QString other;
    for (int n = 2; other.isEmpty() || taken.contains(other) ||
                    taken.contains(QFileInfo(planPath(other)).fileName());
         ++n) {
      other = QStringLiteral("%1 (%2)").arg(name).arg(n);
    }
    const int answer =
        ask(QStringLiteral("A tariff plan called \"%1\" is kept already. Replace it with the "
                           "one from %2, or keep both, the imported one as \"%3\"?")
                .arg(name, QFileInfo(from).fileName(), other),
            {QStringLiteral("Replace"), QStringLiteral("Keep both"), QStringLiteral("Cancel")});
    if (answer == 1) {
      plan.name = other.toStdString();
    } else if (answer != 0) {
      return;
    }
  }
  auto imported = savePlan(plan);
  if (!imported.ok()) {
    tell(QStringLiteral("The plan was not imported: %1")
             .arg(QString::fromStdString(imported.reason())));
    return;
  }
  // Replaced: no other file goes on holding a plan of that name.
  if (QString::fromStdString(plan.name) == name) {
    for (const QString& path : sameName) {
      if (path != imported.value()) static_cast<void>(deletePlanFile(path));
    }
  }
  refresh(imported.value());
}

void PlansWindow::exportFile() {
  auto plan = editedPlan();
  if (!plan) return;
  const QString to = chooseSaveFile(QString::fromStdString(plan->name) + QStringLiteral(".ini"));
  if (to.isEmpty()) return;
  Status status =
      exportPlan(*plan, to, programFiles(runtime().places(), runtime().journal().path()));
  if (!status.ok()) {
    tell(QStringLiteral("The plan was not exported: %1")
             .arg(QString::fromStdString(status.reason())));
  }
}

void PlansWindow::deletePlan() {
  const int row = planList->currentRow();
  if (row < 0 || row >= static_cast<int>(files_.size())) return;
  Status status = deletePlanFile(files_[static_cast<std::size_t>(row)].path);
  if (!status.ok()) tell(QString::fromStdString(status.reason()));
  refresh();
}

void PlansWindow::newPlan() {
  for (QPushButton* b : {saveButton, useButton, exportButton}) b->setEnabled(true);
  plans::Plan plan;
  plan.name = "New plan";
  plan.rate = 14000;
  showPlan(plan);
  planList->setCurrentRow(-1);
}

void PlansWindow::reflectInUse() {
  const QString name = planInUse();
  if (name.isEmpty()) {
    inUse->setText(QStringLiteral("The classic tariffs are in use."));
  } else if (const auto plan = findPlan(name); !plan.ok()) {
    inUse->setText(QStringLiteral("The plan in use cannot be used: %1")
                       .arg(QString::fromStdString(plan.reason())));
  } else {
    inUse->setText(QStringLiteral("In use: %1").arg(name));
  }
}

void showPlans(Runtime& runtime) { runtime.form<PlansWindow>().bringToFront(); }

}  // namespace tempodial
