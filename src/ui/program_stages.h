// SPDX-License-Identifier: GPL-3.0-or-later
// The action stages of the program: each stage of the capture pipeline handed to the
// subsystem that does its work. The subsystems need windows created after the main window,
// so they are attached later; one that never was is a wiring fault, reported at once.
#pragma once

#include <memory>
#include <string>

#include "capture/action_stages.h"
#include "image/cut_stage.h"
#include "image/resize_stage.h"
#include "output/image_save_stage.h"
#include "output/text_save_stage.h"
#include "text/text_actions.h"

namespace tessaro {

class ProgramStages final : public ActionStages {
public:
    // The text save needs the output settings window.
    void attachTextSave(std::unique_ptr<TextSaveStage> stage) { m_textSave = std::move(stage); }
    // The image save needs the output settings window too.
    void attachImageSave(std::unique_ptr<ImageSaveStage> stage) { m_imageSave = std::move(stage); }
    // The cut stage needs the cut-out dialog.
    void attachCut(std::unique_ptr<CutStage> stage) { m_cut = std::move(stage); }
    // The resize stage reads the output settings.
    void attachResize(std::unique_ptr<ResizeStage> stage) { m_resize = std::move(stage); }
    // The text actions need the regular-expression options.
    void attachTextActions(std::unique_ptr<TextActions> actions) { m_textActions = std::move(actions); }

    // Throws StageWiringError naming every stage that was never attached.
    void checkComplete() const {
        std::string missing;
        const auto note = [&missing](bool attached, const char* name) {
            if (!attached) missing += missing.empty() ? name : std::string(", ") + name;
        };
        note(m_textActions != nullptr, "text actions");
        note(m_textSave != nullptr, "text save");
        note(m_cut != nullptr, "cut");
        note(m_resize != nullptr, "resize");
        note(m_imageSave != nullptr, "image save");
        if (!missing.empty()) throw StageWiringError("action stages never attached: " + missing);
    }

    std::u16string searchReplace(std::u16string text) override {
        return attached(m_textActions, "text actions").ApplySearchReplace(std::move(text));
    }
    std::u16string addText(std::u16string text) override {
        return attached(m_textActions, "text actions").ApplyTextAdditions(text);
    }
    void saveText(const std::u16string& text) override { attached(m_textSave, "text save").save(text); }
    std::shared_ptr<const Bitmap> cutImage(std::shared_ptr<const Bitmap> working) override {
        return attached(m_cut, "cut").run(*working);
    }
    std::shared_ptr<const Bitmap> resizeImage(std::shared_ptr<const Bitmap> working) override {
        return attached(m_resize, "resize").run(*working);
    }
    void applyOutputOptions() override { attached(m_imageSave, "image save").applyOutputOptions(); }
    void saveImage(const Bitmap& image) override { attached(m_imageSave, "image save").save(image); }

private:
    template <typename Stage>
    static Stage& attached(const std::unique_ptr<Stage>& stage, const char* name) {
        if (!stage) throw StageWiringError(std::string("the ") + name + " stage was never attached");
        return *stage;
    }

    std::unique_ptr<TextSaveStage> m_textSave;
    std::unique_ptr<ImageSaveStage> m_imageSave;
    std::unique_ptr<ResizeStage> m_resize;
    std::unique_ptr<CutStage> m_cut;
    std::unique_ptr<TextActions> m_textActions;
};

}  // namespace tessaro
