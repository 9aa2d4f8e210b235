// The value document reader: a single pass over the bytes with an explicit
// stack of groups, so the time is linear and the depth is bounded whatever
// the input. Text is decoded as Windows-1252; the five codes that code page
// leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) read as the control
// characters of the same number, as Windows does. \_ reads as U+2011
// (non-breaking hyphen). A lone UTF-16 surrogate reads as U+FFFD. The last
// paragraph mark of the document is the end of the value, not a line break,
// when nothing follows it.
#include <cstdint>
#include <vector>

#include "core/values/text_encoding.h"
#include "core/values/value_document.h"

namespace tempodial {
namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Destinations whose groups hold no text of the value: tables, document
// information, pictures, objects, headers and footers, notes, list texts.
bool isSkippedDestination(std::string_view word) {
  constexpr std::string_view kWords =
      "fonttbl colortbl stylesheet info pict object header headerl headerr headerf footer "
      "footerl footerr footerf footnote annotation listtable listoverridetable revtbl rsidtbl "
      "generator xmlnstbl filetbl themedata colorschememapping latentstyles datastore pntext "
      "listtext xe tc txe rxe bkmkstart bkmkend fldinst nonshppict author operator title "
      "subject comment doccomm keywords company";
  for (std::size_t start = 0; start < kWords.size();) {
    std::size_t end = kWords.find(' ', start);
    if (end == std::string_view::npos) end = kWords.size();
    if (kWords.substr(start, end - start) == word) return true;
    start = end + 1;
  }
  return false;
}

constexpr std::size_t kMaxNesting = 100;
constexpr std::int64_t kMaxParameter = 1'000'000'000;

class Reader {
 public:
  explicit Reader(std::string_view bytes) : in_(bytes) {}

  Result<std::string> read(std::size_t start) {
    pos_ = start;
    while (pos_ < in_.size()) {
      const char c = in_[pos_];
      if (c == '{') {
        ++pos_;
        fallbackLeft_ = 0;
        if (groups_.size() >= kMaxNesting) return Result<std::string>::Error("nested too deeply");
        groups_.push_back(groups_.empty() ? Group{} : groups_.back());
      } else if (c == '}') {
        ++pos_;
        fallbackLeft_ = 0;
        groups_.pop_back();
        if (groups_.empty()) return finish();
      } else if (c == '\\') {
        if (!readControl()) return truncated();
      } else {
        ++pos_;
        readPlain(static_cast<unsigned char>(c));
      }
    }
    return truncated();
  }

 private:
  struct Group {
    bool skipped = false;
    std::int64_t fallbackCount = 1;  // \uc: characters that follow each \u
  };

  static Result<std::string> truncated() {
    return Result<std::string>::Error("truncated document");
  }

  bool skipped() const { return !groups_.empty() && groups_.back().skipped; }

  // Returns true when the character just read is a \u fallback to drop.
  bool dropFallback() {
    if (fallbackLeft_ == 0) return false;
    --fallbackLeft_;
    return true;
  }

  void emit(char32_t c) {
    if (skipped()) return;
    if (pendingHigh_ != 0) {
      appendUtf8(out_, kReplacement);
      pendingHigh_ = 0;
    }
    appendUtf8(out_, c);
  }

  void emitParagraphEnd() {
    if (skipped()) return;
    emit('\n');
    lastParagraphEnd_ = out_.size();
  }

  void emitUnit(std::int64_t value) {
    if (skipped()) return;
    if (value < 0) value += 0x10000;
    if (value < 0 || value > 0xFFFF) {
      emit(kReplacement);
      return;
    }
    const auto unit = static_cast<char32_t>(value);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (pendingHigh_ != 0) appendUtf8(out_, kReplacement);  // the earlier one stood alone
      pendingHigh_ = unit;
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      if (pendingHigh_ != 0) {
        const char32_t c = 0x10000 + ((pendingHigh_ - 0xD800) << 10) + (unit - 0xDC00);
        pendingHigh_ = 0;
        emit(c);
      } else {
        emit(kReplacement);
      }
    } else {
      emit(unit);
    }
  }

  void readPlain(unsigned char c) {
    if (c == '\r' || c == '\n') return;
    if (c < 0x20 && c != '\t') return;
    if (dropFallback()) return;
    emit(fromCp1252(c));
  }

