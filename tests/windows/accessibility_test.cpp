// Assistive technology and automated tests find every control by name.
#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <functional>

#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/form_timer.h"
#include "platform/forms/password_box.h"
#include "tests/windows/window_fixture.h"
#include "windows/cost/options_window.h"
#include "windows/history/history_chart.h"
#include "windows/history/history_window.h"
#include "windows/main/main_window.h"
#include "windows/main/password_window.h"

namespace tempodial {
namespace {

TEST_F(WindowTest, EveryVisibleControlOfEveryWindowHasAnAccessibleName) {
  startMain();
  for (const QString& name : runtime->formNames()) {
    Form& form = runtime->form(name);
    for (QWidget* control : form.findChildren<QWidget*>()) {
      const bool interactive =
          qobject_cast<QAbstractButton*>(control) || qobject_cast<QComboBox*>(control) ||
          qobject_cast<QPlainTextEdit*>(control) || qobject_cast<QLineEdit*>(control);
      if (!interactive || control->isHidden()) continue;
      // Qt's own helpers (the menu bar's overflow button) name themselves.
      if (control->objectName().startsWith(QLatin1String("qt_"))) continue;
      // A combo box's own line edit is named through the combo box.
      if (qobject_cast<QComboBox*>(control->parentWidget())) continue;
      QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
      ASSERT_NE(accessible, nullptr);
      EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
          << qPrintable(name) << "." << qPrintable(control->objectName());
    }
  }
}

// Each window is a frame or a dialog named by its caption, as a screen reader
// announces it; the reset confirmation, which has no caption, by its question.
TEST_F(WindowTest, EveryWindowIsAFrameOrADialogNamedByItsCaption) {
  startMain();
  struct Expected {
    const char* form;
    QAccessible::Role role;
    const char* name;
  };
  const Expected windows[] = {
      {"Splash", QAccessible::Window, "Tempodial"},
      {"timer", QAccessible::Window, "Tempodial"},
      {"locations", QAccessible::Dialog, "Set your Program Locations"},
      {"rusure", QAccessible::Dialog, "Reset the clock to 0:0:0?"},
      {"Helpsf", QAccessible::Dialog, "Help and credits"},
      {"quesexit", QAccessible::Dialog, "Exit Options"},
      {"vaskpass", QAccessible::Dialog, "Password?"},
      {"buttonbar", QAccessible::Window, "Buttonbar"},
      {"Options", QAccessible::Window, "Options"},
      {"aboutwex", QAccessible::Dialog, "About W.E.X."},
      {"quesexit2", QAccessible::Dialog, "Just a minute..."},
      {"buttques", QAccessible::Dialog, "Buttonbar Question"},
      {"restore", QAccessible::Dialog, "Restore last session?"},
      {"history", QAccessible::Window, "History"},
      {"automatic", QAccessible::Dialog, "Automatic timing"},
      {"plans", QAccessible::Window, "Tariff plans"},
  };
  ASSERT_EQ(runtime->formNames().size(), std::size(windows));
  for (const Expected& expected : windows) {
    Form& form = runtime->form(QString::fromLatin1(expected.form));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&form);
    ASSERT_NE(accessible, nullptr) << expected.form;
    EXPECT_EQ(accessible->role(), expected.role) << expected.form;
    EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromUtf8(expected.name))
        << expected.form;
  }
  // The reset confirmation's title bar shows nothing.
  EXPECT_TRUE(runtime->form(QStringLiteral("rusure")).windowTitle().trimmed().isEmpty());
}

