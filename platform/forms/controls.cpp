#include "platform/forms/controls.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyleOptionFocusRect>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QTextCursor>
#include <QTextDocument>

#include "core/values/number_text.h"
#include "platform/forms/colours.h"

namespace tempodial {
namespace {

bool isEnter(const QKeyEvent* event) {
  return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
         (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

bool isContextMenuKey(const QKeyEvent* event) {
  return (event->key() == Qt::Key_Menu && event->modifiers() == Qt::NoModifier) ||
         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
}

// Where a menu opened from the keyboard appears: under the control.
QPoint keyboardMenuPlace(const QWidget* control) {
  return control->mapToGlobal(QPoint(0, control->height()));
}

// A context-menu request from the keyboard opens the control's pop-up as the
// right mouse button does.
void popUpFromKeyboard(const QWidget* control, const MouseHandler& popUp,
                       QContextMenuEvent* event) {
  if (event->reason() == QContextMenuEvent::Keyboard && popUp) {
    popUp(Qt::RightButton, keyboardMenuPlace(control));
  }
  event->accept();
}

// Shift+F10 and the Menu key open the control's pop-up. Returns true iff the
// key was one of them.
bool popUpFromMenuKey(const QWidget* control, const MouseHandler& popUp, QKeyEvent* event) {
  if (!isContextMenuKey(event)) return false;
  if (popUp) popUp(Qt::RightButton, keyboardMenuPlace(control));
  event->accept();
  return true;
}

}  // namespace

QFont arialFont(double points, bool bold) {
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

QString withoutAccessKeys(const QString& caption) {
  QString out;
  out.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == QLatin1Char('&')) {
      if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
        out += QLatin1Char('&');
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return out;
}

RichTextBox::RichTextBox(QWidget* parent, const QString& name, const QString& accessibleName)
    : QPlainTextEdit(parent) {
  setObjectName(name);
  setAccessibleName(accessibleName);
  setTabChangesFocus(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QPlainTextEdit::textChanged, this, &RichTextBox::textEdited);
}

void RichTextBox::setText(const QString& text) {
  {
    const QScopedValueRollback writing(programWriting_, true);
    // Replaced in place, in one edit the undo history does not keep. Unlike
    // setPlainText this keeps the document and its formats, which each tick
    // of the clock otherwise rebuilt and laid out from scratch (most of the
    // program's CPU time while the clock runs).
    QTextDocument* doc = document();
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    QTextCursor all(doc);
    all.beginEditBlock();
    all.select(QTextCursor::Document);
    all.insertText(text);
    all.endEditBlock();
    doc->setUndoRedoEnabled(undo);
    // As after setPlainText: the caret and the view at the start.
    setTextCursor(QTextCursor(doc));
  }
  programText_ = toPlainText();
}

void RichTextBox::textEdited() {
  if (locked() && !programWriting_ && toPlainText() != programText_) {
    // Not the program's change: put the program's text back, quietly.
    const QScopedValueRollback writing(programWriting_, true);
    const QSignalBlocker quiet(this);
    setPlainText(programText_);
    viewport()->update();
    return;
  }
  if (onChange) onChange();
}

double RichTextBox::number() const { return readNumber(text().toStdString()); }

void RichTextBox::setNumber(double value) { setText(QString::fromStdString(writeNumber(value))); }

void RichTextBox::setLocked(bool locked) {
  programText_ = toPlainText();
  setReadOnly(locked);
  setTextInteractionFlags(locked ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
                                 : Qt::TextEditorInteraction);
}

CheckBox::CheckBox(QWidget* parent, const QString& name, const QString& caption)
    : QCheckBox(caption, parent) {
  setObjectName(name);
  setAccessibleName(withoutAccessKeys(caption));
  connect(this, &QCheckBox::toggled, this, [this] {
    if (onClick && !restoring_) onClick();
  });
}

void CheckBox::contextMenuEvent(QContextMenuEvent* event) {
  popUpFromKeyboard(this, onMouseDown, event);
}

void CheckBox::keyPressEvent(QKeyEvent* event) {
  if (!popUpFromMenuKey(this, onMouseDown, event)) QCheckBox::keyPressEvent(event);
}

void CheckBox::restoreValue(int value) {
  restoring_ = true;
  setChecked(value != 0);
  restoring_ = false;
}

void CheckBox::mousePressEvent(QMouseEvent* event) {
  if (onMouseDown) onMouseDown(event->button(), event->globalPosition().toPoint());
  if (event->button() == Qt::LeftButton) QCheckBox::mousePressEvent(event);
}

ComboBox::ComboBox(QWidget* parent, const QString& name, const QString& accessibleName)
    : QComboBox(parent) {
  setObjectName(name);
  setAccessibleName(accessibleName);
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  // Names are compared exactly: typing must not be completed into an entry.
  setCompleter(nullptr);
  lineEdit()->setAccessibleName(accessibleName);
  lineEdit()->installEventFilter(this);
  connect(this, &QComboBox::activated, this, [this] {
    const bool typed = typed_;
    typed_ = false;
    if (!typed && onClick) onClick();
  });
}

void ComboBox::choose(int row) {
  if (row < 0 || row >= count()) return;
  setCurrentIndex(row);
  setEditText(itemText(row));
  typed_ = false;
  Q_EMIT activated(row);
}

void ComboBox::showPopup() {
  QComboBox::showPopup();
  typed_ = false;
}

bool ComboBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lineEdit()) {
    if (event->type() == QEvent::FocusOut) typed_ = true;
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) typed_ = true;
      if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
          key == Qt::Key_PageDown) {
        typed_ = false;
      }
    }
  }
  return QComboBox::eventFilter(watched, event);
}

