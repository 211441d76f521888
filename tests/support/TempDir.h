#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace trelvane::mci::testing {

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "mci-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }

    // Creates a small file and returns its full path.
    std::string makeFile(const std::string& name) const {
        const std::string full = m_path + "/" + name;
        std::ofstream(full) << "not really a movie";
        return full;
    }

private:
    std::string m_path;
};

}  // namespace trelvane::mci::testing
