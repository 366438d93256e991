// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// frmEnd: "Конец игры", the word "ПОБЕДА!!!" jumping ten times a second.
#pragma once

#include <QDialog>
#include <QFont>
#include <memory>

#include "platform/Services.h"

class QPushButton;
class QTimer;

namespace kv {

class PictureBox;

class frmEnd : public QDialog {
    Q_OBJECT
public:
    // A parent keeps the window out of the task bar; it still opens in the screen's middle.
    explicit frmEnd(QWidget* parent = nullptr);

    PictureBox* Picture1() const { return picture1_; }
    QPushButton* OK() const { return ok_; }
    QTimer* Timer1() const { return timer1_; }
    // One frame of the animation (the timer's handler).
    void Timer1_Timer();
    // The per-letter drops of the last frame, letters 1..9.
    const int* LetterDrop() const { return letterDrop_; }
    static QFont PictureFont();

    void done(int result) override;

private:
    void Form_Load();

    PictureBox* picture1_ = nullptr;
    QPushButton* ok_ = nullptr;
    QTimer* timer1_ = nullptr;
    int LetterCount = 0;
    std::uint32_t TextColor = 0;
    int letterDrop_[19] = {};
};

// Shows frmEnd modally, a fresh window each time.
class VictoryWindowPresenter final : public platform::VictoryPresenter {
public:
    // Loads a new window owned by the main window, ready to be shown.
    static std::unique_ptr<frmEnd> Load();
    void ShowVictory() override;
};

}  // namespace kv
