// Every caption stands out from what is behind it, at least 4.5:1, in the
// style's own light colours, in a dark palette and in a high-contrast one:
// measured on the rendered pixels of every window, so that a colour fixed in
// code (not taken from the palette) shows up as the fault it is.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QPalette>
#include <QScrollArea>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QWidget>

#include "captions.h"
#include "platform/forms/colours.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/scripted_services.h"
#include "platform/session/clock_session.h"
#include "windows/main/forms.h"

namespace tempodial {
namespace {

QPalette darkPalette() {
  QPalette dark;
  const QColor window(0x35, 0x35, 0x35);
  dark.setColor(QPalette::Window, window);
  dark.setColor(QPalette::WindowText, Qt::white);
  dark.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
  dark.setColor(QPalette::AlternateBase, QColor(0x42, 0x42, 0x42));
  dark.setColor(QPalette::Text, Qt::white);
  dark.setColor(QPalette::Button, window);
  dark.setColor(QPalette::ButtonText, Qt::white);
  dark.setColor(QPalette::BrightText, Qt::red);
  dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
  dark.setColor(QPalette::HighlightedText, Qt::black);
  dark.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
  dark.setColor(QPalette::Midlight, QColor(0x45, 0x45, 0x45));
  dark.setColor(QPalette::Mid, QColor(0x25, 0x25, 0x25));
  dark.setColor(QPalette::Dark, QColor(0x19, 0x19, 0x19));
  dark.setColor(QPalette::Shadow, Qt::black);
  return dark;
}

QPalette highContrastPalette() {
  QPalette contrast;
  for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::AlternateBase,
                    QPalette::Dark, QPalette::Mid, QPalette::Shadow}) {
    contrast.setColor(role, Qt::black);
  }
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                    QPalette::BrightText, QPalette::Light, QPalette::Midlight}) {
    contrast.setColor(role, Qt::white);
  }
  contrast.setColor(QPalette::Highlight, QColor(0x1a, 0xeb, 0xff));
  contrast.setColor(QPalette::HighlightedText, Qt::black);
  return contrast;
}

// The contrast of the text in `region` of `image`: its most frequent colour
// is the background, and the colour that stands out most from it, among
// those that cover a few pixels at least, is the text's.
double renderedContrast(const QImage& image, const QRect& region) {
  QHash<QRgb, int> counts;
  const QRect inside = region.intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) ++counts[image.pixel(x, y)];
  }
  QRgb background = 0;
  int most = 0;
  for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
    if (it.value() > most) {
      most = it.value();
      background = it.key();
    }
  }
  double best = 1.0;
  for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
    if (it.value() < 3) continue;
    best = std::max(best, contrastRatio(QColor(background), QColor(it.key())));
  }
  return best;
}

struct Scheme {
  const char* name;
  QPalette (*palette)();
};

class ContrastTest : public testing::TestWithParam<Scheme> {
 protected:
  void SetUp() override {
    savedStyle_ = QApplication::style()->name();
    savedPalette_ = QApplication::palette();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(GetParam().palette());
  }
  void TearDown() override {
    QApplication::setStyle(QStyleFactory::create(savedStyle_));
    QApplication::setPalette(savedPalette_);
  }

 private:
  QString savedStyle_;
  QPalette savedPalette_;
};

TEST_P(ContrastTest, EveryCaptionOfEveryWindowStandsOutFromItsBackground) {
  QTemporaryDir home;
  ScriptedServices services;
  Runtime runtime(services, Places(home.path() + QStringLiteral("/tempodial")));
  ClockSession session(runtime);
  registerForms(runtime, session);
  int measured = 0;
  tourWindows(runtime, [&measured](QWidget& window, const QString& name) {
    QImage image = window.grab().toImage();
    for (const Caption& caption : captionsOf(&window)) {
      if (caption.rect.isEmpty()) continue;
      // A control of a scrolled form is measured where it shows once the
      // form is scrolled to it, as the focus scrolls it.
      for (QWidget* w = caption.control->parentWidget(); w != nullptr; w = w->parentWidget()) {
        auto* area = qobject_cast<QScrollArea*>(w);
        if (area == nullptr) continue;
        const QRect place(caption.control->mapTo(area->viewport(), QPoint(0, 0)),
                          caption.control->size());
        if (!area->viewport()->rect().contains(place)) {
          area->ensureWidgetVisible(caption.control);
          image = window.grab().toImage();
        }
        break;
      }
      const QRect region(caption.control->mapTo(&window, caption.rect.topLeft()),
                         caption.rect.size());
      const double contrast = renderedContrast(image, region);
      ++measured;
      EXPECT_GE(contrast, 4.5) << qPrintable(name) << ": \"" << qPrintable(caption.text) << "\" ("
                               << qPrintable(caption.control->objectName()) << ")";
    }
  });
  EXPECT_GT(measured, 60);  // the tour reached the captions of every window
}

QPalette styleColours() { return QApplication::style()->standardPalette(); }

INSTANTIATE_TEST_SUITE_P(Palettes, ContrastTest,
                         testing::Values(Scheme{"Default", &styleColours},
                                         Scheme{"Dark", &darkPalette},
                                         Scheme{"HighContrast", &highContrastPalette}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tempodial
