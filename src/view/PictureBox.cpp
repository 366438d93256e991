#include "view/PictureBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace kv {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    canvas_.Changed = [this](const QRect& r) { update(r); };
}

void PictureBox::Place(int x, int y, int width, int height) {
    setGeometry(x, y, width, height);
    if (canvas_.Width() != width || canvas_.Height() != height) {
        canvas_.Resize(width, height, devicePixelRatioF());
    }
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A box sized by a layout rather than by Place still gets an image of its size.
    if (canvas_.Width() != width() || canvas_.Height() != height()) {
        canvas_.Resize(width(), height(), devicePixelRatioF());
    }
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const qreal ratio = canvas_.Image().devicePixelRatio();
    // Rectangle by rectangle: a move dirties a few scattered cells, and copying each one
    // alone stays on the painter's plain blit path.
    for (const QRect& r : event->region()) {
        const QRect source(qRound(r.x() * ratio), qRound(r.y() * ratio), qRound(r.width() * ratio),
                           qRound(r.height() * ratio));
        painter.drawImage(r, canvas_.Image(), source);
    }
}

// Coordinates are converted to the nearest integer, as the program's handlers expect.
static int Nearest(qreal v) {
    return static_cast<int>(std::lround(v));
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (onMouseDown) {
        onMouseDown(event->button(), Nearest(event->position().x()),
                    Nearest(event->position().y()));
    }
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (onMouseUp) {
        onMouseUp(event->button(), Nearest(event->position().x()), Nearest(event->position().y()));
    }
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) {
        onMouseMove(event->buttons(), Nearest(event->position().x()),
                    Nearest(event->position().y()));
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