Button::Button(QWidget* parent, const QString& name, const QString& caption)
    : QPushButton(caption, parent) {
  setObjectName(name);
  setAccessibleName(withoutAccessKeys(caption));
  setAutoDefault(false);
  connect(this, &QPushButton::clicked, this, [this] {
    if (onClick) onClick();
  });
}

void Button::setFaceColour(const QColor& face) {
  QPalette colours = palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    colours.setColor(group, QPalette::Button, face);
    colours.setColor(group, QPalette::ButtonText, readableOn(face));
  }
  setPalette(colours);
}

void Button::keyPressEvent(QKeyEvent* event) {
  if (isEnter(event)) {
    if (!event->isAutoRepeat()) click();
    event->accept();
    return;
  }
  QPushButton::keyPressEvent(event);
}

Button3D::Button3D(QWidget* parent, const QString& name, const QString& caption, const QIcon& icon)
    : QToolButton(parent) {
  setObjectName(name);
  setText(caption);
  setAccessibleName(withoutAccessKeys(caption));
  setIcon(icon);
  setIconSize(QSize(32, 32));
  setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QToolButton::clicked, this, [this] {
    if (onClick) onClick();
  });
}

void Button3D::keyPressEvent(QKeyEvent* event) {
  if (isEnter(event)) {
    if (!event->isAutoRepeat()) click();
    event->accept();
    return;
  }
  QToolButton::keyPressEvent(event);
}

void Button3D::paintEvent(QPaintEvent* event) {
  const bool darkFace = palette().color(QPalette::Button).lightness() < 128;
  if (text().isEmpty() && !darkFace) {
    QToolButton::paintEvent(event);
    return;
  }
  QStylePainter painter(this);
  QStyleOptionToolButton option;
  initStyleOption(&option);
  // The raised face and focus frame from the style, the picture and the
  // caption laid out here so that the caption may wrap.
  QStyleOptionToolButton face = option;
  face.text.clear();
  face.icon = QIcon();
  face.toolButtonStyle = Qt::ToolButtonIconOnly;
  painter.drawComplexControl(QStyle::CC_ToolButton, face);

  const int margin = 6;
  const QRect inner = rect().adjusted(margin, margin, -margin, -margin);
  const QSize icon = iconSize();
  const int iconLeft = text().isEmpty() ? inner.center().x() - icon.width() / 2 + 1 : inner.left();
  const QRect iconRect(iconLeft, inner.center().y() - icon.height() / 2 + 1, icon.width(),
                       icon.height());
  if (darkFace) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xee, 0xf6, 0xf7));
    painter.drawRoundedRect(QRectF(iconRect).adjusted(-3, -3, 3, 3), 5, 5);
    painter.restore();
  }
  const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
  painter.drawPixmap(iconRect, this->icon().pixmap(icon, devicePixelRatio(), mode));
  if (text().isEmpty()) return;
  const QRect textRect = inner.adjusted(icon.width() + margin, 0, 0, 0);
  const int flags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
  style()->drawItemText(&painter, textRect, flags, palette(), isEnabled(), text(),
                        QPalette::ButtonText);
}

StatusMessage::StatusMessage(QWidget* panel) : QWidget(panel) {
  setObjectName(QStringLiteral("message"));
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setGeometry(0, 0, 0, 0);
  hide();
}

void StatusMessage::announce(const QString& message) {
  // Hidden and shown again, so that the message is news even when its words
  // are the same as the last one's.
  hide();
  setAccessibleName(message);
  if (!message.isEmpty()) show();
}

Panel3D::Panel3D(QWidget* parent, const QString& name, Kind kind) : QLabel(parent), kind_(kind) {
  setObjectName(name);
  if (kind == Kind::Status) message_ = new StatusMessage(this);
  setTextFormat(Qt::PlainText);
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
  setAlignment(Qt::AlignCenter);
  setWordWrap(true);
}

void Panel3D::setCaption(const QString& caption) {
  setText(caption);
  if (liveStatus()) {
    // Every message is news, even one in the same words as the last.
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    message_->announce(caption);
  }
}

void Panel3D::setTakesFocus(bool takesFocus) {
  setFocusPolicy(takesFocus ? Qt::StrongFocus : Qt::NoFocus);
}

void Panel3D::popUpMenu() {
  if (onMouseDown) onMouseDown(Qt::RightButton, keyboardMenuPlace(this));
}

void Panel3D::contextMenuEvent(QContextMenuEvent* event) {
  popUpFromKeyboard(this, onMouseDown, event);
}

void Panel3D::keyPressEvent(QKeyEvent* event) {
  if (!popUpFromMenuKey(this, onMouseDown, event)) QLabel::keyPressEvent(event);
}

void Panel3D::mousePressEvent(QMouseEvent* event) {
  if (onMouseDown) onMouseDown(event->button(), event->globalPosition().toPoint());
  QLabel::mousePressEvent(event);
}

void Panel3D::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  QStylePainter painter(this);
  QStyleOptionFocusRect focus;
  focus.initFrom(this);
  focus.rect = contentsRect().adjusted(1, 1, -1, -1);
  focus.backgroundColor = palette().color(backgroundRole());
  painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

Label::Label(QWidget* parent, const QString& name, const QString& caption) : QLabel(parent) {
  setObjectName(name);
  setTextFormat(Qt::PlainText);
  setCaption(caption);
}

void Label::setCaption(const QString& caption) {
  caption_ = caption;
  setText(withoutAccessKeys(caption));
}

Frame::Frame(QWidget* parent, const QString& name, const QString& caption)
    : QGroupBox(caption, parent) {
  setObjectName(name);
  setAccessibleName(withoutAccessKeys(caption));
}

}  // namespace tempodial
