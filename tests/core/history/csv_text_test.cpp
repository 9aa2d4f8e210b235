// Texts that a spreadsheet would take for a formula are written as text.
#include <gtest/gtest.h>

#include "core/history/csv_text.h"

namespace tempodial {
namespace {

TEST(SpreadsheetText, FormulaStartsGetAQuoteAndAllElseStaysAsItIs) {
  const struct {
    const char* text;
    const char* written;
  } cases[] = {
      {"=HYPERLINK(\"http://x\")", "'=HYPERLINK(\"http://x\")"},
      {"+1+2", "'+1+2"},
      {"-2+3", "'-2+3"},
      {"@SUM(A1)", "'@SUM(A1)"},
      {"\t=1", "'\t=1"},
      {"\r=1", "'\r=1"},
      {"Day", "Day"},
      {"£", "£"},
      {"a=b", "a=b"},
      {"", ""},
      {" =1", " =1"},
  };
  for (const auto& c : cases) EXPECT_EQ(spreadsheetText(c.text), c.written) << c.text;
}

}  // namespace
}  // namespace tempodial
