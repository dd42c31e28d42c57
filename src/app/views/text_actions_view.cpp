// SPDX-License-Identifier: GPL-3.0-or-later
// The boxes place their controls at the design rows of the headless window, stretching
// them across the width; the replacement table adds keys and row dragging to the list view.
#include "app/views/text_actions_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <functional>
#include <vector>

#include "app/views/action_box.h"
#include "app/views/bindings.h"
#include "app/views/list_view_model.h"
#include "app/views/subscription_keeper.h"

namespace tessaro {
namespace {

constexpr int kMargin = 8;
const QString kRowsMime = QStringLiteral("application/x-tessaro-replacement-rows");

// A bevelled box whose children sit at fixed design rows and get their horizontal place
// from the box's width each time it changes.
class DesignBox final : public QFrame {
public:
    using Placer = std::function<QRect(int width)>;

    DesignBox() {
        setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
        setAutoFillBackground(true);
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, darkerFace(kActionBoxDarkening));
        setPalette(palette);
    }

    template <typename W>
    W* place(W* widget, Placer placer) {
        widget->setParent(this);
        m_children.push_back({widget, std::move(placer)});
        return widget;
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QFrame::resizeEvent(event);
        for (const auto& [widget, placer] : m_children) widget->setGeometry(placer(width()));
    }

private:
    std::vector<std::pair<QWidget*, Placer>> m_children;
};

// The left or right half of the box's inner width.
QRect half(int width, bool right, int top, int height, int indent = 0) {
    const int w = (width - 3 * kMargin) / 2;
    const int x = right ? 2 * kMargin + w : kMargin;
    return {x + indent, top, w - indent, height};
}

QLabel* label(Label& model) {
    auto* widget = new QLabel;
    widget->setObjectName(QString::fromStdString(model.name()));
    bindLabel(widget, model);
    return widget;
}

QPlainTextEdit* memo(Memo& model) {
    auto* widget = new QPlainTextEdit;
    widget->setObjectName(QString::fromStdString(model.name()));
    bindMemo(widget, model);
    return widget;
}

QCheckBox* checkBox(CheckBox& model) {
    auto* widget = new QCheckBox;
    widget->setObjectName(QString::fromStdString(model.name()));
    bindCheckBox(widget, model);
    return widget;
}

QPushButton* button(Button& model) {
    auto* widget = new QPushButton;
    widget->setObjectName(QString::fromStdString(model.name()));
    bindButton(widget, model);
    return widget;
}

// Keys, row dragging and the model's selection for the replacement table.
class TableInput final : public QObject {
public:
    TableInput(QTableView* view, Tprog& model)
        : QObject(view), m_view(view), m_viewport(view->viewport()), m_model(model) {
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
        view->setAcceptDrops(true);
        view->viewport()->setAcceptDrops(true);
        // Selections made by the window (Ctrl+A, rows moved) reach the view once the
        // model has settled.
        keepWhileAlive(*this, model.act_ers_text_liste.listChanged().subscribe([this](const ListChange& change) {
            if (change.kind == ListChange::Kind::Selection) scheduleSelectionSync();
        }));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_view && event->type() == QEvent::KeyPress) {
            return keyPress(static_cast<QKeyEvent*>(event));
        }
        // Compared with the pointer kept at the start: events still arrive while the view is
        // being destroyed, when asking it for its viewport is no longer allowed.
        if (watched != m_viewport) return false;
        switch (event->type()) {
            case QEvent::MouseButtonPress:
                return mousePress(static_cast<QMouseEvent*>(event));
            case QEvent::MouseMove:
                return mouseMove(static_cast<QMouseEvent*>(event));
            case QEvent::MouseButtonRelease:
                return mouseRelease(static_cast<QMouseEvent*>(event));
            case QEvent::DragEnter:
            case QEvent::DragMove: {
                auto* drag = static_cast<QDragMoveEvent*>(event);
                if (m_model.act_ers_text_listeDragOver(true)) {
                    drag->acceptProposedAction();
                } else {
                    drag->ignore();
                }
                return true;
            }
            case QEvent::Drop: {
                auto* drop = static_cast<QDropEvent*>(event);
                const QModelIndex index = m_view->indexAt(drop->position().toPoint());
                std::optional<std::size_t> target;
                if (index.isValid()) target = static_cast<std::size_t>(index.row());
                m_model.act_ers_text_listeDragDrop(drop->source() == m_view, target);
                drop->acceptProposedAction();
                return true;
            }
            default:
                return false;
        }
    }

private:
    bool keyPress(QKeyEvent* key) {
        const bool ctrl = key->modifiers().testFlag(Qt::ControlModifier);
        if (key->key() == Qt::Key_A) return m_model.act_ers_text_listeKeyDown(kKeyA, ctrl);
        if (key->key() == Qt::Key_Delete)
            return m_model.act_ers_text_listeKeyDown(kKeyDelete, ctrl);
        return false;
    }

    bool mousePress(QMouseEvent* mouse) {
        m_pressRow = -1;
        if (mouse->button() != Qt::LeftButton || mouse->modifiers() != Qt::NoModifier) return false;
        const QModelIndex index = m_view->indexAt(mouse->position().toPoint());
        if (!index.isValid()) return false;
        m_pressRow = index.row();
        m_pressPos = mouse->position().toPoint();
        // A press on a selected row may start dragging all selected rows: keep them.
        m_heldSelection = m_view->selectionModel()->isRowSelected(index.row(), {});
        return m_heldSelection;
    }

