#include "tools/CommandLoop.h"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace trelvane::tools {

void CommandLoop::run(std::istream& in, std::ostream& out) {
    std::vector<char> answer(m_capacity + 1, '\0');
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        answer[0] = '\0';
        const std::uint32_t status = m_channel.sendCommand(
            line.c_str(), m_capacity > 0 ? answer.data() : nullptr, m_capacity, 0);
        // The channel never writes past the capacity; the extra byte keeps
        // the text terminated even if an answer filled it completely.
        answer[m_capacity] = '\0';
        out << status << '\t' << answer.data() << std::endl;
    }
}

}  // namespace trelvane::tools
