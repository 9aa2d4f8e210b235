// No caption is cut off when the desktop's font is large (a 16-point desktop
// font, as a font setting tool gives every class of control) or the screen is
// scaled: every control of a classic window takes its window's own font,
// every control of a laid-out window the desktop's, and every caption fits
// the place where it is drawn. Run in a real X session, where QT_FONT_DPI and
// QT_SCALE_FACTOR apply.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QTemporaryDir>
#include <QWidget>

#include "captions.h"
#include "platform/forms/form.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/scripted_services.h"
#include "windows/main/forms.h"

namespace tempodial {
namespace {

// The classes whose fonts a desktop's font setting sets on its own.
const char* const kThemedClasses[] = {"QPushButton", "QToolButton",   "QCheckBox", "QLabel",
                                      "QGroupBox",   "QComboBox",     "QTabBar",   "QMenuBar",
                                      "QLineEdit",   "QPlainTextEdit"};

TEST(CaptionFit, EveryCaptionFitsWithALargeDesktopFont) {
  const QFont saved = QApplication::font();
  QFont desktop(QStringLiteral("DejaVu Sans"));
  desktop.setPointSize(16);
  QApplication::setFont(desktop);
  for (const char* name : kThemedClasses) QApplication::setFont(desktop, name);

  QTemporaryDir home;
  ScriptedServices services;
  Runtime runtime(services, Places(home.path() + QStringLiteral("/tempodial")));
  registerForms(runtime);
  int measured = 0;
  tourWindows(runtime, [&measured](QWidget& window, const QString& name) {
    for (const Caption& caption : captionsOf(&window)) {
      ++measured;
      const QFont& font = caption.control->font();
      // The classic windows keep their own fonts; the laid-out ones follow
      // the desktop's.
      if (static_cast<Form&>(window).laidOut()) {
        EXPECT_EQ(font.pointSize(), 16) << qPrintable(name) << ": \"" << qPrintable(caption.text)
                                        << "\" has a font of its own, not the desktop's";
      } else {
        EXPECT_NE(font.family(), QApplication::font().family())
            << qPrintable(name) << ": \"" << qPrintable(caption.text)
            << "\" has the desktop's font, not its window's";
      }
      const QFontMetrics metrics(font);
      const QRect needed = metrics.boundingRect(caption.rect, caption.flags, caption.text);
      // Half a pixel of rounding either way is not a cut.
      EXPECT_LE(needed.width(), caption.rect.width() + 1)
          << qPrintable(name) << ": \"" << qPrintable(caption.text) << "\" ("
          << qPrintable(caption.control->objectName()) << ") needs " << needed.width()
          << " px across, has " << caption.rect.width();
      EXPECT_LE(needed.height(), caption.rect.height() + 1)
          << qPrintable(name) << ": \"" << qPrintable(caption.text) << "\" ("
          << qPrintable(caption.control->objectName()) << ") needs " << needed.height()
          << " px down, has " << caption.rect.height();
    }
  });
  EXPECT_GT(measured, 60);
  QApplication::setFont(saved);
}

}  // namespace
}  // namespace tempodial
