// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/output_quality.h"

#include "image/image_record.h"
#include "platform/decimal_text.h"

namespace tessaro {
namespace {


}  // namespace

std::vector<std::u16string> QualityEntries() {
    return {u"100", u"90", u"85", u"80", u"75", u"70", u"60", u"40", u"20", u"1"};
}

void FilterQualityKey(const std::u16string& current, char16_t& key) {
    const bool digit = key >= u'0' && key <= u'9';
    if (!digit && key != 8) {
        key = 0;
        return;
    }
    if (!IsIntegerText(current)) return;
    const std::int32_t value = IntegerOf(current, 0);
    if (value <= 0 || value > 100) key = 0;
}

void BindOutputQuality(ComboBox& out_quality, ScrollBar& ScrollBar1) {
    out_quality.onKeyPress = [&out_quality](char16_t& key) {
        FilterQualityKey(out_quality.text(), key);
    };
    out_quality.onChange = [&out_quality, &ScrollBar1] {
        if (!IsIntegerText(out_quality.text())) return;
        const std::int32_t value = IntegerOf(out_quality.text(), 0);
        ScrollBar1.setPosition(value);
        if (value != ScrollBar1.position()) out_quality.setText(DecimalText(ScrollBar1.position()));
    };
    ScrollBar1.onChange = [&out_quality, &ScrollBar1] {
        out_quality.setText(DecimalText(ScrollBar1.position()));
    };
}

}  // namespace tessaro
