// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A picture box: a widget showing a persistent backing image. Drawing goes into the
// image (see Canvas) and repaints only what changed; paintEvent merely copies the image.
// A box may have the standard 2-pixel sunken frame: its outer size then includes the frame,
// and the image, the drawing and the mouse all use client coordinates inside it.
#pragma once

#include <QWidget>
#include <functional>

#include "view/Canvas.h"

namespace kv {

class PictureBox : public QWidget {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent = nullptr);

    Canvas& canvas() { return canvas_; }
    const Canvas& canvas() const { return canvas_; }

    // Moves and sizes the box (outer size, frame included) and re-creates its image at the
    // client size, cleared.
    void Place(int x, int y, int width, int height);

    // Gives the box the sunken frame (or takes it away); the image is re-created cleared.
    // Each of the frame's two edges is band pixels wide.
    void SetSunkenFrame(bool on, int band = 1);
    // Width of the frame on each side: 0, or twice the band.
    int FrameWidth() const { return frame_; }
    // The client coordinate of the picture under a widget position.
    QPoint ToClient(QPointF widgetPosition) const;
    // A client coordinate as a coordinate of the widget.
    QPoint FromClient(QPoint p) const { return p + QPoint(frame_, frame_); }

    // Event hooks, set by the window that owns the box. Mouse coordinates are box pixels.
    std::function<void(Qt::MouseButton, int x, int y)> onMouseDown;
    std::function<void(Qt::MouseButton, int x, int y)> onMouseUp;
    std::function<void(Qt::MouseButtons, int x, int y)> onMouseMove;
    std::function<void(QKeyEvent*)> onKeyDown;
    // The wheel's vertical turn in eighths of a degree (120 for one notch, up or away positive).
    std::function<void(int angleDelta)> onWheel;
    // The tool tip for box position (x, y); empty for none.
    std::function<QString(int x, int y)> toolTipAt;
    std::function<void()> onLostFocus;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    void FitImage();
    // The widget rectangle showing a rectangle of the image's device pixels.
    QRect FromDevice(const QRect& device) const;

    Canvas canvas_;
    int frame_ = 0;
    int band_ = 1;
};

}  // namespace kv
