// The forms runtime: the program's windows by name and form index, loaded on
// first reference and discarded on unload, and the services they share.
//
// How the layers meet: core/ holds the pure rules (numbers as text, value
// documents, places, rates); platform/ (this layer) gives the windows their
// runtime over Qt; windows/ holds one class per window whose handlers read
// controls, call core, and write controls.
#pragma once

#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "platform/files/places.h"
#include "platform/forms/form_host.h"
#include "platform/runtime/services.h"

namespace tempodial {

class Form;
class SessionJournal;

// The name of the main window, where the clock is shown: other windows show
// it, or bring it to the front, by this name.
inline constexpr const char kMainWindowName[] = "timer";

class Runtime final : public FormHost {
 public:
  using Factory = std::function<Form*(Runtime&)>;

  Runtime(Services& services, Places places);
  ~Runtime() override;
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;

  // Registers the window `name` with its form index; `make` creates it.
  void registerForm(const QString& name, int index, Factory make);

  // The window `name`, loaded (created, load handler run, hidden) if it is not.
  Form& form(const QString& name);
  template <typename W>
  W& form() {
    return static_cast<W&>(form(QString::fromLatin1(W::kName)));
  }

  // The window if it is loaded, without loading it.
  Form* loadedForm(const QString& name) const;
  bool isLoaded(const QString& name) const { return loadedForm(name) != nullptr; }

  // Runs the unload handler, hides the window and forgets it at once; the
  // object is deleted once control is back in the event loop, so a window may
  // unload itself from its own handler. While a message, a modal window or a
  // dialog waits for the user (an event loop inside a handler), it is deleted
  // only after every such wait has returned: the handlers waiting there go
  // on with their window, whatever closed it meanwhile. A window that is not
  // loaded: nothing.
  void unload(const QString& name) override;

  // Registered window names in form-index order.
  std::vector<QString> formNames() const;

  // Shows the window modally; returns when it is hidden or unloaded.
  void showModal(Form& form);
  void message(const QString& prompt);
  // Tells the user without waiting for an answer (see Services::notice).
  void notice(const QString& text) { services_.notice(text); }
  // Runs `wait` (a dialog of the window's own that waits for the user) as
  // the runtime's messages and modal windows run: no window unloaded
  // meanwhile is deleted under it. Returns what `wait` returns.
  template <typename Wait>
  auto waitFor(Wait&& wait) {
    const Waiting waiting(*this);
    return wait();
  }
  // True the first time `notice` is named in this run of the program: for
  // what is to be told once however often it is found.
  bool firstTime(const QString& notice) { return notices_.insert(notice).second; }

  // Ends the program at once: timers stop and no further handler runs but
  // the one set with setBeforeEnd (the session journal closes its run).
  void endProgram();
  void setBeforeEnd(std::function<void()> beforeEnd) { beforeEnd_ = std::move(beforeEnd); }
  bool ended() const { return ended_; }

  // Runs `observer` whenever the program shows or hides a window (not when
  // the window manager minimises or restores one), for as long as `context`
  // lives and the program has not ended.
  void watchVisibility(QObject* context, std::function<void(Form&)> observer);
  // Called by a window that has been shown or hidden.
  void visibilityChanged(Form& form) override;

  Services& services() { return services_; }
  const Places& places() const { return places_; }

  // The session journal beside the data directory; opened by its users.
  SessionJournal& journal();

 private:
  Runtime& runtime() override { return *this; }

  // One wait for the user in progress; the last one to end deletes the
  // windows unloaded meanwhile.
  class Waiting {
   public:
    explicit Waiting(Runtime& runtime) : runtime_(runtime) { ++runtime_.waits_; }
    ~Waiting();
    Waiting(const Waiting&) = delete;
    Waiting& operator=(const Waiting&) = delete;

   private:
    Runtime& runtime_;
  };

  struct Entry {
    int index;
    Factory make;
    Form* form = nullptr;
  };
  Services& services_;
  Places places_;
  std::map<QString, Entry> entries_;
  std::unique_ptr<SessionJournal> journal_;
  std::function<void()> beforeEnd_;
  std::vector<std::pair<QPointer<QObject>, std::function<void(Form&)>>> visibilityObservers_;
  std::set<QString> notices_;
  bool ended_ = false;
  int waits_ = 0;
  std::vector<QPointer<Form>> unloadedWhileWaiting_;
};

}  // namespace tempodial