QAccessibleInterface* of(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

// What a screen reader is told of the controls Qt's own interfaces present
// wrongly: each row acts as a user would, then says what the bus would carry.
TEST_F(WindowTest, ControlsTellAScreenReaderTheirStateTextAndPlace) {
  startMain();
  MainWindow& timer = main();
  timer.show();
  QApplication::setActiveWindow(&timer);
  auto& options = runtime->form<OptionsWindow>();
  auto& password = runtime->form<PasswordWindow>();
  auto& history = runtime->form<HistoryWindow>();
  const struct {
    const char* what;
    std::function<QString()> said;
    QString expected;
  } rows[] = {
      {"Start/Stop is a check box, not checked while stopped",
       [&] {
         QAccessibleInterface* start = of(timer.SSCommand1);
         return QStringLiteral("%1 %2 %3")
             .arg(start->role() == QAccessible::CheckBox)
             .arg(start->state().checkable)
             .arg(start->state().checked);
       },
       "1 1 0"},
      {"its Toggle action (no other) starts the clock as a click does, and it is checked",
       [&] {
         QAccessibleActionInterface* actions = of(timer.SSCommand1)->actionInterface();
         actions->doAction(QStringLiteral("NoSuchAction"));
         QApplication::processEvents();
         if (timer.Timer1->enabled()) return QStringLiteral("an unknown action started it");
         actions->doAction(QAccessibleActionInterface::toggleAction());
         QApplication::processEvents();
         return QStringLiteral("%1 %2 %3")
             .arg(timer.Timer1->enabled())
             .arg(of(timer.SSCommand1)->state().checked)
             .arg(of(timer.SSCommand1)->state().pressed);
       },
       "1 1 0"},
      {"while a question stands over the window, its controls' actions are held as clicks are",
       [&] {
         const bool costShown = timer.Check1->isChecked();
         const auto act = [&](QWidget* control) {
           of(control)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
           QApplication::processEvents();
         };
         QDialog question(&timer);
         question.setWindowModality(Qt::ApplicationModal);
         question.show();
         act(timer.SSCommand1);
         act(timer.Check1);
         const QString held = QStringLiteral("%1 %2")
                                  .arg(timer.Timer1->enabled())
                                  .arg(timer.Check1->isChecked() != costShown);
         question.hide();
         act(timer.Check1);
         const bool freed = timer.Check1->isChecked() != costShown;
         act(timer.Check1);
         QApplication::setActiveWindow(&timer);
         return held + QStringLiteral(", answered: %1").arg(freed);
       },
       "1 0, answered: 1"},
      {"the currency panel, which takes the focus, is a panel with a pop-up and a description",
       [&] {
         QAccessibleInterface* panel = of(timer.SSPanel2);
         return QStringLiteral("%1 %2 %3")
             .arg(panel->role() == QAccessible::Pane)
             .arg(panel->state().hasPopup)
             .arg(panel->text(QAccessible::Description));
       },
       "1 1 Shift+F10 chooses the currency"},
      {"a counter box has the focus, the area inside it never",
       [&] {
         auto* box = timer.findChild<RichTextBox*>();
         box->setFocus();
         return QStringLiteral("%1 %2")
             .arg(of(box)->state().focused)
             .arg(of(box->viewport())->state().focused);
       },
       "1 0"},
      {"an editable list leaves the focus to its text box",
       [&] {
         options.show();
         QApplication::setActiveWindow(&options);
         options.Combo2->lineEdit()->setFocus();
         return QStringLiteral("%1 %2")
             .arg(of(options.Combo2)->state().focused)
             .arg(of(options.Combo2->lineEdit())->state().focused);
       },
       "0 1"},
      {"an open list's entries report their own rows, inside the list",
       [&] {
         options.Combo1->showPopup();
         QApplication::processEvents();
         QAccessibleInterface* list = of(options.Combo1)->child(1);
         QList<int> tops;
         bool inside = true;
         for (int row = 0; row < list->childCount(); ++row) {
           const QRect place = list->child(row)->rect();
           tops << place.top();
           inside = inside && list->rect().contains(place) && !place.isEmpty();
         }
         options.Combo1->hidePopup();
         return QStringLiteral("%1 rows at %2 tops, inside: %3")
             .arg(list->childCount())
             .arg(QSet<int>(tops.begin(), tops.end()).size())
             .arg(inside);
       },
       "5 rows at 5 tops, inside: 1"},
      {"the password box gives its masked text",
       [&] {
         password.show();
         password.Text1->setText(QStringLiteral("abc"));
         const QString said = of(password.Text1)->textInterface()->text(0, 3);
         return said.size() == 3 && said == password.Text1->displayText() ? QStringLiteral("masked")
                                                                          : said;
       },
       "masked"},
      {"what the password box's events tell of its text is its mask",
       [&] {
         QAccessibleTextInsertEvent typed(password.Text1, 0, QStringLiteral("marlin"));
         QAccessibleTextRemoveEvent rubbedOut(password.Text1, 5, QStringLiteral("n"));
         QAccessibleTextUpdateEvent replaced(password.Text1, 0, QStringLiteral("marli"),
                                             QStringLiteral("abc"));
         QLineEdit plain;
         QAccessibleTextInsertEvent shown(&plain, 0, QStringLiteral("marlin"));
         const auto inserted = maskedEvent(&typed);
         const auto removed = maskedEvent(&rubbedOut);
         const auto updated = maskedEvent(&replaced);
         return QStringList{
             static_cast<QAccessibleTextInsertEvent*>(inserted.get())->textInserted(),
             static_cast<QAccessibleTextRemoveEvent*>(removed.get())->textRemoved(),
             static_cast<QAccessibleTextUpdateEvent*>(updated.get())->textRemoved(),
             static_cast<QAccessibleTextUpdateEvent*>(updated.get())->textInserted(),
             maskedEvent(&shown) ? QStringLiteral("a plain box masked")
                                 : QStringLiteral("a plain box as it is")}
             .join(QLatin1Char(' '));
       },
       "?????? ? ????? ??? a plain box as it is"},
      {"the chart's choice is named by its label, shows its entry as text",
       [&] {
         QAccessibleInterface* choice = of(history.chartChoice);
         return choice->text(QAccessible::Name) + QStringLiteral(": ") +
                choice->textInterface()->text(0, choice->textInterface()->characterCount());
       },
       "Chart: Time per day"},
      {"a new chart choice is told with the chart's summary",
       [&] {
         history.chartChoice->setCurrentIndex(1);
         auto* news = history.chart->findChild<StatusMessage*>();
         return news->accessibleName().section(QLatin1Char(':'), 0, 0) + QStringLiteral(" ") +
                QString::number(
                    news->accessibleName().endsWith(history.chart->accessibleDescription()));
       },
       "Data per day 1"},
  };
  for (const auto& row : rows) EXPECT_EQ(row.said(), row.expected) << row.what;
}

}  // namespace
}  // namespace tempodial
