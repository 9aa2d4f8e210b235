// The controls of the classic forms, on Qt widgets, with the behaviour the
// windows rely on: rich-text boxes whose change handler runs inside the
// statement that set the text, check boxes whose click handler runs exactly
// when the value changes, combo boxes whose click is only a choice from the
// list, and panels that report mouse presses.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <functional>

namespace tempodial {

// Mouse-press hook: the button pressed and the global position.
using MouseHandler = std::function<void(Qt::MouseButton, const QPoint&)>;

class RichTextBox : public QPlainTextEdit {
  Q_OBJECT

 public:
  RichTextBox(QWidget* parent, const QString& name, const QString& accessibleName);

  QString text() const { return toPlainText(); }
  // Replaces the text; the change handler has run when this returns.
  void setText(const QString& text);

  // The box's text read as a number (its leading number, or 0), and a number
  // written into it in the shortest decimal form; the change handler runs.
  double number() const;
  void setNumber(double value);

  // A locked box shows its text and takes the focus, but cannot be typed into.
  bool locked() const { return isReadOnly(); }
  void setLocked(bool locked);

  std::function<void()> onChange;
};

class CheckBox : public QCheckBox {
  Q_OBJECT

 public:
  CheckBox(QWidget* parent, const QString& name, const QString& caption);

  int value() const { return isChecked() ? 1 : 0; }
  // Sets the value; the click handler runs iff the value changes.
  void setValue(int value) { setChecked(value != 0); }
  // Puts the value back without running the click handler, for a handler
  // whose steps failed and that must undo nothing else.
  void restoreValue(int value);

  std::function<void()> onClick;
  MouseHandler onMouseDown;

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  bool restoring_ = false;
};

class ComboBox : public QComboBox {
  Q_OBJECT

 public:
  ComboBox(QWidget* parent, const QString& name, const QString& accessibleName);

  QString text() const { return currentText(); }
  // Sets the text shown; this is not a click.
  void setText(const QString& text) { setEditText(text); }

  // Runs when the user chooses an entry from the list (or steps through it
  // with the arrow keys); typed text followed by Return or by leaving the box
  // is not a choice.
  std::function<void()> onClick;

  void showPopup() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool typed_ = false;
};

class Button : public QPushButton {
  Q_OBJECT

 public:
  Button(QWidget* parent, const QString& name, const QString& caption);

  std::function<void()> onClick;
};

// A 3-D button: a raised button with its 32 x 32 picture beside the
// caption; a caption too long for one line wraps onto a second.
class Button3D : public QToolButton {
  Q_OBJECT

 public:
  Button3D(QWidget* parent, const QString& name, const QString& caption, const QIcon& icon);

  std::function<void()> onClick;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A 3-D panel: a sunken caption that reports mouse presses.
class Panel3D : public QLabel {
  Q_OBJECT

 public:
  Panel3D(QWidget* parent, const QString& name);

  QString caption() const { return text(); }
  void setCaption(const QString& caption) { setText(caption); }

  MouseHandler onMouseDown;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

// A label: its caption shows "&&" as one ampersand.
class Label : public QLabel {
  Q_OBJECT

 public:
  Label(QWidget* parent, const QString& name, const QString& caption);

  QString caption() const { return caption_; }
  void setCaption(const QString& caption);

 private:
  QString caption_;
};

class Frame : public QGroupBox {
  Q_OBJECT

 public:
  Frame(QWidget* parent, const QString& name, const QString& caption);
};

// Arial at a point size with a fraction (8.25, 9.75, 14.5), as the classic
// windows give their fonts.
QFont arialFont(double points, bool bold = false);

// The caption without its access-key marks: "E&xit" is "Exit", "&&" is "&".
QString withoutAccessKeys(const QString& caption);

}  // namespace tempodial
