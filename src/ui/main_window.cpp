// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_window.h"

#include <cstdio>
#include <stdexcept>

#include "output/save_field_rules.h"
#include "platform/decimal_text.h"
#include "platform/utf.h"
#include "language/interface_texts.h"
#include "ui/number_list_rules.h"

namespace tessaro {
namespace {

CheckBox& addSwitch(Form& form, const char* name, bool checked = false) {
    return form.add<CheckBox>(name, checked);
}

}  // namespace

Tprog::Tprog(Desktop& desktop, ClipboardBackend& backend, TClipBoardEx& clipboard,
             CaptureState& captureState, HistoryStore& history, FileCounters& counters,
             Tstart& start, ActionStages& stages)
    : Form("Tprog"),
      Programm1(add<MenuItem>("Programm1")),
      m_close(add<MenuItem>("m_close")),
      einst(add<MenuItem>("einst")),
      m_einst_aktiv(add<MenuItem>("m_einst_aktiv")),
      MinimizetoTaskbar(add<MenuItem>("MinimizetoTaskbar")),
      N1(add<MenuItem>("N1")),
      einst_akt(add<MenuItem>("einst_akt")),
      einst_regex(add<MenuItem>("einst_regex")),
      saveverlauf(add<MenuItem>("saveverlauf")),
      delverlauf(add<MenuItem>("delverlauf")),
      N2(add<MenuItem>("N2")),
      einst_verl(add<MenuItem>("einst_verl")),
      m_konfig(add<MenuItem>("m_konfig")),
      m_konfig_save(add<MenuItem>("m_konfig_save")),
      m_konfig_save_start(add<MenuItem>("m_konfig_save_start")),
      m_konfig_load(add<MenuItem>("m_konfig_load")),
      N3(add<MenuItem>("N3")),
      m_konfig_autosave(add<MenuItem>("m_konfig_autosave")),
      m_konfig_autosave_alles(add<MenuItem>("m_konfig_autosave_alles")),
      m_konfig_autosave_nie(add<MenuItem>("m_konfig_autosave_nie")),
      N4(add<MenuItem>("N4")),
      m_konfig_standard(add<MenuItem>("m_konfig_standard")),
      m_konfig_start(add<MenuItem>("m_konfig_start")),
      PopupMenu2(add<MenuItem>("PopupMenu2")),
      pop1(add<MenuItem>("pop1")),
      pop2(add<MenuItem>("pop2")),
      m_bugreport(add<MenuItem>("m_bugreport")),
      N5(add<MenuItem>("N5")),
      N6(add<MenuItem>("N6")),
      einst_spr(add<MenuItem>("einst_spr")),
      einst_spr_de(add<MenuItem>("einst_spr_de")),
      einst_spr_en(add<MenuItem>("einst_spr_en")),
      Hilfe1(add<MenuItem>("Hilfe1")),
      Hilfe_intro(add<MenuItem>("Hilfe_intro")),
      Hilfe_bugreport(add<MenuItem>("Hilfe_bugreport")),
      Information1(add<MenuItem>("Information1")),
      Information_intro(add<MenuItem>("Information_intro")),
      Information_bugreport(add<MenuItem>("Information_bugreport")),
      einst_autostart(add<MenuItem>("einst_autostart")),
      Panel1(add<Panel>("Panel1")),
      Label19(add<Label>("Label19")),
      lb_status(add<Label>("lb_status")),
      Panel2(add<Panel>("Panel2")),
      Panel6(add<Panel>("Panel6")),
      Panel7(add<Panel>("Panel7")),
      zuletzt(add<ListView>("zuletzt")),
      cb_history_txt(addSwitch(*this, "cb_history_txt", true)),
      cb_history_img(addSwitch(*this, "cb_history_img", true)),
      cb_history_dblclick(addSwitch(*this, "cb_history_dblclick", true)),
      Panel3(add<Panel>("Panel3")),
      Panel4(add<Panel>("Panel4")),
      Panel8(add<Panel>("Panel8")),
      Panel9(add<Panel>("Panel9")),
      ScrollBox1(add<ScrollBox>("ScrollBox1")),
      pa001a(add<Panel>("pa001a")),
      cb_suchenersetzen(add<CheckBox>("cb_suchenersetzen")),
      pa006b(add<Panel>("pa006b")),
      pa_saveimg(add<Panel>("pa_saveimg")),
      Label6(add<Label>("Label6")),
      saveimg_format(add<ComboBox>("saveimg_format")),
      Label5(add<Label>("Label5")),
      saveimg_name(add<ComboBox>("saveimg_name")),
      Label4(add<Label>("Label4")),
      saveimg_ordner(add<Edit>("saveimg_ordner")),
      saveimg_ordnerwahl(add<Button>("saveimg_ordnerwahl")),
      save_img_vorher(add<CheckBox>("save_img_vorher")),
      save_img_nachher(addSwitch(*this, "save_img_nachher", true)),
      pa006a(add<Panel>("pa006a")),
      cb_saveimg(add<CheckBox>("cb_saveimg")),
      pa005b(add<Panel>("pa005b")),
      pa_resizeimg(add<Panel>("pa_resizeimg")),
      Label1(add<Label>("Label1")),
      Label10(add<Label>("Label10")),
      act_sizebenutzer_x(add<ComboBox>("act_sizebenutzer_x")),
      Label13(add<Label>("Label13")),
      Label12(add<Label>("Label12")),
      act_sizebenutzer_y(add<ComboBox>("act_sizebenutzer_y")),
      Label14(add<Label>("Label14")),
      Label11(add<Label>("Label11")),
      act_resizeimg_prop(add<CheckBox>("act_resizeimg_prop", true)),
      pa005a(add<Panel>("pa005a")),
      cb_resizeimg(add<CheckBox>("cb_resizeimg")),
      pa003b(add<Panel>("pa003b")),
      pa_savetxt(add<Panel>("pa_savetxt")),
      Label8(add<Label>("Label8")),
      savetxt_format(add<ComboBox>("savetxt_format")),
      Label7(add<Label>("Label7")),
      savetxt_name(add<ComboBox>("savetxt_name")),
      Label9(add<Label>("Label9")),
      savetxt_ordner(add<Edit>("savetxt_ordner")),
      savetxt_ordnerwahl(add<Button>("savetxt_ordnerwahl")),
      pa003a(add<Panel>("pa003a")),
      cb_savetxt(add<CheckBox>("cb_savetxt")),
      pa002b(add<Panel>("pa002b")),
      pa_textadd(add<Panel>("pa_textadd")),
      Label2(add<Label>("Label2")),
      act_textadd_vorne(add<Memo>("act_textadd_vorne")),
      Label3(add<Label>("Label3")),
      act_textadd_hinten(add<Memo>("act_textadd_hinten")),
      pa002a(add<Panel>("pa002a")),
      cb_textadd(add<CheckBox>("cb_textadd")),
      pa001b(add<Panel>("pa001b")),
      pa_suchenersetzen(add<Panel>("pa_suchenersetzen")),
      act_ers_la1(add<Label>("act_ers_la1")),
      act_ers_text_suchen(add<Memo>("act_ers_text_suchen")),
      act_ers_text_suchen_regfehler(add<Label>("act_ers_text_suchen_regfehler")),
      act_ers_la2(add<Label>("act_ers_la2")),
      act_ers_text_ersetzen(add<Memo>("act_ers_text_ersetzen")),
      act_ers_text_ersetzen_regfehler(add<Label>("act_ers_text_ersetzen_regfehler")),
      act_ers_text_liste(add<ListView>("act_ers_text_liste")),
      act_ers_text_suchen_regex(add<CheckBox>("act_ers_text_suchen_regex")),
      act_ers_casesensitive(add<CheckBox>("act_ers_casesensitive", true)),
      act_ers_text_ersetzen_regex(add<CheckBox>("act_ers_text_ersetzen_regex")),
      cb_se_mehrfach(add<CheckBox>("cb_se_mehrfach")),
      act_ers_text_add(add<Button>("act_ers_text_add")),
      act_ers_text_delete(add<Button>("act_ers_text_delete")),
      act_ers_text_delmark(add<Button>("act_ers_text_delmark")),
      pa004b(add<Panel>("pa004b")),
      pa_cutimg(add<Panel>("pa_cutimg")),
      rb_cutimg_auswahl(add<RadioButton>("rb_cutimg_auswahl", "cut", true)),
      rb_cutimg_direkt(add<RadioButton>("rb_cutimg_direkt", "cut")),
      Label15(add<Label>("Label15")),
      act_zuschlinks(add<ComboBox>("act_zuschlinks")),
      Label16(add<Label>("Label16")),
      act_zuschrechts(add<ComboBox>("act_zuschrechts")),
      Label17(add<Label>("Label17")),
      act_zuschoben(add<ComboBox>("act_zuschoben")),
      Label18(add<Label>("Label18")),
      act_zuschunten(add<ComboBox>("act_zuschunten")),
      pa004a(add<Panel>("pa004a")),
      cb_cutimg(add<CheckBox>("cb_cutimg")),
      Panel5(add<Panel>("Panel5")),
      Panel10(add<Panel>("Panel10")),
      Panel11(add<Panel>("Panel11")),
      TabSet1(add<TabSet>("TabSet1")),
      pc(add<PageControl>("pc")),
      tab_txt(add<Panel>("tab_txt")),
      display_txt(add<Memo>("display_txt")),
      tab_img(add<Panel>("tab_img")),
      ScrollBox2(add<ScrollBox>("ScrollBox2")),
      display_img(add<Picture>("display_img")),
      tab_details(add<Panel>("tab_details")),
      liste(add<ListView>("liste")),
      ed_history_filter(add<Edit>("ed_history_filter")),
      headerRows{&pa001a, &pa002a, &pa003a, &pa004a, &pa005a, &pa006a},
      detailRows{&pa001b, &pa002b, &pa003b, &pa004b, &pa005b, &pa006b},
      m_desktop(desktop),
      m_state(captureState),
      m_history(history),
      m_counters(counters),
      m_start(start),
      m_pipeline(CaptureControls{m_einst_aktiv, cb_history_txt, cb_history_img, cb_suchenersetzen,
                                 cb_textadd, cb_savetxt, cb_cutimg, cb_saveimg, save_img_vorher,
                                 save_img_nachher, cb_resizeimg, zuletzt, liste, display_txt, pc,
                                 tab_txt, tab_img, tab_details, TabSet1, display_img, ScrollBox2,
                                 start.spr},
                 clipboard, desktop, captureState, history, stages),
      m_monitor(
          backend, clipboard, desktop, captureState,
          [this] {
              m_strip.setFailure({});
              m_historyList.forgetDeleted();
              m_pipeline.ProcessClipboard();
          },
          [this](const std::exception& error) { reportCaptureFailure(error); }),
      m_historyList(HistoryControls{zuletzt, liste, cb_history_txt, cb_history_img,
                                    cb_history_dblclick, start.spr},
                    history, clipboard, desktop),
      m_historyFilter(ed_history_filter, zuletzt),
      m_searchReplace({*detailRows[0], pa_suchenersetzen, act_ers_text_suchen, act_ers_text_ersetzen,
                       act_ers_text_suchen_regex, act_ers_text_ersetzen_regex, cb_se_mehrfach,
                       act_ers_text_liste}),
      m_regexMarks(act_ers_text_suchen, act_ers_text_ersetzen, act_ers_text_suchen_regfehler,
                   act_ers_text_ersetzen_regfehler),
      m_strip(lb_status, start.spr, [this](bool german) { return stripHint ? stripHint(german) : std::u16string(); }),
      m_autostart(einst_autostart, desktop, start.spr) {
    setClientSize(kDesignWidth, kDesignHeight);
    setTag(1);

    // The lists, the display, the tab pages and the history's search hold no settings.
    for (Control* shown : std::initializer_list<Control*>{&zuletzt, &liste, &display_txt, &tab_txt,
                                                         &tab_img, &tab_details, &ed_history_filter}) {
        shown->setStored(false);
    }
    m_konfig.addItem(m_konfig_save);
    m_konfig.addItem(m_konfig_save_start);
    m_konfig.addItem(m_konfig_load);
    m_konfig.addItem(N3);
    m_konfig.addItem(m_konfig_autosave);
    m_konfig.addItem(N4);
    m_konfig.addItem(m_konfig_standard);
    m_konfig.addItem(m_konfig_start);
    m_konfig_autosave.addItem(m_konfig_autosave_alles);
    m_konfig_autosave.addItem(m_konfig_autosave_nie);
    m_konfig_autosave_nie.setChecked(true);
    N3.setSeparator(true);
    N4.setSeparator(true);

    Programm1.addItem(saveverlauf);
    Programm1.addItem(delverlauf);
    Programm1.addItem(N2);
    Programm1.addItem(m_bugreport);
    Programm1.addItem(N5);
    Programm1.addItem(m_close);
    N5.setSeparator(true);
    einst.addItem(m_einst_aktiv);
    einst.addItem(MinimizetoTaskbar);
    einst.addItem(einst_autostart);
    einst.addItem(N1);
    einst.addItem(einst_akt);
    einst.addItem(einst_regex);
    einst_regex.onClick = [this] { einst_regexClick(); };
    N1.setSeparator(true);
    einst_akt.onClick = [this] { einst_aktClick(); };
    m_einst_aktiv.setChecked(true);
    m_einst_aktiv.setShortcut("F3");
    m_close.onClick = [this] { m_closeClick(); };
    m_einst_aktiv.onClick = [this] { m_einst_aktivClick(); };
    MinimizetoTaskbar.onClick = [this] { MinimizetoTaskbarClick(); };

    // The history: its menu items, popup menu, list events and switches.
    N2.setSeparator(true);
    einst.addItem(einst_verl);
    einst.addItem(N6);
    einst.addItem(einst_spr);
    N6.setSeparator(true);
    einst_spr.addItem(einst_spr_de);
    einst_spr.addItem(einst_spr_en);
    einst_spr_de.onClick = [this] { einst_spr_deClick(); };
    einst_spr_en.onClick = [this] { einst_spr_enClick(); };
    // The help menus keep their captions in both languages; the language decides which
    // of the two is shown.
    Hilfe1.setCaption(u"Hilfe und Info");
    Hilfe_intro.setCaption(u"Einführung..");
    Hilfe_bugreport.setCaption(u"Fehler oder Verbesserung melden..");
    Information1.setCaption(u"Help and Information");
    Information_intro.setCaption(u"Introduction..");
    Information_bugreport.setCaption(u"Report Bug or Improvement..");
    Hilfe1.addItem(Hilfe_intro);
    Hilfe1.addItem(Hilfe_bugreport);
    Information1.addItem(Information_intro);
    Information1.addItem(Information_bugreport);
    for (MenuItem* intro : {&Hilfe_intro, &Information_intro}) {
        intro->onClick = [this] {
            if (showIntroduction) showIntroduction();
        };
    }
    for (MenuItem* report : {&m_bugreport, &Hilfe_bugreport, &Information_bugreport}) {
        report->onClick = [this] {
            if (showBugReport) showBugReport();
        };
    }
    saveverlauf.setShortcut("Ctrl+S");
    delverlauf.setShortcut("Ctrl+Del");
    saveverlauf.onClick = [this] { saveverlaufClick(); };
    delverlauf.onClick = [this] { delverlaufClick(); };
    einst_verl.onClick = [this] { einst_verlClick(); };
    PopupMenu2.addItem(pop1);
    PopupMenu2.addItem(pop2);
    pop1.onClick = [this] { zuletztDblClick(); };
    pop2.onClick = [this] { pop2Click(); };
    zuletzt.onDblClick = [this] { zuletztDblClick(); };
    zuletzt.onKeyDown = [this](int key, bool ctrl) { zuletztKeyDown(key, ctrl); };
    zuletzt.onColumnClick = [this](int column) { zuletztColumnClick(column); };
    liste.onColumnClick = [this](int column) { listeColumnClick(column); };
    cb_history_txt.onClick = [this] { cb_history_txtClick(); };
    cb_history_img.onClick = [this] { cb_history_imgClick(); };
    cb_history_dblclick.setVisible(false);
    m_undoWatch = m_historyList.undoChanged().subscribe(
        [this] { m_strip.setUndoOffered(m_historyList.canUndoDelete()); });
    // A loaded configuration may switch capture off as well as the menu.
    m_captureWatch = m_einst_aktiv.changed().subscribe([this] { m_strip.setCaptureOff(!m_einst_aktiv.checked()); });
    lb_status.onClick = [this] { lb_statusClick(); };

    constexpr std::array<int, 6> kDetailHeights = {266, 129, 115, 100, 86, 134};
    for (std::size_t i = 0; i < 6; ++i) {
        headerRows[i]->setHeight(22);
        detailRows[i]->setHeight(kDetailHeights[i]);
        CheckBox* box = switches()[i];
        box->onClick = [this, box] { cb_suchenersetzenClick(box); };
    }
    savetxt_ordnerwahl.onClick = [this] { savetxt_ordnerwahlClick(); };
    savetxt_ordner.onDblClick = [this] { savetxt_ordnerDblClick(); };
    savetxt_format.setDropDownCount(8);
    BindTextSaveFieldRules(savetxt_ordner, savetxt_name, savetxt_format,
                           [this](Control& control) { requestFocus(control); });
    saveimg_ordnerwahl.onClick = [this] { saveimg_ordnerwahlClick(); };
    saveimg_ordner.onDblClick = [this] { saveimg_ordnerDblClick(); };
    saveimg_format.setItems(ImageFormatEntries());
    saveimg_format.setText(ImageFormatEntries().front());
    saveimg_format.setDropDownCount(15);
    BindImageSaveFieldRules(saveimg_ordner, saveimg_name, saveimg_format,
                            [this](Control& control) { requestFocus(control); });
    // The number lists: four margins (fallback 0), the maximum width and height.
    const std::array<std::int32_t, 6> fallbacks = {0, 0, 0, 0, 640, 480};
    for (std::size_t i = 0; i < 6; ++i) {
        ComboBox& list = *numberLists()[i];
        const bool margin = i < 4;
        list.setItems(margin ? MarginListEntries(true) : SizeListEntries(true));
        list.setDropDownCount(margin ? 12 : 15);
        list.setText(utf8ToUtf16(std::to_string(fallbacks[i])));
        BindNumberListRules(list, fallbacks[i], m_desktop, m_start.spr,
                            [this](Control& control) { requestFocus(control); });
    }

    Panel1.setHeight(17);
    Panel2.setWidth(281);
    Panel3.setWidth(kDesignWidth - 281 - 3);
    Panel4.setHeight(360);
    Panel5.setHeight(kDesignHeight - 17 - 360 - 3);

    zuletzt.setMultiSelect(true);
    zuletzt.setColumns({{u"", 63}, {u"", 44}, {u"", 100}});
    liste.setColumns({{u"", 120}, {u"", 60}, {u"", 300}});

    pc.addPage(tab_txt);
    pc.addPage(tab_img);
    pc.addPage(tab_details);
    TabSet1.onChange = [this](int index) { m_pipeline.TabSet1Change(index); };
    display_img.onMouseDown = [this](MouseButton, Point p) { m_pipeline.display_imgMouseDown(p); };
    display_img.onMouseMove = [this](bool left, Point p) { m_pipeline.display_imgMouseMove(left, p); };
    display_img.onMouseUp = [this](MouseButton, Point) { m_pipeline.display_imgMouseUp(); };

    act_ers_text_suchen.onChange = [this] { act_ers_text_suchenChange(); };
    act_textadd_vorne.onChange = [this] { act_ers_text_suchenChange(); };
    act_ers_text_ersetzen.onChange = [this] { act_ers_text_ersetzenChange(); };
    act_textadd_hinten.onChange = [this] { act_ers_text_ersetzenChange(); };
    act_ers_text_add.onClick = [this] { act_ers_text_addClick(); };
    act_ers_text_delete.onClick = [this] { act_ers_text_deleteClick(); };
    act_ers_text_delmark.onClick = [this] { act_ers_text_delmarkClick(); };
    m_tableSelection = act_ers_text_liste.listChanged().subscribe([this](const ListChange& change) {
        if (change.kind == ListChange::Kind::Selection) act_ers_text_listeSelectItem();
    });
    // The box's height changes the stacking of the rows below it.
    cb_se_mehrfach.onClick = [this] {
        cb_se_mehrfachClick();
        stackActionRows();
    };
    pa_textadd.setHeight(kDetailHeights[1] - search_replace_layout::kRowExtra);
}

void Tprog::FormCreate() {
    TabSet1.setTabs({u"Text", u"Details"});
    TabSet1.setTabIndex(0);
    // The text page goes with the tabs above before joining: the joining may capture an
    // image at once, and its page must not be covered by the empty text page afterwards.
    pc.setActivePage(tab_txt);
    sprache();
    m_state.SuppressCount = 0;
    m_monitor.join();
    cb_suchenersetzenClick(nullptr);
    savetxt_ordner.setText(utf8ToUtf16(m_desktop.defaultSaveFolder().string()));
    saveimg_ordner.setText(savetxt_ordner.text());
    m_counters.TextFileCounter = 0;
    m_counters.ImageFileCounter = 0;
    m_state.LastRunTick = 0;
}

ConfigurationMenu& Tprog::configurationMenu() {
    if (!m_configurationMenu) throw std::logic_error("the configuration menu was never attached");
    return *m_configurationMenu;
}

void Tprog::FormShow() {
    configurationMenu().loadAtStart();
    const ScreenSize screen = m_desktop.screenSize();
    if (screen.height < clientHeight() + 50 || screen.width < clientWidth() + 50) setTag(0);
}

void Tprog::FormActivate() {
    if (tag() != 0) return;
    m_desktop.windowCommand(*this, WindowCommand::Maximize);
    setTag(1);
}

void Tprog::FormResize() {
    Panel2.setWidth((Panel2.width() + Panel3.width()) / 3);
    Panel4.setHeight(((Panel4.height() + Panel5.height()) / 5) * 3);
}

bool Tprog::FormCloseQuery() { return configurationMenu().closeQuery(); }

void Tprog::FormClose() { m_start.close(); }

void Tprog::FormDestroy() {
    m_history.HistoryTexts.clear();
    m_monitor.leave();
}

void Tprog::reveal() {
    if (visible()) return;
    m_desktop.windowCommand(*this, WindowCommand::Show);
    if (!m_shownOnce) {
        m_shownOnce = true;
        FormShow();
    }
    FormActivate();
}

void Tprog::bringToFront() {
    if (!m_shownOnce) {
        // Still behind the start window: the first showing loads the configuration.
        reveal();
        return;
    }
    if (!visible()) TaskBarRemoveIcon();
    m_desktop.windowCommand(*this, WindowCommand::Activate);
}

void Tprog::focusHistoryFilter() {
    requestFocus(ed_history_filter);
    ed_history_filter.selectAll();
}

bool Tprog::sysCommand(SysCommand command) {
    // Without a notification area the window minimizes as any other.
    return command == SysCommand::Minimize && MinimizetoTaskbar.checked() && TaskBarAddIcon();
}

void Tprog::cb_suchenersetzenClick(const Control* origin) {
    const auto boxes = switches();
    for (Panel* row : detailRows) row->setVisible(false);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (origin == boxes[i] && boxes[i]->checked()) detailRows[i]->setVisible(true);
        if (i == 0) cb_se_mehrfachClick();
    }
    stackActionRows();
}

