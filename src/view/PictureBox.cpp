// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/PictureBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/SystemColors.h"

namespace kv {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    canvas_.Changed = [this](const QRect& r) { update(r.translated(frame_, frame_)); };
}

void PictureBox::FitImage() {
    const int w = std::max(0, width() - 2 * frame_);
    const int h = std::max(0, height() - 2 * frame_);
    if (canvas_.Width() != w || canvas_.Height() != h) canvas_.Resize(w, h, devicePixelRatioF());
}

void PictureBox::Place(int x, int y, int width, int height) {
    setGeometry(x, y, width, height);
    FitImage();
}

void PictureBox::SetSunkenFrame(bool on) {
    frame_ = on ? 2 : 0;
    FitImage();
    update();
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A box sized by a layout rather than by Place still gets an image of its size.
    FitImage();
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (frame_ > 0) {
        // The sunken edge: shadow above and left, light below and right, two lines deep.
        const int w = width();
        const int h = height();
        auto line = [&painter](int x1, int y1, int x2, int y2, std::uint32_t colour) {
            painter.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), platform::ToQColor(colour));
        };
        line(0, 0, w - 2, 0, platform::COLOR_BTNSHADOW);
        line(0, 0, 0, h - 2, platform::COLOR_BTNSHADOW);
        line(0, h - 1, w - 1, h - 1, platform::COLOR_BTNHIGHLIGHT);
        line(w - 1, 0, w - 1, h - 1, platform::COLOR_BTNHIGHLIGHT);
        line(1, 1, w - 3, 1, platform::COLOR_3DDKSHADOW);
        line(1, 1, 1, h - 3, platform::COLOR_3DDKSHADOW);
        line(1, h - 2, w - 2, h - 2, platform::COLOR_3DLIGHT);
        line(w - 2, 1, w - 2, h - 2, platform::COLOR_3DLIGHT);
    }
    const qreal ratio = canvas_.Image().devicePixelRatio();
    const QRect client(frame_, frame_, canvas_.Width(), canvas_.Height());
    // Rectangle by rectangle: a move dirties a few scattered cells, and copying each one
    // alone stays on the painter's plain blit path.
    for (const QRect& dirty : event->region()) {
        const QRect r = (dirty & client).translated(-frame_, -frame_);
        if (r.isEmpty()) continue;
        const QRect source(qRound(r.x() * ratio), qRound(r.y() * ratio), qRound(r.width() * ratio),
                           qRound(r.height() * ratio));
        painter.drawImage(r.translated(frame_, frame_), canvas_.Image(), source);
    }
}

// Coordinates are converted to the nearest integer, as the program's handlers expect.
static int Nearest(qreal v) {
    return static_cast<int>(std::lround(v));
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (onMouseDown) {
        onMouseDown(event->button(), Nearest(event->position().x()) - frame_,
                    Nearest(event->position().y()) - frame_);
    }
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (onMouseUp) {
        onMouseUp(event->button(), Nearest(event->position().x()) - frame_,
                  Nearest(event->position().y()) - frame_);
    }
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) {
        onMouseMove(event->buttons(), Nearest(event->position().x()) - frame_,
                    Nearest(event->position().y()) - frame_);
    }
}

// The second press of a double click is not a button going down for the play handlers (its
// release still comes), so a double click acts once, as a single click does.
void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

void PictureBox::keyPressEvent(QKeyEvent* event) {
    if (onKeyDown) {
        onKeyDown(event);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void PictureBox::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (onLostFocus) onLostFocus();
}

// Tab is a key like any other for the board and the palettes: it must not move the focus.
bool PictureBox::focusNextPrevChild(bool) {
    return false;
}

}  // namespace kv
