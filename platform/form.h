// A window of the program: a top-level widget registered by its name and form
// index, with load and unload handlers that the runtime runs. Controls are
// children of client(); sizes and places are given in twips.
#pragma once

#include <QWidget>

namespace tempodial {

class Runtime;

class Form : public QWidget {
  Q_OBJECT

 public:
  // What a classic title bar and borders take of a framed window's outer
  // size, and what a classic menu bar takes of the rest.
  static constexpr int kFrameWidthTwips = 2 * 45;
  static constexpr int kFrameHeightTwips = 300 + 2 * 45;
  static constexpr int kMenuBarTwips = 300;

  Form(Runtime& runtime, const QString& name, int index);
  ~Form() override;

  Runtime& runtime() const { return runtime_; }
  int formIndex() const { return index_; }
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
  // Changes only the height (the main window's cost area).
  void setHeightTwips(int heightTwips);
  int heightTwips() const { return heightTwips_; }

  // Moves the window on the screen, in twips from the top left corner.
  void moveTwips(int leftTwips, int topTwips);

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

  // In a window with a menu bar, Alt and a letter that a control's caption
  // marks presses that control, even when a menu title marks the same letter
  // (the menu stays reachable with F10 or Alt alone).
  bool eventFilter(QObject* watched, QEvent* event) override;

  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void layoutClient();

  Runtime& runtime_;
  int index_;
  QWidget* client_;
  QWidget* menuBar_ = nullptr;
  bool framed_ = true;
  bool unloaded_ = false;
  int heightTwips_ = 0;

  friend class Runtime;
};

}  // namespace tempodial