void Tprog::stackActionRows() {
    const auto boxes = switches();
    int y = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        headerRows[i]->setTop(y);
        y += headerRows[i]->height();
        detailRows[i]->setTop(y);
        if (detailRows[i]->visible()) y += detailRows[i]->height();
    }
    ScrollBox1.setRanges(225, y + 5);
}

void Tprog::savetxt_ordnerwahlClick() { chooseFolderFor(savetxt_ordner); }

void Tprog::saveimg_ordnerwahlClick() { chooseFolderFor(saveimg_ordner); }

void Tprog::chooseFolderFor(Edit& field) {
    const std::u16string before = field.text();
    if (auto folder = m_desktop.chooseFolder(german() ? u"Ordner auswählen" : u"Select Folder")) {
        field.setText(*folder);
    }
    if (field.text().empty()) field.setText(before);
}

void Tprog::einst_aktClick() {
    if (showOutputSettings) showOutputSettings();
}

void Tprog::einst_regexClick() {
    if (showRegexSettings) showRegexSettings();
}

void Tprog::einst_verlClick() {
    if (showHistorySettings) showHistorySettings();
}

void Tprog::saveverlaufClick() {
    if (saveHistory) saveHistory();
}

void Tprog::m_einst_aktivClick() { m_einst_aktiv.setChecked(!m_einst_aktiv.checked()); }

