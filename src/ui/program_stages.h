// SPDX-License-Identifier: GPL-3.0-or-later
// The action stages of the program: each stage of the capture pipeline handed to the
// subsystem that does its work. Stages whose subsystem is not attached pass content on.
#pragma once

#include <memory>

#include "capture/action_stages.h"
#include "image/cut_stage.h"
#include "image/resize_stage.h"
#include "output/image_save_stage.h"
#include "output/text_save_stage.h"
#include "text/text_actions.h"

namespace tessaro {

class ProgramStages final : public ActionStages {
public:
    // The text save needs the output settings window, which is created after the main
    // window; it is attached once both exist.
    void attachTextSave(std::unique_ptr<TextSaveStage> stage) { m_textSave = std::move(stage); }

    // The image save needs the output settings window too.
    void attachImageSave(std::unique_ptr<ImageSaveStage> stage) { m_imageSave = std::move(stage); }

    // The cut stage needs the cut-out dialog, created after the main window.
    void attachCut(std::unique_ptr<CutStage> stage) { m_cut = std::move(stage); }

    // The resize stage reads the output settings too.
    void attachResize(std::unique_ptr<ResizeStage> stage) { m_resize = std::move(stage); }

    // The text actions need the regular-expression options, whose window is created after
    // the main window.
    void attachTextActions(std::unique_ptr<TextActions> actions) {
        m_textActions = std::move(actions);
    }

    std::u16string searchReplace(std::u16string text) override {
        return m_textActions ? m_textActions->ApplySearchReplace(std::move(text)) : text;
    }
    std::u16string addText(std::u16string text) override {
        return m_textActions ? m_textActions->ApplyTextAdditions(text) : text;
    }

    void saveText(const std::u16string& text) override {
        if (m_textSave) m_textSave->save(text);
    }

    std::shared_ptr<const Bitmap> cutImage(std::shared_ptr<const Bitmap> working) override {
        return m_cut ? m_cut->run(*working) : working;
    }
    std::shared_ptr<const Bitmap> resizeImage(std::shared_ptr<const Bitmap> working) override {
        return m_resize ? m_resize->run(*working) : working;
    }
    void applyOutputOptions() override {
        if (m_imageSave) m_imageSave->applyOutputOptions();
    }
    void saveImage(const Bitmap& image) override {
        if (m_imageSave) m_imageSave->save(image);
    }

private:
    std::unique_ptr<TextSaveStage> m_textSave;
    std::unique_ptr<ImageSaveStage> m_imageSave;
    std::unique_ptr<ResizeStage> m_resize;
    std::unique_ptr<CutStage> m_cut;
    std::unique_ptr<TextActions> m_textActions;
};

}  // namespace tessaro
