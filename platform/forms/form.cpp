#include "platform/forms/form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QHideEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/forms/accessibility.h"
#include "platform/forms/controls.h"
#include "platform/forms/twips.h"

namespace tempodial {
namespace {

// Where a control that the window's edge cuts off keeps the focus policy it
// gets back when it comes into view again.
constexpr const char* kFocusInView = "tempodial_focusInView";
// Marks a control hidden because it lies wholly past the window's edge, so
// that it is not reported as on screen; it is shown again when it comes into
// view.
constexpr const char* kPastEdge = "tempodial_pastEdge";

}  // namespace

Form::Form(FormHost& host, const QString& name, int index)
    : QWidget(nullptr),
      host_(host),
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
  // However a control of a scrolled area takes the focus (Tab, an access
  // key, assistive technology), the area scrolls to it.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now == nullptr || !client_->isAncestorOf(now)) return;
    for (QWidget* w = now->parentWidget(); w != client_; w = w->parentWidget()) {
      if (auto* area = qobject_cast<QScrollArea*>(w)) {
        area->ensureWidgetVisible(now);
        return;
      }
    }
  });
}

Form::~Form() = default;

void Form::setSizeTwips(int widthTwips, int heightTwips) {
  int frameW = framed_ ? kFrameWidthTwips : 0;
  setFixedWidth(twipsToPixels(widthTwips - frameW));
  setHeightTwips(heightTwips);
}

void Form::bringToFront() {
  show();
  setWindowState(windowState() & ~Qt::WindowMinimized);
  raise();
  activateWindow();
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

void Form::setLaidOut(QSize preferred) {
  laidOut_ = true;
  preferred_ = preferred;
  // No font of its own: the desktop's font and size, as the desktop's other
  // programs have.
  setFont(QFont());
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(client_);
  setMinimumSize(0, 0);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void Form::fitIntoScreen() {
  fitted_ = true;
  QScreen* screen = this->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  // The window manager's frame is not known before the window is first
  // mapped: room is left for a classic one.
  const QSize frame(twipsToPixels(kFrameWidthTwips), twipsToPixels(kFrameHeightTwips));
  const QSize room = (area.size() - frame).expandedTo(QSize(1, 1));
  QSize wanted = preferred_.expandedTo(sizeHint());
  // Wrapped text needs more height at narrower widths.
  if (hasHeightForWidth())
    wanted.setHeight(std::max(wanted.height(), heightForWidth(wanted.width())));
  const QSize size = wanted.boundedTo(room);
  resize(size);
  const QSize outer = size + frame;
  move(area.left() + std::max(0, (area.width() - outer.width()) / 2),
       area.top() + std::max(0, (area.height() - outer.height()) / 2));
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
  // A scrolled area brings the control that takes the focus into view.
  for (const QWidget* w = control; w != nullptr && w != client_; w = w->parentWidget()) {
    if (w != control && qobject_cast<const QScrollArea*>(w) != nullptr) return true;
  }
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
  if (!laidOut_) hidePastEdge(client_);
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

void Form::hidePastEdge(QWidget* parent) {
  const QRect area = client_->rect();
  for (QObject* child : parent->children()) {
    auto* control = qobject_cast<QWidget*>(child);
    if (control == nullptr || control->isWindow()) continue;
    const QRect place(control->mapTo(client_, QPoint(0, 0)), control->size());
    if (place.isEmpty()) continue;  // takes no room (the status message)
    // Past the edge: nothing of it in view, or too little to read (the top
    // line of a frame). A control wholly in view is never past it, however
    // thin.
    const int legible = control->fontMetrics().height() / 2;
    const bool past = area.intersected(place).height() < std::min(legible, place.height());
    if (control->property(kPastEdge).toBool()) {
      if (past) continue;
      control->setProperty(kPastEdge, QVariant());
      control->show();
    } else if (control->isHidden()) {
      continue;
    } else if (past) {
      control->setProperty(kPastEdge, true);
      control->hide();
      continue;
    }
    hidePastEdge(control);
  }
}

bool Form::pastEdge(const QWidget* control) const {
  for (const QWidget* w = control; w != nullptr && w != client_; w = w->parentWidget()) {
    if (w->property(kPastEdge).toBool()) return true;
  }
  return false;
}

void Form::setMenuBarWidget(QWidget* menuBar) {
  menuBar_ = menuBar;
  menuBar_->setParent(this);
  qApp->installEventFilter(this);
  layoutClient();
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
  if (focusBeforeMenu_ && (event->type() == QEvent::Hide || event->type() == QEvent::KeyRelease)) {
    QTimer::singleShot(0, this, &Form::restoreFocusAfterMenu);
  }
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
      QWidget* had = QApplication::focusWidget();
      for (QAction* menu : bar->actions()) {
        if (!menu->isVisible()) continue;
        bar->setActiveAction(menu);
        break;
      }
      // While the menu is open it alone has the focus; the control gets it
      // back when the menus close.
      if (had != nullptr && had->window() == this && QApplication::activePopupWidget()) {
        focusBeforeMenu_ = had;
        had->clearFocus();
      }
    }
    return true;
  }
  if (key->modifiers() == Qt::AltModifier && altKey(key, shortcut)) return true;
  return QWidget::eventFilter(watched, event);
}

void Form::restoreFocusAfterMenu() {
  if (!focusBeforeMenu_) return;
  auto* bar = qobject_cast<QMenuBar*>(menuBar_);
  if (QApplication::activePopupWidget() != nullptr || (bar && bar->activeAction() != nullptr)) {
    return;  // still in the menus
  }
  QWidget* now = focusWidget();
  if (now == nullptr || now == bar) focusBeforeMenu_->setFocus(Qt::PopupFocusReason);
  focusBeforeMenu_ = nullptr;
}

bool Form::altKey(QKeyEvent* key, bool shortcut) {
  const QKeySequence pressed(key->keyCombination());
  bool cutOff = false;
  for (QAbstractButton* button : client_->findChildren<QAbstractButton*>()) {
    if (!button->isEnabled() || (!button->isVisibleTo(this) && !pastEdge(button))) continue;
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

void Form::onCloseRequested() { host_.unload(formName()); }

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
  host_.visibilityChanged(*this);
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
  if (isVisible() && testAttribute(Qt::WA_Moved) && !laidOut_) keepOnScreen(pos());
}

void Form::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  updateReachability();
  if (event->spontaneous()) return;
  if (laidOut_ && !fitted_) fitIntoScreen();
  if (testAttribute(Qt::WA_Moved)) keepOnScreen(pos());
  host_.visibilityChanged(*this);
}

void Form::layoutClient() {
  if (laidOut_) return;  // the window's layout places the client area
  int top = 0;
  if (menuBar_ != nullptr) {
    top = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, width(), top);
  }
  client_->setGeometry(0, top, width(), height() - top);
}

}  // namespace tempodial
