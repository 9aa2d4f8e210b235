#include "windows/desktop/automatic_timing_window.h"

#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/forms/controls.h"
#include "platform/runtime/runtime.h"
#include "platform/session/automatic_timing.h"
#include "windows/artwork/artwork.h"
#include "windows/desktop/desktop_extras.h"

namespace tempodial {
namespace {

QRadioButton* option(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QRadioButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAccessibleName(caption);
  return button;
}

QString connectionText(AutomaticTiming& timing) {
  if (!timing.watchAvailable()) {
    return QStringLiteral(
        "The connection cannot be followed: NetworkManager does not answer. The clock is "
        "started and stopped by hand.");
  }
  if (!timing.online()) return QStringLiteral("The connection is down.");
  return timing.metered() ? QStringLiteral("The connection is up and metered.")
                          : QStringLiteral("The connection is up and not metered.");
}

}  // namespace

AutomaticTimingWindow::AutomaticTimingWindow(Runtime& runtime)
    : Form(runtime, QString::fromLatin1(kName), kIndex) {
  setWindowTitle(QStringLiteral("Automatic timing"));
  setWindowIcon(artIcon(Art::Application));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  QWidget* area = client();
  Label1 = new Label(area, QStringLiteral("Label1"), QStringLiteral("Start and stop the clock:"));
  Option1 = option(area, "Option1", QStringLiteral("Only by hand"));
  Option2 = option(area, "Option2", QStringLiteral("While online"));
  Option3 = option(area, "Option3", QStringLiteral("While online on a metered connection"));
  Label2 = new Label(area, QStringLiteral("Label2"), QString());
  Label2->setWordWrap(true);
  Command1 = new Button(area, QStringLiteral("Command1"), QStringLiteral("OK"));
  auto* layout = new QVBoxLayout(area);
  layout->addWidget(Label1);
  for (QRadioButton* button : {Option1, Option2, Option3}) layout->addWidget(button);
  layout->addWidget(Label2, 1);
  layout->addWidget(Command1, 0, Qt::AlignRight);
  setLaidOut(QSize(320, 180));
  setCancelButton(Command1);  // Escape closes the window, as OK does

  const std::pair<QRadioButton*, TimingChoice> choices[] = {
      {Option1, TimingChoice::ByHand},
      {Option2, TimingChoice::WhileOnline},
      {Option3, TimingChoice::WhileOnlineMetered}};
  // The choice follows the button's state, however it was chosen: a click,
  // the keyboard, or assistive technology's action.
  for (const auto& [button, choice] : choices) {
    connect(button, &QRadioButton::toggled, this, [this, choice](bool on) {
      if (!on || reflecting_ || timing().choice() == choice) return;
      timing().choose(choice);
      reflect();
    });
  }
  Command1->onClick = [this] { this->runtime().unload(formName()); };
}

void AutomaticTimingWindow::onLoad() {
  connect(&timing(), &AutomaticTiming::connectionChanged, this, &AutomaticTimingWindow::reflect);
  reflect();
}

AutomaticTiming& AutomaticTimingWindow::timing() const {
  // The main window attaches it as it loads; referring to it loads it.
  if (automaticTiming() == nullptr) runtime().form(QString::fromLatin1(kMainWindowName));
  return *automaticTiming();
}

void AutomaticTimingWindow::reflect() {
  AutomaticTiming& automatic = timing();
  const bool watched = automatic.watchAvailable();
  Option2->setEnabled(watched);
  Option3->setEnabled(watched);
  QRadioButton* chosen = Option1;
  if (automatic.choice() == TimingChoice::WhileOnline) chosen = Option2;
  if (automatic.choice() == TimingChoice::WhileOnlineMetered) chosen = Option3;
  reflecting_ = true;
  chosen->setChecked(true);
  reflecting_ = false;
  Label2->setCaption(connectionText(automatic));
}

}  // namespace tempodial
