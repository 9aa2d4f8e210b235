#include "platform/form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QHideEvent>
#include <QKeyEvent>
#include <QShowEvent>

#include "platform/runtime.h"
#include "platform/twips.h"

namespace tempodial {
Form::Form(Runtime& runtime, const QString& name, int index)
    : QWidget(nullptr), runtime_(runtime), index_(index), client_(new QWidget(this)) {
  setObjectName(name);
  setAccessibleName(name);
  client_->setObjectName(QStringLiteral("client"));
  setAttribute(Qt::WA_QuitOnClose, false);
}

Form::~Form() = default;

void Form::setSizeTwips(int widthTwips, int heightTwips) {
  int frameW = framed_ ? kFrameWidthTwips : 0;
  setFixedWidth(twipsToPixels(widthTwips - frameW));
  setHeightTwips(heightTwips);
}

void Form::setClientSizeTwips(int widthTwips, int heightTwips) {
  const bool framed = framed_;
  framed_ = false;
  setSizeTwips(widthTwips, heightTwips);
  framed_ = framed;
}

void Form::setHeightTwips(int heightTwips) {
  heightTwips_ = heightTwips;
  int frameH = framed_ ? kFrameHeightTwips : 0;
  int menuPixels = 0;
  if (menuBar_ != nullptr) {
    frameH += kMenuBarTwips;
    menuPixels = menuBar_->sizeHint().height();
  }
  setFixedHeight(menuPixels + twipsToPixels(heightTwips - frameH));
}

void Form::moveTwips(int leftTwips, int topTwips) {
  move(twipsToPixels(leftTwips), twipsToPixels(topTwips));
}

void Form::setMenuBarWidget(QWidget* menuBar) {
  menuBar_ = menuBar;
  menuBar_->setParent(this);
  qApp->installEventFilter(this);
  layoutClient();
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
  const bool shortcut = event->type() == QEvent::ShortcutOverride;
  if (!shortcut && event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  auto* widget = qobject_cast<QWidget*>(watched);
  if (key->modifiers() != Qt::AltModifier || widget == nullptr || widget->window() != this) {
    return QWidget::eventFilter(watched, event);
  }
  const QKeySequence pressed(key->keyCombination());
  for (QAbstractButton* button : client_->findChildren<QAbstractButton*>()) {
    if (!button->isVisibleTo(this) || !button->isEnabled()) continue;
    if (QKeySequence::mnemonic(button->text()) != pressed) continue;
    if (shortcut) {
      event->accept();  // deliver the key to us as a key press, not to the menu bar
    } else if (key->isAutoRepeat() == false) {
      button->setFocus(Qt::ShortcutFocusReason);
      button->click();
    }
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void Form::onCloseRequested() { runtime_.unload(formName()); }

void Form::closeEvent(QCloseEvent* event) {
  // The runtime decides what a close means; Qt must not destroy the window.
  event->ignore();
  onCloseRequested();
}

void Form::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) runtime_.visibilityChanged(*this);
}

void Form::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  // A window minimised by the window manager is still open.
  if (event->spontaneous()) return;
  Q_EMIT hidden();
  runtime_.visibilityChanged(*this);
}

void Form::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutClient();
}

void Form::layoutClient() {
  int top = 0;
  if (menuBar_ != nullptr) {
    top = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, width(), top);
  }
  client_->setGeometry(0, top, width(), height() - top);
}

}  // namespace tempodial