void Tprog::lb_statusClick() {
    switch (m_strip.offer()) {
        case BottomStrip::Offer::UndoDelete: m_historyList.undoDelete(); break;
        case BottomStrip::Offer::SwitchCaptureOn: m_einst_aktiv.setChecked(true); break;
        case BottomStrip::Offer::Introduction:
            if (showIntroduction) showIntroduction();
            break;
        case BottomStrip::Offer::Nothing: break;
    }
}

void Tprog::MinimizetoTaskbarClick() {
    MinimizetoTaskbar.setChecked(!MinimizetoTaskbar.checked());
    if (!MinimizetoTaskbar.checked() || TaskBarAddIcon()) return;
    // A hidden window without an icon could not be brought back: it stays, and says why.
    MinimizetoTaskbar.setChecked(false);
    m_desktop.showMessage(MessageKind::Information, u"Information",
                          german() ? u"Diese Arbeitsoberfläche hat keinen Infobereich (Systray). "
                                     u"Das Fenster bleibt sichtbar."
                                   : u"This desktop has no notification area (system tray). "
                                     u"The window stays visible.");
}

void Tprog::m_closeClick() { m_start.close(); }

bool Tprog::TaskBarAddIcon() {
    const bool de = german();
    const bool capturing = m_einst_aktiv.checked();
    const std::u16string tip = std::u16string(u"Tessaro - Orvendal\n") +
                               (capturing ? (de ? u"Clipboard-Erfassung aktiv" : u"Clipboard-Exploring active")
                                          : (de ? u"Clipboard-Erfassung ausgeschaltet" : u"Clipboard-Exploring off"));
    std::vector<TrayMenuEntry> menu;
    menu.push_back({de ? u"Anzeigen" : u"Show", [this] { trayLeftButtonDown(); }, nullptr});
    menu.push_back({m_einst_aktiv.caption(), [this] { m_einst_aktivClick(); },
                    [this] { return m_einst_aktiv.checked(); }});
    menu.push_back({m_close.caption(), [this] { m_closeClick(); }, nullptr});
    // Without a notification area there would be no way back to a hidden window, so the
    // window stays on screen then.
    if (!m_desktop.setTrayIcon(true, tip, [this] { trayLeftButtonDown(); }, std::move(menu))) return false;
    m_desktop.windowCommand(*this, WindowCommand::Hide);
    return true;
}

