// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/apply_command.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <array>
#include <exception>
#include <variant>

#include "app/headless_desktop.h"
#include "app/qt_bitmap.h"
#include "app/qt_text.h"
#include "config/profile_file.h"
#include "image/image_record.h"
#include "output/image_file_writer.h"
#include "platform/atomic_file.h"
#include "platform/memory_clipboard.h"
#include "platform/utf.h"
#include "ui/application.h"

namespace tessaro {
namespace {

constexpr int kDone = 0;
constexpr int kActionFailed = 1;
constexpr int kBadInput = 2;

// Picture formats recognised by their first bytes. Text-based formats (XPM, SVG, PNM)
// are left out: a text that happens to begin like one is still a text.
constexpr std::array<const char*, 7> kPictureFormats = {"png", "jpeg", "gif", "bmp", "tiff", "webp", "ico"};

class Failure {
public:
    explicit Failure(std::FILE* err) : m_err(err) {}
    int operator()(int status, const QString& reason) const {
        std::fprintf(m_err, "tessaro apply: %s\n", reason.toLocal8Bit().constData());
        return status;
    }

private:
    std::FILE* m_err;
};

bool isStandardStream(const QString& name) { return name == QStringLiteral("-"); }

std::optional<QByteArray> readInput(const QString& name, QString* error) {
    QFile file;
    const bool opened = isStandardStream(name) ? file.open(stdin, QIODevice::ReadOnly)
                                               : (file.setFileName(name), file.open(QIODevice::ReadOnly));
    if (!opened) {
        *error = QStringLiteral("cannot read %1: %2").arg(name, file.errorString());
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("cannot read %1: %2").arg(name, file.errorString());
        return std::nullopt;
    }
    return bytes;
}

bool isPicture(const QByteArray& bytes) {
    QByteArray data = bytes;
    QBuffer device(&data);
    device.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader::imageFormat(&device);
    for (const char* known : kPictureFormats) {
        if (format == known) return true;
    }
    return false;
}

// A picture result is written as the clipboard gets it when PNG is asked for (alpha
// kept, the bytes a program pasting it receives); other formats as the save action
// writes them, with the configuration's output options.
bool writesQtPng(const QString& output) {
    return isStandardStream(output) || QFileInfo(output).suffix().compare(QStringLiteral("png"), Qt::CaseInsensitive) == 0;
}

void writeBytes(const QString& output, const QByteArray& bytes) {
    if (isStandardStream(output)) {
        if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) !=
                static_cast<std::size_t>(bytes.size()) ||
            std::fflush(stdout) != 0) {
            throw std::runtime_error("cannot write to standard output");
        }
        return;
    }
    AtomicFile file(QFile::encodeName(output).toStdString());
    file.write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    file.commit();
}

std::u16string textOf(const ClipboardData& data) {
    if (const auto* block = std::get_if<MemoryBlock>(&data)) return utf16OfBlock(*block);
    if (const auto* shared = std::get_if<SharedUtf16>(&data)) return *shared ? **shared : std::u16string();
    return {};
}

const ClipboardData* formatOf(const MemoryClipboard& clipboard, FormatId id) {
    for (const auto& [format, data] : clipboard.content()) {
        if (format == id) return &data;
    }
    return nullptr;
}

}  // namespace

