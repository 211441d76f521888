#pragma once

#include <vector>

#include "mci/ParsedCommand.h"
#include "mci/Status.h"
#include "mci/Tokenizer.h"

namespace trelvane::mci {

struct ParseResult {
    Status status = status::Ok;
    ParsedCommand command;
};

// Reads "verb device option..." with the options in any order. Only the file
// name of an open may be quoted; a quoted word anywhere else is refused, so
// that quoting can never smuggle a keyword or a second name into a command.
class CommandParser {
public:
    static ParseResult parse(const char* command);

private:
    CommandParser(std::vector<Token> tokens, const VerbGrammar& grammar)
        : m_tokens(std::move(tokens)), m_grammar(grammar) {}

    ParseResult run();
    Status readWord();
    Status readOption(const OptionSpec& spec);
    Status readValue(const OptionSpec& spec, OptionValue& value);
    Status readItem(const Token& word);

    std::vector<Token> m_tokens;
    const VerbGrammar& m_grammar;
    std::size_t m_pos = 0;
    ParsedCommand m_command;
};

}  // namespace trelvane::mci
