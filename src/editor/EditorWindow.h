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
#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "editor/DrawingCheck.h"
#include "editor/OwnOutline.h"
#include "model/Model.h"
#include "solver/Generator.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace kv {

class GenerationRun;
class PictureBox;

// Shows frmRedaktor modally over the main window.
void ShowRedaktor();

class frmRedaktor : public QDialog {
    Q_OBJECT
  public:
    // Pixels per cell of the grid at the window's designed size, the smallest it is given.
    static constexpr int kDesignCell = 19;

    // After this long a running check shows that it works and offers to stop.
    static constexpr int kBusyAfterMs = 200;

    // The columns where pieces wait at home, shown on the grid: an outline over them already
    // holds pieces at the start, which spoils the hint.
    static constexpr int kHomeColumns[2][2] = {{1, 5}, {29, 33}};
    static constexpr Colour kHomeColour = 0xC8E6F0;  // pale straw: not the outline's black
    static bool HomeColumn(int c);

    // Opens on a copy of the outline now on the board, named as it is; a shipped outline's
    // name is not offered, so that saving it unchanged does not make a copy.
    explicit frmRedaktor(QWidget* parent = nullptr);
    ~frmRedaktor() override;

    PictureBox* picSetka() const { return picSetka_; }
    // Pixels per cell of the grid at the window's present size, one grid line included.
    int GridCell() const { return cell_; }
    // The client size the window opens at: the grid at kDesignCell with the controls below.
    QSize DesignSize() const;
    QLineEdit* txtName() const { return txtName_; }
    QLabel* lblKletki() const { return lblKletki_; }
    QLabel* lblOtvet() const { return lblOtvet_; }
    QLabel* lblDoma() const { return lblDoma_; }
    QComboBox* cboNabor() const { return cboNabor_; }
    QLabel* lblSohranit() const { return lblSohranit_; }
    QPushButton* kProverit() const { return kProverit_; }
    QPushButton* kSohranit() const { return kSohranit_; }
    QPushButton* kIgrat() const { return kIgrat_; }
    QPushButton* kOchistit() const { return kOchistit_; }
    QPushButton* kPrervat() const { return kPrervat_; }
    QPushButton* kKopirovatKod() const { return kKopirovatKod_; }
    QPushButton* kVstavitKod() const { return kVstavitKod_; }
    QPushButton* kSluchainyi() const { return kSluchainyi_; }
    QSpinBox* spnFigury() const { return spnFigury_; }
    QPushButton* kPrervatPoisk() const { return kPrervatPoisk_; }
    const GenerationRun& Generation() const { return *generation_; }
    QPushButton* kZakryt() const { return kZakryt_; }

    bool Cell(int c, int r) const { return cells_[c][r]; }
    int CellCount() const;
    std::vector<BoardCell> DrawingCells() const;  // row by row
    BoardCell Cursor() const { return {cursorC_, cursorR_}; }
    // The file last written by «Сохранить» or «Играть»; empty before.
    const QString& SavedPath() const { return savedPath_; }
    // True when the drawing differs from the one opened or last saved: closing or clearing
    // asks first.
    bool Unsaved() const { return cells_ != baseline_; }
    // Why «Сохранить» is grey, or the file the drawing was saved into; empty when neither.
    QString SaveRefusal() const;

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
    // The outline as a line of text through the clipboard: copied once «Проверить» has found
    // its pieces; pasted, it replaces the drawing and its name and is checked at once.
    void kKopirovatKod_Click();
    void kVstavitKod_Click();
    // A generated outline of spnFigury's pieces, of one tiling and middling grade, in place
    // of the drawing, named as «Новый квелт» names one and checked at once.
    void kSluchainyi_Click();
    // Ctrl+Z and Ctrl+Y: a stroke of painting, a Space or «Очистить» is one step.
    void Otmenit();
    void Vernut();
    // Picks set i of the sets found: its tiling is shown, counted and saved.
    void cboNabor_Change(int i);

    // Esc, the close box and «Закрыть»: asks before an unsaved drawing is lost.
    void reject() override;
    void done(int result) override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    // One «Проверить»: what the worker is given and gives back. The worker touches this
    // object and nothing else; the window reads result only once the worker is done.
    struct Job {
        std::vector<BoardCell> cells;
        std::uint64_t drawing = 0;  // the drawing it was asked for
        bool counting = false;      // the count for sets found before, not the sets
        std::size_t set = 0;        // the set counted
        std::atomic<bool> stop{false};
        DrawingCheck result;
    };

    using Drawing = std::array<std::array<bool, kRows>, kColumns>;

    // Places the grid and the controls for a client area of width x height: the grid takes
    // the room the controls along the bottom leave.
    void PlaceControls(int width, int height);
    int ControlsHeight() const;
    void SetCell(int c, int r, bool on);
    void Step();
    void PushUndo();
    void SetDrawing(const Drawing& drawing);
    // The drawing and name replaced as one step, and checked; set: the pieces it leaves out.
    void ReplaceDrawing(const std::vector<BoardCell>& cells, const QString& name,
                        const std::vector<int>& set);
    void Generated(std::optional<GeneratedOutline> outline);
    bool MayDiscard(const QString& question);
    std::size_t ChosenSet() const;
    OutlineDraft Draft() const;
    const KnownOutline& SameOutline() const;
    bool Save();
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
    bool DrawingSaved() const;
    bool SavedNow() const;

    PictureBox* picSetka_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    QLabel* setLabel_ = nullptr;
    QLineEdit* txtName_ = nullptr;
    QLabel* lblKletki_ = nullptr;
    QLabel* lblOtvet_ = nullptr;
    QLabel* lblDoma_ = nullptr;
    QComboBox* cboNabor_ = nullptr;
    QLabel* lblSohranit_ = nullptr;
    QPushButton* kProverit_ = nullptr;
    QPushButton* kSohranit_ = nullptr;
    QPushButton* kIgrat_ = nullptr;
    QPushButton* kOchistit_ = nullptr;
    QPushButton* kPrervat_ = nullptr;
    QPushButton* kZakryt_ = nullptr;
    QPushButton* kKopirovatKod_ = nullptr;
    QPushButton* kVstavitKod_ = nullptr;
    QPushButton* kSluchainyi_ = nullptr;
    QLabel* figuryLabel_ = nullptr;
    QSpinBox* spnFigury_ = nullptr;
    QPushButton* kPrervatPoisk_ = nullptr;
    GenerationRun* generation_ = nullptr;
    std::uint64_t generatedFrom_ = 0;  // the drawing «Случайный» was pressed on
    QTimer busy_;
    int cell_ = kDesignCell;
    int answerHeight_ = 0;
    int reasonHeight_ = 0;

    Drawing cells_{};
    Drawing baseline_{};  // as opened or last saved
    std::deque<Drawing> undo_, redo_;
    bool stepOpen_ = false;  // the drawing before this stroke is on undo_ already
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
    QByteArray savedBytes_;
    std::uint64_t savedDrawing_ = 0;
    std::vector<int> savedSet_;
    // The outline of either folder equal to the drawing, found once per drawing and set.
    mutable KnownOutline same_;
    mutable std::uint64_t sameDrawing_ = ~std::uint64_t{0};
    mutable std::vector<int> sameSet_;
    mutable QString sameSkip_;
    // The pieces a pasted code leaves out, chosen when the check of that drawing answers.
    std::vector<int> pastedSet_;
    std::uint64_t pastedDrawing_ = 0;
};

}  // namespace kv
