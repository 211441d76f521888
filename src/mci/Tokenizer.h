#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "mci/Status.h"

namespace trelvane::mci {

struct Token {
    std::string text;  // without the surrounding quotes when quoted
    bool quoted = false;
};

struct Tokens {
    Status status = status::Ok;
    std::vector<Token> items;
};

// Splits a command text at blanks. A double-quoted stretch is one token taken
// byte for byte. Anything that leaves doubt about where a quoted name ends (a
// quote inside a bare word, or a closing quote with text glued to it) is
// refused rather than guessed at, so a path can never be misread as a
// different path followed by options.
class Tokenizer {
public:
    static Tokens split(std::string_view command);

private:
    explicit Tokenizer(std::string_view command) : m_text(command) {}

    Tokens run();
    Status readQuoted();
    Status readBare();
    void skipBlanks();

    std::string_view m_text;
    std::size_t m_pos = 0;
    Tokens m_result;
};

}  // namespace trelvane::mci
