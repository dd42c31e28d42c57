// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/main_window_view.h"

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QScrollArea>
#include <QTableView>
#include <QVBoxLayout>
#include <QTimer>
#include <QWindowStateChangeEvent>

#include "app/qt_text.h"
#include "app/views/action_box.h"
#include "app/views/bindings.h"
#include "app/views/history_table.h"
#include "app/views/image_action_rows.h"
#include "app/views/image_view.h"
#include "app/views/list_view_model.h"
#include "app/views/program_font.h"
#include "app/views/save_row_view.h"
#include "app/views/subscription_keeper.h"
#include "app/views/text_actions_view.h"

namespace tessaro {
namespace {

QVBoxLayout* tightColumn(QWidget* owner, int margin) {
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(0);
    return layout;
}

}  // namespace

MainWindowView::MainWindowView(Tprog& model) : m_model(model) {
    setFont(programFont());
    setWindowTitle(toQString(model.caption()));
    keepWhileAlive(*this, model.changed().subscribe([this] {
        setWindowTitle(toQString(m_model.caption()));
        applyModelGeometry();
    }));
    resize(withinScreen(QSize(model.clientWidth(), model.clientHeight())));
    m_syncedGeometry = QRect(model.left(), model.top(), model.clientWidth(), model.clientHeight());

    auto* central = new QWidget(this);
    auto* layout = tightColumn(central, 0);
    m_columns = new QSplitter(Qt::Horizontal, central);
    m_columns->setHandleWidth(3);
    m_columns->setChildrenCollapsible(false);
    QWidget* history = buildHistoryColumn();
    history->setMinimumWidth(250);
    m_columns->addWidget(history);

    m_rows = new QSplitter(Qt::Vertical, m_columns);
    m_rows->setHandleWidth(3);
    m_rows->setOpaqueResize(false);  // panels follow when the mouse is released
    m_rows->setChildrenCollapsible(false);
    QWidget* content = buildContentArea();
    content->setMinimumHeight(150);
    QWidget* actions = buildActionsArea();
    actions->setMinimumHeight(250);
    m_rows->addWidget(content);
    m_rows->addWidget(actions);
    m_rows->setMinimumWidth(470);
    m_columns->addWidget(m_rows);
    m_columns->setSizes({model.Panel2.width(), model.Panel3.width()});
    m_rows->setSizes({model.Panel5.height(), model.Panel4.height()});
    layout->addWidget(m_columns, 1);

    auto* strip = new QLabel(central);
    strip->setObjectName(QStringLiteral("lb_status"));
    strip->setFixedHeight(model.Panel1.height());
    strip->setAlignment(Qt::AlignCenter);
    strip->setContentsMargins(8, 0, 7, 0);
    bindClickableLabel(strip, model.lb_status);
    layout->addWidget(strip);
    setCentralWidget(central);
    buildMenus();
    keepWhileAlive(*this, model.focusRequested().subscribe([this](Control& control) {
        if (auto* widget = findChild<QWidget*>(QString::fromStdString(control.name()))) widget->setFocus();
    }));
}

QWidget* MainWindowView::framed(Panel& titleBar, QWidget* body) {
    auto* area = new QWidget;
    auto* outer = tightColumn(area, 3);
    auto* frame = new QFrame(area);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* inner = tightColumn(frame, 1);
    auto* title = new QLabel(frame);
    title->setObjectName(QString::fromStdString(titleBar.name()));
    title->setFixedHeight(23);
    title->setAutoFillBackground(true);
    QPalette palette = title->palette();
    palette.setColor(QPalette::Window, darkerFace(50));
    palette.setColor(QPalette::WindowText, QColor(78, 78, 78));
    title->setPalette(palette);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(13);
    font.setBold(true);
    title->setFont(font);
    bindPanelCaption(title, titleBar);
    inner->addWidget(title);
    inner->addWidget(body, 1);
    outer->addWidget(frame);
    return area;
}

QWidget* MainWindowView::buildHistoryColumn() {
    auto* body = new QWidget;
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(5, 8, 5, 5);
    auto* search = new QLineEdit(body);
    search->setObjectName(QString::fromStdString(m_model.ed_history_filter.name()));
    search->setClearButtonEnabled(true);
    bindEdit(search, m_model.ed_history_filter);
    layout->addWidget(search);
    // Ctrl+F from anywhere in the window.
    auto* find = new QAction(this);
    find->setObjectName(QStringLiteral("ed_history_filter/focus"));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    find->setShortcutContext(Qt::WindowShortcut);
    addAction(find);
    connect(find, &QAction::triggered, this, [this] { m_model.focusHistoryFilter(); });
    QTableView* list = buildHistoryTable(m_model, body);
    layout->addWidget(list, 1);
    for (CheckBox* box : {&m_model.cb_history_txt, &m_model.cb_history_img}) {
        auto* check = new QCheckBox(body);
        check->setObjectName(QString::fromStdString(box->name()));
        bindCheckBox(check, *box);
        layout->addWidget(check);
    }
    return framed(m_model.Panel7, body);
}

QWidget* MainWindowView::buildContentArea() {
    auto* body = new QWidget;
    auto* layout = tightColumn(body, 2);
    auto* tabs = new QTabBar(body);
    tabs->setObjectName(QStringLiteral("TabSet1"));
    tabs->setDrawBase(false);
    tabs->setExpanding(false);
    bindTabSet(tabs, m_model.TabSet1);
    layout->addWidget(tabs);

    auto* pages = new QStackedWidget(body);
    auto* text = new QPlainTextEdit(pages);
    text->setObjectName(QStringLiteral("display_txt"));
    bindMemoView(text, m_model.display_txt);
    auto* scroll = new QScrollArea(pages);
    scroll->setObjectName(QStringLiteral("ScrollBox2"));
    bindImageView(scroll, new PictureWidget(m_model.display_img), m_model.ScrollBox2);
    auto* details = new QTableView(pages);
    details->setObjectName(QStringLiteral("liste"));
    bindListView(details, m_model.liste);
    pages->addWidget(text);
    pages->addWidget(scroll);
    pages->addWidget(details);
    bindPageControl(pages, m_model.pc,
                    {{&m_model.tab_txt, text}, {&m_model.tab_img, scroll}, {&m_model.tab_details, details}});
    layout->addWidget(pages, 1);
    return framed(m_model.Panel11, body);
}

QWidget* MainWindowView::buildActionsArea() {
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* rows = new QWidget(scroll);
    auto* layout = new QVBoxLayout(rows);
    layout->setContentsMargins(6, 3, 9, 3);
    layout->setSpacing(0);
    const std::array<CheckBox*, 6> switches = {&m_model.cb_suchenersetzen, &m_model.cb_textadd,
                                               &m_model.cb_savetxt,        &m_model.cb_cutimg,
                                               &m_model.cb_resizeimg,      &m_model.cb_saveimg};
    // Stacked as the window stacks its rows: a header row of the panel's height with the
    // switch, then the detail row, which shows and sizes itself by its panel.
    for (std::size_t i = 0; i < switches.size(); ++i) {
        auto* check = new QCheckBox(rows);
        check->setObjectName(QString::fromStdString(switches[i]->name()));
        check->setFixedHeight(m_model.headerRows[i]->height());
        bindCheckBox(check, *switches[i]);
        layout->addWidget(check);
        layout->addWidget(buildDetailRow(i));
    }
    layout->addStretch(1);
    scroll->setWidget(rows);
    return framed(m_model.Panel9, scroll);
}

QWidget* MainWindowView::buildDetailRow(std::size_t action) {
    const QColor background = darkerFace(kActionBoxDarkening);
    switch (action) {
        case 0:
            return buildSearchReplaceRow(m_model);
        case 1:
            return buildTextAddRow(m_model);
        case 2: {
            auto* tip = new QLabel;
            tip->setObjectName(QStringLiteral("Label19"));
            tip->setWordWrap(true);
            bindLabel(tip, m_model.Label19);
            return buildSaveRow({*m_model.detailRows[2], m_model.Label9, m_model.savetxt_ordner,
                                 m_model.savetxt_ordnerwahl, m_model.Label7, m_model.savetxt_name,
                                 m_model.Label8, m_model.savetxt_format},
                                {tip}, background);
        }
        case 3:
            return buildCutRow(m_model, background);
        case 4:
            return buildResizeRow(m_model, background);
        default: {
            std::vector<QWidget*> moments;
            for (CheckBox* model : {&m_model.save_img_vorher, &m_model.save_img_nachher}) {
                auto* check = new QCheckBox;
                check->setObjectName(QString::fromStdString(model->name()));
                bindCheckBox(check, *model);
                moments.push_back(check);
            }
            return buildSaveRow({*m_model.detailRows[5], m_model.Label4, m_model.saveimg_ordner,
                                 m_model.saveimg_ordnerwahl, m_model.Label5, m_model.saveimg_name,
                                 m_model.Label6, m_model.saveimg_format},
                                moments, background);
        }
    }
}

void MainWindowView::buildMenus() {
    for (MenuItem* top : {&m_model.Programm1, &m_model.einst, &m_model.m_konfig, &m_model.Hilfe1,
                          &m_model.Information1}) {
        QMenu* menu = menuBar()->addMenu(toQString(top->caption()));
        menu->setObjectName(QString::fromStdString(top->name()));
        menu->menuAction()->setObjectName(QString::fromStdString(top->name()));
        menu->menuAction()->setVisible(top->visible());
        addNewMenuActions(menu, *top);
        // The configuration menu grows by the files saved or loaded while the program runs;
        // of the help menus only the one of the current language shows.
        keepWhileAlive(*menu, top->changed().subscribe([this, menu, top] {
            menu->setTitle(toQString(top->caption()));
            menu->menuAction()->setVisible(top->visible());
            addNewMenuActions(menu, *top);
        }));
    }
}

void MainWindowView::addNewMenuActions(QMenu* menu, MenuItem& model) {
    int& shown = m_shownItems[&model];
    for (; shown < static_cast<int>(model.items().size()); ++shown) {
        MenuItem* item = model.items()[static_cast<std::size_t>(shown)];
        if (item->isSeparator()) {
            menu->addSeparator();
        } else if (!item->items().empty()) {
            QMenu* submenu = menu->addMenu(toQString(item->caption()));
            submenu->setObjectName(QString::fromStdString(item->name()));
            submenu->menuAction()->setObjectName(QString::fromStdString(item->name()));
            addNewMenuActions(submenu, *item);
            keepWhileAlive(*submenu, item->changed().subscribe([submenu, item] { submenu->setTitle(toQString(item->caption())); }));
        } else {
            QAction* action = menu->addAction(QString());
            action->setObjectName(QString::fromStdString(item->name()));
            bindMenuItem(action, *item);
        }
    }
}

void MainWindowView::applyModelGeometry() {
    const QRect wanted(m_model.left(), m_model.top(), m_model.clientWidth(), m_model.clientHeight());
    if (wanted == m_syncedGeometry) return;
    m_syncedGeometry = wanted;
    if (isMaximized()) return;
    if (pos() != wanted.topLeft()) move(wanted.topLeft());
    const QSize size = withinScreen(wanted.size());
    if (this->size() != size) resize(size);
}

QSize MainWindowView::withinScreen(QSize wanted) const {
    // The design size is larger than a small screen; where no window manager maximizes the
    // window, it is made to fit so that nothing lies beyond the screen's edge.
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!shown) return wanted;
    return wanted.boundedTo(shown->availableGeometry().size());
}

