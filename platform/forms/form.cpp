#include "platform/forms/form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QHideEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <algorithm>

#include "platform/forms/accessibility.h"
#include "platform/forms/controls.h"
#include "platform/forms/twips.h"
#include "platform/runtime/runtime.h"

namespace tempodial {
namespace {

// Where a control that the window's edge cuts off keeps the focus policy it
// gets back when it comes into view again.
constexpr const char* kFocusInView = "tempodial_focusInView";

}  // namespace

Form::Form(Runtime& runtime, const QString& name, int index)
    : QWidget(nullptr),
      runtime_(runtime),
      index_(index),
      client_(new QWidget(this)),
      hiddenControls_(std::make_unique<QWidget>()) {
  installAccessibility();
  setObjectName(name);
  client_->setObjectName(QStringLiteral("client"));
  hiddenControls_->setObjectName(name + QStringLiteral(".hidden"));
  setAttribute(Qt::WA_QuitOnClose, false);
  // The windows are laid out for their own fonts, whatever the desktop's font
  // is: a window without a font of its own has the classic 8.25-point face.
  setFont(arialFont(8.25));
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
  // A hidden window has its resize event only when shown; what is in view
  // must be known at once.
  layoutClient();
  updateReachability();
}

void Form::moveTwips(int leftTwips, int topTwips) {
  keepOnScreen(QPoint(twipsToPixels(leftTwips), twipsToPixels(topTwips)));
}

void Form::keepOnScreen(QPoint wanted) {
  QScreen* screen = QGuiApplication::screenAt(wanted);
  if (screen == nullptr) screen = this->screen();
  if (screen == nullptr) {
    move(wanted);
    return;
  }
  const QRect area = screen->availableGeometry();
  // Before the window is first shown the window manager has not framed it
  // yet: count the classic frame.
  QSize outer = frameGeometry().size();
  if (outer == size() && framed_) {
    outer += QSize(twipsToPixels(kFrameWidthTwips), twipsToPixels(kFrameHeightTwips));
  }
  QPoint at = wanted;
  at.setX(std::max(area.left(), std::min(at.x(), area.x() + area.width() - outer.width())));
  at.setY(std::max(area.top(), std::min(at.y(), area.y() + area.height() - outer.height())));
  move(at);
}

Form::Role Form::accessibleRole() const {
  if (role_) return *role_;
  return windowType() == Qt::Dialog ? Role::Dialog : Role::Frame;
}

bool Form::inView(const QWidget* control) const {
  if (!client_->isAncestorOf(control)) return true;
  const QRect place(control->mapTo(client_, QPoint(0, 0)), control->size());
  return client_->rect().contains(place);
}

void Form::updateReachability() {
  QWidget* lostFocus = nullptr;
  for (QWidget* control : client_->findChildren<QWidget*>()) {
    const QVariant kept = control->property(kFocusInView);
    const bool cutOff = !inView(control);
    if (!kept.isValid()) {
      if (!cutOff || control->focusPolicy() == Qt::NoFocus) continue;
      control->setProperty(kFocusInView, static_cast<int>(control->focusPolicy()));
      control->setFocusPolicy(Qt::NoFocus);
      if (control->hasFocus()) lostFocus = control;
    } else if (!cutOff) {
      control->setFocusPolicy(static_cast<Qt::FocusPolicy>(kept.toInt()));
      control->setProperty(kFocusInView, QVariant());
    }
  }
  if (lostFocus == nullptr) return;
  // The focus goes on to the next control that can still take it.
  for (QWidget* next = lostFocus->nextInFocusChain(); next != lostFocus;
       next = next->nextInFocusChain()) {
    if (client_->isAncestorOf(next) && (next->focusPolicy() & Qt::TabFocus) &&
        next->isVisibleTo(this) && next->isEnabled()) {
      next->setFocus(Qt::TabFocusReason);
      return;
    }
  }
  lostFocus->clearFocus();
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
  if (widget == nullptr || widget->window() != this) return QWidget::eventFilter(watched, event);
  auto* bar = qobject_cast<QMenuBar*>(menuBar_);
  if (bar != nullptr && key->key() == Qt::Key_F10 && key->modifiers() == Qt::NoModifier) {
    if (shortcut) {
      event->accept();
    } else {
      for (QAction* menu : bar->actions()) {
        if (!menu->isVisible()) continue;
        bar->setActiveAction(menu);
        break;
      }
    }
    return true;
  }
  if (key->modifiers() == Qt::AltModifier && altKey(key, shortcut)) return true;
  return QWidget::eventFilter(watched, event);
}

bool Form::altKey(QKeyEvent* key, bool shortcut) {
  const QKeySequence pressed(key->keyCombination());
  bool cutOff = false;
  for (QAbstractButton* button : client_->findChildren<QAbstractButton*>()) {
    if (!button->isVisibleTo(this) || !button->isEnabled()) continue;
    if (QKeySequence::mnemonic(button->text()) != pressed) continue;
    if (!inView(button)) {
      cutOff = true;
      continue;
    }
    if (shortcut) {
      key->accept();  // deliver the key to us as a key press, not to the menu bar
    } else if (!key->isAutoRepeat()) {
      button->setFocus(Qt::ShortcutFocusReason);
      button->click();
    }
    return true;
  }
  if (!cutOff) return false;
  // Only a control out of view marks this letter: the menu that marks it
  // opens, and the control's own shortcut is kept from taking the focus.
  if (shortcut) {
    key->accept();
    return true;
  }
  if (auto* bar = qobject_cast<QMenuBar*>(menuBar_)) {
    for (QAction* menu : bar->actions()) {
      if (menu->isVisible() && QKeySequence::mnemonic(menu->text()) == pressed) {
        bar->setActiveAction(menu);
        break;
      }
    }
  }
  return true;
}

void Form::onCloseRequested() { runtime_.unload(formName()); }

void Form::closeEvent(QCloseEvent* event) {
  // The runtime decides what a close means; Qt must not destroy the window.
  event->ignore();
  onCloseRequested();
}

void Form::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  // A window minimised by the window manager is still open.
  if (event->spontaneous()) return;
  Q_EMIT hidden();
  runtime_.visibilityChanged(*this);
}

void Form::setCancelButton(QAbstractButton* button) { cancelButton_ = button; }

void Form::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    auto* cancel = qobject_cast<QAbstractButton*>(cancelButton_.data());
    if (cancel != nullptr && cancel->isVisible() && cancel->isEnabled()) cancel->click();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void Form::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutClient();
  updateReachability();
  // Only a window the program placed is kept on the screen here; the window
  // manager places the others.
  if (isVisible() && testAttribute(Qt::WA_Moved)) keepOnScreen(pos());
}

void Form::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  updateReachability();
  if (event->spontaneous()) return;
  if (testAttribute(Qt::WA_Moved)) keepOnScreen(pos());
  runtime_.visibilityChanged(*this);
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
