#include "core/files/save_unit.h"

#include <algorithm>

#include "core/files/file_places.h"

namespace tempodial {
namespace {

constexpr std::string_view kHeader = "tempodial roll-forward 1";
constexpr std::string_view kTrailer = "end";
// More than any unit holds; a longer list is not one of ours.
constexpr std::size_t kMaxFiles = 8;

bool inFileSet(std::string_view name) {
  return std::find(files::kAll.begin(), files::kAll.end(), name) != files::kAll.end();
}

bool isAlphanumeric(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

std::vector<std::string_view> lines(std::string_view text) {
  std::vector<std::string_view> out;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    if (end == std::string_view::npos) {
      out.push_back(text);  // no final line break: a torn record
      out.push_back({});
      break;
    }
    out.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  return out;
}

}  // namespace

std::string stagedPath(std::string_view finalPath) {
  return std::string(finalPath) + std::string(kStagedSuffix);
}

std::string writeUnitRecord(const std::vector<std::string>& finalPaths) {
  std::string out(kHeader);
  out += '\n';
  for (const std::string& path : finalPaths) out += path + '\n';
  out += kTrailer;
  out += '\n';
  return out;
}

UnitRecovery planRecovery(std::string_view recordText) {
  std::vector<std::string_view> all = lines(recordText);
  if (all.size() < 3 || all.front() != kHeader || all.back() != kTrailer) return {};
  UnitRecovery plan;
  for (std::size_t i = 1; i + 1 < all.size(); ++i) {
    std::string_view path = all[i];
    if (path.empty() || path.front() != '/' || path.find('\0') != std::string_view::npos) {
      return {};
    }
    plan.finalPaths.emplace_back(path);
  }
  if (plan.finalPaths.size() > kMaxFiles) return {};
  plan.rollForward = true;
  return plan;
}

bool isSaveLeftover(std::string_view fileName) {
  if (fileName.size() > kStagedSuffix.size() && fileName.ends_with(kStagedSuffix)) {
    return inFileSet(fileName.substr(0, fileName.size() - kStagedSuffix.size()));
  }
  constexpr std::size_t kRandom = 6;
  if (fileName.size() < kRandom + 2) return false;
  std::string_view random = fileName.substr(fileName.size() - kRandom);
  std::string_view base = fileName.substr(0, fileName.size() - kRandom - 1);
  if (fileName[base.size()] != '.') return false;
  if (!std::all_of(random.begin(), random.end(), isAlphanumeric)) return false;
  return inFileSet(base) || base == kUnitRecordName;
}

}  // namespace tempodial
