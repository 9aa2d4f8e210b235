// Where the program's two places lie on this machine: the folder that stands
// for the Windows directory ($XDG_DATA_HOME/tempodial) and the data directory
// (its wex/ folder).
#pragma once

#include <QString>
#include <string_view>

#include "core/files/file_places.h"

namespace tempodial {

class Places {
 public:
  explicit Places(QString root) : root_(std::move(root)) {}
  // The places under $XDG_DATA_HOME (default ~/.local/share). `notice`, if
  // given, gets what the user is to be told about the folder taken.
  static Places fromEnvironment(QString* notice = nullptr);
  // The user's home: $HOME, or without it the user database's entry; never
  // "/". Without either, a private folder under the temporary folder (see
  // privateFolder).
  static QString homeFolder(QString* notice = nullptr);

  const QString& root() const { return root_; }
  QString folder(Place place) const;
  QString path(Place place, std::string_view name) const;

 private:
  QString root_;
};

// Why `path` is not this user's own private folder (a folder, not a link,
// owned by the user, with no access for others), or an empty text.
QString whyNotPrivate(const QString& path);

// `wanted` if it is this user's own private folder (a folder, not a link,
// owned by the user, with no access for others) or can be made as one (mode
// 0700). Otherwise a new private folder beside it, and `notice` says why
// `wanted` was refused.
QString privateFolder(const QString& wanted, QString* notice);

}  // namespace tempodial
