// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/Canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/SystemColors.h"

namespace kv {

namespace {
int FloorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
}  // namespace

int Canvas::Axis::ToDevice(int x, qreal ratio) const {
    if (cell == 0) return qRound(x * ratio);
    const int c = FloorDiv(x, cell);
    const int d = x - c * cell;
    // The line takes the cell's first device pixels, the interior shares out the rest.
    return origin + c * pitch + (d == 0 ? 0 : line + (d - 1) * (pitch - line) / (cell - 1));
}

int Canvas::Axis::FromDevice(int d, qreal ratio) const {
    if (cell == 0) {
        int x = static_cast<int>(std::floor(d / ratio));
        while (ToDevice(x + 1, ratio) <= d) ++x;
        while (x > 0 && ToDevice(x, ratio) > d) --x;
        return x;
    }
    const int t = d - origin;
    const int c = FloorDiv(t, pitch);
    const int e = t - c * pitch;
    return c * cell + (e < line ? 0 : 1 + (e - line) * (cell - 1) / (pitch - line));
}

void Canvas::Resize(int width, int height, qreal devicePixelRatio) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    ratio_ = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    image_ = QImage(qRound(width_ * ratio_), qRound(height_ * ratio_), QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio_);
    FitGrid();
    Clear();
}

void Canvas::SetGrid(int cell, int columns, int rows) {
    gridCell_ = cell > 1 && columns > 0 && rows > 0 ? cell : 0;
    columns_ = columns;
    rows_ = rows;
    FitGrid();
}

void Canvas::FitGrid() {
    const int cell = gridCell_;
    x_ = y_ = Axis();
    if (cell == 0) return;
    const int whole = static_cast<int>(std::floor(ratio_ + 1e-9));
    int pitch = 0;
    int line = std::max(1, whole);
    if (ratio_ - whole < 1e-9 && whole >= 1) {
        // A whole ratio scales every pixel alike: nothing to fit.
        pitch = cell * whole;
    } else {
        pitch = std::min({qRound(cell * ratio_), (image_.width() - line) / columns_,
                          (image_.height() - line) / rows_});
    }
    if (pitch <= line) return;
    for (Axis* axis : {&x_, &y_}) {
        axis->cell = cell;
        axis->pitch = pitch;
        axis->line = line;
    }
    x_.origin = std::max(0, (image_.width() - columns_ * pitch - line) / 2);
    y_.origin = std::max(0, (image_.height() - rows_ * pitch - line) / 2);
}

QRect Canvas::DeviceRect(const QRect& logical) const {
    const int x1 = x_.ToDevice(logical.left(), ratio_);
    const int y1 = y_.ToDevice(logical.top(), ratio_);
    const int x2 = x_.ToDevice(logical.right() + 1, ratio_);
    const int y2 = y_.ToDevice(logical.bottom() + 1, ratio_);
    return QRect(x1, y1, x2 - x1, y2 - y1);
}

QPoint Canvas::FromDevice(QPoint device) const {
    return {x_.FromDevice(device.x(), ratio_), y_.FromDevice(device.y(), ratio_)};
}

QImage Canvas::DeviceView() {
    return QImage(image_.bits(), image_.width(), image_.height(), image_.bytesPerLine(),
                  image_.format());
}

void Canvas::Clear() {
    image_.fill(platform::ToRgb(background_));
    Touch(QRect(0, 0, width_, height_));
}

void Canvas::FillRect(int x1, int y1, int x2, int y2, std::uint32_t colour) {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    const QRect logical = QRect(QPoint(x1, y1), QPoint(x2, y2)) & QRect(0, 0, width_, height_);
    if (logical.isEmpty()) return;
    // Straight into the scan lines: the board's hot path is a handful of small fills.
    const QRect device = DeviceRect(logical);
    const int px1 = std::max(0, device.left());
    const int py1 = std::max(0, device.top());
    const int px2 = std::min(image_.width(), device.left() + device.width());
    const int py2 = std::min(image_.height(), device.top() + device.height());
    if (px2 <= px1 || py2 <= py1) {
        Touch(logical);
        return;
    }
    const QRgb rgb = platform::ToRgb(colour);
    // bits() once: scanLine() checks for a shared image on every row.
    uchar* bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    for (int y = py1; y < py2; ++y) {
        auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(line + px1, line + px2, rgb);
    }
    Touch(logical);
}

