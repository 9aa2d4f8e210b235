#include "core/programs/command_line.h"

#include <gtest/gtest.h>

namespace tempodial {
namespace {

using Words = std::vector<std::string>;

struct SplitCase {
  const char* name;
  const char* line;
  Words words;
};

class CommandLineSplit : public testing::TestWithParam<SplitCase> {};

TEST_P(CommandLineSplit, SplitsLikeAShellWithoutExpanding) {
  auto result = splitCommandLine(GetParam().line);
  ASSERT_TRUE(result.ok()) << result.reason();
  EXPECT_EQ(result.value(), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineSplit,
    testing::Values(
        SplitCase{"ProgramAlone", "firefox", {"firefox"}},
        SplitCase{"ExtraBlanksSeparateOnce", "  a \t b  ", {"a", "b"}},
        SplitCase{"DoubleQuotesKeepSpaces", "\"/opt/My App/run\" -x", {"/opt/My App/run", "-x"}},
        SplitCase{"SingleQuotesAreLiteral", "echo 'a \\ \"b\"'", {"echo", "a \\ \"b\""}},
        SplitCase{"BackslashEscapesBlank", "/opt/My\\ App/run", {"/opt/My App/run"}},
        SplitCase{"BackslashInDoubleQuotes", "\"a\\\"b\\\\c\\d\"", {"a\"b\\c\\d"}},
        SplitCase{"SemicolonIsNoSeparator", "true; touch /tmp/x", {"true;", "touch", "/tmp/x"}},
        SplitCase{"PipeAndVariablesStayLiteral", "a|b $HOME *", {"a|b", "$HOME", "*"}},
        SplitCase{"AdjacentQuotesJoin", "a'b'\"c\"", {"abc"}},
        SplitCase{"EmptyQuotedArgument", "prog ''", {"prog", ""}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLineSplit, EmptyOrBlankLineIsAnError) {
  EXPECT_FALSE(splitCommandLine("").ok());
  EXPECT_FALSE(splitCommandLine(" \t\n").ok());
}

TEST(CommandLineSplit, UnterminatedQuoteIsAnError) {
  EXPECT_FALSE(splitCommandLine("\"/opt/app").ok());
  EXPECT_FALSE(splitCommandLine("prog 'arg").ok());
}

}  // namespace
}  // namespace tempodial
