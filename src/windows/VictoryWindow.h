// frmEnd: "Конец игры", the word "ПОБЕДА!!!" jumping ten times a second.
#pragma once

#include <QDialog>
#include <QFont>

#include "platform/Services.h"

class QPushButton;
class QTimer;

namespace kv {

class PictureBox;

class frmEnd : public QDialog {
    Q_OBJECT
public:
    explicit frmEnd(QWidget* parent = nullptr);

    PictureBox* Picture1() const { return picture1_; }
    QPushButton* OK() const { return ok_; }
    QTimer* Timer1() const { return timer1_; }
    // One frame of the animation (the timer's handler).
    void Timer1_Timer();
    // Number of characters drawn by the last frame, shadows included.
    int CharactersDrawn() const { return charactersDrawn_; }
    // The per-letter drops of the last frame, letters 1..LetterCount.
    const int* LetterDrop() const { return letterDrop_; }
    static QFont PictureFont();

private:
    void Form_Load();

    PictureBox* picture1_ = nullptr;
    QPushButton* ok_ = nullptr;
    QTimer* timer1_ = nullptr;
    int LetterCount = 0;
    std::uint32_t TextColor = 0;
    int letterDrop_[19] = {};
    int charactersDrawn_ = 0;
};

// Shows frmEnd modally, a fresh window each time.
class VictoryWindowPresenter final : public platform::VictoryPresenter {
public:
    void ShowVictory() override;
};

}  // namespace kv
