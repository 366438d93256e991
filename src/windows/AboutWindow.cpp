// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/AboutWindow.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include "platform/Services.h"
#include "platform/SystemColors.h"
#include "view/PictureBox.h"
#include "view/WindowStyle.h"
#include "windows/OpenUrl.h"

namespace kv {

namespace {

constexpr std::uint32_t kFace = 0xE0E0E0;
constexpr std::uint32_t kLinkColour = 0xC00000;  // dark blue

void Paint(QWidget* widget, QPalette::ColorRole role, std::uint32_t colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, platform::ToQColor(colour));
    widget->setPalette(palette);
}

// The window was laid out for the narrow bitmap MS Sans Serif; where another face stands in
// for it, a text too wide for its label is condensed (and, if need be, made smaller) so that
// nothing is cut off.
void FitText(QLabel* label) {
    QFont font = label->font();
    const QString text = label->text();
    for (int guard = 0; guard < 64; ++guard) {
        const QFontMetrics metrics(font);
        const int width = metrics.horizontalAdvance(text);
        if (metrics.height() > label->height() && font.pointSizeF() > 6) {
            font.setPointSizeF(font.pointSizeF() - 0.5);
            continue;
        }
        if (width <= label->width()) break;
        const int stretch = font.stretch() > 0 ? font.stretch() : 100;
        if (stretch <= 50) break;
        // Straight to the proportional width, then a point at a time for the rounding.
        const int proportional = stretch * label->width() / width;
        font.setStretch(std::max(50, std::min(stretch - 1, proportional)));
    }
    label->setFont(font);
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, int width, int height) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, width, height);
    label->setAutoFillBackground(true);
    Paint(label, QPalette::Window, kFace);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

QString SiteAddress() {
    return QStringLiteral("https://ru.wikipedia.org/wiki/Пентамино");
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        onClick) {
        onClick();
    }
}

frmOprog::frmOprog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("О программе"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setFixedSize(kClientWidth, kClientHeight);
    setAutoFillBackground(true);
    Paint(this, QPalette::Window, kFace);
    setFont(DialogFont(12));

    // Created first so that it comes first in the tab order.
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setGeometry(248, 164, 89, 33);
    Paint(ok_, QPalette::Button, kFace);
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    image1_ = new QLabel(this);
    image1_->setGeometry(16, 8, 71, 126);
    image1_->setPixmap(QPixmap(QStringLiteral(":/emblem.png")));

    label2_[0] = MakeLabel(this, QStringLiteral("Автор: команда «Квелт»"), 104, 8, 220, 20);
    label2_[1] = MakeLabel(this, QStringLiteral("Справка: «Справка.html»"), 104, 32, 242, 20);
    label2_[2] = MakeLabel(this, QStringLiteral("Сайт:"), 104, 56, 48, 20);

    label1_ = new LinkLabel(QStringLiteral("Пентамино в Википедии"), this);
    label1_->setGeometry(152, 56, 182, 20);
    label1_->setAutoFillBackground(true);
    label1_->setTextFormat(Qt::PlainText);
    Paint(label1_, QPalette::Window, kFace);
    Paint(label1_, QPalette::WindowText, kLinkColour);
    QFont linkFont = font();
    linkFont.setUnderline(true);
    label1_->setFont(linkFont);
    platform::SetPointer(label1_, platform::Pointer::PointingHand);
    label1_->onClick = [this] { Label1_Click(); };

    for (QLabel* label : {label2_[0], label2_[1], label2_[2], static_cast<QLabel*>(label1_)}) {
        FitText(label);
    }

    // Two one-pixel lines, dark over light, engrave the separator; like any line of the
    // platform they stop one pixel short of their end point (336).
    line1_ = new QWidget(this);
    line1_->setGeometry(8, 152, 336 - 8, 1);
    line1_->setAutoFillBackground(true);
    Paint(line1_, QPalette::Window, platform::COLOR_MENUTEXT);
    line2_ = new QWidget(this);
    line2_->setGeometry(8, 153, 336 - 8, 1);
    line2_->setAutoFillBackground(true);
    Paint(line2_, QPalette::Window, platform::COLOR_WINDOW);

    picture1_ = new PictureBox(this);
    picture1_->setFocusPolicy(Qt::NoFocus);
    picture1_->canvas().SetBackground(0xFFFFFF);
    picture1_->Place(8, 160, 80, 45);

    ok_->setFocus();
    Form_Load();
}

QLabel* frmOprog::Label2(int index) const {
    return index >= 3 && index <= 5 ? label2_[index - 3] : nullptr;
}

void frmOprog::Form_Load() {
    Canvas& canvas = picture1_->canvas();
    canvas.FillRect(0, 15, 79, 30, 0xFF0000);  // blue
    canvas.FillRect(0, 31, 79, 45, 0x0000FF);  // red
}

void frmOprog::Label1_Click() {
    // The link keeps a pointer of its own, so it changes together with the window's.
    platform::SetPointer(this, platform::Pointer::Wait);
    platform::SetPointer(label1_, platform::Pointer::Wait);
    const bool opened = SaveFileUrl(SiteAddress());
    platform::SetPointer(label1_, platform::Pointer::PointingHand);
    platform::SetPointer(this, platform::Pointer::Default);
    // With no browser the player can still copy the address into one elsewhere.
    if (!opened) {
        if (platform::MessageBoxes* messages = platform::services().messages) {
            messages->ShowCopyable(SiteUnopenedText());
        }
    }
}

QString SiteUnopenedText() {
    return QStringLiteral("Браузер не открылся. Адрес сайта можно выделить и скопировать:\n\n") +
           SiteAddress();
}

void ShowAbout() {
    // Owned by the main window only so that it stays off the task bar and above the game.
    frmOprog window(platform::MainWidget());
    CentreOnScreen(&window);
    window.exec();
}

}  // namespace kv
