// The value document writer and reader.
//
// Writing: only "\n" is a line break (\par). A carriage return, a tab and
// every other control character is written as \uN? (the tab as \tab), so any
// text round-trips exactly. Bytes that are not valid UTF-8 are written as
// U+FFFD, one per bad byte.
//
// Reading: a single pass over the bytes with an explicit stack of groups, so
// the time is linear and the depth is bounded whatever the input. Text is
// decoded as Windows-1252; the five codes that code page leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) read as the control characters of the same
// number, as Windows does. \_ reads as U+2011 (non-breaking hyphen). A lone
// UTF-16 surrogate reads as U+FFFD. The last paragraph mark of the document is
// the end of the value, not a line break, when nothing follows it.
#include "core/value_document.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tempodial {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 codes 0x80-0x9F; the rest of the code page above 127 is
// Latin-1. Unassigned codes hold their own number.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t fromCp1252(unsigned char code) {
  if (code >= 0x80 && code <= 0x9F) return kCp1252High[code - 0x80];
  return code;
}

// The Windows-1252 code above 127 of `c`, or 0 when the code page lacks it.
unsigned char toCp1252(char32_t c) {
  if (c >= 0xA0 && c <= 0xFF) return static_cast<unsigned char>(c);
  for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
    if (kCp1252High[i] == c && c != 0x80 + i) return static_cast<unsigned char>(0x80 + i);
  }
  return 0;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Decodes the character at `i` and moves past it. A byte that does not start
// a well-formed sequence (overlong, surrogate, beyond U+10FFFF, cut short)
// decodes as U+FFFD and only that byte is consumed.
char32_t nextUtf8(std::string_view text, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  std::size_t length = 0;
  char32_t c = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07, minimum = 0x10000;
  }
  if (length == 0 || i + length > text.size()) {
    ++i;
    return kReplacement;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      ++i;
      return kReplacement;
    }
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return kReplacement;
  }
  i += length;
  return c;
}

void appendUnicodeEscape(std::string& out, char16_t unit) {
  const int value = unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
  out += "\\u";
  out += std::to_string(value);
  out.push_back('?');
}

void appendHexEscape(std::string& out, unsigned char code) {
  constexpr char kHex[] = "0123456789abcdef";
  out += "\\'";
  out.push_back(kHex[code >> 4]);
  out.push_back(kHex[code & 0x0F]);
}

void appendEscapedText(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = nextUtf8(text, i);
    if (c == '\n') {
      out += "\r\n\\par ";
    } else if (c == '\t') {
      out += "\\tab ";
    } else if (c == '\\' || c == '{' || c == '}') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c >= 0x20 && c <= 0x7E) {
      out.push_back(static_cast<char>(c));
    } else if (const unsigned char code = toCp1252(c); code != 0) {
      appendHexEscape(out, code);
    } else if (c >= 0x10000) {
      const char32_t offset = c - 0x10000;
      appendUnicodeEscape(out, static_cast<char16_t>(0xD800 + (offset >> 10)));
      appendUnicodeEscape(out, static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
    } else {
      appendUnicodeEscape(out, static_cast<char16_t>(c));
    }
  }
}

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

std::string writeValueDocument(std::string_view text, BoxFont font) {
  std::string out;
  out.reserve(260 + text.size() * 2);
  out +=
      "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}"
      "{\\f1\\fnil\\fcharset2 Symbol;}{\\f2\\fswiss\\fprq2 System;}{\\f3\\fswiss Arial;}"
      "{\\f4\\fnil Arial;}";
  if (font.sansSerifEntry) out += "{\\f5\\fswiss MS Sans Serif;}";
  out += "}\r\n";
  out += "{\\colortbl\\red0\\green0\\blue0;}\r\n";
  out += "\\deflang2057\\pard\\plain\\f";
  out += std::to_string(font.font);
  out += "\\fs";
  out += std::to_string(font.halfPoints);
  out.push_back(' ');
  appendEscapedText(out, text);
  out += "\r\n\\par }\r\n";
  return out;
}

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