    bool mouseMove(QMouseEvent* mouse) {
        if (m_pressRow < 0 || !(mouse->buttons() & Qt::LeftButton)) return false;
        if ((mouse->position().toPoint() - m_pressPos).manhattanLength() <
            QApplication::startDragDistance()) {
            return m_heldSelection;
        }
        m_pressRow = -1;
        m_heldSelection = false;
        auto* drag = new QDrag(m_view);
        auto* data = new QMimeData;
        data->setData(kRowsMime, QByteArray());
        drag->setMimeData(data);
        drag->exec(Qt::MoveAction);
        return true;
    }

    bool mouseRelease(QMouseEvent*) {
        const bool held = m_heldSelection;
        if (held && m_pressRow >= 0) {
            // A click without dragging selects just that row, as a plain click does.
            const QModelIndex index = m_view->model()->index(m_pressRow, 0);
            m_view->selectionModel()->select(
                index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            m_view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        }
        m_pressRow = -1;
        m_heldSelection = false;
        return held;
    }

    void scheduleSelectionSync() {
        if (m_syncPending) return;
        m_syncPending = true;
        QTimer::singleShot(0, this, [this] {
            m_syncPending = false;
            const ListView& list = m_model.act_ers_text_liste;
            QItemSelectionModel* selection = m_view->selectionModel();
            QItemSelection wanted;
            bool same = true;
            for (std::size_t i = 0; i < list.count(); ++i) {
                const int row = static_cast<int>(i);
                const bool selected = list.item(i).selected;
                if (selected != selection->isRowSelected(row, {})) same = false;
                if (selected) {
                    wanted.select(m_view->model()->index(row, 0),
                                  m_view->model()->index(row, m_view->model()->columnCount() - 1));
                }
            }
            if (!same) selection->select(wanted, QItemSelectionModel::ClearAndSelect);
        });
    }

    QTableView* m_view;
    QWidget* m_viewport;
    Tprog& m_model;
    int m_pressRow = -1;
    QPoint m_pressPos;
    bool m_heldSelection = false;
    bool m_syncPending = false;
};

}  // namespace

QWidget* buildSearchReplaceRow(Tprog& model) {
    namespace design = search_replace_layout;
    auto* box = new DesignBox;
    box->setObjectName(QString::fromStdString(model.pa_suchenersetzen.name()));
    const auto at = [](const design::Band& band, bool right, int indent = 0) {
        return [band, right, indent](int width) {
            return half(width, right, band.top, band.height, indent);
        };
    };
    const auto across = [](const design::Band& band) {
        return [band](int width) {
            return QRect(kMargin, band.top, width - 2 * kMargin, band.height);
        };
    };
    box->place(label(model.act_ers_la1), at(design::kCaptions, false));
    box->place(label(model.act_ers_la2), at(design::kCaptions, true));
    box->place(memo(model.act_ers_text_suchen), at(design::kMemos, false));
    box->place(memo(model.act_ers_text_ersetzen), at(design::kMemos, true));
    static constexpr int kRegexBoxWidth = 90;
    const auto regexBox = [](bool right) {
        return [right](int width) {
            QRect r = half(width, right, design::kRegexBoxes.top, design::kRegexBoxes.height);
            r.setWidth(std::min(r.width(), kRegexBoxWidth));
            return r;
        };
    };
    box->place(checkBox(model.act_ers_text_suchen_regex), regexBox(false));
    box->place(checkBox(model.act_ers_text_ersetzen_regex), regexBox(true));
    for (Label* error :
         {&model.act_ers_text_suchen_regfehler, &model.act_ers_text_ersetzen_regfehler}) {
        QLabel* widget = label(*error);
        box->place(widget, at(design::kRegexBoxes, error == &model.act_ers_text_ersetzen_regfehler,
                              kRegexBoxWidth + 4));
        QFont bold = widget->font();
        bold.setBold(true);
        widget->setFont(bold);
        // A long message is cut by the box; the whole of it shows as a tip.
        keepWhileAlive(*widget, error->changed().subscribe([widget] { widget->setToolTip(widget->text()); }));
    }
    box->place(checkBox(model.act_ers_casesensitive), across(design::kCaseSensitive));
    box->place(checkBox(model.cb_se_mehrfach), across(design::kShowTable));
    const std::array<Button*, 3> buttons = {&model.act_ers_text_add, &model.act_ers_text_delete,
                                            &model.act_ers_text_delmark};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        box->place(button(*buttons[i]), [i](int width) {
            const int w = (width - 4 * kMargin) / 3;
            return QRect(kMargin + static_cast<int>(i) * (w + kMargin), design::kButtons.top, w,
                         design::kButtons.height);
        });
    }
    auto* table = new QTableView;
    table->setObjectName(QString::fromStdString(model.act_ers_text_liste.name()));
    bindListView(table, model.act_ers_text_liste);
    new TableInput(table, model);
    box->place(table, across(design::kTable));

    return detailRowFor(box, *model.detailRows[0]);
}

QWidget* buildTextAddRow(Tprog& model) {
    auto* box = new DesignBox;
    box->setObjectName(QString::fromStdString(model.pa_textadd.name()));
    constexpr int kCaptionTop = 6;
    constexpr int kMemoTop = 22;
    box->place(label(model.Label2), [](int width) { return half(width, false, kCaptionTop, 14); });
    box->place(label(model.Label3), [](int width) { return half(width, true, kCaptionTop, 14); });
    const auto memoPlace = [&model](bool right) {
        return [&model, right](int width) {
            return half(width, right, kMemoTop, model.pa_textadd.height() - kMemoTop - kMargin);
        };
    };
    box->place(memo(model.act_textadd_vorne), memoPlace(false));
    box->place(memo(model.act_textadd_hinten), memoPlace(true));
    return detailRowFor(box, *model.detailRows[1]);
}

}  // namespace tessaro
