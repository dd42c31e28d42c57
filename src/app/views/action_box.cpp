// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/action_box.h"

#include <QApplication>
#include <QPalette>
#include <QResizeEvent>
#include <QVBoxLayout>

#include <algorithm>

#include "app/views/subscription_keeper.h"

namespace tessaro {
namespace {

class DetailRow final : public QWidget {
public:
    DetailRow(QFrame* box, Panel& model) : m_model(model) {
        setObjectName(QString::fromStdString(model.name()));
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(15, 3, 0, 3);
        layout->addWidget(box);
        // Hidden before it has a parent: shown, it would open as a window of its own.
        if (!model.visible()) hide();
        fit();
        keepWhileAlive(*this, model.changed().subscribe([this] {
            setVisible(m_model.visible());
            fit();
        }));
    }

protected:
    bool event(QEvent* event) override {
        // The box's controls changed what they need (a caption of the other language).
        if (event->type() == QEvent::LayoutRequest) fit();
        return QWidget::event(event);
    }

    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        // Wrapped captions need more or fewer lines at the new width.
        if (event->size().width() != event->oldSize().width()) fit();
    }

private:
    // As high as the panel, or as the controls need at the row's width if that is more. A
    // fixed height takes effect at once, before the layout around the row runs again.
    void fit() {
        const QLayout* rows = layout();
        const int width = this->width() > 0 ? this->width() : rows->totalSizeHint().width();
        const int needed = rows->hasHeightForWidth() ? rows->totalMinimumHeightForWidth(width)
                                                     : rows->totalMinimumSize().height();
        setFixedHeight(std::max(m_model.height(), needed));
    }

    Panel& m_model;
};

}  // namespace

QColor darkerFace(int amount) {
    const QColor face = QApplication::palette().color(QPalette::Button);
    const auto sub = [amount](int c) { return (c - amount) & 0xFF; };
    return QColor(sub(face.red()), sub(face.green()), sub(face.blue()));
}

QFrame* newActionBox(const QColor& background) {
    auto* box = new QFrame;
    box->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    box->setAutoFillBackground(true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, background);
    box->setPalette(palette);
    return box;
}

QWidget* detailRowFor(QFrame* box, Panel& model) { return new DetailRow(box, model); }

}  // namespace tessaro
