#include "platform/runtime/qt_services.h"

#include <unistd.h>
#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <chrono>
#include <cstdio>

#include "platform/forms/form.h"

namespace tempodial {

void QtServices::message(const QString& prompt) {
  // Not on the stack: whatever ends the window it stands over also ends the
  // box, which must then not be ended a second time.
  const QPointer<QMessageBox> box =
      new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Tempodial"), prompt, QMessageBox::Ok,
                      QApplication::activeWindow());
  box->setObjectName(QStringLiteral("message"));
  box->exec();
  delete box.data();
}

void QtServices::notice(const QString& text) {
  auto* box =
      new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Tempodial"), text, QMessageBox::Ok);
  box->setObjectName(QStringLiteral("notice"));
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  box->show();
}

void QtServices::showModal(Form& form) {
  QPointer<Form> guard(&form);
  form.setWindowModality(Qt::ApplicationModal);
  form.bringToFront();
  if (!form.isVisible()) return;
  QEventLoop loop;
  QObject::connect(&form, &Form::hidden, &loop, &QEventLoop::quit);
  QObject::connect(&form, &QObject::destroyed, &loop, &QEventLoop::quit);
  loop.exec();
  if (guard) guard->setWindowModality(Qt::NonModal);
}

void QtServices::beep() { QApplication::beep(); }

QString findProgram(const QString& program) {
  // A relative path would name a different program in every folder the
  // program happens to be started from.
  if (program.contains(QLatin1Char('/')) && !program.startsWith(QLatin1Char('/'))) {
    return QString();
  }
  QString executable =
      program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
  QFileInfo info(executable);
  if (executable.isEmpty() || !info.isFile() || !info.isExecutable()) return QString();
  return executable;
}

Status QtServices::startProgram(const QString& program, const QStringList& arguments) {
  const QString executable = findProgram(program);
  if (executable.isEmpty()) return Status::Error("No such program");
  QProcess process;
  process.setProgram(executable);
  process.setArguments(arguments);
  process.setStandardInputFile(QProcess::nullDevice());
  if (!process.startDetached()) return Status::Error(process.errorString().toStdString());
  return Status::Ok();
}

void QtServices::endProgram() {
  // Every file the program writes is committed before its handler goes on, so
  // nothing is left to flush but the standard streams.
  std::fflush(nullptr);
  ::_exit(0);
}

qint64 QtServices::monotonicMs() {
  // CLOCK_MONOTONIC: it does not jump with the wall clock and does not run
  // while the computer sleeps.
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace tempodial
