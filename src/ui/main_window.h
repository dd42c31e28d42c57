// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the history column, the clipboard content display and the actions
// area, its menus, its place in the clipboard-viewer chain and its life cycle.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "capture/action_stages.h"
#include "capture/capture_pipeline.h"
#include "capture/clipboard_monitor.h"
#include "capture/start_window.h"
#include "config/configuration_menu.h"
#include "forms/buttons.h"
#include "forms/containers.h"
#include "forms/form.h"
#include "forms/language_code.h"
#include "forms/list_view.h"
#include "forms/menu_item.h"
#include "forms/picture.h"
#include "forms/text_controls.h"
#include "history/history_filter.h"
#include "history/history_list.h"
#include "history/history_store.h"
#include "output/file_naming.h"
#include "text/regex_error_marks.h"
#include "text/search_replace_panel.h"
#include "text/text_actions.h"
#include "ui/autostart_entry.h"
#include "ui/bottom_strip.h"

namespace tessaro {

// System commands that reach the main window.
enum class SysCommand { Minimize, Maximize, Restore, Close };

class Tprog final : public Form {
public:
    static constexpr int kDesignWidth = 758;
    static constexpr int kDesignHeight = 608;

    Tprog(Desktop& desktop, ClipboardBackend& backend, TClipBoardEx& clipboard,
          CaptureState& captureState, HistoryStore& history, FileCounters& counters, Tstart& start,
          ActionStages& stages);

    // Menus.
    MenuItem& Programm1;
    MenuItem& m_close;
    MenuItem& einst;
    MenuItem& m_einst_aktiv;
    MenuItem& MinimizetoTaskbar;
    MenuItem& N1;
    MenuItem& einst_akt;
    MenuItem& einst_regex;
    MenuItem& saveverlauf;
    MenuItem& delverlauf;
    MenuItem& N2;
    MenuItem& einst_verl;
    // The configuration menu and its submenu of the save on exit.
    MenuItem& m_konfig;
    MenuItem& m_konfig_save;
    MenuItem& m_konfig_save_start;
    MenuItem& m_konfig_load;
    MenuItem& N3;
    MenuItem& m_konfig_autosave;
    MenuItem& m_konfig_autosave_alles;
    MenuItem& m_konfig_autosave_nie;
    MenuItem& N4;
    MenuItem& m_konfig_standard;
    MenuItem& m_konfig_start;
    // The history list's popup menu and its two items.
    MenuItem& PopupMenu2;
    MenuItem& pop1;
    MenuItem& pop2;
    // The bug report in the program menu, the language submenu of the settings menu and
    // the two help menus, of which only the one of the current language is visible.
    MenuItem& m_bugreport;
    MenuItem& N5;
    MenuItem& N6;
    MenuItem& einst_spr;
    MenuItem& einst_spr_de;
    MenuItem& einst_spr_en;
    MenuItem& Hilfe1;
    MenuItem& Hilfe_intro;
    MenuItem& Hilfe_bugreport;
    MenuItem& Information1;
    MenuItem& Information_intro;
    MenuItem& Information_bugreport;
    // Settings: start at login (an autostart entry, see AutostartEntry).
    MenuItem& einst_autostart;
    // The controls below are created in the order in which a configuration file holds
    // them: loading sets them in this order, and a radio button set later wins.
    // Bottom strip and history column.
    Panel& Panel1;
    Label& Label19;
    // What went wrong in the last run, in the bottom strip; empty after a run that worked.
    Label& lb_status;
    Panel& Panel2;
    Panel& Panel6;
    Panel& Panel7;
    ListView& zuletzt;
    CheckBox& cb_history_txt;
    CheckBox& cb_history_img;
    // Never shown: only a configuration can switch copying back off.
    CheckBox& cb_history_dblclick;
    // Right column and the actions area with its six rows.
    Panel& Panel3;
    Panel& Panel4;
    Panel& Panel8;
    Panel& Panel9;
    ScrollBox& ScrollBox1;
    Panel& pa001a;
    CheckBox& cb_suchenersetzen;
    // Saving images.
    Panel& pa006b;
    Panel& pa_saveimg;
    Label& Label6;
    ComboBox& saveimg_format;
    Label& Label5;
    ComboBox& saveimg_name;
    Label& Label4;
    Edit& saveimg_ordner;
    Button& saveimg_ordnerwahl;
    CheckBox& save_img_vorher;
    CheckBox& save_img_nachher;
    Panel& pa006a;
    CheckBox& cb_saveimg;
    // Resizing images.
    Panel& pa005b;
    Panel& pa_resizeimg;
    Label& Label1;
    Label& Label10;
    ComboBox& act_sizebenutzer_x;
    Label& Label13;
    Label& Label12;
    ComboBox& act_sizebenutzer_y;
    Label& Label14;
    Label& Label11;
    CheckBox& act_resizeimg_prop;
    Panel& pa005a;
    CheckBox& cb_resizeimg;
    // Saving the text.
    Panel& pa003b;
    Panel& pa_savetxt;
    Label& Label8;
    ComboBox& savetxt_format;
    Label& Label7;
    ComboBox& savetxt_name;
    Label& Label9;
    Edit& savetxt_ordner;
    Button& savetxt_ordnerwahl;
    Panel& pa003a;
    CheckBox& cb_savetxt;
    // Text additions.
    Panel& pa002b;
    Panel& pa_textadd;
    Label& Label2;
    Memo& act_textadd_vorne;
    Label& Label3;
    Memo& act_textadd_hinten;
    Panel& pa002a;
    CheckBox& cb_textadd;
    // Search and replace.
    Panel& pa001b;
    Panel& pa_suchenersetzen;
    Label& act_ers_la1;
    Memo& act_ers_text_suchen;
    Label& act_ers_text_suchen_regfehler;
    Label& act_ers_la2;
    Memo& act_ers_text_ersetzen;
    Label& act_ers_text_ersetzen_regfehler;
    ListView& act_ers_text_liste;
    CheckBox& act_ers_text_suchen_regex;
    CheckBox& act_ers_casesensitive;
    CheckBox& act_ers_text_ersetzen_regex;
    CheckBox& cb_se_mehrfach;
    Button& act_ers_text_add;
    Button& act_ers_text_delete;
    Button& act_ers_text_delmark;
    // Cutting images.
    Panel& pa004b;
    Panel& pa_cutimg;
    RadioButton& rb_cutimg_auswahl;
    RadioButton& rb_cutimg_direkt;
    Label& Label15;
    ComboBox& act_zuschlinks;
    Label& Label16;
    ComboBox& act_zuschrechts;
    Label& Label17;
    ComboBox& act_zuschoben;
    Label& Label18;
    ComboBox& act_zuschunten;
    Panel& pa004a;
    CheckBox& cb_cutimg;
    // Content area.
    Panel& Panel5;
    Panel& Panel10;
    Panel& Panel11;
    TabSet& TabSet1;
    PageControl& pc;
    Panel& tab_txt;
    Memo& display_txt;
    Panel& tab_img;
    ScrollBox& ScrollBox2;
    Picture& display_img;
    Panel& tab_details;
    ListView& liste;
    // The search field above the history; not a setting (see HistoryFilter).
    Edit& ed_history_filter;
    // Header and detail rows of the six actions, in their order.
    std::array<Panel*, 6> headerRows;
    std::array<Panel*, 6> detailRows;

