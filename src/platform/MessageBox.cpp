// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageBox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>

#include "platform/Services.h"

namespace kv::platform {

int TitleBarWidth(const QString& title) {
    QFont font = QApplication::font();
    font.setBold(true);
    // An icon and up to three buttons of about a line's height each, and the margins.
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(title) + 4 * (metrics.height() + 8) + 24;
}

std::unique_ptr<QMessageBox> NewMessageBox(QMessageBox::Icon icon, const QString& text,
                                           QMessageBox::StandardButtons buttons) {
    auto box = std::make_unique<QMessageBox>(icon, AppTitle(), text, buttons, MainWidget());
    // The box sizes itself to its text and ignores a minimum width; a spacer across its grid
    // is what widens it.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        const int margins = grid->contentsMargins().left() + grid->contentsMargins().right();
        grid->addItem(new QSpacerItem(TitleBarWidth(AppTitle()) - margins, 0, QSizePolicy::Minimum,
                                      QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    return box;
}

std::unique_ptr<QMessageBox> NewCopyableMessageBox(const QString& text) {
    auto box = NewMessageBox(QMessageBox::Information, QString(), QMessageBox::Ok);
    // Plain, so that an address is shown as it is and not taken for markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return box;
}

}  // namespace kv::platform
