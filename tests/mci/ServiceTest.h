#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "FakePlayerFactory.h"
#include "TempDir.h"
#include "mci/MediaService.h"

namespace trelvane::mci::testing {

struct Reply {
    Status status;
    std::string answer;
};

// A service on fake players, with a real movie file to open.
class ServiceTest : public ::testing::Test {
protected:
    ServiceTest() {
        auto factory = std::make_unique<FakePlayerFactory>();
        m_factory = factory.get();
        m_service = std::make_unique<MediaService>(std::move(factory));
        m_movie = m_dir.makeFile("a b.vob");
    }

    Reply send(const std::string& command) {
        char answer[128];
        std::fill(std::begin(answer), std::end(answer), 'x');
        const Status status = m_service->sendCommand(command.c_str(), answer, sizeof answer, 0);
        return {status, std::string(answer, strnlen(answer, sizeof answer))};
    }

    Status openMovie(const std::string& alias = "movie") {
        return send("open \"" + m_movie + "\" type mpegvideo alias " + alias).status;
    }

    std::string mode(const std::string& alias = "movie") {
        return send("status " + alias + " mode").answer;
    }

    FakePlayerFactory& factory() { return *m_factory; }
    MediaService& service() { return *m_service; }

    TempDir m_dir;
    std::string m_movie;

private:
    FakePlayerFactory* m_factory = nullptr;
    std::unique_ptr<MediaService> m_service;
};

}  // namespace trelvane::mci::testing
