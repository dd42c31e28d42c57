// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/resize_stage.h"

#include "image/image_record.h"
#include "image/resample.h"
#include "image/resize_rules.h"

namespace tessaro {

void ResizeStage::KonvertierWerteSetzen() {
    ResizeFilter = ResizeFilterOf(m_c.act_sizemethode.text(), ResizeFilter);
}

std::shared_ptr<const Bitmap> ResizeStage::run(const Bitmap& working) {
    KonvertierWerteSetzen();
    ImageRecord image = ConvertToRgb24(ImageFromBitmap(working));
    ResizeRules rules;
    rules.maxWidth = IntegerOf(m_c.act_sizebenutzer_x.text(), image.width);
    rules.maxHeight = IntegerOf(m_c.act_sizebenutzer_y.text(), image.height);
    rules.larger = m_c.act_sizebigger.checked();
    rules.smaller = m_c.act_sizekleiner.checked();
    rules.turn = m_c.act_sizehochquerformat.checked();
    rules.proportional = m_c.act_resizeimg_prop.checked();
    if (const auto target = ResizeTarget(image.width, image.height, rules)) {
        if (target->width <= 0 || target->height <= 0 || target->width > kMaxImagePixels ||
            target->height > kMaxImagePixels) {
            throw ImageError("the new size cannot be held");
        }
        ResizeImage(image, int(target->width), int(target->height), static_cast<ResizeMethod>(ResizeFilter));
    }
    return std::make_shared<const Bitmap>(ImageToBitmap(image));
}

}  // namespace tessaro