    // The configuration menu's handlers; the application attaches them once every window
    // exists.
    void attachConfigurationMenu(ConfigurationMenu& menu) { m_configurationMenu = &menu; }
    ConfigurationMenu& configurationMenu();

    CapturePipeline& pipeline() { return m_pipeline; }
    HistoryList& historyList() { return m_historyList; }
    ClipboardMonitor& monitor() { return m_monitor; }

    // Life cycle.
    void FormCreate();
    void FormShow();
    void FormActivate();
    void FormResize();
    // Closing by the close box: the close query saves the settings when "Save all" is
    // checked, and keeps the window open when that save fails.
    bool FormCloseQuery();
    void FormClose();
    void FormDestroy();
    // Shows the window; the first showing runs FormShow, every showing FormActivate.
    void reveal();
    // Brings the window up for the user from wherever it is: behind the notification-area
    // icon, minimized or under other windows (a second start of the program asks for it).
    void bringToFront();

    // A system command; returns true when the window handled it itself.
    bool sysCommand(SysCommand command);

    // Opens the detail row of the switch just checked and closes the others, then stacks
    // the rows; `origin` is the switch clicked, or anything else at creation and loading.
    void cb_suchenersetzenClick(const Control* origin);
    void savetxt_ordnerwahlClick();
    void savetxt_ordnerDblClick() { savetxt_ordner.selectAll(); }
    void saveimg_ordnerwahlClick();
    void saveimg_ordnerDblClick() { saveimg_ordner.selectAll(); }
    void einst_aktClick();
    void einst_regexClick();
    // Show the output and the regular-expression settings; the application binds them.
    std::function<void()> showOutputSettings;
    std::function<void()> showRegexSettings;
    void einst_verlClick();
    // Shows the history settings; the application binds it.
    std::function<void()> showHistorySettings;
    // The help windows and the bottom strip's resting text; the application binds them.
    std::function<std::u16string(bool german)> stripHint;
    std::function<void()> showIntroduction;
    std::function<void()> showBugReport;
    // Sets the interface language and applies it to every window; the application binds
    // the applying, which reaches windows this one does not know.
    void einst_spr_deClick();
    void einst_spr_enClick();
    std::function<void()> sprachealles;
    // The history list (forwards to HistoryList).
    void zuletztDblClick() { m_historyList.zuletztDblClick(); }
    void pop2Click() { m_historyList.pop2Click(); }
    bool PopupMenu2Popup() const { return m_historyList.PopupMenu2Popup(); }
    void zuletztKeyDown(int key, bool ctrl) { m_historyList.zuletztKeyDown(key, ctrl); }
    void zuletztColumnClick(int column) { m_historyList.zuletztColumnClick(column); }
    void listeColumnClick(int column) { m_historyList.listeColumnClick(column); }
    void delverlaufClick() { m_historyList.delverlaufClick(); }
    void cb_history_txtClick() { m_historyList.cb_history_txtClick(); }
    void cb_history_imgClick() { m_historyList.cb_history_imgClick(); }
    // Ctrl+F: the search field above the history takes the focus, its text selected.
    void focusHistoryFilter();
    void saveverlaufClick();
    // Saves the text history; the application binds it to the history settings.
    std::function<void()> saveHistory;
    void m_einst_aktivClick();
    // A click on the bottom strip does what it offers: undo, switch capture on, or the
    // introduction.
    void lb_statusClick();
    // The text of the last failed capture, empty when the last one worked.
    const std::u16string& lastFailure() const { return m_strip.failure(); }
    void MinimizetoTaskbarClick();
    void m_closeClick();
    // Hides the window behind a notification-area icon; false (and the window stays) when
    // the desktop has none.
    bool TaskBarAddIcon();
    void TaskBarRemoveIcon();
    // Applies the interface language to the window's captions.
    void sprache();

