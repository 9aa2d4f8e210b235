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

  // A locked box shows its text and takes the focus, but only the program
  // changes its text: a change that comes any other way (typing, pasting,
  // dropping, an input method, assistive technology) is undone at once,
  // before the change handler could see it.
  bool locked() const { return isReadOnly(); }
  void setLocked(bool locked);

  std::function<void()> onChange;

 private:
  void textEdited();

  QString programText_;
  bool programWriting_ = false;
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
  // Also runs for the keyboard's context-menu keys (Menu, Shift+F10), as a
  // right-button press at the control.
  MouseHandler onMouseDown;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
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

  // Chooses the entry in row `row` as a choice from the list does (assistive
  // technology chooses this way): the text becomes the entry's and the click
  // handler runs.
  void choose(int row);

  void showPopup() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool typed_ = false;
};

// A push button; Enter presses it as Space does.
class Button : public QPushButton {
  Q_OBJECT

 public:
  Button(QWidget* parent, const QString& name, const QString& caption);

  // A face of a fixed colour whatever the desktop's colours: the caption
  // takes black or white, whichever stands out more against it.
  void setFaceColour(const QColor& face);

  std::function<void()> onClick;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// A 3-D button: a raised button with its 32 x 32 picture beside the
// caption; a caption too long for one line wraps onto a second. Enter presses
// it as Space does. On a dark face the picture lies on a light tile, so that
// its dark colours stay visible.
class Button3D : public QToolButton {
  Q_OBJECT

 public:
  Button3D(QWidget* parent, const QString& name, const QString& caption, const QIcon& icon);

  std::function<void()> onClick;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

// The newest message of a status panel, for assistive technology only: a
// notification that appears afresh with each message, which screen readers
// speak whatever has the focus. It takes no room and draws nothing.
class StatusMessage : public QWidget {
  Q_OBJECT

 public:
  explicit StatusMessage(QWidget* panel);
  void announce(const QString& message);
};

// A 3-D panel: a sunken caption that reports mouse presses.
class Panel3D : public QLabel {
  Q_OBJECT

 public:
  enum class Kind {
    Plain,
    // A status panel: assistive technology sees a status bar and hears each
    // new message.
    Status,
  };

  Panel3D(QWidget* parent, const QString& name, Kind kind = Kind::Plain);

  QString caption() const { return text(); }
  void setCaption(const QString& caption);
  bool liveStatus() const { return kind_ == Kind::Status; }
  // The status panel's newest message as a notification (null for a plain
  // panel).
  StatusMessage* message() const { return message_; }

  // Lets the panel take the focus (by Tab and by a click), so that the
  // keyboard's context-menu keys reach it.
  void setTakesFocus(bool takesFocus);

  // Opens the panel's pop-up menu under it, as the context-menu keys do.
  void popUpMenu();

  // Also runs for the keyboard's context-menu keys (Menu, Shift+F10), as a
  // right-button press at the panel.
  MouseHandler onMouseDown;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  Kind kind_;
  StatusMessage* message_ = nullptr;
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
