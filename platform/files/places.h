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
  // The places under $XDG_DATA_HOME (default ~/.local/share).
  static Places fromEnvironment();
  // The user's home: $HOME, or without it the user database's entry; never
  // "/".
  static QString homeFolder();

  const QString& root() const { return root_; }
  QString folder(Place place) const;
  QString path(Place place, std::string_view name) const;

 private:
  QString root_;
};

}  // namespace tempodial
