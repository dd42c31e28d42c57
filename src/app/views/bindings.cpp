#include "app/views/bindings.h"

#include <QSignalBlocker>

#include "app/qt_text.h"

namespace tessaro {
namespace {

// Texts longer than this are shown cut, with a note of how much is left out.
constexpr std::size_t kMaxShownCharacters = 2'000'000;

QString displayText(const std::u16string& text) {
    const std::size_t shown = std::min(text.size(), kMaxShownCharacters);
    QString result = toQString(std::u16string_view(text).substr(0, shown));
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (shown < text.size()) {
        result += QStringLiteral("\n\n[… %1 more characters not shown]").arg(text.size() - shown);
    }
    return result;
}

}  // namespace

void bindCheckBox(QCheckBox* widget, CheckBox& model) {
    const auto sync = [widget, &model] {
        const QSignalBlocker block(widget);
        widget->setText(toQString(model.caption()));
        widget->setChecked(model.checked());
        widget->setVisible(model.visible());
        widget->setEnabled(model.enabled());
    };
    sync();
    model.changed().subscribe(sync);
    QObject::connect(widget, &QCheckBox::clicked, widget, [&model](bool checked) { model.setChecked(checked); });
}

void bindMenuItem(QAction* action, MenuItem& model) {
    const auto sync = [action, &model] {
        const QSignalBlocker block(action);
        action->setText(toQString(model.caption()));
        action->setStatusTip(toQString(model.hint()));
        // Only a checked item shows a mark, as in the menus this program came from.
        action->setCheckable(model.checked());
        action->setChecked(model.checked());
        action->setVisible(model.visible());
        action->setEnabled(model.enabled());
    };
    if (!model.shortcut().empty()) {
        action->setShortcut(QKeySequence(QString::fromStdString(model.shortcut())));
    }
    sync();
    model.changed().subscribe(sync);
    QObject::connect(action, &QAction::triggered, action, [action, &model, sync] {
        model.click();
        sync();  // the handler decides the check mark, not the action's own toggle
    });
}

void bindPanelCaption(QLabel* widget, Panel& model) {
    const auto sync = [widget, &model] { widget->setText(toQString(model.caption())); };
    sync();
    model.changed().subscribe(sync);
}

void bindMemoView(QPlainTextEdit* widget, Memo& model) {
    widget->setReadOnly(true);
    widget->setLineWrapMode(QPlainTextEdit::NoWrap);
    const auto sync = [widget, &model] { widget->setPlainText(displayText(model.text())); };
    sync();
    model.changed().subscribe(sync);
}

void bindTabSet(QTabBar* widget, TabSet& model) {
    const auto sync = [widget, &model] {
        const QSignalBlocker block(widget);
        while (widget->count() > static_cast<int>(model.tabs().size())) widget->removeTab(widget->count() - 1);
        for (std::size_t i = 0; i < model.tabs().size(); ++i) {
            const int index = static_cast<int>(i);
            if (index < widget->count()) {
                widget->setTabText(index, toQString(model.tabs()[i]));
            } else {
                widget->addTab(toQString(model.tabs()[i]));
            }
        }
        widget->setCurrentIndex(model.tabIndex());
    };
    sync();
    model.changed().subscribe(sync);
    QObject::connect(widget, &QTabBar::currentChanged, widget, [&model](int index) { model.setTabIndex(index); });
}

void bindPageControl(QStackedWidget* widget, PageControl& model,
                     const std::map<const Panel*, QWidget*>& pages) {
    const auto sync = [widget, &model, pages] {
        const auto it = pages.find(model.activePage());
        if (it != pages.end()) widget->setCurrentWidget(it->second);
    };
    sync();
    model.changed().subscribe(sync);
}

}  // namespace tessaro
