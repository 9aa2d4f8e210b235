#include "platform/control/control_verbs.h"

#include <signal.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryFile>
#include <QThread>
#include <cerrno>
#include <cstdio>

#include "clock_proxy.h"
#include "core/volume/data_volume.h"
#include "platform/control/clock_control.h"
#include "platform/control/status_follower.h"

namespace tempodial {

const char kControlVerbsUsage[] =
    "tempodial --start | --stop | --toggle | --status [--follow] [--json]";

namespace {

// How long --start and --stop wait for a copy to stand.
constexpr int kStartWaitMs = 30'000;
// How long it still waits for the name after that copy ended (another copy,
// started at the same moment, may be taking it).
constexpr int kEndedCopyGraceMs = 2'000;
constexpr int kPollMs = 100;
// How long a method call waits for the copy's answer. A copy that does not
// answer by then (frozen, or too busy) drops the call once it reads it,
// since its caller has left the bus by then.
constexpr int kCallTimeoutMs = 10'000;
// The verbs' own connection to the session bus, closed as soon as a call
// has failed.
constexpr char kConnection[] = "tempodial-verb";

int fail(const QString& reason) {
  std::fprintf(stderr, "tempodial: %s\n", qUtf8Printable(reason));
  return 1;
}

// One of the clock's methods, as its proxy calls it.
using Method = QDBusPendingReply<> (ClockProxy::*)();

bool copyRuns(QDBusConnection& bus) {
  return bus.interface()->isServiceRegistered(QString::fromLatin1(control::kService)).value();
}

// Starts the program itself, with nothing but its own name, out of this
// process's way: its output goes nowhere, so that nothing reading this
// verb's output waits for the program to end, but its complaints are kept
// in `errors` to be told if it ends before its clock starts.
bool startCopy(QTemporaryFile& errors, qint64* pid) {
  if (!errors.open()) return false;
  QProcess process;
  process.setProgram(QCoreApplication::applicationFilePath());
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(errors.fileName());
  return process.startDetached(pid);
}

// Calls the clock's `method`; a copy that is still starting is asked again
// until `deadline`.
int callWhenReady(QDBusConnection& bus, Method method, QDeadlineTimer deadline) {
  ClockProxy clock(QString::fromLatin1(control::kService), QString::fromLatin1(control::kPath),
                   bus);
  clock.setTimeout(kCallTimeoutMs);
  for (;;) {
    QDBusPendingReply<> reply = (clock.*method)();
    reply.waitForFinished();
    if (!reply.isError()) return 0;
    if (reply.error().name() != QLatin1String(control::kNotReady) || deadline.hasExpired()) {
      // Off the bus before the failure is told: the copy, once it reads the
      // call, finds its caller gone and drops it.
      const QDBusError error = reply.error();
      QDBusConnection::disconnectFromBus(bus.name());
      return fail(error.type() == QDBusError::NoReply || error.type() == QDBusError::Timeout
                      ? QStringLiteral("Tempodial did not answer in time; nothing was done")
                      : error.message());
    }
    QThread::msleep(kPollMs);
  }
}

bool processEnded(qint64 pid) { return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH; }

// --start with no copy running: a copy is started and, once its main window
// stands, its clock.
int startCopyRunning(QDBusConnection& bus) {
  QTemporaryFile errors;
  qint64 pid = 0;
  if (!startCopy(errors, &pid)) return fail(QStringLiteral("Tempodial could not be started"));
  QDeadlineTimer deadline(kStartWaitMs);
  bool ended = false;
  while (!deadline.hasExpired()) {
    if (copyRuns(bus)) return callWhenReady(bus, &ClockProxy::Start, deadline);
    if (!ended && processEnded(pid)) {
      ended = true;
      deadline = QDeadlineTimer(kEndedCopyGraceMs);
    }
    QThread::msleep(kPollMs);
  }
  const QByteArray told = errors.readAll().trimmed();
  if (!told.isEmpty()) std::fprintf(stderr, "%s\n", told.constData());
  return fail(ended ? QStringLiteral("the copy of Tempodial started for --start has ended")
                    : QStringLiteral("the copy of Tempodial started for --start did not stand "
                                     "ready in time"));
}

int status(QDBusConnection& bus, bool json) {
  QDBusMessage getAll = QDBusMessage::createMethodCall(
      QString::fromLatin1(control::kService), QString::fromLatin1(control::kPath),
      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("GetAll"));
  getAll << QString::fromLatin1(ClockProxy::staticInterfaceName());
  QDBusReply<QVariantMap> reply = bus.call(getAll);
  if (!reply.isValid()) return fail(reply.error().message());
  const QByteArray text = json ? statusJson(reply.value()) : statusLine(reply.value()).toUtf8();
  std::fprintf(stdout, "%s\n", text.constData());
  return 0;
}

int runVerb(const ControlRequest& request) {
  const QString& verb = request.verb;
  QDBusConnection bus =
      QDBusConnection::connectToBus(QDBusConnection::SessionBus, QString::fromLatin1(kConnection));
  if (!bus.isConnected()) {
    return fail(QStringLiteral("there is no session bus, so Tempodial cannot be reached"));
  }
  if (request.follow) {
    StatusFollower follower(bus, request.json, stdout);
    follower.start();
    return QCoreApplication::exec();
  }
  if (!copyRuns(bus)) {
    if (verb == QLatin1String("--start")) return startCopyRunning(bus);
    return fail(QStringLiteral("Tempodial is not running"));
  }
  if (verb == QLatin1String("--status")) return status(bus, request.json);
  const bool toggle = verb == QLatin1String("--toggle");
  const Method method = verb == QLatin1String("--start")  ? &ClockProxy::Start
                        : verb == QLatin1String("--stop") ? &ClockProxy::Stop
                                                          : &ClockProxy::Toggle;
  // Start and Stop wait for a copy that is still starting (a script at
  // login); a toggle is a key press, and does not.
  return callWhenReady(bus, method, QDeadlineTimer(toggle ? 0 : kStartWaitMs));
}

}  // namespace

int runControlVerb(const ControlRequest& request) { return runVerb(request); }

QString statusLine(const QVariantMap& properties) {
  const qlonglong seconds = properties.value(QStringLiteral("Seconds")).toLongLong();
  QString line = properties.value(QStringLiteral("Running")).toBool() ? QStringLiteral("Running")
                                                                      : QStringLiteral("Stopped");
  line += QStringLiteral(" %1:%2:%3 %4%5")
              .arg(seconds / 3600)
              .arg(seconds / 60 % 60)
              .arg(seconds % 60)
              .arg(properties.value(QStringLiteral("Currency")).toString(),
                   properties.value(QStringLiteral("Cost")).toString());
  const qulonglong bytes = properties.value(QStringLiteral("ReceivedBytes")).toULongLong() +
                           properties.value(QStringLiteral("SentBytes")).toULongLong();
  if (bytes > 0) {
    line += QLatin1Char(' ') + QString::fromStdString(volumeText(static_cast<qint64>(bytes)));
  }
  return line;
}

QByteArray statusJson(const QVariantMap& properties) {
  const bool running = properties.value(QStringLiteral("Running")).toBool();
  const QString text = statusLine(properties);
  const QString rate = properties.value(QStringLiteral("RateInForce")).toString();
  const QJsonObject object{
      {QStringLiteral("text"), text},
      {QStringLiteral("tooltip"), rate.isEmpty() ? text : text + QLatin1Char('\n') + rate},
      {QStringLiteral("class"), running ? QStringLiteral("running") : QStringLiteral("stopped")},
      {QStringLiteral("running"), running},
      {QStringLiteral("seconds"), properties.value(QStringLiteral("Seconds")).toLongLong()},
      {QStringLiteral("cost"), properties.value(QStringLiteral("Cost")).toString()},
      {QStringLiteral("currency"), properties.value(QStringLiteral("Currency")).toString()},
      {QStringLiteral("rate_in_force"), rate},
      {QStringLiteral("plan"), properties.value(QStringLiteral("Plan")).toString()},
      {QStringLiteral("received_bytes"),
       properties.value(QStringLiteral("ReceivedBytes")).toLongLong()},
      {QStringLiteral("sent_bytes"), properties.value(QStringLiteral("SentBytes")).toLongLong()},
  };
  return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

}  // namespace tempodial
