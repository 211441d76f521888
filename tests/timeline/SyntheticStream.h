#pragma once

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace trelvane::mci::testing {

// Writes program streams of 2048-byte packs with chosen clocks and stamps,
// laid out bit for bit as a disc's are.
class SyntheticStream {
public:
    // One pack: a clock, and a picture packet with a stamp that opens a picture
    // group when `opensGroup`, padded to the sector.
    void addPack(double scrSeconds, double ptsSeconds, bool opensGroup = false) {
        std::vector<std::uint8_t> payload{0, 0, 1, 0x00};  // a picture start
        if (opensGroup) {
            payload = {0, 0, 1, 0xB8, 0, 0, 0, 0, 0, 0, 1, 0x00};
        }
        addPacket(scrSeconds, 0xE0, ptsSeconds, payload);
    }

    // One pack of sound (an MPEG audio stream) stamped `ptsSeconds`.
    void addSoundPack(double scrSeconds, double ptsSeconds) {
        addPacket(scrSeconds, 0xC0, ptsSeconds, {0xFF, 0xFD});
    }

    void addPacket(double scrSeconds, std::uint8_t stream, double ptsSeconds,
                   const std::vector<std::uint8_t>& payload) {
        const std::size_t start = m_bytes.size();
        writePackHeader(scrSeconds);
        writePes(stream, ptsSeconds, payload);
        const std::size_t padding = 2048 - (m_bytes.size() - start) - 6;
        m_bytes.insert(m_bytes.end(), {0, 0, 1, 0xBE, static_cast<std::uint8_t>(padding >> 8),
                                       static_cast<std::uint8_t>(padding & 0xFF)});
        m_bytes.insert(m_bytes.end(), padding, 0xFF);
    }

    // `count` packs a frame apart, starting at the given clock and stamp, with
    // a picture group every `groupEvery` packs.
    void addRun(int count, double scrSeconds, double ptsSeconds, double frame = 0.04,
                int groupEvery = 12) {
        for (int i = 0; i < count; ++i) {
            addPack(scrSeconds + i * frame, ptsSeconds + i * frame, i % groupEvery == 0);
        }
    }

    void addBytes(const std::string& text) {
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
    }

    std::size_t size() const { return m_bytes.size(); }

    void save(const std::string& path) const {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(m_bytes.data()),
                   static_cast<std::streamsize>(m_bytes.size()));
    }

    // Adds what was made so far to the end of `path` and starts afresh, so
    // that a file of a gigabyte need not be held in memory.
    void appendTo(const std::string& path) {
        std::ofstream(path, std::ios::binary | std::ios::app)
            .write(reinterpret_cast<const char*>(m_bytes.data()),
                   static_cast<std::streamsize>(m_bytes.size()));
        m_bytes.clear();
    }

private:
    void writePackHeader(double seconds) {
        const auto ticks = static_cast<std::uint64_t>(std::llround(seconds * 27'000'000.0));
        const std::uint64_t base = ticks / 300;
        const std::uint64_t ext = ticks % 300;
        const std::uint32_t muxRate = 25200;
        m_bytes.insert(
            m_bytes.end(),
            {0, 0, 1, 0xBA,
             static_cast<std::uint8_t>(0x44 | ((base >> 27) & 0x38) | ((base >> 28) & 0x03)),
             static_cast<std::uint8_t>(base >> 20),
             static_cast<std::uint8_t>(((base >> 12) & 0xF8) | 0x04 | ((base >> 13) & 0x03)),
             static_cast<std::uint8_t>(base >> 5),
             static_cast<std::uint8_t>(((base << 3) & 0xF8) | 0x04 | ((ext >> 7) & 0x03)),
             static_cast<std::uint8_t>(((ext << 1) & 0xFE) | 0x01),
             static_cast<std::uint8_t>(muxRate >> 14), static_cast<std::uint8_t>(muxRate >> 6),
             static_cast<std::uint8_t>(((muxRate << 2) & 0xFC) | 0x03), 0xF8});
    }

    void writePes(std::uint8_t stream, double seconds, const std::vector<std::uint8_t>& payload) {
        const auto pts = static_cast<std::uint64_t>(std::llround(seconds * 90'000.0));
        const std::size_t length = 3 + 5 + payload.size();
        m_bytes.insert(m_bytes.end(), {0, 0, 1, stream, static_cast<std::uint8_t>(length >> 8),
                                       static_cast<std::uint8_t>(length & 0xFF), 0x81, 0x80, 5,
                                       static_cast<std::uint8_t>(0x21 | ((pts >> 29) & 0x0E)),
                                       static_cast<std::uint8_t>(pts >> 22),
                                       static_cast<std::uint8_t>(((pts >> 14) & 0xFE) | 0x01),
                                       static_cast<std::uint8_t>(pts >> 7),
                                       static_cast<std::uint8_t>(((pts << 1) & 0xFE) | 0x01)});
        m_bytes.insert(m_bytes.end(), payload.begin(), payload.end());
    }

    std::vector<std::uint8_t> m_bytes;
};

}  // namespace trelvane::mci::testing
