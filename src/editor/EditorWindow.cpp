// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdlib>

#include "editor/OwnOutline.h"
#include "model/Operations.h"
#include "outlines/ListDialog.h"
#include "outlines/Outline.h"
#include "outlines/OutlineWriter.h"
#include "platform/Keys.h"
#include "platform/Services.h"
#include "platform/SystemColors.h"
#include "view/BoardDrawing.h"
#include "view/PictureBox.h"
#include "view/WindowStyle.h"

namespace kv {

namespace {

const QString kCaption = QStringLiteral("Редактор квелтов");
const QString kNameLabel = QStringLiteral("Название:");
const QString kBusy = QStringLiteral("Идёт проверка...");
const QString kStopped = QStringLiteral("Проверка прервана.");
const QString kSaved = QStringLiteral("Сохранено в файл «%1».");
constexpr Colour kCursorColour = 0x0000FF;  // red: seen on black, background and pieces
constexpr int kMargin = 8;
constexpr int kButtonWidth = 104;
constexpr int kButtonHeight = 33;
constexpr int kLineHeight = 24;
constexpr int kAnswerHeight = 40;

}  // namespace

frmRedaktor::frmRedaktor(QWidget* parent) : QDialog(parent) {
    setWindowTitle(kCaption);
    const QFont font = DialogFont(9.75);

    // Created in the tab order: grid, name, the buttons left to right.
    picSetka_ = new PictureBox(this);
    picSetka_->setObjectName(QStringLiteral("picSetka"));
    picSetka_->Place(kMargin, kMargin, BoardPixelWidth, BoardPixelHeight);
    int y = kMargin + BoardPixelHeight + kMargin;
    const int width = BoardPixelWidth + 2 * kMargin;

    auto* nameLabel = new QLabel(kNameLabel, this);
    nameLabel->setFont(font);
    nameLabel->setGeometry(kMargin, y, 84, kLineHeight);
    txtName_ = new QLineEdit(this);
    txtName_->setObjectName(QStringLiteral("txtName"));
    txtName_->setFont(font);
    txtName_->setGeometry(kMargin + 88, y, 280, kLineHeight);
    nameLabel->setBuddy(txtName_);
    lblKletki_ = new QLabel(this);
    lblKletki_->setObjectName(QStringLiteral("lblKletki"));
    lblKletki_->setFont(font);
    lblKletki_->setGeometry(kMargin + 384, y, width - kMargin - 384 - kMargin, kLineHeight);
    y += kLineHeight + kMargin;

    lblOtvet_ = new QLabel(this);
    lblOtvet_->setObjectName(QStringLiteral("lblOtvet"));
    lblOtvet_->setFont(font);
    lblOtvet_->setWordWrap(true);
    lblOtvet_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblOtvet_->setGeometry(kMargin, y, width - 2 * kMargin, kAnswerHeight);
    y += kAnswerHeight + kMargin;

    int x = kMargin;
    auto button = [&](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(font);
        b->setGeometry(x, y, kButtonWidth, kButtonHeight);
        x += kButtonWidth + kMargin;
        return b;
    };
    kProverit_ = button("kProverit", QStringLiteral("Проверить"));
    kSohranit_ = button("kSohranit", QStringLiteral("Сохранить"));
    kIgrat_ = button("kIgrat", QStringLiteral("Играть"));
    kOchistit_ = button("kOchistit", QStringLiteral("Очистить"));
    kPrervat_ = button("kPrervat", QStringLiteral("Прервать"));
    kPrervat_->hide();
    x = width - kMargin - kButtonWidth;
    kZakryt_ = button("kZakryt", QStringLiteral("Закрыть"));
    setFixedSize(width, y + kButtonHeight + kMargin);

    picSetka_->onMouseDown = [this](Qt::MouseButton b, int px, int py) {
        picSetka_MouseDown(b, px, py);
    };
    picSetka_->onMouseMove = [this](Qt::MouseButtons b, int px, int py) {
        picSetka_MouseMove(b, px, py);
    };
    picSetka_->onMouseUp = [this](Qt::MouseButton b, int px, int py) {
        picSetka_MouseUp(b, px, py);
    };
    picSetka_->onKeyDown = [this](QKeyEvent* event) {
        // The grid takes the arrows and Space; Tab and Esc keep their dialog meaning.
        if (event->key() == Qt::Key_Tab) {
            txtName_->setFocus(Qt::TabFocusReason);
        } else if (event->key() == Qt::Key_Backtab) {
            kZakryt_->setFocus(Qt::BacktabFocusReason);
        } else if (event->key() == Qt::Key_Escape) {
            reject();
        } else {
            picSetka_KeyDown(platform::VirtualKeyCode(event));
        }
    };
    connect(txtName_, &QLineEdit::textChanged, this, &frmRedaktor::UpdateButtons);
    connect(kProverit_, &QPushButton::clicked, this, &frmRedaktor::kProverit_Click);
    connect(kSohranit_, &QPushButton::clicked, this, &frmRedaktor::kSohranit_Click);
    connect(kIgrat_, &QPushButton::clicked, this, &frmRedaktor::kIgrat_Click);
    connect(kOchistit_, &QPushButton::clicked, this, &frmRedaktor::kOchistit_Click);
    connect(kPrervat_, &QPushButton::clicked, this, &frmRedaktor::kPrervat_Click);
    connect(kZakryt_, &QPushButton::clicked, this, &frmRedaktor::reject);
    busy_.setSingleShot(true);
    connect(&busy_, &QTimer::timeout, this, &frmRedaktor::ShowBusy);

    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) cells_[c][r] = OutlineCells[c][r] != 0;
    }
    txtName_->setText(OutlineName);
    RedrawGrid();
    Edited();
    picSetka_->setFocus();
}

