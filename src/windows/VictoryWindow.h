// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// frmEnd: "Конец игры", the word "ПОБЕДА!!!" jumping ten times a second.
#pragma once

#include <QDialog>
#include <QFont>
#include <QRect>
#include <memory>

#include "platform/Services.h"

class QLabel;
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

    // Places the window where it leaves outline (a screen rectangle) in sight: below or
    // above board (the board area on the screen), else beside the outline, else where it
    // hides least of it; again once shown, when its frame is known. An empty outline keeps
    // it in the middle of the screen.
    void KeepClearOf(const QRect& outline, const QRect& board);

    void done(int result) override;

    // The line under the word (time, steps, hints, a new record) and «Следующий» beside OK.
    void SetNote(const platform::VictoryNote& note);
    QLabel* lblItog() const { return lblItog_; }
    QPushButton* kNext() const { return kNext_; }
    // The window was closed by «Следующий».
    bool NextChosen() const { return nextChosen_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Form_Load();
    void PlaceClear();

    PictureBox* picture1_ = nullptr;
    QPushButton* ok_ = nullptr;
    QTimer* timer1_ = nullptr;
    int LetterCount = 0;
    std::uint32_t TextColor = 0;
    int letterDrop_[19] = {};
    QRect outline_;
    QRect board_;
    QLabel* lblItog_ = nullptr;
    QPushButton* kNext_ = nullptr;
    bool nextChosen_ = false;
};

// Shows frmEnd modally, a fresh window each time.
class VictoryWindowPresenter final : public platform::VictoryPresenter {
  public:
    // Loads a new window owned by the main window, ready to be shown clear of the outline.
    static std::unique_ptr<frmEnd> Load();
    // The outline's bounding rectangle on the screen, and the board's; empty without a
    // board or an outline.
    static QRect OutlineOnScreen();
    static QRect BoardOnScreen();
    void ShowVictory() override;
    bool ShowVictoryNoted(const platform::VictoryNote& note) override;
};

}  // namespace kv
