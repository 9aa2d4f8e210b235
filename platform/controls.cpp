#include "platform/controls.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyleOptionToolButton>
#include <QStylePainter>

#include "core/number_text.h"

namespace tempodial {

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
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (onChange) onChange();
  });
}

void RichTextBox::setText(const QString& text) { setPlainText(text); }

double RichTextBox::number() const { return readNumber(text().toStdString()); }

void RichTextBox::setNumber(double value) { setText(QString::fromStdString(writeNumber(value))); }

void RichTextBox::setLocked(bool locked) {
  setReadOnly(locked);
  setTextInteractionFlags(locked ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
                                 : Qt::TextEditorInteraction);
  setFocusPolicy(Qt::StrongFocus);
}

CheckBox::CheckBox(QWidget* parent, const QString& name, const QString& caption)
    : QCheckBox(caption, parent) {
  setObjectName(name);
  setAccessibleName(withoutAccessKeys(caption));
  connect(this, &QCheckBox::toggled, this, [this] {
    if (onClick && !restoring_) onClick();
  });
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
  lineEdit()->installEventFilter(this);
  connect(this, &QComboBox::activated, this, [this] {
    const bool typed = typed_;
    typed_ = false;
    if (!typed && onClick) onClick();
  });
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

void Button3D::paintEvent(QPaintEvent* event) {
  if (text().isEmpty()) {
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
  const QRect iconRect(inner.left(), inner.center().y() - icon.height() / 2 + 1, icon.width(),
                       icon.height());
  const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
  painter.drawPixmap(iconRect, this->icon().pixmap(icon, devicePixelRatio(), mode));
  const QRect textRect = inner.adjusted(icon.width() + margin, 0, 0, 0);
  const int flags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
  style()->drawItemText(&painter, textRect, flags, palette(), isEnabled(), text(),
                        QPalette::ButtonText);
}

Panel3D::Panel3D(QWidget* parent, const QString& name) : QLabel(parent) {
  setObjectName(name);
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
  setAlignment(Qt::AlignCenter);
  setWordWrap(true);
}

void Panel3D::mousePressEvent(QMouseEvent* event) {
  if (onMouseDown) onMouseDown(event->button(), event->globalPosition().toPoint());
  QLabel::mousePressEvent(event);
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
