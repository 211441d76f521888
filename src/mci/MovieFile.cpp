#include "mci/MovieFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace trelvane::mci::movieFile {

Status check(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) {
        return status::FileNotFound;
    }
    if (!S_ISREG(info.st_mode) || ::access(path.c_str(), R_OK) != 0) {
        return status::InvalidFile;
    }
    return status::Ok;
}

std::string absolute(const std::string& path) {
    std::error_code error;
    const std::filesystem::path result = std::filesystem::absolute(path, error);
    return error ? path : result.string();
}

}  // namespace trelvane::mci::movieFile
