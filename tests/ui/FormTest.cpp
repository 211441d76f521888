#include "FormTest.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <sstream>

namespace trelvane::ui::testing {

FormTest::FormTest() {
    auto factory = std::make_unique<mci::testing::FakePlayerFactory>();
    m_factory = factory.get();
    m_service = std::make_unique<mci::MediaService>(std::move(factory));
    m_serviceChannel = std::make_unique<movie::ServiceChannel<mci::MediaService>>(*m_service);
    m_channel =
        std::make_unique<TappedChannel>(*m_serviceChannel, [this] { return m_clock.now(); });
    m_channel->onSend([this](const std::string& text) { m_toolkit.note("send: " + text); });
    m_form = std::make_unique<Form1>(m_toolkit, *m_channel, m_clock, m_files);
    m_toolkit.onEveryPass([this] { movePlayingMovies(); });
}

void FormTest::movePlayingMovies() {
    const auto step = static_cast<std::int64_t>(std::lround(kPassStep * 1000));
    for (const auto& script : m_factory->scripts) {
        if (!script->destroyed && !script->paused) {
            script->positionMs = std::min(script->positionMs + step, script->lengthMs);
            script->reachedEnd = script->positionMs == script->lengthMs;
        }
    }
}

std::string FormTest::openMovie(const std::string& name, std::int64_t lengthMs) {
    m_factory->next.lengthMs = lengthMs;
    const std::string path = m_dir.makeFile(name);
    m_toolkit.scriptDialog(path);
    m_form->command4Click();
    return path;
}

void FormTest::clickSlider(std::int32_t second) {
    m_toolkit.userMovesSlider(second);
    m_form->sliderClick();
}

void FormTest::markBeginAt(std::int64_t ms) {
    movie().positionMs = ms;
    m_form->command5Click();
}

void FormTest::markEndAt(std::int64_t ms) {
    movie().positionMs = ms;
    m_form->command6Click();
}

Texts FormTest::logFrom(std::size_t from) const {
    const auto& log = m_toolkit.log();
    return Texts(log.begin() + static_cast<std::ptrdiff_t>(from), log.end());
}

FormTest::Run FormTest::runToEnd(const std::function<void()>& scenario,
                                 const std::function<Texts()>& facts) {
    int pipeEnds[2] = {-1, -1};
    if (::pipe(pipeEnds) != 0) {
        ADD_FAILURE() << "no pipe";
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        m_toolkit.mayEnd(pipeEnds[1], facts);
        try {
            scenario();
        } catch (...) {
            ::_exit(125);
        }
        m_toolkit.report();
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n = 0; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    Run run;
    run.ended = WIFEXITED(status) && WEXITSTATUS(status) == FakeToolkit::kEndedCode;
    Texts* into = &run.log;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line == "--" && into == &run.log) {
            into = &run.facts;
        } else {
            into->push_back(line);
        }
    }
    return run;
}

double FormTest::timed(void (Form1::*click)()) {
    m_clock.set(std::floor(m_clock.now()) + 1.0);
    const double start = m_clock.now();
    (m_form.get()->*click)();
    return m_clock.now() - start;
}

}  // namespace trelvane::ui::testing