void MainWindowView::reportGeometry() {
    if (isMinimized()) return;
    m_syncedGeometry = QRect(pos(), size());
    m_model.setPosition(x(), y());
    m_model.setClientSize(width(), height());
}

void MainWindowView::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    reportGeometry();
}

void MainWindowView::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    reportGeometry();
    // The splitters take their new size after this event: apply the rule once they have.
    if (!m_resizePending) {
        m_resizePending = true;
        QTimer::singleShot(0, this, [this] { applyResizeRule(); });
    }
}

void MainWindowView::applyResizeRule() {
    m_resizePending = false;
    const QList<int> columns = m_columns->sizes();
    const QList<int> rows = m_rows->sizes();
    if (columns.size() < 2 || rows.size() < 2) return;
    m_model.Panel2.setWidth(columns[0]);
    m_model.Panel3.setWidth(columns[1]);
    m_model.Panel5.setHeight(rows[0]);
    m_model.Panel4.setHeight(rows[1]);
    m_model.FormResize();
    m_columns->setSizes({m_model.Panel2.width(), columns[0] + columns[1] - m_model.Panel2.width()});
    m_rows->setSizes({rows[0] + rows[1] - m_model.Panel4.height(), m_model.Panel4.height()});
}

void MainWindowView::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        m_model.sysCommand(SysCommand::Minimize);
    }
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) m_model.FormActivate();
}

void MainWindowView::closeEvent(QCloseEvent* event) {
    // A failing save on exit keeps the window open; the message has said why.
    if (!m_model.FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    m_model.FormClose();
}

}  // namespace tessaro