frmRedaktor::~frmRedaktor() {
    StopCheck();
}

void frmRedaktor::done(int result) {
    StopCheck();
    QDialog::done(result);
}

int frmRedaktor::CellCount() const {
    int n = 0;
    for (const auto& column : cells_) {
        for (const bool on : column) n += on;
    }
    return n;
}

std::vector<BoardCell> frmRedaktor::DrawingCells() const {
    std::vector<BoardCell> cells;
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            if (cells_[c][r]) cells.push_back({c, r});
        }
    }
    return cells;
}

QString frmRedaktor::Name() const {
    return txtName_->text().trimmed();
}

bool frmRedaktor::CheckedNow() const {
    return checked_ && checkedDrawing_ == drawing_ && !checked_->leftOut.empty();
}

bool frmRedaktor::SavedNow() const {
    return !savedPath_.isEmpty() && savedDrawing_ == drawing_ && savedName_ == Name();
}

void frmRedaktor::PaintCell(int c, int r) {
    Canvas& canvas = picSetka_->canvas();
    FillCellInterior(canvas, c, r, cells_[c][r] ? 0 : platform::COLOR_BTNFACE);
    if (c == cursorC_ && r == cursorR_ && CellSize >= 8) {
        const int x = c * CellSize, y = r * CellSize;
        canvas.RectOutline(x + 3, y + 3, x + CellSize - 3, y + CellSize - 3, kCursorColour);
        canvas.RectOutline(x + 4, y + 4, x + CellSize - 4, y + CellSize - 4, kCursorColour);
    }
}

void frmRedaktor::RedrawGrid() {
    DrawGrid(picSetka_->canvas());
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            if (cells_[c][r]) PaintCell(c, r);
        }
    }
    PaintCell(cursorC_, cursorR_);
}

void frmRedaktor::SetCell(int c, int r, bool on) {
    if (!OnBoard(c, r) || cells_[c][r] == on) return;
    cells_[c][r] = on;
    Edited();
    PaintCell(c, r);
}

void frmRedaktor::MoveCursor(int c, int r) {
    if (!OnBoard(c, r) || (c == cursorC_ && r == cursorR_)) return;
    const int oldC = cursorC_, oldR = cursorR_;
    cursorC_ = c;
    cursorR_ = r;
    PaintCell(oldC, oldR);
    PaintCell(c, r);
}

