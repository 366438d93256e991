// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/PictureBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "platform/SystemColors.h"

namespace kv {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    canvas_.Changed = [this](const QRect& r) { update(FromDevice(canvas_.DeviceRect(r))); };
}

QRect PictureBox::FromDevice(const QRect& device) const {
    const qreal ratio = canvas_.Ratio();
    if (ratio == 1.0) return device.translated(frame_, frame_);
    return QRectF(device.x() / ratio + frame_, device.y() / ratio + frame_, device.width() / ratio,
                  device.height() / ratio)
        .toAlignedRect();
}

void PictureBox::FitImage() {
    const int w = std::max(0, width() - 2 * frame_);
    const int h = std::max(0, height() - 2 * frame_);
    // A move to a screen of another pixel ratio needs an image in its pixels.
    if (canvas_.Width() != w || canvas_.Height() != h || canvas_.Ratio() != devicePixelRatioF()) {
        canvas_.Resize(w, h, devicePixelRatioF());
    }
}

void PictureBox::Place(int x, int y, int width, int height) {
    setGeometry(x, y, width, height);
    FitImage();
}

void PictureBox::SetSunkenFrame(bool on, int band) {
    band_ = std::max(1, band);
    frame_ = on ? 2 * band_ : 0;
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
        // The sunken edge: shadow above and left, light below and right, two bands deep.
        const int w = width();
        const int h = height();
        const int b = band_;
        auto line = [&painter](int x1, int y1, int x2, int y2, std::uint32_t colour) {
            painter.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), platform::ToQColor(colour));
        };
        line(0, 0, w - 1 - b, b - 1, platform::COLOR_BTNSHADOW);
        line(0, 0, b - 1, h - 1 - b, platform::COLOR_BTNSHADOW);
        line(0, h - b, w - 1, h - 1, platform::COLOR_BTNHIGHLIGHT);
        line(w - b, 0, w - 1, h - 1, platform::COLOR_BTNHIGHLIGHT);
        line(b, b, w - 1 - 2 * b, 2 * b - 1, platform::COLOR_3DDKSHADOW);
        line(b, b, 2 * b - 1, h - 1 - 2 * b, platform::COLOR_3DDKSHADOW);
        line(b, h - 2 * b, w - 1 - b, h - 1 - b, platform::COLOR_3DLIGHT);
        line(w - 2 * b, b, w - 1 - b, h - 1 - b, platform::COLOR_3DLIGHT);
    }
    const QImage& image = canvas_.Image();
    const qreal ratio = canvas_.Ratio();
    const QRect client(frame_, frame_, canvas_.Width(), canvas_.Height());
    // Rectangle by rectangle: a move dirties a few scattered cells, and copying each one
    // alone stays on the painter's plain blit path. The image's device pixels go to the
    // screen's one for one, so a grid fitted to them stays sharp.
    for (const QRect& dirty : event->region()) {
        const QRect r = (dirty & client).translated(-frame_, -frame_);
        if (r.isEmpty()) continue;
        if (ratio == 1.0) {
            painter.drawImage(r.translated(frame_, frame_), image, r);
            continue;
        }
        const QRect source =
            QRectF(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio)
                .toAlignedRect() &
            image.rect();
        if (source.isEmpty()) continue;
        painter.drawImage(QPointF(source.x() / ratio + frame_, source.y() / ratio + frame_), image,
                          source);
    }
}

QPoint PictureBox::ToClient(QPointF position) const {
    const qreal ratio = canvas_.Ratio();
    const QPointF p = position - QPointF(frame_, frame_);
    // Converted to the nearest integer, as the program's handlers expect; at a larger ratio
    // the device pixel under the point tells which logical pixel of the picture it shows.
    if (ratio == 1.0) return canvas_.FromDevice(QPoint(std::lround(p.x()), std::lround(p.y())));
    return canvas_.FromDevice(QPoint(static_cast<int>(std::floor(p.x() * ratio)),
                                     static_cast<int>(std::floor(p.y() * ratio))));
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (onMouseDown) {
        const QPoint p = ToClient(event->position());
        onMouseDown(event->button(), p.x(), p.y());
    }
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (onMouseUp) {
        const QPoint p = ToClient(event->position());
        onMouseUp(event->button(), p.x(), p.y());
    }
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) {
        const QPoint p = ToClient(event->position());
        onMouseMove(event->buttons(), p.x(), p.y());
    }
}

// The second press of a double click is not a button going down for the play handlers (its
// release still comes), so a double click acts once, as a single click does.
void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
    if (onKeyDown) {
        onKeyDown(event);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void PictureBox::wheelEvent(QWheelEvent* event) {
    if (onWheel) {
        onWheel(event->angleDelta().y());
        event->accept();
    } else {
        QWidget::wheelEvent(event);
    }
}

bool PictureBox::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && toolTipAt) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = toolTipAt(help->pos().x() - frame_, help->pos().y() - frame_);
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    return QWidget::event(event);
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
