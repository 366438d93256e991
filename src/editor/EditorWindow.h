// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// frmRedaktor: the outline editor. The player paints cells on a grid drawn as the board
// is, the solver says which pieces cover them, and the outline is saved into the player's
// own outline folder and played. Opened from the main window's «Игра» menu.
#pragma once

#include <QDialog>
#include <QString>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "editor/DrawingCheck.h"
#include "model/Model.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kv {

class PictureBox;

// Shows frmRedaktor modally over the main window.
void ShowRedaktor();

class frmRedaktor : public QDialog {
    Q_OBJECT
  public:
    // After this long a running check shows that it works and offers to stop.
    static constexpr int kBusyAfterMs = 200;

    // Opens on a copy of the outline now on the board, named as it is.
    explicit frmRedaktor(QWidget* parent = nullptr);
    ~frmRedaktor() override;

    PictureBox* picSetka() const { return picSetka_; }
    QLineEdit* txtName() const { return txtName_; }
    QLabel* lblKletki() const { return lblKletki_; }
    QLabel* lblOtvet() const { return lblOtvet_; }
    QPushButton* kProverit() const { return kProverit_; }
    QPushButton* kSohranit() const { return kSohranit_; }
    QPushButton* kIgrat() const { return kIgrat_; }
    QPushButton* kOchistit() const { return kOchistit_; }
    QPushButton* kPrervat() const { return kPrervat_; }

    bool Cell(int c, int r) const { return cells_[c][r]; }
    int CellCount() const;
    std::vector<BoardCell> DrawingCells() const;  // row by row
    BoardCell Cursor() const { return {cursorC_, cursorR_}; }
    // The file last written by «Сохранить» or «Играть»; empty before.
    const QString& SavedPath() const { return savedPath_; }

    // Grid input: pixels of picSetka; virtual-key codes.
    void picSetka_MouseDown(Qt::MouseButton button, int x, int y);
    void picSetka_MouseMove(Qt::MouseButtons buttons, int x, int y);
    void picSetka_MouseUp(Qt::MouseButton button, int x, int y);
    void picSetka_KeyDown(int keyCode);

    void kProverit_Click();
    // Writes a new file; false (the player has been told why) when nothing was written.
    bool kSohranit_Click();
    void kIgrat_Click();
    void kOchistit_Click();
    void kPrervat_Click();

    void done(int result) override;

  private:
    // One «Проверить»: what the worker is given and gives back. The worker touches this
    // object and nothing else; the window reads result only once the worker is done.
    struct Job {
        std::vector<BoardCell> cells;
        std::uint64_t drawing = 0;  // the drawing it was asked for
        bool counting = false;      // the count for sets found before, not the sets
        std::atomic<bool> stop{false};
        DrawingCheck result;
    };

    void SetCell(int c, int r, bool on);
    void PaintCell(int c, int r);
    void MoveCursor(int c, int r);
    void RedrawGrid();
    void Edited();
    void ClearSolution();
    void ShowSolution(const Tiling& tiling);
    void StartJob(const std::shared_ptr<Job>& job);
    void Answer(const std::shared_ptr<Job>& job);
    void ShowAnswer(bool counting);
    void StopCheck();
    void ShowBusy();
    void UpdateButtons();
    QString Name() const;
    bool CheckedNow() const;
    bool SavedNow() const;

    PictureBox* picSetka_ = nullptr;
    QLineEdit* txtName_ = nullptr;
    QLabel* lblKletki_ = nullptr;
    QLabel* lblOtvet_ = nullptr;
    QPushButton* kProverit_ = nullptr;
    QPushButton* kSohranit_ = nullptr;
    QPushButton* kIgrat_ = nullptr;
    QPushButton* kOchistit_ = nullptr;
    QPushButton* kPrervat_ = nullptr;
    QPushButton* kZakryt_ = nullptr;
    QTimer busy_;

    bool cells_[kColumns][kRows] = {};
    int cursorC_ = kColumns / 2;
    int cursorR_ = kRows / 2;
    int dragMode_ = 0;  // 1 painting, -1 erasing, 0 no button held
    int lastC_ = -1;
    int lastR_ = -1;
    // Counts edits, so that an answer for an older drawing is recognised.
    std::uint64_t drawing_ = 0;
    std::optional<DrawingCheck> checked_;
    std::uint64_t checkedDrawing_ = 0;
    std::vector<BoardCell> solutionCells_;  // cells shown in piece colours
    std::shared_ptr<Job> running_;
    QString savedPath_;
    QString savedName_;
    std::uint64_t savedDrawing_ = 0;
};

}  // namespace kv