void frmRedaktor::Edited() {
    ++drawing_;
    // An answer still on its way is for the drawing as it was: let it go.
    StopCheck();
    ClearSolution();
    lblKletki_->setText(CellCountText(CellCount()));
    lblOtvet_->clear();
    UpdateButtons();
}

void frmRedaktor::ClearSolution() {
    for (const BoardCell& cell : solutionCells_) PaintCell(cell.column, cell.row);
    solutionCells_.clear();
}

void frmRedaktor::ShowSolution(const Tiling& tiling) {
    Canvas& canvas = picSetka_->canvas();
    for (const PiecePlacement& t : tiling) {
        for (int k = 0; k < 5; ++k) {
            const int c = t.column + PieceCells[t.piece][k][t.orientation][0];
            const int r = t.row + PieceCells[t.piece][k][t.orientation][1];
            if (!OnBoard(c, r)) continue;
            FillCellInterior(canvas, c, r, PieceColor[t.piece]);
            solutionCells_.push_back({c, r});
        }
    }
}

void frmRedaktor::picSetka_MouseDown(Qt::MouseButton button, int x, int y) {
    const int mode = button == Qt::LeftButton ? 1 : button == Qt::RightButton ? -1 : 0;
    if (mode == 0 || CellSize <= 0 || x < 0 || y < 0) return;
    dragMode_ = mode;
    lastC_ = x / CellSize;
    lastR_ = y / CellSize;
    SetCell(lastC_, lastR_, mode > 0);
    MoveCursor(lastC_, lastR_);
}

void frmRedaktor::picSetka_MouseMove(Qt::MouseButtons buttons, int x, int y) {
    if (dragMode_ == 0 || CellSize <= 0) return;
    if (!(buttons & (dragMode_ > 0 ? Qt::LeftButton : Qt::RightButton))) {
        dragMode_ = 0;
        return;
    }
    // Floor division: a pointer left of or above the grid is off it, not in cell 0.
    const int c = x >= 0 ? x / CellSize : -1 - (-x - 1) / CellSize;
    const int r = y >= 0 ? y / CellSize : -1 - (-y - 1) / CellSize;
    // A quick drag skips cells between two moves: paint every cell on the way.
    while (lastC_ != c || lastR_ != r) {
        const int dc = c - lastC_, dr = r - lastR_;
        if (std::abs(dc) >= std::abs(dr)) {
            lastC_ += dc > 0 ? 1 : -1;
        } else {
            lastR_ += dr > 0 ? 1 : -1;
        }
        SetCell(lastC_, lastR_, dragMode_ > 0);
    }
    MoveCursor(c, r);
}

void frmRedaktor::picSetka_MouseUp(Qt::MouseButton button, int, int) {
    if ((dragMode_ > 0 && button == Qt::LeftButton) ||
        (dragMode_ < 0 && button == Qt::RightButton)) {
        dragMode_ = 0;
    }
}

void frmRedaktor::picSetka_KeyDown(int keyCode) {
    switch (keyCode) {
        case platform::VK_LEFT:
            MoveCursor(cursorC_ - 1, cursorR_);
            break;
        case platform::VK_RIGHT:
            MoveCursor(cursorC_ + 1, cursorR_);
            break;
        case platform::VK_UP:
            MoveCursor(cursorC_, cursorR_ - 1);
            break;
        case platform::VK_DOWN:
            MoveCursor(cursorC_, cursorR_ + 1);
            break;
        case platform::VK_SPACE:
            SetCell(cursorC_, cursorR_, !cells_[cursorC_][cursorR_]);
            break;
        default:
            break;
    }
}

void frmRedaktor::kProverit_Click() {
    const int n = CellCount();
    if (running_ || n < 5 || n > 60 || n % 5 != 0) return;
    auto job = std::make_shared<Job>();
    job->cells = DrawingCells();
    job->drawing = drawing_;
    lblOtvet_->clear();
    StartJob(job);
}

void frmRedaktor::StartJob(const std::shared_ptr<Job>& job) {
    running_ = job;
    busy_.start(kBusyAfterMs);
    UpdateButtons();
    // The piece table was built at start-up; the worker only reads it.
    platform::services().jobs->Run(
        this,
        [job] {
            if (job->counting) {
                CountFirstSet(job->cells, job->result, &job->stop);
            } else {
                job->result = FindCoveringSets(job->cells, &job->stop);
            }
        },
        [this, job] { Answer(job); });
}