void Tprog::TaskBarRemoveIcon() {
    m_desktop.setTrayIcon(false, u"Tessaro", nullptr, {});
    m_desktop.windowCommand(*this, WindowCommand::Show);
}

void Tprog::reportCaptureFailure(const std::exception& error) {
    const auto* clipboardError = dynamic_cast<const ClipboardError*>(&error);
    const std::u16string message = clipboardError ? clipboardError->text(german()) : utf8ToUtf16(error.what());
    const std::u16string text = (german() ? u"Erfassen fehlgeschlagen: " : u"Capture failed: ") + message;
    m_strip.setFailure(text);
    std::fprintf(stderr, "tessaro: %s\n", utf16ToUtf8(text).c_str());
}

void Tprog::showTransfer(std::size_t bytes, std::size_t total, bool finished) {
    if (finished) {
        if (m_transferShown) m_strip.setTransfer({});
        m_transferStart.reset();
        m_transferShown = false;
        return;
    }
    if (!m_transferStart) m_transferStart = m_desktop.tickCount();
    if (m_desktop.tickCount() - *m_transferStart < 1000) return;
    const auto megabytes = [](std::size_t n) { return DecimalText(static_cast<long long>(n >> 20)); };
    std::u16string text = german() ? u"Lese die Zwischenablage: " : u"Reading the clipboard: ";
    text += megabytes(bytes);
    if (total > 0) text += (german() ? u" von " : u" of ") + megabytes(total);
    text += u" MB";
    m_strip.setTransfer(std::move(text));
    m_transferShown = true;
}