void Canvas::RectOutline(int x1, int y1, int x2, int y2, std::uint32_t colour) {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    const qreal whole = std::floor(ratio_ + 1e-9);
    if (whole < 1 || ratio_ - whole < 1e-9) {
        FillRect(x1, y1, x2, y1, colour);
        FillRect(x1, y2, x2, y2, colour);
        FillRect(x1, y1, x1, y2, colour);
        FillRect(x2, y1, x2, y2, colour);
        return;
    }
    // At a fractional ratio each side is the same whole number of device pixels wide, laid
    // inside the device rectangle of the outline.
    const QRect d = DeviceRect(QRect(QPoint(x1, y1), QPoint(x2, y2)));
    const int w = static_cast<int>(whole);
    QPainter painter;
    QImage view = DeviceView();
    painter.begin(&view);
    const QColor c = platform::ToQColor(colour);
    painter.fillRect(QRect(d.left(), d.top(), d.width(), std::min(w, d.height())), c);
    painter.fillRect(QRect(d.left(), d.bottom() - w + 1, d.width(), std::min(w, d.height())), c);
    painter.fillRect(QRect(d.left(), d.top(), std::min(w, d.width()), d.height()), c);
    painter.fillRect(QRect(d.right() - w + 1, d.top(), std::min(w, d.width()), d.height()), c);
    painter.end();
    Touch(QRect(QPoint(x1, y1), QPoint(x2, y1)));
    Touch(QRect(QPoint(x1, y2), QPoint(x2, y2)));
    Touch(QRect(QPoint(x1, y1), QPoint(x1, y2)));
    Touch(QRect(QPoint(x2, y1), QPoint(x2, y2)));
}

void Canvas::Line(int x1, int y1, int x2, int y2, std::uint32_t colour) {
    if (x1 == x2 && y1 == y2) return;
    // Straight lines are filled rectangles that stop one pixel short of the end point.
    if (y1 == y2) {
        FillRect(x2 > x1 ? x1 : x2 + 1, y1, x2 > x1 ? x2 - 1 : x1, y1, colour);
        return;
    }
    if (x1 == x2) {
        FillRect(x1, y2 > y1 ? y1 : y2 + 1, x1, y2 > y1 ? y2 - 1 : y1, colour);
        return;
    }
    QPainter painter(&image_);
    painter.setPen(QPen(platform::ToQColor(colour), 0));
    painter.drawLine(x1, y1, x2, y2);
    Touch(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                QPoint(std::max(x1, x2), std::max(y1, y2))));
}

void Canvas::StretchCopy(const QRect& target, const QImage& source, const QRect& sourceRect) {
    if (target.isEmpty() || source.isNull()) return;
    QImage view = DeviceView();
    QPainter painter(&view);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(DeviceRect(target), source, sourceRect);
    Touch(target);
}

void Canvas::DeviceCopy(const QRect& target, const QImage& picture) {
    if (target.isEmpty() || picture.isNull()) return;
    const QRect d = DeviceRect(target);
    QImage view = DeviceView();
    QPainter painter(&view);
    painter.drawImage(
        d.topLeft(), picture,
        QRect(0, 0, std::min(d.width(), picture.width()), std::min(d.height(), picture.height())));
    Touch(target);
}

void Canvas::Text(int x, int y, const QString& text, const QFont& font, std::uint32_t colour) {
    QPainter painter(&image_);
    painter.setFont(font);
    painter.setPen(platform::ToQColor(colour));
    const QFontMetrics metrics(font);
    painter.drawText(x, y + metrics.ascent(), text);
    Touch(QRect(x, y, metrics.horizontalAdvance(text) + 1, metrics.height()));
}

QRgb Canvas::Pixel(int x, int y) const {
    return image_.pixel(x_.ToDevice(x, ratio_), y_.ToDevice(y, ratio_)) | 0xFF000000u;
}

}  // namespace kv
