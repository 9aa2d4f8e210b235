#include "platform/plans/plan_store.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <string_view>
#include <variant>

#include "core/plans/plan_file.h"
#include "platform/files/export_target.h"
#include "platform/files/file_service.h"
#include "platform/files/settings_file.h"

namespace tempodial {
namespace {

constexpr qint64 kMaxPlanBytes = 256 * 1024;
const char* const kInUseKey = "Plans/inUse";

// A file name made of the plan's name: what a file name cannot hold becomes "_".
QString fileNameFor(const QString& name) {
  QString base = name.trimmed();
  for (QChar& c : base) {
    if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 32) c = QLatin1Char('_');
  }
  if (base.isEmpty() || base.startsWith(QLatin1Char('.'))) base.prepend(QLatin1Char('_'));
  return base + QStringLiteral(".ini");
}

QByteArray textOf(const plans::Plan& plan) {
  return QByteArray::fromStdString(plans::planText(plan));
}

}  // namespace

QString plansFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/tempodial/plans");
}

PlanFile readPlanFile(const QString& path) {
  using R = Result<plans::Plan>;
  const QString shown = QFileInfo(path).fileName();
  auto bytes = readWholeFile(path, kMaxPlanBytes);
  if (!bytes.ok()) {
    return {path, R::Error((shown + QStringLiteral(": ")).toStdString() + bytes.reason(),
                           StatusKind::Unreadable)};
  }
  auto read = plans::readPlan(bytes.value().toStdString(),
                              QFileInfo(path).completeBaseName().toStdString());
  if (auto* error = std::get_if<plans::PlanError>(&read)) {
    return {path, R::Error(plans::errorText(shown.toStdString(), *error), StatusKind::Invalid)};
  }
  return {path, R::Value(std::get<plans::Plan>(std::move(read)))};
}

std::vector<PlanFile> listPlanFiles() {
  std::vector<PlanFile> files;
  const QDir folder(plansFolder());
  // Files that cannot be read are listed too (FIFOs, devices and broken
  // links among them), with the reason.
  const QStringList names =
      folder.entryList({QStringLiteral("*.ini")}, QDir::Files | QDir::System, QDir::Name);
  for (const QString& name : names) files.push_back(readPlanFile(folder.filePath(name)));
  return files;
}

Result<plans::Plan> findPlan(const QString& name) {
  using R = Result<plans::Plan>;
  const QString path = plansFolder() + QLatin1Char('/') + fileNameFor(name);
  const auto cannotRead = [&name](const QString& why) {
    return R::Error(
        QStringLiteral("the tariff plan \"%1\" cannot be read: %2").arg(name, why).toStdString(),
        StatusKind::Unreadable);
  };
  if (QFileInfo::exists(path)) {
    PlanFile file = readPlanFile(path);
    const bool unreadable = file.plan.status().kind() == StatusKind::Unreadable;
    return unreadable ? cannotRead(file.error()) : std::move(file.plan);
  }
  QStringList unreadable;
  for (PlanFile& file : listPlanFiles()) {
    if (file.plan.ok() && QString::fromStdString(file.plan.value().name) == name) {
      return std::move(file.plan);
    }
    if (file.plan.status().kind() == StatusKind::Unreadable) unreadable << file.error();
  }
  // The plan may well be in a file that cannot be read: that is the news.
  if (!unreadable.isEmpty()) return cannotRead(unreadable.join(QStringLiteral("; ")));
  return R::Error(QStringLiteral("no tariff plan is called \"%1\"").arg(name).toStdString(),
                  StatusKind::NotFound);
}

QString planPath(const QString& name) {
  return plansFolder() + QLatin1Char('/') + fileNameFor(name);
}

Result<QString> savePlan(const plans::Plan& plan) {
  if (Status made = makeFolder(plansFolder()); !made.ok()) return Result<QString>::FromStatus(made);
  const QString path = planPath(QString::fromStdString(plan.name));
  Status written = writeFileAtomic(path, textOf(plan));
  if (!written.ok()) return Result<QString>::Error(path.toStdString() + ": " + written.reason());
  return Result<QString>::Value(path);
}

Status deletePlanFile(const QString& path) { return deleteIfPresent(path); }

Result<QString> importPlan(const QString& from) {
  PlanFile file = readPlanFile(from);
  if (!file.plan.ok()) return Result<QString>::FromStatus(file.plan.status());
  return savePlan(file.plan.value());
}

Status exportPlan(const plans::Plan& plan, const QString& to, const QStringList& ownFiles) {
  auto opened = ExportOutput::open(to, ownFiles, ExportOutput::Reader::Required);
  Status written = opened.status();
  if (written.ok()) {
    ExportOutput& output = *opened.value();
    const QByteArray text = textOf(plan);
    output.write(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    written = output.finish();
  }
  if (!written.ok()) return Status::Error(to.toStdString() + ": " + written.reason());
  return written;
}

QString planInUse() {
  const QSettings settings(settingsPath(), QSettings::IniFormat);
  return settings.value(QLatin1String(kInUseKey)).toString();
}

Status setPlanInUse(const QString& name) {
  QSettings settings(settingsPath(), QSettings::IniFormat);
  if (name.isEmpty()) {
    settings.remove(QLatin1String(kInUseKey));
  } else {
    settings.setValue(QLatin1String(kInUseKey), name);
  }
  settings.sync();
  if (settings.status() != QSettings::NoError) {
    return Status::Error(settingsPath().toStdString() + ": could not be written");
  }
  return Status::Ok();
}

plans::LocalClock localClock() {
  return [](std::int64_t utc) {
    const QDateTime local = QDateTime::fromSecsSinceEpoch(utc, Qt::LocalTime);
    const QDate date = local.date();
    const QTime time = local.time();
    plans::LocalTime t;
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    t.weekday = date.dayOfWeek() - 1;
    t.seconds = time.msecsSinceStartOfDay() / 1000;
    return t;
  };
}

}  // namespace tempodial
