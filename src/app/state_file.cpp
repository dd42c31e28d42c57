// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/state_file.h"

#include <QHeaderView>
#include <QJsonArray>
#include <QTableView>
#include <QMenu>
#include <QMenuBar>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/qt_text.h"
#include "forms/buttons.h"
#include "forms/containers.h"
#include "forms/list_view.h"
#include "forms/menu_item.h"
#include "forms/scroll_bar.h"
#include "forms/text_controls.h"
#include "platform/atomic_file.h"

namespace tessaro {
namespace {

// Cells longer than this are written cut; the row's "lengths" tell the whole length.
constexpr std::size_t kMaxCellCharacters = 1 << 16;

QJsonObject listOf(const ListView& list, std::size_t cells) {
    QJsonArray rows;
    QJsonArray lengths;
    for (const ListItem& item : list.items()) {
        QJsonArray row;
        QJsonArray length;
        for (std::size_t i = 0; i < cells; ++i) {
            const std::u16string_view cell = item.cell(i);
            row.append(toQString(cell.substr(0, kMaxCellCharacters)));
            length.append(static_cast<qint64>(cell.size()));
        }
        rows.append(row);
        lengths.append(length);
    }
    QJsonObject result;
    result[QStringLiteral("rows")] = rows;
    result[QStringLiteral("lengths")] = lengths;
    return result;
}

QJsonObject controlsOf(const QWidget* view) {
    QJsonObject controls;
    if (!view) return controls;
    const auto put = [&controls](const QString& name, const QWidget* owner, const QRect& area) {
        const QPoint topLeft = owner->mapToGlobal(area.topLeft());
        controls[name] = QJsonArray{topLeft.x(), topLeft.y(), area.width(), area.height()};
    };
    for (const QWidget* child : view->findChildren<QWidget*>()) {
        if (!child->isVisible()) continue;
        if (!child->objectName().isEmpty()) put(child->objectName(), child, child->rect());
        // Tables also give the area their rows start in, and the height of a row.
        if (const auto* table = qobject_cast<const QTableView*>(child); table && !child->objectName().isEmpty()) {
            put(child->objectName() + QStringLiteral("/viewport"), table->viewport(), table->viewport()->rect());
            controls[child->objectName() + QStringLiteral("/rowHeight")] =
                QJsonArray{table->verticalHeader()->defaultSectionSize()};
        }
        // Menus and their items, by the names of their menu items.
        if (const auto* bar = qobject_cast<const QMenuBar*>(child)) {
            for (QAction* action : bar->actions()) {
                if (action->menu() && action->isVisible()) {
                    put(action->menu()->objectName(), bar, bar->actionGeometry(action));
                }
            }
        } else if (const auto* menu = qobject_cast<const QMenu*>(child)) {
            for (QAction* action : menu->actions()) {
                if (!action->objectName().isEmpty()) put(action->objectName(), menu, menu->actionGeometry(action));
            }
        }
    }
    return controls;
}

QJsonObject menuOf(const MenuItem& item) {
    QJsonObject entry;
    entry[QStringLiteral("name")] = QString::fromStdString(item.name());
    if (item.isSeparator()) {
        entry[QStringLiteral("separator")] = true;
        return entry;
    }
    entry[QStringLiteral("caption")] = toQString(item.caption());
    entry[QStringLiteral("visible")] = item.visible();
    entry[QStringLiteral("checked")] = item.checked();
    if (!item.shortcut().empty()) entry[QStringLiteral("shortcut")] = QString::fromStdString(item.shortcut());
    if (!item.items().empty()) {
        QJsonArray items;
        for (const MenuItem* sub : item.items()) items.append(menuOf(*sub));
        entry[QStringLiteral("items")] = items;
    }
    return entry;
}

// What a user reads in the window: its title, the caption of each control, the column
// heads of its lists, the entries of its drop-down lists, and its menus as a tree.
QJsonObject captionsOf(const Form& window) {
    QJsonObject controls;
    QJsonObject columns;
    QJsonObject lists;
    std::vector<const MenuItem*> menus;
    std::vector<const MenuItem*> subItems;
    for (const auto& owned : window.controls()) {
        const Control* control = owned.get();
        const QString name = QString::fromStdString(control->name());
        if (const auto* box = dynamic_cast<const CheckBox*>(control)) controls[name] = toQString(box->caption());
        if (const auto* radio = dynamic_cast<const RadioButton*>(control)) controls[name] = toQString(radio->caption());
        if (const auto* button = dynamic_cast<const Button*>(control)) controls[name] = toQString(button->caption());
        if (const auto* label = dynamic_cast<const Label*>(control)) controls[name] = toQString(label->caption());
        if (const auto* edit = dynamic_cast<const Edit*>(control); edit && !edit->placeholder().empty()) {
            controls[name] = toQString(edit->placeholder());
        }
        if (const auto* panel = dynamic_cast<const Panel*>(control); panel && !panel->caption().empty()) {
            controls[name] = toQString(panel->caption());
        }
        if (const auto* list = dynamic_cast<const ListView*>(control)) {
            QJsonArray heads;
            for (const ListColumn& column : list->columns()) heads.append(toQString(column.caption));
            columns[name] = heads;
        }
        if (const auto* combo = dynamic_cast<const ComboBox*>(control)) {
            QJsonArray items;
            for (const auto& item : combo->items()) items.append(toQString(item));
            lists[name] = items;
        }
        if (const auto* item = dynamic_cast<const MenuItem*>(control)) {
            if (!item->isSeparator()) controls[name] = toQString(item->caption());
            menus.push_back(item);
            subItems.insert(subItems.end(), item->items().begin(), item->items().end());
        }
    }
    QJsonArray tree;
    for (const MenuItem* item : menus) {
        if (std::find(subItems.begin(), subItems.end(), item) == subItems.end()) tree.append(menuOf(*item));
    }
    QJsonObject result;
    result[QStringLiteral("title")] = toQString(window.caption());
    result[QStringLiteral("controls")] = controls;
    result[QStringLiteral("columns")] = columns;
    result[QStringLiteral("lists")] = lists;
    result[QStringLiteral("menus")] = tree;
    return result;
}

// The value a configuration file would hold for each stored control of the window.
QJsonObject settingsOf(const Form& window) {
    QJsonObject values;
    for (const auto& owned : window.controls()) {
        const Control& control = *owned;
        if (!control.stored()) continue;
        const QString name = QString::fromStdString(control.name());
        switch (control.kind()) {
            case ControlKind::Edit: values[name] = toQString(static_cast<const Edit&>(control).text()); break;
            case ControlKind::ComboBox: values[name] = toQString(static_cast<const ComboBox&>(control).text()); break;
            case ControlKind::Memo: values[name] = toQString(static_cast<const Memo&>(control).text()); break;
            case ControlKind::CheckBox: values[name] = static_cast<const CheckBox&>(control).checked(); break;
            case ControlKind::RadioButton: values[name] = static_cast<const RadioButton&>(control).checked(); break;
            case ControlKind::ScrollBar: values[name] = static_cast<const ScrollBar&>(control).position(); break;
            case ControlKind::Panel: values[name] = control.visible(); break;
            default: break;
        }
    }
    return values;
}

}  // namespace

StateFile::StateFile(QString path, Tprog& window, const CaptureState& state, QWidget* view,
                     QObject* parent)
    : QObject(parent), m_path(std::move(path)), m_window(window), m_state(state), m_view(view) {
    const auto write = [this] { requestWrite(); };
    m_subscriptions.push_back(m_window.zuletzt.listChanged().subscribe([write](const ListChange&) { write(); }));
    m_subscriptions.push_back(
        m_window.act_ers_text_liste.listChanged().subscribe([write](const ListChange&) { write(); }));
    // Any change of a control may move the others (a detail row opening, say).
    for (const auto& control : m_window.controls()) m_subscriptions.push_back(control->changed().subscribe(write));
    // An open menu shows items that scripts may want to click, until it closes.
    if (view) {
        for (QMenu* menu : view->findChildren<QMenu*>()) {
            connect(menu, &QMenu::aboutToShow, this, [this] { requestWrite(); });
            connect(menu, &QMenu::aboutToHide, this, [this] { requestWrite(); });
        }
    }
}

void StateFile::watch(Form& window) {
    m_captionWindows.push_back(&window);
    m_subscriptions.push_back(window.changed().subscribe([this] { requestWrite(); }));
    if (&window == &m_window) return;  // its controls are watched from the start
    for (const auto& control : window.controls()) {
        m_subscriptions.push_back(control->changed().subscribe([this] { requestWrite(); }));
    }
}

void StateFile::requestWrite() {
    if (m_pending) return;
    m_pending = true;
    // A short delay lets the layouts settle first (a detail row opening moves the rows
    // below it only when its layout runs), so scripts read where controls really are.
    QTimer::singleShot(20, this, [this] { write(); });
}

void StateFile::clipboardHandled() {
    m_handledAt = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    requestWrite();
}

void StateFile::write() {
    m_pending = false;
    QJsonObject root;
    root[QStringLiteral("history")] = listOf(m_window.zuletzt, 4);
    // The rows the search above the history leaves shown, as indices into history.rows.
    QJsonArray shownRows;
    for (std::size_t i = 0; i < m_window.zuletzt.shownCount(); ++i) {
        shownRows.append(static_cast<qint64>(m_window.zuletzt.shownRow(i)));
    }
    root[QStringLiteral("historyShown")] = shownRows;
    root[QStringLiteral("historyFilter")] = toQString(m_window.ed_history_filter.text());
    root[QStringLiteral("details")] = listOf(m_window.liste, 3);
    root[QStringLiteral("replaceTable")] = listOf(m_window.act_ers_text_liste, 3);
    const Panel* page = m_window.pc.activePage();
    root[QStringLiteral("activePage")] = page ? QString::fromStdString(page->name()) : QString();
    QJsonArray tabs;
    for (const auto& tab : m_window.TabSet1.tabs()) tabs.append(toQString(tab));
    root[QStringLiteral("tabs")] = tabs;
    root[QStringLiteral("tabIndex")] = m_window.TabSet1.tabIndex();
    root[QStringLiteral("suppressCount")] = m_state.SuppressCount;
    root[QStringLiteral("captureActive")] = m_window.m_einst_aktiv.checked();
    root[QStringLiteral("windowVisible")] = m_window.visible();
    // The last failure, and the whole line the bottom strip shows.
    root[QStringLiteral("status")] = toQString(m_window.lastFailure());
    root[QStringLiteral("strip")] = toQString(m_window.lb_status.caption());
    // Seconds on the system's monotonic clock (CLOCK_MONOTONIC, as Python's time.monotonic()).
    root[QStringLiteral("clipboardHandledAt")] = m_handledAt;
    // The start of the shown text and its length: enough for scripts, small for large texts.
    const std::u16string& shown = m_window.display_txt.text();
    root[QStringLiteral("displayStart")] = toQString(std::u16string_view(shown).substr(0, 200));
    root[QStringLiteral("displayLength")] = static_cast<qint64>(shown.size());
    root[QStringLiteral("controls")] = controlsOf(m_view);
    QJsonObject settings;
    const std::vector<const Form*> windows =
        m_settingsWindows.empty() ? std::vector<const Form*>{&m_window} : m_settingsWindows;
    for (const Form* window : windows) settings[QString::fromStdString(window->name())] = settingsOf(*window);
    root[QStringLiteral("settings")] = settings;
    QJsonObject captions;
    for (const Form* window : m_captionWindows) captions[QString::fromStdString(window->name())] = captionsOf(*window);
    root[QStringLiteral("captions")] = captions;

    const QByteArray json = QJsonDocument(root).toJson(QJsonDocument::Compact);
    try {
        WriteFileAtomically(m_path.toStdString(), std::string_view(json.constData(), json.size()));
    } catch (const FileError& error) {
        std::fprintf(stderr, "tessaro: cannot write the state file: %s\n", error.what());
    }
}

}  // namespace tessaro
