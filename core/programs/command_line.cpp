#include "core/programs/command_line.h"

namespace tempodial {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Inside double quotes a backslash escapes only these, as in a POSIX shell.
bool escapableInDoubleQuotes(char c) { return c == '"' || c == '\\' || c == '$' || c == '`'; }

}  // namespace

Result<std::vector<std::string>> splitCommandLine(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  std::size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (isBlank(c)) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
      ++i;
      continue;
    }
    inWord = true;
    if (c == '\'') {
      std::size_t end = line.find('\'', i + 1);
      if (end == std::string_view::npos)
        return Result<std::vector<std::string>>::Error("unterminated quote");
      word.append(line.substr(i + 1, end - i - 1));
      i = end + 1;
    } else if (c == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i];
        if (d == '"') {
          closed = true;
          ++i;
          break;
        }
        if (d == '\\' && i + 1 < line.size() && escapableInDoubleQuotes(line[i + 1])) {
          word.push_back(line[i + 1]);
          i += 2;
          continue;
        }
        word.push_back(d);
        ++i;
      }
      if (!closed) return Result<std::vector<std::string>>::Error("unterminated quote");
    } else if (c == '\\') {
      if (i + 1 < line.size()) word.push_back(line[i + 1]);
      i += 2;
    } else {
      word.push_back(c);
      ++i;
    }
  }
  if (inWord) words.push_back(std::move(word));
  if (words.empty()) return Result<std::vector<std::string>>::Error("empty command");
  return Result<std::vector<std::string>>::Value(std::move(words));
}

}  // namespace tempodial
