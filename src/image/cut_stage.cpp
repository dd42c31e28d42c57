// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/cut_stage.h"

#include <array>

#include "image/image_record.h"

namespace tessaro {

void CutMargins(ImageRecord& image, std::int64_t left, std::int64_t top, std::int64_t right,
                std::int64_t bottom) {
    // 64-bit sums: margins near the 32-bit limits must not wrap into a valid size.
    const std::int64_t width = image.width - left - right;
    const std::int64_t height = image.height - top - bottom;
    if (width <= 0 || height <= 0) return;
    if (width > kMaxImagePixels || height > kMaxImagePixels) throw ImageError("cut result too large");
    ImageRecord cut = NewImage(int(width), int(height), image.format);
    // Source rectangle at (left, top); clipped to both images, so negative margins leave
    // the zero-filled border of the new image black.
    const std::int64_t sx = std::max<std::int64_t>(left, 0), sy = std::max<std::int64_t>(top, 0);
    const std::int64_t dx = sx - left, dy = sy - top;
    const std::int64_t w = std::min<std::int64_t>(image.width - sx, width - dx);
    const std::int64_t h = std::min<std::int64_t>(image.height - sy, height - dy);
    if (w > 0 && h > 0) CopyRect(image, int(sx), int(sy), int(w), int(h), cut, int(dx), int(dy));
    image = std::move(cut);
}

std::shared_ptr<const Bitmap> CutStage::run(const Bitmap& working) {
    ImageRecord image = ConvertToRgb24(ImageFromBitmap(working));
    std::array<const ComboBox*, 4> texts{};  // left, right, top, bottom
    bool chosen = false;
    if (m_c.rb_cutimg_auswahl.checked()) {
        if (m_dialogOpen) throw ImageError("the cut-out dialog is open for an earlier copy");
        m_dialog.load(working);
        m_dialogOpen = true;
        struct Closed {
            bool& open;
            ~Closed() { open = false; }
        } closed{m_dialogOpen};
        m_desktop.showModal(m_dialog, m_dialog.closeModal);
        texts = {&m_dialog.act_zuschlinks, &m_dialog.act_zuschrechts, &m_dialog.act_zuschoben,
                 &m_dialog.act_zuschunten};
        chosen = true;
    }
    if (m_c.rb_cutimg_direkt.checked()) {
        texts = {&m_c.act_zuschlinks, &m_c.act_zuschrechts, &m_c.act_zuschoben, &m_c.act_zuschunten};
        chosen = true;
    }
    bool numbers = chosen;
    for (const ComboBox* text : texts) numbers = numbers && IsIntegerText(text->text());
    if (numbers) {
        CutMargins(image, IntegerOf(texts[0]->text(), 0), IntegerOf(texts[2]->text(), 0),
                   IntegerOf(texts[1]->text(), 0), IntegerOf(texts[3]->text(), 0));
    }
    return std::make_shared<const Bitmap>(ImageToBitmap(image));
}

}  // namespace tessaro
