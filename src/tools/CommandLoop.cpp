#include "tools/CommandLoop.h"

#include <ostream>
#include <string>
#include <vector>

namespace trelvane::tools {

void CommandLoop::run(LineReader& in, std::ostream& out) {
    std::vector<char> answer(m_capacity + 1, '\0');
    while (const auto line = in.next()) {
        answer[0] = '\0';
        const std::uint32_t status = m_channel.sendCommand(
            line->c_str(), m_capacity > 0 ? answer.data() : nullptr, m_capacity, 0);
        // The channel never writes past the capacity; the extra byte keeps
        // the text terminated even if an answer filled it completely.
        answer[m_capacity] = '\0';
        out << status << '\t' << answer.data() << std::endl;
    }
}

}  // namespace trelvane::tools
