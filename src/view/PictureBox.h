// A picture box: a widget showing a persistent backing image. Drawing goes into the
// image (see Canvas) and repaints only what changed; paintEvent merely copies the image.
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

    // Moves and sizes the box and re-creates its image at that size, cleared.
    void Place(int x, int y, int width, int height);

    // Event hooks, set by the window that owns the box. Mouse coordinates are box pixels.
    std::function<void(Qt::MouseButton, int x, int y)> onMouseDown;
    std::function<void(Qt::MouseButton, int x, int y)> onMouseUp;
    std::function<void(Qt::MouseButtons, int x, int y)> onMouseMove;
    std::function<void(QKeyEvent*)> onKeyDown;
    std::function<void()> onLostFocus;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    Canvas canvas_;
};

}  // namespace kv
