// SPDX-License-Identifier: GPL-3.0-or-later
// The image page: a scroll area holding the captured picture at natural size. Only the
// visible part is painted, so very large pictures stay cheap to show; dragging with the
// mouse scrolls, as the headless window decides.
#pragma once

#include <QImage>
#include <QScrollArea>
#include <QWidget>

#include "forms/containers.h"
#include "forms/picture.h"

namespace tessaro {

class PictureWidget final : public QWidget {
public:
    explicit PictureWidget(Picture& model, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void sync();

    Picture& m_model;
    QImage m_image;
};

// Binds a scroll area and its picture widget to the scroll box and picture models.
void bindImageView(QScrollArea* area, PictureWidget* picture, ScrollBox& scrollBox);

}  // namespace tessaro
