#include "platform/desktop.h"

#include <system_error>

namespace tessaro {

bool Desktop::fileExists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool Desktop::directoryExists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

}  // namespace tessaro
