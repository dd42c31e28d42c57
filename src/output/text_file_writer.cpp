// The file side of the text writer: creating the file, a sink on its descriptor, and the
// error texts the user sees.
#include "output/text_file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "platform/utf.h"

namespace tessaro {
namespace {

char16_t upperAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

bool equalsUpper(std::u16string_view text, std::u16string_view upper) {
    if (text.size() != upper.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (upperAscii(text[i]) != upper[i]) return false;
    }
    return true;
}

// A sink on a file created for writing; the descriptor is closed on every path.
class FileSink final : public ByteSink {
public:
    explicit FileSink(const std::string& name) {
        m_fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (m_fd < 0) {
            throw FileError("Cannot create file \"" + name + "\". " + std::strerror(errno));
        }
    }
    ~FileSink() override {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    void write(const char* data, std::size_t size) override {
        while (size > 0) {
            const ssize_t written = ::write(m_fd, data, size);
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) throw FileError("Stream write error");
            data += written;
            size -= static_cast<std::size_t>(written);
        }
    }

    // Closes the file; a failing close can be the report of a delayed write error.
    void close() {
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0 && errno != EINTR) throw FileError("Stream write error");
    }

private:
    int m_fd = -1;
};

}  // namespace

bool IsRefusedTextExtension(std::u16string_view fileName) {
    const std::size_t dot = fileName.rfind(u'.');
    if (dot == std::u16string_view::npos) return false;
    const std::u16string_view extension = fileName.substr(dot);
    // A separator after the dot means the dot belongs to a folder name. "/" is the
    // separator here; "\" and ":" still end an extension as they would on Windows.
    if (extension.find_first_of(u"\\:/") != std::u16string_view::npos) return false;
    for (std::u16string_view refused : {u".BMP", u".GIF", u".JPG", u".JPEG"}) {
        if (equalsUpper(extension, refused)) return true;
    }
    return false;
}

void WriteTextFile(std::u16string_view text, std::u16string_view fileName, std::int32_t encoding) {
    if (IsRefusedTextExtension(fileName)) return;
    const std::string name = utf16ToUtf8(fileName);
    if (name.find('\0') != std::string::npos) {
        // The system would cut the name at the zero and write another file.
        throw FileError("Cannot create file \"" + name + "\". " + std::strerror(EINVAL));
    }
    FileSink sink(name);
    EncodeText_core(text, TextEncodeOptions{encoding}, sink);
    sink.close();
}

}  // namespace tessaro
