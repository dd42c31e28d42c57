// SPDX-License-Identifier: GPL-3.0-or-later
// The controls of the main and start windows that the capture pipeline reads and fills.
#pragma once

#include "forms/buttons.h"
#include "forms/containers.h"
#include "forms/list_view.h"
#include "forms/menu_item.h"
#include "forms/picture.h"
#include "forms/text_controls.h"

namespace tessaro {

struct CaptureControls {
    MenuItem& m_einst_aktiv;
    CheckBox& cb_history_txt;
    CheckBox& cb_history_img;
    CheckBox& cb_suchenersetzen;
    CheckBox& cb_textadd;
    CheckBox& cb_savetxt;
    CheckBox& cb_cutimg;
    CheckBox& cb_saveimg;
    CheckBox& save_img_vorher;
    CheckBox& save_img_nachher;
    CheckBox& cb_resizeimg;
    ListView& zuletzt;
    ListView& liste;
    Memo& display_txt;
    PageControl& pc;
    Panel& tab_txt;
    Panel& tab_img;
    Panel& tab_details;
    TabSet& TabSet1;
    Picture& display_img;
    ScrollBox& ScrollBox2;
    Label& spr;  // the language code, on the start window
};

}  // namespace tessaro
