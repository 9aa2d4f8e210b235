// A window of the program: a top-level widget registered by its name and form
// index, with load and unload handlers that the runtime runs. Controls are
// children of client(); sizes and places are given in twips.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>

#include "platform/forms/form_host.h"

class QAbstractButton;

namespace tempodial {

class Form : public QWidget {
  Q_OBJECT

 public:
  // What a classic title bar and borders take of a framed window's outer
  // size, and what a classic menu bar takes of the rest.
  static constexpr int kFrameWidthTwips = 2 * 45;
  static constexpr int kFrameHeightTwips = 300 + 2 * 45;
  static constexpr int kMenuBarTwips = 300;

  // How assistive technology presents the window.
  enum class Role { Frame, Dialog };

  Form(FormHost& host, const QString& name, int index);
  ~Form() override;

  Runtime& runtime() const { return host_.runtime(); }
  int formIndex() const { return index_; }
  // Shows the window, restored if it was minimised, in front of the others
  // and with the keyboard.
  void bringToFront();
  QString formName() const { return objectName(); }

  // Runs once, right after the window is created by its first reference.
  virtual void onLoad() {}
  // Runs when the window is unloaded, before it is discarded.
  virtual void onUnload() {}
  // True once the window has been unloaded: it waits to be deleted and may
  // outlive the runtime, which it must no longer use.
  bool unloaded() const { return unloaded_; }

  // The area below the menu bar that holds the controls.
  QWidget* client() const { return client_; }

  // Sizes the window: width and height as the window definition gives them,
  // including the title bar and the borders of a window that has them.
  void setSizeTwips(int widthTwips, int heightTwips);
  // Sizes the window so that its client area is exactly this size.
  void setClientSizeTwips(int widthTwips, int heightTwips);
  // Makes the window one of the laid-out windows, whose client area has a
  // layout of its own: the window follows the desktop's font, can be
  // resized, and opens at its preferred size (`preferred`, in pixels at the
  // desktop's scale) or smaller, inside the screen's available area.
  void setLaidOut(QSize preferred);
  bool laidOut() const { return laidOut_; }

  // Changes only the height (the main window's cost area).
  void setHeightTwips(int heightTwips);
  int heightTwips() const { return heightTwips_; }

  // Moves the window on the screen, in twips from the top left corner; where
  // the window would not fit on the screen there, it moves only as far as it
  // must to lie inside the screen's available area.
  void moveTwips(int leftTwips, int topTwips);

  // A dialog for windows that ask or tell something (the default for dialog
  // windows), a frame for the others.
  Role accessibleRole() const;
  void setAccessibleRole(Role role) { role_ = role; }

  // The parent of controls that the window keeps but never shows (boxes that
  // only hold a text for the program): they are not on screen, take no focus
  // and are not on the accessibility bus.
  QWidget* hiddenControls() const { return hiddenControls_.get(); }

  // The button that Escape presses; a window without one refuses Escape.
  void setCancelButton(QAbstractButton* button);

  // Whether the control lies inside the window's visible area; controls that
  // the window's lower edge cuts off take no focus and answer no access key.
  // A scrolled area's controls are in view: it scrolls to whichever takes
  // the focus.
  bool inView(const QWidget* control) const;

 Q_SIGNALS:
  // Emitted whenever the window is hidden; a modal show waits for it.
  void hidden();

 protected:
  // Places a menu bar above the client area.
  void setMenuBarWidget(QWidget* menuBar);
  // Whether the window has a title bar and borders (the splash window has none).
  void setFramed(bool framed) { framed_ = framed; }

  // A close from the title bar unloads the window, unless a subclass decides
  // otherwise (windows without a close control only ignore it).
  virtual void onCloseRequested();

  // In a window with a menu bar, Alt and a letter that a control in view
  // marks presses that control, even when a menu title marks the same letter;
  // otherwise it opens the menu that marks it. F10 opens the first menu, and
  // the arrow keys go on from there to every other.
  bool eventFilter(QObject* watched, QEvent* event) override;

  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void layoutClient();
  bool altKey(QKeyEvent* key, bool shortcut);
  // Gives the focus only to controls in view, as the window's height decides.
  void updateReachability();
  // Hides the controls that lie wholly past the window's edge, and shows
  // again those that come back into view.
  void hidePastEdge(QWidget* parent);
  bool pastEdge(const QWidget* control) const;
  // Gives the focus back to the control that had it before F10 opened the
  // menus, once they have closed.
  void restoreFocusAfterMenu();
  // Moves the window as little as needed to lie inside the screen.
  void keepOnScreen(QPoint wanted);
  // A laid-out window's first place: its preferred size or less, in the
  // middle of the screen's available area.
  void fitIntoScreen();

  FormHost& host_;
  int index_;
  QWidget* client_;
  QWidget* menuBar_ = nullptr;
  bool framed_ = true;
  bool unloaded_ = false;
  bool laidOut_ = false;
  bool fitted_ = false;
  QSize preferred_;
  int heightTwips_ = 0;
  std::optional<Role> role_;
  std::unique_ptr<QWidget> hiddenControls_;
  QPointer<QWidget> cancelButton_;
  QPointer<QWidget> focusBeforeMenu_;

  friend class Runtime;
};

}  // namespace tempodial
