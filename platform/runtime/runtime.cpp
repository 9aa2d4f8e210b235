#include "platform/runtime/runtime.h"

#include <QApplication>
#include <QPointer>
#include <algorithm>
#include <utility>

#include "platform/forms/form.h"
#include "platform/forms/form_timer.h"
#include "platform/journal/session_journal.h"

namespace tempodial {

Runtime::Runtime(Services& services, Places places)
    : services_(services), places_(std::move(places)) {}

Runtime::~Runtime() {
  for (auto& [name, entry] : entries_) {
    delete entry.form;
    entry.form = nullptr;
  }
  for (const QPointer<Form>& form : unloadedWhileWaiting_) delete form.data();
}

Runtime::Waiting::~Waiting() {
  if (--runtime_.waits_ > 0) return;
  // Deleted once control is back where no handler waits.
  for (const QPointer<Form>& form : std::exchange(runtime_.unloadedWhileWaiting_, {})) {
    if (form) form->deleteLater();
  }
}

void Runtime::message(const QString& prompt) {
  const Waiting waiting(*this);
  services_.message(prompt);
}

void Runtime::registerForm(const QString& name, int index, Factory make) {
  entries_[name] = Entry{index, std::move(make), nullptr};
}

Form& Runtime::form(const QString& name) {
  auto it = entries_.find(name);
  Q_ASSERT_X(it != entries_.end(), "Runtime::form", "window not registered");
  Entry& entry = it->second;
  if (entry.form == nullptr) {
    entry.form = entry.make(*this);
    entry.form->onLoad();
  }
  return *entry.form;
}

Form* Runtime::loadedForm(const QString& name) const {
  auto it = entries_.find(name);
  return it == entries_.end() ? nullptr : it->second.form;
}

void Runtime::unload(const QString& name) {
  auto it = entries_.find(name);
  if (it == entries_.end() || it->second.form == nullptr) return;
  Form* form = it->second.form;
  it->second.form = nullptr;
  form->unloaded_ = true;
  form->onUnload();
  for (FormTimer* timer : form->findChildren<FormTimer*>()) timer->setEnabled(false);
  form->hide();
  if (waits_ > 0) {
    unloadedWhileWaiting_.emplace_back(form);
  } else {
    form->deleteLater();
  }
}

std::vector<QString> Runtime::formNames() const {
  std::vector<std::pair<int, QString>> byIndex;
  for (const auto& [name, entry] : entries_) byIndex.emplace_back(entry.index, name);
  std::sort(byIndex.begin(), byIndex.end());
  std::vector<QString> names;
  for (auto& [index, name] : byIndex) names.push_back(name);
  return names;
}

void Runtime::watchVisibility(QObject* context, std::function<void(Form&)> observer) {
  visibilityObservers_.emplace_back(context, std::move(observer));
}

void Runtime::visibilityChanged(Form& form) {
  std::erase_if(visibilityObservers_, [](const auto& entry) { return entry.first.isNull(); });
  if (ended_) return;
  // A copy: an observer may add observers.
  const auto observers = visibilityObservers_;
  for (const auto& [context, observer] : observers) {
    if (!context.isNull()) observer(form);
  }
}

void Runtime::showModal(Form& form) {
  const Waiting waiting(*this);
  services_.showModal(form);
}

SessionJournal& Runtime::journal() {
  if (!journal_) {
    journal_ =
        std::make_unique<SessionJournal>(places_.root() + QStringLiteral("/history.sqlite3"));
  }
  return *journal_;
}

void Runtime::endProgram() {
  ended_ = true;
  if (auto beforeEnd = std::exchange(beforeEnd_, nullptr)) beforeEnd();
  for (auto& [name, entry] : entries_) {
    if (entry.form == nullptr) continue;
    for (FormTimer* timer : entry.form->findChildren<FormTimer*>()) timer->setEnabled(false);
  }
  // Closed, not left to the end of the process: a journal closed with nothing
  // to ask about is marked so, and the next start need not open it.
  if (journal_) journal_->close();
  services_.endProgram();
}

}  // namespace tempodial
