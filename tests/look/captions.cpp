#include "captions.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabWidget>
#include <QToolButton>

#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/runtime/runtime.h"
#include "windows/cost/options_window.h"
#include "windows/main/main_window.h"

namespace tempodial {
namespace {

QRect contents(QWidget* control, QStyle::SubElement element, QStyleOption& option) {
  option.initFrom(control);
  return control->style()->subElementRect(element, &option, control);
}

}  // namespace

std::vector<Caption> captionsOf(QWidget* window) {
  std::vector<Caption> found;
  auto* form = qobject_cast<Form*>(window);
  for (QWidget* control : window->findChildren<QWidget*>()) {
    if (!control->isVisibleTo(window) || !control->isEnabled()) continue;
    if (form != nullptr && !form->inView(control)) continue;
    const int center = Qt::AlignCenter | Qt::TextShowMnemonic;
    if (auto* button3d = qobject_cast<Button3D*>(control)) {
      if (button3d->text().isEmpty()) continue;
      // As Button3D paints it: 6-pixel margins, the picture at the left.
      const QRect inner = control->rect().adjusted(6, 6, -6, -6);
      found.push_back({control, withoutAccessKeys(button3d->text()),
                       inner.adjusted(button3d->iconSize().width() + 6, 0, 0, 0),
                       center | Qt::TextWordWrap});
    } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
      QStyleOptionButton option;
      option.text = check->text();
      found.push_back({control, withoutAccessKeys(check->text()),
                       contents(control, QStyle::SE_CheckBoxContents, option),
                       Qt::AlignLeft | Qt::AlignVCenter});
    } else if (auto* push = qobject_cast<QPushButton*>(control)) {
      if (push->text().isEmpty()) continue;
      QStyleOptionButton option;
      option.text = push->text();
      found.push_back({control, withoutAccessKeys(push->text()),
                       contents(control, QStyle::SE_PushButtonContents, option), center});
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
      if (label->text().isEmpty() || !label->pixmap().isNull()) continue;
      const int wrap = label->wordWrap() ? Qt::TextWordWrap : 0;
      // A label with a buddy shows its access key underlined, not its "&".
      const int mnemonic = label->buddy() != nullptr ? Qt::TextShowMnemonic : 0;
      found.push_back({control, label->text(), label->contentsRect(),
                       static_cast<int>(label->alignment()) | wrap | mnemonic});
    } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
      QStyleOptionGroupBox option;
      option.initFrom(frame);
      option.text = frame->title();
      option.subControls = QStyle::SC_GroupBoxLabel;
      option.textAlignment = frame->alignment();
      const QRect title = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                         QStyle::SC_GroupBoxLabel, frame);
      found.push_back({control, withoutAccessKeys(frame->title()), title, center});
    } else if (auto* bar = qobject_cast<QMenuBar*>(control)) {
      for (QAction* menu : bar->actions()) {
        if (!menu->isVisible()) continue;
        found.push_back(
            {control, withoutAccessKeys(menu->text()), bar->actionGeometry(menu), center});
      }
    }
  }
  return found;
}

void tourWindows(Runtime& runtime, const std::function<void(QWidget&, const QString&)>& look) {
  auto showAndLook = [&look](QWidget& window, const QString& name) {
    window.show();
    QApplication::processEvents();
    look(window, name);
  };
  auto& main = runtime.form<MainWindow>();
  main.refreshCaptions();
  showAndLook(main, QStringLiteral("timer cost hidden"));
  main.showNow();
  showAndLook(main, QStringLiteral("timer cost shown"));
  auto& options = runtime.form<OptionsWindow>();
  for (int page = 0; page < options.SSTab1->count(); ++page) {
    options.SSTab1->setCurrentIndex(page);
    showAndLook(options, QStringLiteral("Options page %1").arg(page + 1));
  }
  options.hide();
  for (const QString& name : runtime.formNames()) {
    if (name == QLatin1String(MainWindow::kName) || name == QLatin1String(OptionsWindow::kName)) {
      continue;
    }
    Form& window = runtime.form(name);
    showAndLook(window, name);
    window.hide();
  }
  main.hide();
}

}  // namespace tempodial
