// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the profile reader on arbitrary bytes. Whatever a file holds, reading it
// neither crashes nor hangs, writing what was read and reading that again gives the same
// file, and a text stored under a key through the value protections reads back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/profile_file.h"
#include "config/profile_values.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaro;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ProfileFile file = ProfileFile::parse(bytes);
    const std::string written = file.serialize();
    check(ProfileFile::parse(written).serialize() == written);

    // The input's first half as a text, its second half as a section and key name.
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size / 2; i += 2) text += char16_t(data[i] | data[i + 1] << 8);
    std::u16string key = u"k";
    for (std::size_t i = size / 2; i < size; ++i) {
        const char16_t c = data[i];
        if (c > u' ' && c != u'=' && c != u'[' && c != u']' && c < 0x7F) key += c;
    }
    for (char16_t lineBreak : {char16_t(0), kMemoLineBreak, kTableLineBreak}) {
        file.setValue(u"S", key, ProtectProfileText(FoldLineBreaks(text, lineBreak)));
        const ProfileFile reread = ProfileFile::parse(file.serialize());
        const auto raw = reread.value(u"S", key);
        check(raw.has_value());
        const std::u16string back = UnfoldLineBreaks(ReadProfileText(*raw), lineBreak);
        if (FoldLineBreaks(text, lineBreak).size() + 2 <= kProfileValueLimit) check(back == text);
    }
    (void)ParseProfileInteger(std::u16string_view(text).substr(0, 16));
    return 0;
}