  // Reads a control word or symbol at pos_. Returns false when the input ends
  // inside it.
  bool readControl() {
    ++pos_;  // the backslash
    if (pos_ >= in_.size()) return false;
    const char c = in_[pos_];
    if (!isLetter(c)) return readSymbol(c);

    const std::size_t wordStart = pos_;
    while (pos_ < in_.size() && isLetter(in_[pos_])) ++pos_;
    const std::string_view word = in_.substr(wordStart, pos_ - wordStart);
    bool hasParameter = false;
    std::int64_t parameter = 0;
    if (pos_ < in_.size() && (isDigit(in_[pos_]) || (in_[pos_] == '-' && pos_ + 1 < in_.size() &&
                                                     isDigit(in_[pos_ + 1])))) {
      const bool negative = in_[pos_] == '-';
      if (negative) ++pos_;
      hasParameter = true;
      for (; pos_ < in_.size() && isDigit(in_[pos_]); ++pos_) {
        if (parameter < kMaxParameter) parameter = parameter * 10 + (in_[pos_] - '0');
      }
      if (negative) parameter = -parameter;
    }
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    return applyWord(word, hasParameter, parameter);
  }

  bool applyWord(std::string_view word, bool hasParameter, std::int64_t parameter) {
    if (word == "bin") {
      // Raw bytes follow; they must not be taken for braces or text.
      const auto length = static_cast<std::size_t>(hasParameter && parameter > 0 ? parameter : 0);
      if (length > in_.size() - pos_) return false;
      pos_ += length;
      dropFallback();
      return true;
    }
    if (dropFallback()) return true;
    if (skipped()) return true;
    if (word == "par") {
      emitParagraphEnd();
    } else if (word == "line") {
      emit('\n');
    } else if (word == "tab") {
      emit('\t');
    } else if (word == "u") {
      emitUnit(hasParameter ? parameter : 0);
      fallbackLeft_ = groups_.back().fallbackCount;
    } else if (word == "uc") {
      groups_.back().fallbackCount = hasParameter && parameter > 0 ? parameter : 0;
    } else if (isSkippedDestination(word)) {
      groups_.back().skipped = true;
    }
    return true;
  }

  bool readSymbol(char c) {
    ++pos_;
    if (c == '\'') {
      if (pos_ + 2 > in_.size()) return false;
      const int high = hexValue(in_[pos_]);
      const int low = hexValue(in_[pos_ + 1]);
      if (high < 0 || low < 0) return true;  // malformed: the characters read as text
      pos_ += 2;
      if (!dropFallback()) emit(fromCp1252(static_cast<unsigned char>(high * 16 + low)));
      return true;
    }
    if (dropFallback()) return true;
    switch (c) {
      case '\\':
      case '{':
      case '}':
        emit(static_cast<unsigned char>(c));
        break;
      case '~':
        emit(0x00A0);
        break;
      case '_':
        emit(0x2011);
        break;
      case '\t':
        emit('\t');
        break;
      case '\r':
      case '\n':
        emitParagraphEnd();  // a backslash before a line end is a \par
        break;
      case '*':
        if (!groups_.empty()) groups_.back().skipped = true;
        break;
      default:
        break;  // \- optional hyphen, \| and the rest: no text
    }
    return true;
  }

  Result<std::string> finish() {
    if (pendingHigh_ != 0) {
      appendUtf8(out_, kReplacement);
      pendingHigh_ = 0;
    }
    if (lastParagraphEnd_ != 0 && lastParagraphEnd_ == out_.size()) out_.pop_back();
    return Result<std::string>::Value(std::move(out_));
  }

  std::string_view in_;
  std::size_t pos_ = 0;
  std::vector<Group> groups_;
  std::string out_;
  std::int64_t fallbackLeft_ = 0;
  char32_t pendingHigh_ = 0;
  std::size_t lastParagraphEnd_ = 0;
};

}  // namespace

Result<std::string> readValueDocument(std::string_view bytes) {
  if (bytes.size() > kMaxDocumentBytes) {
    return Result<std::string>::Error("larger than a value document can be");
  }
  std::size_t start = 0;
  while (start < bytes.size() && (bytes[start] == ' ' || bytes[start] == '\t' ||
                                  bytes[start] == '\r' || bytes[start] == '\n')) {
    ++start;
  }
  constexpr std::string_view kMagic = "{\\rtf";
  const std::string_view rest = bytes.substr(start);
  if (rest.substr(0, kMagic.size()) != kMagic) {
    return Result<std::string>::Error("not a value document");
  }
  if (rest.size() > kMagic.size() && isLetter(rest[kMagic.size()])) {
    return Result<std::string>::Error("not a value document");
  }
  return Reader(bytes).read(start);
}

}  // namespace tempodial
