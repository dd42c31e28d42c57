// SPDX-License-Identifier: GPL-3.0-or-later
// The history settings: which kinds enter the history (mirrors of the main window's two
// switches), and what saving the history writes.
#pragma once

#include "forms/buttons.h"
#include "forms/containers.h"
#include "history/history_saving.h"
#include "language/language_window.h"

namespace tessaro {

class Teinstverlauf final : public LanguageWindow {
public:
    static constexpr int kDesignWidth = 219;
    static constexpr int kDesignHeight = 247;

    explicit Teinstverlauf(const Label& spr);

    // The history-file options come first: that is the order a configuration holds them.
    Panel& gb2;
    CheckBox& cb_save_txt;
    CheckBox& cb_save_img;
    CheckBox& cb_save_time;
    Panel& gb1;
    CheckBox& cb_history_txt;
    CheckBox& cb_history_img;
    // Closes the window; the owner binds its click to hiding it.
    Button& Button1;

    // The main window's switches that the two mirrors set; bound once both windows exist.
    void bindMainSwitches(CheckBox& textSwitch, CheckBox& imageSwitch);
    void cb_history_txtClick();
    void cb_history_imgClick();

    HistorySaveOptions saveOptions() const {
        return {cb_save_txt.checked(), cb_save_img.checked(), cb_save_time.checked()};
    }

    void Sprache() override;

private:
    CheckBox* m_textSwitch = nullptr;
    CheckBox* m_imageSwitch = nullptr;
};

}  // namespace tessaro
