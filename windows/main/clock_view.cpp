// The main window as the clock model's view: each box, label and menu item
// shows its part of the model and is written only when its text differs, so
// a box written by the model hands nothing back; what the user types or a
// file loads into a box goes to the model, which carries and charges.
#include "platform/clock/clock_model.h"
#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "windows/main/main_window.h"

namespace tempodial {
namespace {

void showText(RichTextBox* box, const QString& text) {
  if (box->text() != text) box->setText(text);
}

void showText(Label* label, const QString& caption) {
  if (label->caption() == caption) return;
  label->setCaption(caption);
}

}  // namespace

void MainWindow::followClock() {
  // A window made while the session runs shows the session as it stands;
  // the currency of its design stands until one is chosen.
  showCounters();
  showText(cost, clock_.cost());
  if (clock_.currencySymbol().isEmpty()) clock_.setCurrency(Label4->caption(), SSPanel2->caption());
  clock_.setCostShown(Check1->value() == 1);
  SSCommand1->setChecked(clock_.running());

  RichTextBox1->onChange = [this] {
    clock_.setCounter(clock::Counter::Seconds, RichTextBox1->text());
  };
  RichTextBox2->onChange = [this] {
    clock_.setCounter(clock::Counter::Minutes, RichTextBox2->text());
  };
  RichTextBox3->onChange = [this] {
    clock_.setCounter(clock::Counter::Hours, RichTextBox3->text());
  };
  cost->onChange = [this] { clock_.setCost(cost->text()); };

  connect(&clock_, &ClockModel::countersChanged, this, &MainWindow::showCounters);
  connect(&clock_, &ClockModel::costChanged, this, [this] { showText(cost, clock_.cost()); });
  connect(&clock_, &ClockModel::currencyChanged, this, [this] {
    showText(Label4, clock_.currencySymbol());
    if (SSPanel2->caption() != clock_.currencyName()) SSPanel2->setCaption(clock_.currencyName());
  });
  connect(&clock_, &ClockModel::said, this,
          [this](const QString& text) { SSPanel1->setCaption(text); });
  connect(&clock_, &ClockModel::rateInForceChanged, this, &MainWindow::showRateInForce);
  connect(&clock_, &ClockModel::costShownChanged, this,
          [this](bool shown) { Check1->setValue(shown ? 1 : 0); });
  connect(&clock_, &ClockModel::costShownAtStartUpChanged, this, [this](bool shown) {
    showstart->setVisible(!shown);
    hidestart->setVisible(shown);
  });
  connect(&clock_, &ClockModel::runningChanged, this,
          [this](bool running) { SSCommand1->setChecked(running); });
}

void MainWindow::showCounters() {
  // Seconds first, as a tick writes them, then minutes and hours.
  showText(RichTextBox1, clock_.seconds());
  showText(RichTextBox2, clock_.minutes());
  showText(RichTextBox3, clock_.hours());
}

void MainWindow::showRateInForce() {
  const ClockModel::RateInForce& rate = clock_.rateInForce();
  planRate->setVisible(rate.shown);
  planRate->setToolTip(rate.detail);
  showText(planRate, rate.caption);
  planRate->setAccessibleName(rate.caption);
}

}  // namespace tempodial
