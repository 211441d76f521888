#pragma once

#include <string_view>

namespace trelvane::movie {

// Reads the decimal number at the start of a media service answer: leading
// blanks (spaces, tabs), an optional sign, digits and an optional fraction
// after a point. Reading stops at the first character that cannot continue
// the number, so the NUL that ends an answer also ends the number. Text
// without digits reads as 0. Values too large for a double come back as
// +/- infinity rather than failing here; the caller decides what fits.
//
// Never depends on the process locale: answers always use '.' as the point.
double answerNumber(std::string_view text);

}  // namespace trelvane::movie
