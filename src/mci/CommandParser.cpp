#include "mci/CommandParser.h"

#include "mci/Words.h"

namespace trelvane::mci {

ParseResult CommandParser::parse(const char* command) {
    if (command == nullptr) {
        return {status::MissingCommandString, {}};
    }
    Tokens tokens = Tokenizer::split(command);
    if (tokens.status != status::Ok) {
        return {tokens.status, {}};
    }
    if (tokens.items.empty()) {
        return {status::MissingCommandString, {}};
    }
    const Token& verb = tokens.items.front();
    if (verb.quoted) {
        return {status::UnrecognizedKeyword, {}};
    }
    const VerbGrammar* grammar = findVerb(verb.text);
    if (grammar == nullptr) {
        return {status::UnrecognizedCommand, {}};
    }
    return CommandParser(std::move(tokens.items), *grammar).run();
}

ParseResult CommandParser::run() {
    m_command.verb = m_grammar.verb;
    if (m_tokens.size() < 2) {
        return {status::MissingParameter, {}};
    }
    const Token& device = m_tokens[1];
    if (device.quoted && !m_grammar.deviceIsFile) {
        return {status::UnrecognizedKeyword, {}};
    }
    m_command.device = device.text;
    for (m_pos = 2; m_pos < m_tokens.size();) {
        const Status status = readWord();
        if (status != status::Ok) {
            return {status, {}};
        }
    }
    if (!m_grammar.items.empty() && m_command.item.empty()) {
        return {status::MissingParameter, {}};
    }
    return {status::Ok, std::move(m_command)};
}

Status CommandParser::readWord() {
    const Token& word = m_tokens[m_pos];
    if (word.quoted) {
        return status::UnrecognizedKeyword;
    }
    if (const OptionSpec* spec = m_grammar.findOption(word.text)) {
        return readOption(*spec);
    }
    return readItem(word);
}

Status CommandParser::readOption(const OptionSpec& spec) {
    if (m_command.has(spec.keyword)) {
        return status::DuplicateFlags;
    }
    ++m_pos;
    if (!spec.secondWord.empty()) {
        if (m_pos == m_tokens.size()) {
            return status::MissingParameter;
        }
        const Token& second = m_tokens[m_pos];
        if (second.quoted || !words::same(second.text, spec.secondWord)) {
            return status::UnrecognizedKeyword;
        }
        ++m_pos;
    }
    OptionValue value;
    const Status status = readValue(spec, value);
    if (status == status::Ok) {
        m_command.options.emplace(std::string(spec.keyword), std::move(value));
    }
    return status;
}

Status CommandParser::readValue(const OptionSpec& spec, OptionValue& value) {
    if (spec.value == ValueKind::None) {
        return status::Ok;
    }
    if (m_pos == m_tokens.size()) {
        return status::MissingParameter;
    }
    const Token& token = m_tokens[m_pos++];
    if (token.quoted) {
        return status::UnrecognizedKeyword;
    }
    value.text = token.text;
    if (spec.value == ValueKind::Word) {
        return status::Ok;
    }
    if (spec.value == ValueKind::Position &&
        (words::same(token.text, "start") || words::same(token.text, "end"))) {
        return status::Ok;
    }
    value.number = words::toInt32(token.text);
    return value.number ? status::Ok : status::BadInteger;
}

Status CommandParser::readItem(const Token& word) {
    ++m_pos;
    if (m_grammar.items.empty()) {
        return status::UnrecognizedKeyword;
    }
    if (m_grammar.isItem(word.text)) {
        if (!m_command.item.empty()) {
            return status::DuplicateFlags;
        }
        m_command.item = words::lowered(word.text);
        return status::Ok;
    }
    // An unknown word where the item belongs is a bad item; once the item is
    // given, a further unknown word is just an unknown keyword.
    return m_command.item.empty() ? status::BadConstant : status::UnrecognizedKeyword;
}

}  // namespace trelvane::mci
