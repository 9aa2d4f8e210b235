// Texts that a spreadsheet would take for a formula are written as text.
#include <gtest/gtest.h>

#include "core/history/csv_text.h"

namespace tempodial {

TEST(SpreadsheetText, FormulaStartsGetAQuoteAndAllElseStaysAsItIs) {
  for (const char* formula : {"=1+2", "+1", "-2+3", "@SUM(A1)", "\t=1", "\r=1"}) {
    EXPECT_EQ(spreadsheetText(formula), std::string("'") + formula);
  }
  for (const char* text : {"Day", "£", "a=b", "", " =1"}) EXPECT_EQ(spreadsheetText(text), text);
}

}  // namespace tempodial
