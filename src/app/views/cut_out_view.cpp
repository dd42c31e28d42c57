// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/cut_out_view.h"

#include <algorithm>

#include <QComboBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "app/views/bindings.h"
#include "app/views/image_view.h"
#include "app/views/program_font.h"
#include "app/views/subscription_keeper.h"

namespace tessaro {

CutOutView::CutOutView(Tcutauswahl& model, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_model(model) {
    setObjectName(QStringLiteral("Tcutauswahl"));
    setFont(programFont());
    setMinimumSize(Tcutauswahl::kMinWidth, Tcutauswahl::kMinHeight);
    setWindowTitle(toQString(model.caption()));
    keepWhileAlive(*this, model.changed().subscribe([this] { setWindowTitle(toQString(m_model.caption())); }));

    auto* layout = new QVBoxLayout(this);
    auto* area = new QScrollArea(this);
    area->setObjectName(QStringLiteral("ScrollBox2"));
    area->setBackgroundRole(QPalette::Dark);  // the workspace colour around the picture
    area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* picture = new PictureWidget(model.bild, area);
    picture->setObjectName(QStringLiteral("bild"));
    picture->setCursor(Qt::CrossCursor);
    bindImageView(area, picture, model.ScrollBox2);
    layout->addWidget(area, 1);
    // The picture reports screen positions; the dialog works in picture pixels.
    const auto local = [picture](Point screen) {
        const QPoint p = picture->mapFromGlobal(QPoint(screen.x, screen.y));
        return Point{p.x(), p.y()};
    };
    model.bild.onMouseDown = [this, area, picture, local](MouseButton button, Point screen) {
        m_model.setViewportSize(area->viewport()->width(), area->viewport()->height());
        const bool wasSelecting = m_model.Selecting;
        m_model.bildMouseDown(button, local(screen));
        if (!wasSelecting && m_model.Selecting) {
            // The pointer stays on the picture while a frame is dragged, where it is now; one
            // pixel past the right and bottom edges, so that a frame can take the last column
            // and row.
            m_confinement = QRect(picture->mapToGlobal(QPoint(0, 0)), picture->size() + QSize(1, 1));
        }
    };
    model.bild.onMouseMove = [this, local](bool, Point screen) {
        Point at = screen;
        if (m_confinement) {
            // X11 has no cursor confinement of its own: pull the pointer back instead.
            const QPoint inside(std::clamp(screen.x, m_confinement->left(), m_confinement->right()),
                                std::clamp(screen.y, m_confinement->top(), m_confinement->bottom()));
            if (inside != QPoint(screen.x, screen.y)) {
                QCursor::setPos(inside);
                at = {inside.x(), inside.y()};
            }
        }
        m_model.bildMouseMove(local(at));
    };
    model.bild.onMouseUp = [this](MouseButton, Point) {
        m_model.bildMouseUp();
        if (!m_model.Selecting) m_confinement.reset();
    };

    auto* row = new QHBoxLayout;
    const std::array<std::pair<Label*, ComboBox*>, 4> margins = {
        {{&model.Label15, &model.act_zuschlinks},
         {&model.Label16, &model.act_zuschrechts},
         {&model.Label17, &model.act_zuschoben},
         {&model.Label18, &model.act_zuschunten}}};
    for (const auto& [label, list] : margins) {
        auto* caption = new QLabel(this);
        bindLabel(caption, *label);
        row->addWidget(caption);
        auto* box = new QComboBox(this);
        box->setObjectName(QString::fromStdString(list->name()));
        box->setMinimumWidth(80);
        bindComboBox(box, *list);
        row->addWidget(box);
    }
    row->addStretch(1);
    for (Button* model_button : {&model.Abbrechen, &model.Button1}) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromStdString(model_button->name()));
        bindButton(button, *model_button);
        row->addWidget(button);
    }
    if (auto* ok = findChild<QPushButton*>(QStringLiteral("Button1"))) ok->setDefault(true);
    layout->addLayout(row);
    keepWhileAlive(*this, model.focusRequested().subscribe([this](Control& control) {
        if (auto* widget = findChild<QWidget*>(QString::fromStdString(control.name()))) widget->setFocus();
    }));
}

void CutOutView::showEvent(QShowEvent* event) {
    // Every showing opens maximized, whatever the user did with the last one. Without a
    // window manager nobody acts on that request, so the window takes the screen itself.
    if (const QScreen* where = screen()) setGeometry(where->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    QDialog::showEvent(event);
}

}  // namespace tessaro
