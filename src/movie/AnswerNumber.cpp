#include "movie/AnswerNumber.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace trelvane::movie {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
        ++at;
    }
    return at;
}

// Appends the run of digits starting at `at` and returns where it ends.
std::size_t takeDigits(std::string_view text, std::size_t at, std::string& into) {
    while (at < text.size() && isDigit(text[at])) {
        into += text[at++];
    }
    return at;
}

// from_chars leaves the value alone when it is out of range, telling us only
// that it was. A whole part with a non-zero digit means too large; anything
// else is a fraction too small to matter.
double outOfRangeValue(const std::string& wholeDigits, bool negative) {
    const bool large = wholeDigits.find_first_not_of('0') != std::string::npos;
    const double magnitude = large ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -magnitude : magnitude;
}

}  // namespace

double answerNumber(std::string_view text) {
    std::size_t at = skipBlanks(text, 0);
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        ++at;
    }
    std::string whole;
    at = takeDigits(text, at, whole);
    std::string fraction;
    if (at < text.size() && text[at] == '.') {
        takeDigits(text, at + 1, fraction);
    }
    if (whole.empty() && fraction.empty()) {
        return 0.0;
    }
    const std::string digits = (whole.empty() ? "0" : whole) + "." + fraction + "0";
    double value = 0.0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                        std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        return outOfRangeValue(whole, negative);
    }
    return negative ? -value : value;
}

}  // namespace trelvane::movie
