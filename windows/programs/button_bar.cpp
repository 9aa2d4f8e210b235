#include "windows/programs/button_bar.h"

#include "platform/forms/controls.h"
#include "platform/forms/twips.h"
#include "platform/runtime/runtime.h"
#include "windows/artwork/artwork.h"
#include "windows/programs/button_bar_question.h"
#include "windows/programs/launcher.h"

namespace tempodial {
namespace {

// The designed client area holds the three 615-twip-high buttons; a fixed
// border and a title bar go around it.
constexpr int kClientWidthTwips = 2205;
constexpr int kClientHeightTwips = 630;

Button3D* programButton(QWidget* parent, const char* name, const QString& program, Art art,
                        int left) {
  auto* button = new Button3D(parent, QString::fromLatin1(name), QString(), artIcon(art));
  button->setAccessibleName(program);
  button->setToolTip(program);
  placeTwips(button, left, 0, 735, 615);
  return button;
}

}  // namespace

ButtonBar::ButtonBar(Runtime& runtime) : Form(runtime, QString::fromLatin1(kName), kIndex) {
  setWindowTitle(QStringLiteral("Buttonbar"));
  setWindowIcon(artIcon(Art::ButtonBar));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setClientSizeTwips(kClientWidthTwips, kClientHeightTwips);

  QWidget* area = client();
  SSCommand5 =
      programButton(area, "SSCommand5", QStringLiteral("Dial Up networking"), Art::Dialer, 0);
  SSCommand6 =
      programButton(area, "SSCommand6", QStringLiteral("Netscape Communicator"), Art::Browser, 720);
  SSCommand9 =
      programButton(area, "SSCommand9", QStringLiteral("Internet Explorer 4"), Art::Explorer, 1440);
  setTabOrder(SSCommand5, SSCommand6);
  setTabOrder(SSCommand6, SSCommand9);

  Runtime& rt = this->runtime();
  SSCommand5->onClick = [&rt] { launchProgram(rt, 2); };
  SSCommand6->onClick = [&rt] { launchProgram(rt, 1); };
  SSCommand9->onClick = [&rt] { launchProgram(rt, 3); };
}

void ButtonBar::onUnload() { runtime().form<ButtonBarQuestion>().show(); }

// The final release of the bar. While the program runs, a bar object is
// released right after its close control unloaded it, which has just put the
// question on screen for the user to answer: the question must outlive it, and
// the runtime may already be gone by then. The release that ends the question
// is the one at the end of the program, when the runtime discards every
// window, the question among them; the runtime must not be called back from
// inside that. So nothing is left to do here.
ButtonBar::~ButtonBar() = default;

}  // namespace tempodial
