// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/WindowStyle.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kv {

QFont DialogFont(qreal points) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

namespace {

void MoveToCentre(QWidget* window) {
    const QWidget* owner = window->parentWidget();
    const QScreen* screen = owner && owner->screen() ? owner->screen()
                            : window->screen()       ? window->screen()
                                                     : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QSize outer = window->isVisible() ? window->frameGeometry().size() : window->size();
    window->move(area.x() + (area.width() - outer.width()) / 2,
                 area.y() + (area.height() - outer.height()) / 2);
}

// Centres its window again on the first show, then removes itself.
class CentreOnFirstShow final : public QObject {
  public:
    explicit CentreOnFirstShow(QWidget* window) : QObject(window), window_(window) {
        setObjectName(QStringLiteral("CentreOnFirstShow"));
        window->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Show) {
            window_->removeEventFilter(this);
            MoveToCentre(window_);
            deleteLater();
        }
        return false;
    }

  private:
    QWidget* window_;
};

}  // namespace

void CentreOnScreen(QWidget* window) {
    if (!window) return;
    MoveToCentre(window);
    new CentreOnFirstShow(window);
}

void KeepPlace(QWidget* window) {
    if (!window) return;
    const auto pending = window->findChildren<QObject*>(QStringLiteral("CentreOnFirstShow"),
                                                        Qt::FindDirectChildrenOnly);
    for (QObject* centring : pending) delete centring;
}

}  // namespace kv
