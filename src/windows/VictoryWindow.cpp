// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/VictoryWindow.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QShowEvent>
#include <QTime>
#include <QTimer>
#include <cmath>

#include "view/PictureBox.h"
#include "view/WindowStyle.h"

namespace kv {

namespace {
const QString kWord = QStringLiteral("ПОБЕДА!!!");
constexpr int kClientWidth = 584;
constexpr int kClientHeight = 151;
}  // namespace

QFont frmEnd::PictureFont() {
    // Times New Roman resolves through fontconfig to its metric twin where it is absent.
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(36);
    font.setBold(true);
    font.setStyleHint(QFont::Serif);
    return font;
}

frmEnd::frmEnd(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Конец игры"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(DialogFont(12));

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setGeometry(488, 112, 89, 33);
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    picture1_ = new PictureBox(this);
    picture1_->setFocusPolicy(Qt::NoFocus);
    picture1_->setFont(PictureFont());
    picture1_->Place(8, 8, 160, 84);
    ok_->setFocus();

    timer1_ = new QTimer(this);
    timer1_->setInterval(100);
    // A coarse timer may fire a few milliseconds early; the first frame must wait 100 ms.
    timer1_->setTimerType(Qt::PreciseTimer);
    connect(timer1_, &QTimer::timeout, this, &frmEnd::Timer1_Timer);
    // Placed by hand, so that showing it does not centre it on the main window instead.
    CentreOnScreen(this);
    Form_Load();
}

void frmEnd::Form_Load() {
    TextColor = 0x00FF00;
    const QFontMetricsF metrics(picture1_->font());
    const int width = static_cast<int>(std::lround(metrics.horizontalAdvance(kWord) + 4));
    const int left = static_cast<int>(std::lround((kClientWidth - width) * 0.5));
    picture1_->Place(left, 8, width, 84);
    if (auto* events = platform::services().events) events->ProcessPendingEvents();
    LetterCount = static_cast<int>(kWord.size());
    timer1_->start();
}

void frmEnd::Timer1_Timer() {
    // Any generator will do: each letter needs a fresh, even choice of 0, 10 or 20.
    QRandomGenerator random(static_cast<quint32>(QTime::currentTime().msecsSinceStartOfDay()) ^
                            QRandomGenerator::global()->generate());
    for (int j = 1; j <= LetterCount; ++j) {
        letterDrop_[j] = 10 * static_cast<int>(random.bounded(3));
    }
    Canvas& canvas = picture1_->canvas();
    canvas.Clear();
    const QFont font = picture1_->font();
    const QFontMetricsF metrics(font);
    auto pass = [&](std::uint32_t colour, int lift) {
        int x = lift;
        for (int j = 1; j <= LetterCount; ++j) {
            const QString letter = kWord.mid(j - 1, 1);
            canvas.Text(x, letterDrop_[j] + lift, letter, font, colour);
            x += static_cast<int>(std::lround(metrics.horizontalAdvance(letter)));
        }
    };
    pass(0x808080, 4);   // the grey shadow, 4 pixels right and down
    pass(TextColor, 0);  // the green word in front
}

void frmEnd::done(int result) {
    // Unloading ends the animation.
    timer1_->stop();
    QDialog::done(result);
}


std::unique_ptr<frmEnd> VictoryWindowPresenter::Load() {
    return std::make_unique<frmEnd>(platform::MainWidget());
}

void VictoryWindowPresenter::ShowVictory() {
    const std::unique_ptr<frmEnd> window = Load();
    window->exec();
}

}  // namespace kv
