#include "app/views/output_settings_view.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "app/views/bindings.h"

namespace tessaro {

OutputSettingsView::OutputSettingsView(Teinstausgabe& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), m_model(model) {
    setModal(false);
    setWindowTitle(toQString(model.caption()));
    model.changed().subscribe([this] { setWindowTitle(toQString(m_model.caption())); });

    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox2"));
    group->setTitle(toQString(model.GroupBox2.caption()));
    model.GroupBox2.changed().subscribe([group, this] { group->setTitle(toQString(m_model.GroupBox2.caption())); });
    auto* groupLayout = new QVBoxLayout(group);
    auto* intro = new QLabel(group);
    intro->setWordWrap(true);
    bindLabel(intro, model.Label5);
    groupLayout->addWidget(intro);
    for (RadioButton* button : model.controlsOf<RadioButton>()) {
        auto* radio = new QRadioButton(group);
        radio->setObjectName(QString::fromStdString(button->name()));
        bindRadioButton(radio, *button);
        groupLayout->addWidget(radio);
    }
    auto* info = new QLabel(group);
    info->setWordWrap(true);
    bindLabel(info, model.Label4);
    groupLayout->addWidget(info);
    layout->addWidget(group);

    auto* ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("OK"));
    bindButton(ok, model.OK);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

void OutputSettingsView::closeEvent(QCloseEvent* event) {
    // The close box hides the window like its OK button.
    event->ignore();
    m_model.OK.click();
}

}  // namespace tessaro