    // Search and replace: the table, the fields and the error marks.
    void act_ers_text_addClick() { m_searchReplace.act_ers_text_addClick(); }
    void act_ers_text_deleteClick() { m_searchReplace.act_ers_text_deleteClick(); }
    void act_ers_text_delmarkClick() { m_searchReplace.act_ers_text_delmarkClick(); }
    void act_ers_text_listeSelectItem() { m_searchReplace.act_ers_text_listeSelectItem(); }
    bool act_ers_text_listeKeyDown(std::uint16_t key, bool ctrl) {
        return m_searchReplace.act_ers_text_listeKeyDown(key, ctrl);
    }
    bool act_ers_text_listeDragOver(bool overTable) const {
        return m_searchReplace.act_ers_text_listeDragOver(overTable);
    }
    void act_ers_text_listeDragDrop(bool fromTable, std::optional<std::size_t> target) {
        m_searchReplace.act_ers_text_listeDragDrop(fromTable, target);
    }
    void cb_se_mehrfachClick() { m_searchReplace.cb_se_mehrfachClick(); }
    void act_ers_text_suchenChange() { m_regexMarks.act_ers_text_suchenChange(); }
    void act_ers_text_ersetzenChange() { m_regexMarks.act_ers_text_ersetzenChange(); }
    void RegExFehlerInMemoMarkieren(const std::u16string& message) {
        m_regexMarks.RegExFehlerInMemoMarkieren(message);
    }
    const Memo* LastEditedMemo() const { return m_regexMarks.LastEditedMemo(); }
    // What the two text actions read when they run.
    TextActionControls textActionControls() const {
        return {act_ers_text_suchen,   act_ers_text_ersetzen, act_ers_text_suchen_regex,
                act_ers_text_ersetzen_regex, act_ers_casesensitive, act_ers_text_liste,
                act_textadd_vorne,     act_textadd_hinten};
    }

    // Progress of a clipboard transfer in the bottom strip, once it has taken a second;
    // the note goes when the transfer is over.
    void showTransfer(std::size_t bytes, std::size_t total, bool finished);

private:
    // A failed run is told in the bottom strip and on standard error: a box from inside a
    // clipboard notification would stack with every further broken copy.
    void reportCaptureFailure(const std::exception& error);
    void trayLeftButtonDown();
    // Lets the user pick a folder for the field; an empty result keeps the old text.
    void chooseFolderFor(Edit& field);
    // Stacks the header and detail rows and sets the scroll range.
    void stackActionRows();
    bool german() const { return IsGerman(m_start.spr); }
    std::array<ComboBox*, 6> numberLists() {
        return {&act_zuschlinks, &act_zuschrechts,    &act_zuschoben,
                &act_zuschunten, &act_sizebenutzer_x, &act_sizebenutzer_y};
    }
    std::array<CheckBox*, 6> switches() {
        return {&cb_suchenersetzen, &cb_textadd, &cb_savetxt, &cb_cutimg, &cb_resizeimg, &cb_saveimg};
    }

    Desktop& m_desktop;
    CaptureState& m_state;
    HistoryStore& m_history;
    FileCounters& m_counters;
    Tstart& m_start;
    CapturePipeline m_pipeline;
    ClipboardMonitor m_monitor;
    HistoryList m_historyList;
    HistoryFilter m_historyFilter;
    bool m_shownOnce = false;
    ConfigurationMenu* m_configurationMenu = nullptr;
    Subscription m_tableSelection;
    std::optional<std::uint32_t> m_transferStart;
    bool m_transferShown = false;
    SearchReplacePanel m_searchReplace;
    RegExErrorMarks m_regexMarks;
    BottomStrip m_strip;
    AutostartEntry m_autostart;
    Subscription m_undoWatch;
    Subscription m_captureWatch;
};

}  // namespace tessaro
