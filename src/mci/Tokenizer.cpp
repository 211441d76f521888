#include "mci/Tokenizer.h"

#include "mci/Words.h"

namespace trelvane::mci {

namespace {
constexpr char kQuote = '"';
}

Tokens Tokenizer::split(std::string_view command) {
    return Tokenizer(command).run();
}

Tokens Tokenizer::run() {
    for (skipBlanks(); m_pos < m_text.size(); skipBlanks()) {
        const Status status = m_text[m_pos] == kQuote ? readQuoted() : readBare();
        if (status != status::Ok) {
            return {status, {}};
        }
    }
    return std::move(m_result);
}

Status Tokenizer::readQuoted() {
    const std::size_t close = m_text.find(kQuote, m_pos + 1);
    if (close == std::string_view::npos) {
        return status::NoClosingQuote;
    }
    m_result.items.push_back({std::string(m_text.substr(m_pos + 1, close - m_pos - 1)), true});
    m_pos = close + 1;
    if (m_pos < m_text.size() && !words::isBlank(m_text[m_pos])) {
        return status::UnrecognizedKeyword;
    }
    return status::Ok;
}

Status Tokenizer::readBare() {
    const std::size_t start = m_pos;
    while (m_pos < m_text.size() && !words::isBlank(m_text[m_pos])) {
        if (m_text[m_pos] == kQuote) {
            return status::UnrecognizedKeyword;
        }
        ++m_pos;
    }
    m_result.items.push_back({std::string(m_text.substr(start, m_pos - start)), false});
    return status::Ok;
}

void Tokenizer::skipBlanks() {
    while (m_pos < m_text.size() && words::isBlank(m_text[m_pos])) {
        ++m_pos;
    }
}

}  // namespace trelvane::mci
