#include "core/files/file_places.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace tempodial {
namespace {

std::string lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

std::vector<std::string> splitPath(std::string_view path) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!current.empty()) parts.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) parts.push_back(std::move(current));
  return parts;
}

}  // namespace

std::string placeFolder(std::string_view root, Place place) {
  std::string folder(root);
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (place == Place::Data) folder += "/wex";
  return folder;
}

std::string placePath(std::string_view root, Place place, std::string_view name) {
  return placeFolder(root, place) + "/" + lower(name);
}

std::optional<std::string> mapClassicPath(std::string_view root, std::string_view classic) {
  std::vector<std::string> parts = splitPath(classic);
  if (parts.size() < 2 || lower(parts[0]) != "c:" || lower(parts[1]) != "windows") {
    return std::nullopt;
  }
  std::string host = placeFolder(root, Place::Windows);
  for (std::size_t i = 2; i < parts.size(); ++i) {
    std::string part = lower(parts[i]);
    if (part == "." || part == "..") return std::nullopt;
    host += "/" + part;
  }
  return host;
}

}  // namespace tempodial
