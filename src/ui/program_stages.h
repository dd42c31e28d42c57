// The action stages of the program: each stage of the capture pipeline handed to the
// subsystem that does its work. Stages whose subsystem is not attached pass content on.
#pragma once

#include <memory>

#include "capture/action_stages.h"
#include "output/text_save_stage.h"

namespace tessaro {

class ProgramStages final : public ActionStages {
public:
    // The text save needs the output settings window, which is created after the main
    // window; it is attached once both exist.
    void attachTextSave(std::unique_ptr<TextSaveStage> stage) { m_textSave = std::move(stage); }

    void saveText(const std::u16string& text) override {
        if (m_textSave) m_textSave->save(text);
    }

private:
    std::unique_ptr<TextSaveStage> m_textSave;
};

}  // namespace tessaro
