// No caption is cut off when the desktop's font is large (a 16- or 20-point
// desktop font, as a font setting tool gives every class of control) or the screen is
// scaled: every control of a classic window takes its window's own font,
// every control of a laid-out window the desktop's, and every caption fits
// the place where it is drawn. Run in a real X session, where QT_FONT_DPI and
// QT_SCALE_FACTOR apply.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>

#include "captions.h"
#include "platform/forms/form.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/scripted_services.h"
#include "platform/session/clock_session.h"
#include "windows/main/forms.h"

namespace tempodial {
namespace {

// The classes whose fonts a desktop's font setting sets on its own.
const char* const kThemedClasses[] = {"QPushButton", "QToolButton",   "QCheckBox", "QLabel",
                                      "QGroupBox",   "QComboBox",     "QTabBar",   "QMenuBar",
                                      "QLineEdit",   "QPlainTextEdit"};

// The rows and headers of the laid-out windows' tables hold their text in
// the desktop's font (a bold totals row too).
void expectTablesFit(QWidget& window, const QString& name, int points) {
  for (QTableView* table : window.findChildren<QTableView*>()) {
    if (!table->isVisibleTo(&window)) continue;
    const QHeaderView* header = table->horizontalHeader();
    EXPECT_EQ(header->font().pointSize(), points)
        << qPrintable(name) << ": the headers of " << qPrintable(table->objectName())
        << " keep a font of their own";
    EXPECT_GE(header->height(), QFontMetrics(header->font()).height())
        << qPrintable(name) << ": the headers of " << qPrintable(table->objectName());
    for (int row = 0; row < std::min(table->model()->rowCount(), 5); ++row) {
      const QVariant font = table->model()->index(row, 0).data(Qt::FontRole);
      const QFont shown = font.isValid() ? font.value<QFont>() : table->font();
      EXPECT_GE(table->rowHeight(row), QFontMetrics(shown).height())
          << qPrintable(name) << ": row " << row << " of " << qPrintable(table->objectName());
    }
  }
}

class CaptionFit : public testing::TestWithParam<int> {};

TEST_P(CaptionFit, EveryCaptionFitsWithALargeDesktopFont) {
  const int points = GetParam();
  const QFont saved = QApplication::font();
  QFont desktop(QStringLiteral("DejaVu Sans"));
  desktop.setPointSize(points);
  QApplication::setFont(desktop);
  for (const char* name : kThemedClasses) QApplication::setFont(desktop, name);

  QTemporaryDir home;
  ScriptedServices services;
  Runtime runtime(services, Places(home.path() + QStringLiteral("/tempodial")));
  ClockSession session(runtime);
  registerForms(runtime, session);
  int measured = 0;
  tourWindows(runtime, [&measured, points](QWidget& window, const QString& name) {
    if (static_cast<Form&>(window).laidOut()) expectTablesFit(window, name, points);
    for (const Caption& caption : captionsOf(&window)) {
      ++measured;
      const QFont& font = caption.control->font();
      // The classic windows keep their own fonts; the laid-out ones follow
      // the desktop's.
      if (static_cast<Form&>(window).laidOut()) {
        EXPECT_EQ(font.pointSize(), points)
            << qPrintable(name) << ": \"" << qPrintable(caption.text)
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

INSTANTIATE_TEST_SUITE_P(Points, CaptionFit, testing::Values(16, 20));

}  // namespace
}  // namespace tempodial
