// A test with a folder of its own, and files put into it and read back.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace tempodial {

class TempFolderTest : public testing::Test {
 protected:
  QString at(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
  void put(const QString& name, const QByteArray& bytes) {
    QFile file(at(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray bytesOf(const QString& name) {
    QFile file(at(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
  QTemporaryDir dir;
};

}  // namespace tempodial
