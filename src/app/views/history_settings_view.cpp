// SPDX-License-Identifier: GPL-3.0-or-later
// The history settings dialog: two groups of check boxes bound to the model, an OK button,
// centred on the screen each time it is shown.
#include "app/views/history_settings_view.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QScreen>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "app/views/bindings.h"
#include "app/views/subscription_keeper.h"

namespace tessaro {
namespace {

QGroupBox* group(QWidget* owner, Panel& model, std::initializer_list<CheckBox*> boxes) {
    auto* box = new QGroupBox(owner);
    box->setObjectName(QString::fromStdString(model.name()));
    const auto sync = [box, &model] { box->setTitle(toQString(model.caption())); };
    sync();
    keepWhileAlive(*box, model.changed().subscribe(sync));
    auto* layout = new QVBoxLayout(box);
    for (CheckBox* check : boxes) {
        auto* widget = new QCheckBox(box);
        widget->setObjectName(QString::fromStdString(check->name()));
        bindCheckBox(widget, *check);
        layout->addWidget(widget);
    }
    return box;
}

}  // namespace

HistorySettingsView::HistorySettingsView(Teinstverlauf& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), m_model(model) {
    setModal(false);
    setWindowTitle(toQString(model.caption()));
    keepWhileAlive(*this, model.changed().subscribe([this] { setWindowTitle(toQString(m_model.caption())); }));
    setFixedSize(Teinstverlauf::kDesignWidth, Teinstverlauf::kDesignHeight);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group(this, model.gb1, {&model.cb_history_txt, &model.cb_history_img}));
    layout->addWidget(
        group(this, model.gb2, {&model.cb_save_txt, &model.cb_save_img, &model.cb_save_time}));
    layout->addStretch(1);
    auto* ok = new QPushButton(this);
    ok->setObjectName(QString::fromStdString(model.Button1.name()));
    bindButton(ok, model.Button1);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

void HistorySettingsView::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
}

void HistorySettingsView::closeEvent(QCloseEvent* event) {
    // The close box hides the window like its OK button.
    event->ignore();
    m_model.Button1.click();
}

}  // namespace tessaro
