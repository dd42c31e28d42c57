// SPDX-License-Identifier: GPL-3.0-or-later
// The history settings dialog: two groups of check boxes bound to the model, an OK button,
// centred on the screen each time it is shown.
#include "app/views/history_settings_view.h"

#include <QCloseEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "app/views/bindings.h"
#include "app/views/subscription_keeper.h"

namespace tessaro {

HistorySettingsView::HistorySettingsView(Teinstverlauf& model, QWidget* parent)
    : FittedDialog(parent, QSize(Teinstverlauf::kDesignWidth, Teinstverlauf::kDesignHeight)), m_model(model) {
    setObjectName(QString::fromStdString(model.name()));
    setWindowTitle(toQString(model.caption()));
    keepWhileAlive(*this, model.changed().subscribe([this] { setWindowTitle(toQString(m_model.caption())); }));
    const auto group = [this](Panel& panel, std::initializer_list<CheckBox*> boxes) {
        QVBoxLayout* column = addGroup(panel, 4);
        for (CheckBox* box : boxes) {
            auto* check = new QCheckBox(column->parentWidget());
            check->setObjectName(QString::fromStdString(box->name()));
            bindCheckBox(check, *box);
            column->addWidget(check);
        }
    };
    group(model.gb1, {&model.cb_history_txt, &model.cb_history_img});
    group(model.gb2, {&model.cb_save_txt, &model.cb_save_img, &model.cb_save_time});
    addButton(model.Button1, true);
}

void HistorySettingsView::showEvent(QShowEvent* event) {
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
    FittedDialog::showEvent(event);
}

void HistorySettingsView::closeEvent(QCloseEvent* event) {
    // The close box hides the window like its OK button.
    event->ignore();
    m_model.Button1.click();
}

}  // namespace tessaro
