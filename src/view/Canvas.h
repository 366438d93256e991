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

    QImage image_;
    int width_ = 0;
    int height_ = 0;
    qreal ratio_ = 1.0;
    std::uint32_t background_ = 0x8000000F;
};

}  // namespace kv
