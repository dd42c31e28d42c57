#include "output/binary_file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "output/text_file_writer.h"
#include "platform/utf.h"

namespace tessaro {

void WriteBinaryFile(std::u16string_view fileName, const std::vector<std::uint8_t>& bytes) {
    const std::string name = utf16ToUtf8(fileName);
    if (name.find('\0') != std::string::npos) {
        // The system would cut the name at the zero and write another file.
        throw FileError("Cannot create file \"" + name + "\". " + std::strerror(EINVAL));
    }
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw FileError("Cannot create file \"" + name + "\". " + std::strerror(errno));
    const std::uint8_t* data = bytes.data();
    std::size_t left = bytes.size();
    bool ok = true;
    while (ok && left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR) continue;
        ok = written > 0;
        if (ok) {
            data += written;
            left -= std::size_t(written);
        }
    }
    ok = (::close(fd) == 0 || errno == EINTR) && ok;
    if (!ok) {
        ::unlink(name.c_str());
        throw FileError("Stream write error");
    }
}

}  // namespace tessaro
