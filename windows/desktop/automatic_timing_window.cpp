#include "windows/desktop/automatic_timing_window.h"

#include <QRadioButton>

#include "platform/forms/controls.h"
#include "platform/forms/twips.h"
#include "platform/runtime/runtime.h"
#include "windows/artwork/artwork.h"
#include "windows/desktop/automatic_timing.h"
#include "windows/main/main_window.h"

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
  setFont(QFont(QStringLiteral("Arial"), 9));
  QWidget* area = client();
  Label1 = new Label(area, QStringLiteral("Label1"), QStringLiteral("Start and stop the clock:"));
  placeTwips(Label1, 120, 120, 4455, 255);
  Option1 = option(area, "Option1", QStringLiteral("Only by hand"));
  placeTwips(Option1, 240, 420, 4335, 285);
  Option2 = option(area, "Option2", QStringLiteral("While online"));
  placeTwips(Option2, 240, 720, 4335, 285);
  Option3 = option(area, "Option3", QStringLiteral("While online on a metered connection"));
  placeTwips(Option3, 240, 1020, 4335, 285);
  Label2 = new Label(area, QStringLiteral("Label2"), QString());
  Label2->setWordWrap(true);
  placeTwips(Label2, 120, 1380, 4455, 705);
  Command1 = new Button(area, QStringLiteral("Command1"), QStringLiteral("OK"));
  placeTwips(Command1, 3360, 2190, 1215, 375);
  setClientSizeTwips(4695, 2685);

  const std::pair<QRadioButton*, TimingChoice> choices[] = {
      {Option1, TimingChoice::ByHand},
      {Option2, TimingChoice::WhileOnline},
      {Option3, TimingChoice::WhileOnlineMetered}};
  for (const auto& [button, choice] : choices) {
    connect(button, &QRadioButton::clicked, this, [this, choice] {
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
  return *runtime().form<MainWindow>().findChild<AutomaticTiming*>();
}

void AutomaticTimingWindow::reflect() {
  AutomaticTiming& automatic = timing();
  const bool watched = automatic.watchAvailable();
  Option2->setEnabled(watched);
  Option3->setEnabled(watched);
  QRadioButton* chosen = Option1;
  if (automatic.choice() == TimingChoice::WhileOnline) chosen = Option2;
  if (automatic.choice() == TimingChoice::WhileOnlineMetered) chosen = Option3;
  chosen->setChecked(true);
  Label2->setCaption(connectionText(automatic));
}

}  // namespace tempodial
