#include "platform/desktop/status_area_watch.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <cstdlib>
#include <string>

// Last: Xlib's macros (None, Status, CursorShape...) must not meet Qt's headers.
#include <X11/Xlib.h>
#include <xcb/xcb.h>

namespace tempodial {
namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

struct X11 {
  xcb_connection_t* connection = nullptr;
  int screen = 0;
};

X11 x11() {
  auto* native = qApp->nativeInterface<QNativeInterface::QX11Application>();
  // The offscreen platform answers as X11 too, but without a display.
  Display* display = native != nullptr ? native->display() : nullptr;
  if (display == nullptr) return {};
  return {native->connection(), DefaultScreen(display)};
}

xcb_atom_t atom(xcb_connection_t* connection, const std::string& name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.c_str()),
      nullptr);
  if (reply == nullptr) return XCB_ATOM_NONE;
  const xcb_atom_t value = reply->atom;
  std::free(reply);
  return value;
}

std::string traySelection(int screen) { return "_NET_SYSTEM_TRAY_S" + std::to_string(screen); }

bool trayPresent() {
  const X11 x = x11();
  if (x.connection == nullptr) return false;
  const xcb_atom_t selection = atom(x.connection, traySelection(x.screen));
  if (selection == XCB_ATOM_NONE) return false;
  xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(
      x.connection, xcb_get_selection_owner(x.connection, selection), nullptr);
  const bool owned = reply != nullptr && reply->owner != XCB_WINDOW_NONE;
  std::free(reply);
  return owned;
}

// A new tray announces itself to the root window's structure listeners; Qt
// listens so already, and this makes sure of it without taking anything of
// what Qt listens to away.
void listenToRoot(const X11& x) {
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(x.connection));
  for (int i = 0; i < x.screen && screens.rem > 0; ++i) xcb_screen_next(&screens);
  if (screens.rem == 0) return;
  const xcb_window_t root = screens.data->root;
  xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
      x.connection, xcb_get_window_attributes(x.connection, root), nullptr);
  if (attributes == nullptr) return;
  const uint32_t mask = attributes->your_event_mask;
  std::free(attributes);
  if (mask & XCB_EVENT_MASK_STRUCTURE_NOTIFY) return;
  const uint32_t wanted = mask | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
  xcb_change_window_attributes(x.connection, root, XCB_CW_EVENT_MASK, &wanted);
  xcb_flush(x.connection);
}

QDBusMessage hostQuestion() {
  QDBusMessage get = QDBusMessage::createMethodCall(
      kWatcher, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("Get"));
  get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
  return get;
}

bool hostAnswer(const QDBusMessage& reply) {
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
  return reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

bool notifierHostPresent() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kWatcher)) return false;
  return hostAnswer(bus.call(hostQuestion(), QDBus::Block, 2000));
}

}  // namespace

bool StatusAreaWatch::present() { return notifierHostPresent() || trayPresent(); }

StatusAreaWatch::StatusAreaWatch(QObject* parent) : QObject(parent) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (bus.isConnected()) {
    auto* names =
        new QDBusServiceWatcher(kWatcher, bus, QDBusServiceWatcher::WatchForRegistration, this);
    connect(names, &QDBusServiceWatcher::serviceRegistered, this,
            &StatusAreaWatch::watcherRegistered);
    // A watcher that is there already may still get its host.
    bus.connect(kWatcher, kWatcherPath, kWatcher, QStringLiteral("StatusNotifierHostRegistered"),
                this, SLOT(hostRegistered()));
  }
  const X11 x = x11();
  if (x.connection != nullptr) {
    managerAtom_ = atom(x.connection, "MANAGER");
    trayAtom_ = atom(x.connection, traySelection(x.screen));
    listenToRoot(x);
    qApp->installNativeEventFilter(this);
    filtering_ = true;
  }
}

StatusAreaWatch::~StatusAreaWatch() {
  if (filtering_) qApp->removeNativeEventFilter(this);
}

void StatusAreaWatch::watcherRegistered() {
  // The watcher may have its host already, or get one a moment later.
  auto* pending = new QDBusPendingCallWatcher(
      QDBusConnection::sessionBus().asyncCall(hostQuestion(), 2000), this);
  connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
    call->deleteLater();
    if (hostAnswer(call->reply())) report();
  });
}

void StatusAreaWatch::hostRegistered() { report(); }

bool StatusAreaWatch::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
  if (type != "xcb_generic_event_t") return false;
  auto* event = static_cast<xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
  auto* client = static_cast<xcb_client_message_event_t*>(message);
  if (client->type == managerAtom_ && client->format == 32 && client->data.data32[1] == trayAtom_) {
    // Not from inside the event's delivery: the icon is made afterwards.
    QMetaObject::invokeMethod(this, &StatusAreaWatch::report, Qt::QueuedConnection);
  }
  return false;
}

void StatusAreaWatch::report() {
  if (reported_) return;
  reported_ = true;
  Q_EMIT appeared();
}

}  // namespace tempodial