int RunApply(const ApplyRequest& request, std::FILE* err) {
    const Failure fail(err);
    const QFileInfo configuration(request.configuration);
    if (!configuration.isFile() || !configuration.isReadable()) {
        return fail(kBadInput, QStringLiteral("cannot read the configuration %1").arg(request.configuration));
    }
    const std::filesystem::path configurationPath(QFile::encodeName(request.configuration).toStdString());
    try {
        // Loading takes an unreadable file for an empty one and changes nothing; here that
        // would pass the input through as if the actions had run.
        if (ProfileFile::read(configurationPath).empty()) {
            return fail(kBadInput, QStringLiteral("%1 holds no settings").arg(request.configuration));
        }
    } catch (const std::exception& readError) {
        return fail(kBadInput, QStringLiteral("cannot read the configuration %1: %2")
                                   .arg(request.configuration, QString::fromUtf8(readError.what())));
    }
    QString error;
    const std::optional<QByteArray> bytes = readInput(request.input, &error);
    if (!bytes) return fail(kBadInput, error);

    const std::string_view input(bytes->constData(), static_cast<std::size_t>(bytes->size()));
    MemoryClipboard::Content content;
    const bool picture = isPicture(*bytes);
    if (picture) {
        if (!writesQtPng(request.output) && !HasImageWriter(toU16(request.output))) {
            return fail(kBadInput, QStringLiteral("no picture format is known for %1").arg(request.output));
        }
        std::optional<Bitmap> bitmap = decodeBitmap(input);
        if (!bitmap) return fail(kBadInput, QStringLiteral("the picture in %1 does not decode").arg(request.input));
        content.push_back({CF_BITMAP, std::make_shared<const Bitmap>(std::move(*bitmap))});
    } else {
        if (!IsValidUtf8(input)) {
            return fail(kBadInput, QStringLiteral("%1 is neither UTF-8 text nor a picture").arg(request.input));
        }
        auto text = std::make_shared<const std::u16string>(utf8ToUtf16(input));
        content.push_back({CF_UNICODETEXT, SharedUtf16(text)});
        content.push_back({CF_TEXT, AnsiOfUtf16{text, std::nullopt}});
    }

    HeadlessDesktop desktop(std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / "");
    MemoryClipboard clipboard;
    // The picture stages drop a failed save without a word, as in the window, where a
    // message box per copy would be worse; here the caller is told.
    std::vector<QString> saveFailures;
    Application program(desktop, clipboard, nullptr,
                        [&saveFailures](const std::u16string& path, const ImageRecord& image,
                                        const ImageWriteOptions& options) {
                            try {
                                SaveImageFile(path, image, options);
                            } catch (const std::exception& saveError) {
                                saveFailures.push_back(QStringLiteral("cannot save %1: %2")
                                                           .arg(toQString(path), QString::fromUtf8(saveError.what())));
                                throw;
                            }
                        });
    std::vector<std::u16string> regexErrors;
    program.regexErrorShown = [&regexErrors](const std::u16string& message) { regexErrors.push_back(message); };
    program.createWindows();
    try {
        program.configuration().KonfigurationLaden(LoadOrigin::ProgramStart, configurationPath);
    } catch (const std::exception& loadError) {
        return fail(kBadInput, QStringLiteral("cannot load the configuration %1: %2")
                                   .arg(request.configuration, QString::fromUtf8(loadError.what())));
    }
    const std::size_t messagesOfLoading = desktop.messages().size();
    for (const HeadlessDesktop::Message& message : desktop.messages()) fail(kBadInput, toQString(message.text));
    if (messagesOfLoading > 0) return kBadInput;

    // A configuration saved while capturing was switched off still names the actions
    // this run is asked to apply.
    Tprog& window = program.mainWindow();
    window.m_einst_aktiv.setChecked(true);
    desktop.advance(1000);  // past the debounce interval of the run at joining the clipboard
    clipboard.putFromOtherProgram(std::move(content));

    bool failed = !window.lastFailure().empty();  // already told on standard error
    for (const std::u16string& message : regexErrors) {
        failed = true;
        fail(kActionFailed, QStringLiteral("regular expression: ") + toQString(message));
    }
    for (const HeadlessDesktop::Message& message : desktop.messages()) {
        failed = true;
        fail(kActionFailed, toQString(message.text));
    }
    for (const QString& saveFailure : saveFailures) {
        failed = true;
        fail(kActionFailed, saveFailure);
    }
    if (!desktop.refusedDialog().empty()) {
        failed = true;
        fail(kActionFailed, QString::fromStdString(desktop.refusedDialog()));
    }
    if (failed) return kActionFailed;

    try {
        if (picture) {
            const ClipboardData* data = formatOf(clipboard, CF_BITMAP);
            const auto* bitmap = data ? std::get_if<std::shared_ptr<const Bitmap>>(data) : nullptr;
            if (!bitmap || !*bitmap) return fail(kActionFailed, QStringLiteral("the run left no picture"));
            if (writesQtPng(request.output)) {
                QByteArray png;
                QBuffer buffer(&png);
                buffer.open(QIODevice::WriteOnly);
                if (!toQImage(*bitmap).save(&buffer, "PNG")) throw std::runtime_error("the picture cannot be encoded as PNG");
                writeBytes(request.output, png);
            } else {
                SaveImageFile(toU16(request.output), ConvertToRgb24(ImageFromBitmap(**bitmap)),
                              program.outputSettings().AusgabeWerteSetzen());
            }
        } else {
            const ClipboardData* data = formatOf(clipboard, CF_UNICODETEXT);
            if (!data) return fail(kActionFailed, QStringLiteral("the run left no text"));
            writeBytes(request.output, toQString(textOf(*data)).toUtf8());
        }
    } catch (const std::exception& writeError) {
        return fail(kActionFailed, QStringLiteral("cannot write %1: %2").arg(request.output, QString::fromUtf8(writeError.what())));
    }
    return kDone;
}

}  // namespace tessaro