void frmRedaktor::Answer(const std::shared_ptr<Job>& job) {
    // A job is current until an edit, «Прервать» or closing lets it go; an answer that was
    // already on its way then must not land.
    const bool current = running_ == job;
    if (current) {
        running_.reset();
        busy_.stop();
        kPrervat_->hide();
    }
    if (!current || job->drawing != drawing_ || job->result.stopped) {
        UpdateButtons();
        return;
    }
    checked_ = job->result;
    checkedDrawing_ = job->drawing;
    if (!job->counting && !checked_->leftOut.empty()) {
        ShowSolution(checked_->shown);
        // The sets and a tiling are enough to save; the count follows when it is done.
        auto count = std::make_shared<Job>();
        count->cells = job->cells;
        count->drawing = job->drawing;
        count->counting = true;
        count->result = *checked_;
        ShowAnswer(true);
        StartJob(count);
        return;
    }
    ShowAnswer(false);
    UpdateButtons();
}

void frmRedaktor::ShowAnswer(bool counting) {
    if (!checked_ || checkedDrawing_ != drawing_) return;
    QString text = CheckText(*checked_, counting);
    if (SavedNow()) text += QLatin1Char(' ') + kSaved.arg(savedPath_.section(QLatin1Char('/'), -1));
    lblOtvet_->setText(text);
}

void frmRedaktor::StopCheck() {
    busy_.stop();
    if (!running_) return;
    running_->stop = true;
    running_.reset();
    if (kPrervat_) kPrervat_->hide();
}

void frmRedaktor::ShowBusy() {
    if (!running_) return;
    // While counting, the answer line already says so.
    if (!running_->counting) lblOtvet_->setText(kBusy);
    kPrervat_->show();
    platform::SetPointer(picSetka_, platform::Pointer::Wait);
}

void frmRedaktor::kPrervat_Click() {
    if (!running_) return;
    const bool counting = running_->counting;
    StopCheck();
    if (counting) {
        ShowAnswer(false);
    } else {
        lblOtvet_->setText(kStopped);
    }
    UpdateButtons();
}

void frmRedaktor::UpdateButtons() {
    const int n = CellCount();
    // Not disabled while a check runs: the focus would jump off it to the next button, where
    // the player's next Space would press something else. A second click does nothing.
    kProverit_->setEnabled(n >= 5 && n <= 60 && n % 5 == 0);
    bool nameOk = false;
    if (CheckedNow()) {
        const OutlineDraft draft = CentredDraft(Name(), DrawingCells(), checked_->leftOut.front());
        nameOk = OutlineFault(draft).isEmpty();
    }
    kSohranit_->setEnabled(nameOk);
    kIgrat_->setEnabled(nameOk || SavedNow());
    if (!running_) platform::SetPointer(picSetka_, platform::Pointer::Default);
}

bool frmRedaktor::kSohranit_Click() {
    if (!kSohranit_->isEnabled()) return false;
    const OutlineDraft draft = CentredDraft(Name(), DrawingCells(), checked_->leftOut.front());
    const SavedOutline saved = SaveOwnOutline(draft);
    if (saved.path.isEmpty()) {
        if (auto* messages = platform::services().messages) messages->ShowError(saved.error);
        return false;
    }
    savedPath_ = saved.path;
    savedName_ = Name();
    savedDrawing_ = drawing_;
    ShowAnswer(running_ != nullptr);
    UpdateButtons();
    return true;
}

void frmRedaktor::kIgrat_Click() {
    if (!SavedNow() && !kSohranit_Click()) return;
    if (PlayKvelt(savedPath_)) accept();
}

void frmRedaktor::kOchistit_Click() {
    if (CellCount() == 0) return;
    for (auto& column : cells_) {
        for (bool& on : column) on = false;
    }
    solutionCells_.clear();
    Edited();
    RedrawGrid();
}

void ShowRedaktor() {
    frmRedaktor dialog(platform::MainWidget());
    dialog.exec();
}

}  // namespace kv
