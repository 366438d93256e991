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

void Canvas::Resize(int width, int height, qreal devicePixelRatio) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    ratio_ = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    image_ = QImage(qRound(width_ * ratio_), qRound(height_ * ratio_), QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio_);
    Clear();
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
    const int px1 = qRound(logical.left() * ratio_);
    const int py1 = qRound(logical.top() * ratio_);
    const int px2 = std::min(image_.width(), qRound((logical.right() + 1) * ratio_));
    const int py2 = std::min(image_.height(), qRound((logical.bottom() + 1) * ratio_));
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
    FillRect(x1, y1, x2, y1, colour);
    FillRect(x1, y2, x2, y2, colour);
    FillRect(x1, y1, x1, y2, colour);
    FillRect(x2, y1, x2, y2, colour);
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
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, source, sourceRect);
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
    return image_.pixel(qRound(x * ratio_), qRound(y * ratio_)) | 0xFF000000u;
}

}  // namespace kv
