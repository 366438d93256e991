// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A persistent drawing surface: the backing image of a picture box. Every drawing call
// paints into the image and reports the rectangle it touched, so that the widget showing
// it repaints just that part. Coordinates are logical pixels, corners included.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>

class QFont;

namespace kv {

class Canvas {
  public:
    Canvas() = default;

    // Re-creates the image at the given logical size, cleared to the background.
    void Resize(int width, int height, qreal devicePixelRatio = 1.0);
    int Width() const { return width_; }
    int Height() const { return height_; }
    qreal Ratio() const { return ratio_; }

    // Lays a grid of columns x rows cells of cell logical pixels over the picture, as the
    // board's. At a fractional pixel ratio plain scaling would make lines 1 and 2 device
    // pixels wide by turns; with the grid every line is GridLine() device pixels and every
    // cell GridPitch(), the grid centred in the image. A cell of 0 takes the grid away.
    void SetGrid(int cell, int columns, int rows);
    // Device pixels per cell and per line; 0 and 1 without a grid.
    int GridPitch() const { return x_.pitch; }
    int GridLine() const { return x_.line; }

    // A logical rectangle as the device pixels it covers in the image.
    QRect DeviceRect(const QRect& logical) const;
    // The logical point a device pixel of the image shows.
    QPoint FromDevice(QPoint device) const;

    void SetBackground(std::uint32_t colour) { background_ = colour; }
    std::uint32_t Background() const { return background_; }

    void Clear();
    // Filled rectangle with both corners included.
    void FillRect(int x1, int y1, int x2, int y2, std::uint32_t colour);
    // One-pixel outline with both corners included.
    void RectOutline(int x1, int y1, int x2, int y2, std::uint32_t colour);
    // A line whose end point is not painted (the platform's rule for lines).
    void Line(int x1, int y1, int x2, int y2, std::uint32_t colour);
    // Stretched plain copy of a part of a stored bitmap.
    void StretchCopy(const QRect& target, const QImage& source, const QRect& sourceRect);
    // Copies picture pixel for pixel onto the device pixels of target, from its top-left.
    void DeviceCopy(const QRect& target, const QImage& picture);
    // Text with a transparent background; (x, y) is its top-left corner.
    void Text(int x, int y, const QString& text, const QFont& font, std::uint32_t colour);

    // The logical colour of one pixel, for checks.
    QRgb Pixel(int x, int y) const;
    const QImage& Image() const { return image_; }

    // Called with the logical rectangle each drawing call changed.
    std::function<void(const QRect&)> Changed;

  private:
    void Touch(const QRect& r) {
        if (Changed) Changed(r);
    }

    // One direction of the grid: logical coordinates to device pixels and back.
    struct Axis {
        int cell = 0;  // logical pixels per cell; 0: plain scaling
        int pitch = 0;
        int line = 1;
        int origin = 0;
        int ToDevice(int x, qreal ratio) const;
        int FromDevice(int d, qreal ratio) const;
    };
    void FitGrid();
    // Paints into the image's own pixels, whatever its ratio.
    QImage DeviceView();

    Axis x_;
    Axis y_;
    int gridCell_ = 0;
    int columns_ = 0;
    int rows_ = 0;
    QImage image_;
    int width_ = 0;
    int height_ = 0;
    qreal ratio_ = 1.0;
    std::uint32_t background_ = 0x8000000F;
};

}  // namespace kv
