#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "movie/AnswerNumber.h"

namespace trelvane::movie {
namespace {

TEST(AnswerNumber, ReadsTheNumberAtTheStartAndStopsWhereItCannotContinue) {
    using namespace std::string_view_literals;
    const std::vector<std::pair<std::string_view, double>> cases = {
        {"5400000", 5400000.0},
        {"   42", 42.0},
        {"\t 42", 42.0},
        {"   -42abc", -42.0},
        {"+7", 7.0},
        {"12.75", 12.75},
        {"1234.5", 1234.5},
        {"5.", 5.0},
        {"-.5", -0.5},
        {"1.2.3", 1.2},
        {"1e3", 1.0},
        {"4 2", 4.0},
        {"0012", 12.0},
        {"3000000000", 3000000000.0},
        {"42\0"
         "99"sv,
         42.0},
        {"7\0"
         "400000"sv,
         7.0},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(std::string(text));
        EXPECT_EQ(answerNumber(text), expected);
    }
}

TEST(AnswerNumber, TextWithoutDigitsReadsAsZero) {
    using namespace std::string_view_literals;
    for (const std::string_view text :
         {""sv, "abc"sv, "   "sv, "-"sv, "+"sv, "."sv, "-."sv, " - 4"sv, "--4"sv,
          "\0"
          "42"sv}) {
        SCOPED_TRACE(std::string(text));
        EXPECT_EQ(answerNumber(text), 0.0);
    }
}

TEST(AnswerNumber, ExtremeDigitRunsSaturateInsteadOfFailing) {
    const std::string huge(400, '9');
    EXPECT_EQ(answerNumber(huge), HUGE_VAL);
    EXPECT_EQ(answerNumber("-" + huge), -HUGE_VAL);
    EXPECT_EQ(answerNumber("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(answerNumber("2." + std::string(400, '0') + "1"), 2.0);
}

}  // namespace
}  // namespace trelvane::movie
