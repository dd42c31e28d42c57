// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program without a display: the application with its windows over an
// in-memory clipboard and a test desktop, and helpers to copy as another program would.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/memory_clipboard.h"
#include "platform/test_desktop.h"
#include "platform/windows_1252.h"
#include "ui/application.h"

namespace tessaro::testing {

inline MemoryClipboard::Content textContent(std::u16string_view text) {
    return {{CF_UNICODETEXT, utf16Block(text)}, {CF_TEXT, ansiBlock(utf16ToAnsi(text))}};
}

inline std::shared_ptr<const Bitmap> testBitmap(int width, int height) {
    auto bitmap = std::make_shared<Bitmap>(Bitmap::blank(width, height, 32));
    for (std::size_t i = 0; i < bitmap->pixels.size(); ++i) bitmap->pixels[i] = static_cast<std::uint8_t>(i * 7);
    return bitmap;
}

// The cells of a row after its caption, as plain strings.
inline std::vector<std::u16string> subItemsOf(const ListItem& item) {
    return {item.subItems.begin(), item.subItems.end()};
}

class AppFixture : public ::testing::Test {
protected:
    // One image file the program asked to write; the fixture records it instead.
    struct ImageWrite {
        std::u16string path;
        ImageRecord image;
        ImageWriteOptions options;
    };

    explicit AppFixture(ActionStages* stages = nullptr)
        : app(desktop, clipboard, stages,
              [this](const std::u16string& path, const ImageRecord& image,
                     const ImageWriteOptions& options) {
                  imageWrites.push_back({path, image, options});
              }) {}

    void SetUp() override {
        app.createWindows();
        desktop.setTick(10'000);
    }

    // Another program copies; time first moves on past the debounce interval.
    void copy(MemoryClipboard::Content content, std::uint32_t afterMs = 1000) {
        desktop.advance(afterMs);
        clipboard.putFromOtherProgram(std::move(content));
    }
    void copyText(std::u16string_view text, std::uint32_t afterMs = 1000) { copy(textContent(text), afterMs); }

    Tprog& prog() { return app.mainWindow(); }
    std::size_t rows() { return prog().zuletzt.count(); }
    const ListItem& lastRow() { return prog().zuletzt.items().back(); }

    TestDesktop desktop;
    MemoryClipboard clipboard;
    std::vector<ImageWrite> imageWrites;
    Application app;
};

}  // namespace tessaro::testing
