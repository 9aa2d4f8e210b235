#include "windows/help/about_window.h"

#include <QLabel>
#include <QLineEdit>

#include "platform/forms/controls.h"
#include "platform/forms/picture_box.h"
#include "platform/forms/twips.h"
#include "platform/runtime/runtime.h"
#include "windows/artwork/artwork.h"
#include "windows/start_and_exit/splash_window.h"

namespace tempodial {
namespace {

constexpr int kIconPixels = 32;
// The client area: the window less its title bar and borders.
constexpr int kClientWidthTwips = 5775 - Form::kFrameWidthTwips;
constexpr int kClientHeightTwips = 4260 - Form::kFrameHeightTwips;

}  // namespace

AboutWindow::AboutWindow(Runtime& runtime) : Form(runtime, QString::fromLatin1(kName), kIndex) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setWindowTitle(QStringLiteral("About W.E.X."));
  setWindowIcon(artIcon(Art::Application));
  setSizeTwips(5775, 4260);
  QWidget* area = client();

  // The picture is drawn from the top left corner at its own size, as a
  // window's picture is; what does not fit is cut off.
  background = new QLabel(area);
  background->setObjectName(QStringLiteral("background"));
  background->setAccessibleName(QStringLiteral("Tempodial"));
  background->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  placeTwips(background, 0, 0, kClientWidthTwips, kClientHeightTwips);

  // Narrow and tall, as the window was designed; "OK" fits across it.
  Command1 = new Button(area, QStringLiteral("Command1"), QStringLiteral("OK"));
  placeTwips(Command1, kClientWidthTwips - 555, 60, 495, 855);

  Picture2 = new QLabel(area);
  Picture2->setObjectName(QStringLiteral("Picture2"));
  Picture2->setAccessibleName(QStringLiteral("Tempodial icon"));
  Picture2->setPixmap(artIcon(Art::Application).pixmap(kIconPixels, kIconPixels));
  Picture2->setFixedSize(kIconPixels, kIconPixels);
  // At the right edge, under "OK" and clear of the picture's title.
  Picture2->move(twipsToPixels(kClientWidthTwips - 60) - kIconPixels,
                 twipsToPixels(kClientHeightTwips - 525) - kIconPixels);

  Text1 = new QLineEdit(area);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setAccessibleName(QStringLiteral("E-mail"));
  Text1->setFont(arialFont(14.25));
  Text1->setText(QStringLiteral("E-mail: tempodial@example.org"));
  Text1->setReadOnly(true);
  placeTwips(Text1, 0, kClientHeightTwips - 465, kClientWidthTwips, 465);

  // What the picture says, then the contact line.
  setAccessibleDescription(QStringLiteral("Tempodial: Online time and call cost. Version 1.0. ") +
                           Text1->text());
  setCancelButton(Command1);

  setTabOrder(Command1, Text1);
  Command1->setFocus();

  Command1->onClick = [this] {
    hide();
    this->runtime().unload(formName());
  };
}

void AboutWindow::onLoad() {
  // Referring to the splash window loads it again, invisibly, and runs its
  // load step; its timer then hands over to the main window or ticks
  // harmlessly, and it is never shown again.
  auto& splash = runtime().form<SplashWindow>();
  background->setPixmap(QPixmap::fromImage(splash.picture->image()));
}

}  // namespace tempodial