void Tprog::trayLeftButtonDown() {
    TaskBarRemoveIcon();
    m_desktop.windowCommand(*this, WindowCommand::Restore);
}

void Tprog::einst_spr_deClick() {
    m_start.spr.setCaption(u"de");
    if (sprachealles) sprachealles();
}

void Tprog::einst_spr_enClick() {
    m_start.spr.setCaption(u"en");
    if (sprachealles) sprachealles();
}

void Tprog::sprache() {
    setCaption(u"Tessaro - Orvendal");
    applyCaptions(*this, mainWindowCaptions(), german());
    Hilfe1.setVisible(german());
    Information1.setVisible(!german());
    einst_spr_de.setChecked(german());
    einst_spr_en.setChecked(!german());
    m_strip.refresh();
    zuletzt.setColumnCaption(0, german() ? u"Zeit" : u"Time");
    zuletzt.setColumnCaption(1, german() ? u"Art" : u"Type");
    zuletzt.setColumnCaption(2, german() ? u"Inhalt" : u"Content");
    liste.setColumnCaption(0, u"Format");
    liste.setColumnCaption(1, german() ? u"Nummer" : u"Number");
    liste.setColumnCaption(2, german() ? u"Wert" : u"Value");
    savetxt_name.setItems(TextNameTemplates(german()));
    savetxt_name.setText(u"%firstchars% %num%");
    // The format list keeps its text; only the custom entry changes its language.
    std::u16string format = savetxt_format.text();
    savetxt_format.setItems(TextFormatEntries(german()));
    savetxt_format.setText(format.empty() ? savetxt_format.items().front() : std::move(format));
    saveimg_name.setItems(ImageNameTemplates(german()));
    saveimg_name.setText(saveimg_name.items().front());
    // The format list keeps its choice; only "Bild" and "Image" change places.
    for (ComboBox* list : numberLists()) TranslateNumberListEntries(*list, german());
    for (std::size_t i = 0; i < saveimg_format.items().size(); ++i) {
        saveimg_format.setItem(i, TranslateImageFormat(saveimg_format.items()[i], german()));
    }
    saveimg_format.setText(TranslateImageFormat(saveimg_format.text(), german()));
    act_ers_text_liste.setColumnCaption(0, german() ? u"Suchen nach:" : u"Search for:");
    act_ers_text_liste.setColumnCaption(1, german() ? u"Ersetzen durch:" : u"Replace by:");
    act_ers_text_liste.setColumnCaption(2, u"RegEx");
}

}  // namespace tessaro
