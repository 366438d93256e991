// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorWindow.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <algorithm>
#include <cstdlib>

#include "editor/Generation.h"
#include "editor/OwnOutline.h"
#include "model/Operations.h"
#include "outlines/ListDialog.h"
#include "outlines/Outline.h"
#include "outlines/OutlineCode.h"
#include "outlines/OutlineWriter.h"
#include "paths/Paths.h"
#include "platform/Keys.h"
#include "platform/Services.h"
#include "platform/SystemColors.h"
#include "platform/TextCodec.h"
#include "positions/Positions.h"
#include "solver/PlacedCells.h"
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
const QString kAlready = QStringLiteral("Уже сохранено в файл «%1».");
const QString kRenamed = QStringLiteral("Сохранено в файл «%1» вместо «%2».");
const QString kSetLabel = QStringLiteral("Фигуры:");
const QString kNoCheck = QStringLiteral("Сохранить можно после «Проверить».");
const QString kNoTiling = QStringLiteral("Сохранить нельзя: эти клетки не покрыть.");
const QString kNoName = QStringLiteral("Сохранить нельзя: нет названия.");
const QString kBlankName = QStringLiteral("Сохранить нельзя: название из одних пробелов.");
const QString kNoByte = QStringLiteral("Сохранить нельзя: знака «%1» нет в Windows-1251.");
const QString kControl = QStringLiteral("Сохранить нельзя: в названии управляющий знак.");
const QString kSame = QStringLiteral("Такой квелт уже есть: «%1» (%2).");
const QString kPlaySame = QStringLiteral("Такой квелт уже есть: «%1» (%2). Играем его.");
const QString kHome =
    QStringLiteral("По центру доски квелт заденет столбцы домиков фигур: подсказка будет хуже.");
const QString kAskClose = QStringLiteral("Рисунок не сохранён. Закрыть редактор?");
const QString kAskClear = QStringLiteral("Рисунок не сохранён. Очистить его?");
const QString kNoUndo = QStringLiteral("Отменять нечего.");
const QString kNoRedo = QStringLiteral("Возвращать нечего.");
const QString kCodeNoCheck = QStringLiteral("Код можно скопировать после «Проверить».");
const QString kCodeNotMade = QStringLiteral("Код не скопирован: %1.");
const QString kCodeCopied = QStringLiteral("Код квелта «%1» скопирован в буфер обмена.");
const QString kCodeRefused = QStringLiteral("Код не принят: %1.");
const QString kCodePasted = QStringLiteral("Квелт «%1» вставлен из кода.");
const QString kAskPaste = QStringLiteral("Рисунок не сохранён. Заменить его квелтом из кода?");
const QString kAskRandom = QStringLiteral("Рисунок не сохранён. Заменить его случайным квелтом?");
const QString kRandomMade =
    QStringLiteral("Нарисован случайный квелт «%1»: фигур %2, сложность %3, решение единственное.");
const QString kRandomDropped = QStringLiteral("Случайный квелт не вставлен: рисунок изменился.");
constexpr int kRandomGrade = 3;  // middling: the player changes the drawing anyway
constexpr int kCodeButtonWidth = 136;
constexpr int kFiguryLabelWidth = 56;
constexpr int kFiguryWidth = 56;
constexpr Colour kCursorColour = 0x0000FF;  // red: seen on black, background and pieces
constexpr int kMargin = 8;
constexpr int kButtonWidth = 104;
constexpr int kButtonHeight = 33;
constexpr int kLineHeight = 24;
constexpr int kAnswerLines = 3;
constexpr int kSetWidth = 200;
constexpr std::size_t kUndoSteps = 1000;  // 840 bytes each

}  // namespace

frmRedaktor::frmRedaktor(QWidget* parent) : QDialog(parent) {
    setWindowTitle(kCaption);
    const QFont font = DialogFont(9.75);

    // Created in the tab order: grid, name, the buttons left to right. Placed by
    // PlaceControls.
    picSetka_ = new PictureBox(this);
    picSetka_->setObjectName(QStringLiteral("picSetka"));

    nameLabel_ = new QLabel(kNameLabel, this);
    nameLabel_->setFont(font);
    txtName_ = new QLineEdit(this);
    txtName_->setObjectName(QStringLiteral("txtName"));
    txtName_->setFont(font);
    nameLabel_->setBuddy(txtName_);
    lblKletki_ = new QLabel(this);
    lblKletki_->setObjectName(QStringLiteral("lblKletki"));
    lblKletki_->setFont(font);

    lblOtvet_ = new QLabel(this);
    lblOtvet_->setObjectName(QStringLiteral("lblOtvet"));
    lblOtvet_->setFont(font);
    lblOtvet_->setWordWrap(true);
    lblOtvet_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Tall enough for every line of the answer at this font, measured as the label lays
    // lines out, descenders included.
    const QFontMetrics metrics(font);
    const int line = metrics.lineSpacing();
    const QString lines = QStringList(kAnswerLines, QStringLiteral("Ж")).join(QLatin1Char('\n'));
    answerHeight_ =
        metrics.boundingRect(QRect(0, 0, kDesignCell * kColumns + 1, 0), Qt::AlignLeft, lines)
            .height();
    reasonHeight_ = 2 * line + 2;
    lblDoma_ = new QLabel(this);
    lblDoma_->setObjectName(QStringLiteral("lblDoma"));
    lblDoma_->setFont(font);

    setLabel_ = new QLabel(kSetLabel, this);
    setLabel_->setFont(font);
    cboNabor_ = new QComboBox(this);
    cboNabor_->setObjectName(QStringLiteral("cboNabor"));
    cboNabor_->setFont(font);
    setLabel_->setBuddy(cboNabor_);
    lblSohranit_ = new QLabel(this);
    lblSohranit_->setObjectName(QStringLiteral("lblSohranit"));
    lblSohranit_->setFont(font);
    lblSohranit_->setWordWrap(true);
    lblSohranit_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto button = [&](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(font);
        return b;
    };
    kProverit_ = button("kProverit", QStringLiteral("Проверить"));
    kSohranit_ = button("kSohranit", QStringLiteral("Сохранить"));
    kIgrat_ = button("kIgrat", QStringLiteral("Играть"));
    kOchistit_ = button("kOchistit", QStringLiteral("Очистить"));
    kPrervat_ = button("kPrervat", QStringLiteral("Прервать"));
    kPrervat_->hide();
    kZakryt_ = button("kZakryt", QStringLiteral("Закрыть"));
    kKopirovatKod_ = button("kKopirovatKod", QStringLiteral("Копировать код"));
    kVstavitKod_ = button("kVstavitKod", QStringLiteral("Вставить код"));
    kSluchainyi_ = button("kSluchainyi", QStringLiteral("Случайный"));
    figuryLabel_ = new QLabel(QStringLiteral("Фигур:"), this);
    figuryLabel_->setFont(font);
    figuryLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    spnFigury_ = new QSpinBox(this);
    spnFigury_->setObjectName(QStringLiteral("spnFigury"));
    spnFigury_->setFont(font);
    spnFigury_->setRange(3, kPieces);
    figuryLabel_->setBuddy(spnFigury_);
    kPrervatPoisk_ = button("kPrervatPoisk", QStringLiteral("Прервать"));
    generation_ = new GenerationRun(kPrervatPoisk_, this);
    setTabOrder(kVstavitKod_, kSluchainyi_);
    setTabOrder(kSluchainyi_, spnFigury_);
    setTabOrder(spnFigury_, kPrervatPoisk_);
    setTabOrder(kPrervatPoisk_, kZakryt_);
    // Opens at the grid's designed size, whatever the main window's, and grows from there.
    setMinimumSize(DesignSize());
    resize(DesignSize());
    PlaceControls(width(), height());

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
    connect(cboNabor_, &QComboBox::activated, this, &frmRedaktor::cboNabor_Change);
    connect(kProverit_, &QPushButton::clicked, this, &frmRedaktor::kProverit_Click);
    connect(kSohranit_, &QPushButton::clicked, this, &frmRedaktor::kSohranit_Click);
    connect(kIgrat_, &QPushButton::clicked, this, &frmRedaktor::kIgrat_Click);
    connect(kOchistit_, &QPushButton::clicked, this, &frmRedaktor::kOchistit_Click);
    connect(kPrervat_, &QPushButton::clicked, this, &frmRedaktor::kPrervat_Click);
    connect(kZakryt_, &QPushButton::clicked, this, &frmRedaktor::reject);
    connect(kKopirovatKod_, &QPushButton::clicked, this, &frmRedaktor::kKopirovatKod_Click);
    connect(kVstavitKod_, &QPushButton::clicked, this, &frmRedaktor::kVstavitKod_Click);
    connect(kSluchainyi_, &QPushButton::clicked, this, &frmRedaktor::kSluchainyi_Click);
    busy_.setSingleShot(true);
    connect(&busy_, &QTimer::timeout, this, &frmRedaktor::ShowBusy);
    auto* undo = new QAction(this);
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(undo, &QAction::triggered, this, &frmRedaktor::Otmenit);
    auto* redo = new QAction(this);
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(redo, &QAction::triggered, this, &frmRedaktor::Vernut);
    addActions({undo, redo});

    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) cells_[c][r] = OutlineCells[c][r] != 0;
    }
    baseline_ = cells_;
    // The size of the drawing it opens on, when that is one the generator makes.
    const int pieces = CellCount() / 5;
    spnFigury_->setValue(CellCount() % 5 == 0 && pieces >= 3 ? pieces : kPieces);
    const bool shipped = !OutlinePath.isEmpty() && !ExamplesPath.isEmpty() &&
                         QFileInfo(OutlinePath).absoluteDir() == QDir(ExamplesPath);
    if (!shipped) txtName_->setText(OutlineName);
    RedrawGrid();
    Edited();
    picSetka_->setFocus();
}

frmRedaktor::~frmRedaktor() {
    StopCheck();
}

bool frmRedaktor::HomeColumn(int c) {
    for (const auto& span : kHomeColumns) {
        if (c >= span[0] && c <= span[1]) return true;
    }
    return false;
}

QSize frmRedaktor::DesignSize() const {
    return {kDesignCell * kColumns + 1 + 2 * kMargin,
            kMargin + kDesignCell * kRows + 1 + kMargin + ControlsHeight()};
}

int frmRedaktor::ControlsHeight() const {
    return kLineHeight + kMargin + answerHeight_ + kLineHeight + kMargin +
           std::max(kLineHeight, reasonHeight_) + kMargin + 2 * (kButtonHeight + kMargin);
}

void frmRedaktor::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    PlaceControls(width(), height());
}

void frmRedaktor::PlaceControls(int width, int height) {
    // The grid's area is what the controls below leave; its cell size comes from it as the
    // board's does from the main window: its height div 24, no more than its width allows.
    const int areaWidth = width - 2 * kMargin;
    const int areaHeight = height - ControlsHeight() - 2 * kMargin;
    const int cell = std::max(2, std::min(areaHeight / kRows, (areaWidth - 1) / kColumns));
    const int gridWidth = cell * kColumns + 1;
    const int gridHeight = cell * kRows + 1;
    // Centred across; down too when the width is what keeps the grid smaller.
    const bool widthLimits = (areaWidth - 1) / kColumns < areaHeight / kRows;
    const QRect grid(kMargin + (areaWidth - gridWidth) / 2,
                     kMargin + (widthLimits ? (areaHeight - gridHeight) / 2 : 0), gridWidth,
                     gridHeight);
    const Canvas& canvas = picSetka_->canvas();
    const bool redraw = cell != cell_ || canvas.Width() != gridWidth ||
                        canvas.Height() != gridHeight ||
                        canvas.Ratio() != picSetka_->devicePixelRatioF();
    cell_ = cell;
    picSetka_->Place(grid.x(), grid.y(), grid.width(), grid.height());
    if (redraw) RedrawGrid();

    // The controls keep their heights along the bottom, their widths following the window's.
    int y = height - ControlsHeight();
    nameLabel_->setGeometry(kMargin, y, 84, kLineHeight);
    txtName_->setGeometry(kMargin + 88, y, 280, kLineHeight);
    lblKletki_->setGeometry(kMargin + 384, y, width - kMargin - 384 - kMargin, kLineHeight);
    y += kLineHeight + kMargin;
    lblOtvet_->setGeometry(kMargin, y, width - 2 * kMargin, answerHeight_);
    y += answerHeight_;
    lblDoma_->setGeometry(kMargin, y, width - 2 * kMargin, kLineHeight);
    y += kLineHeight + kMargin;
    setLabel_->setGeometry(kMargin, y, 84, kLineHeight);
    cboNabor_->setGeometry(kMargin + 88, y, kSetWidth, kLineHeight);
    const int reasonLeft = kMargin + 88 + kSetWidth + kMargin;
    lblSohranit_->setGeometry(reasonLeft, y, width - kMargin - reasonLeft, reasonHeight_);
    y += std::max(kLineHeight, reasonHeight_) + kMargin;
    // The code buttons: a row of their own, wider for their captions, above the others so
    // that «Закрыть» keeps the corner.
    kKopirovatKod_->setGeometry(kMargin, y, kCodeButtonWidth, kButtonHeight);
    kVstavitKod_->setGeometry(2 * kMargin + kCodeButtonWidth, y, kCodeButtonWidth, kButtonHeight);
    // «Случайный» after a gap, with the size it draws and the «Прервать» of its search.
    int x = 4 * kMargin + 2 * kCodeButtonWidth;
    kSluchainyi_->setGeometry(x, y, kButtonWidth, kButtonHeight);
    x += kButtonWidth + kMargin;
    const int lineY = y + (kButtonHeight - kLineHeight) / 2;
    figuryLabel_->setGeometry(x, lineY, kFiguryLabelWidth, kLineHeight);
    x += kFiguryLabelWidth + kMargin / 2;
    spnFigury_->setGeometry(x, lineY, kFiguryWidth, kLineHeight);
    x += kFiguryWidth + kMargin;
    kPrervatPoisk_->setGeometry(x, y, kButtonWidth, kButtonHeight);
    y += kButtonHeight + kMargin;
    x = kMargin;
    for (QPushButton* b : {kProverit_, kSohranit_, kIgrat_, kOchistit_, kPrervat_}) {
        b->setGeometry(x, y, kButtonWidth, kButtonHeight);
        x += kButtonWidth + kMargin;
    }
    kZakryt_->setGeometry(width - kMargin - kButtonWidth, y, kButtonWidth, kButtonHeight);
}

void frmRedaktor::reject() {
    if (MayDiscard(kAskClose)) QDialog::reject();
}

bool frmRedaktor::MayDiscard(const QString& question) {
    if (!Unsaved()) return true;
    auto* messages = platform::services().messages;
    return !messages || messages->AskYesNo(question);
}

void frmRedaktor::done(int result) {
    StopCheck();
    generation_->Stop();
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

std::size_t frmRedaktor::ChosenSet() const {
    return static_cast<std::size_t>(std::max(0, cboNabor_->currentIndex()));
}

OutlineDraft frmRedaktor::Draft() const {
    return CentredDraft(Name(), DrawingCells(), checked_->leftOut[ChosenSet()]);
}

bool frmRedaktor::DrawingSaved() const {
    return !savedPath_.isEmpty() && savedDrawing_ == drawing_ && CheckedNow() &&
           savedSet_ == checked_->leftOut[ChosenSet()];
}

bool frmRedaktor::SavedNow() const {
    return DrawingSaved() && savedName_ == Name();
}

const KnownOutline& frmRedaktor::SameOutline() const {
    // The file this window saved the drawing into is renamed by the next save, not copied.
    const QString skip = DrawingSaved() ? savedPath_ : QString();
    const std::vector<int>& set = checked_->leftOut[ChosenSet()];
    if (sameDrawing_ != drawing_ || sameSet_ != set || sameSkip_ != skip) {
        same_ = FindSameOutline(Draft(), skip);
        sameDrawing_ = drawing_;
        sameSet_ = set;
        sameSkip_ = skip;
    }
    return same_;
}

QString frmRedaktor::SaveRefusal() const {
    if (!checked_ || checkedDrawing_ != drawing_) return kNoCheck;
    if (checked_->leftOut.empty()) return kNoTiling;
    if (SavedNow()) return kSaved.arg(QFileInfo(savedPath_).fileName());
    if (txtName_->text().isEmpty()) return kNoName;
    if (Name().isEmpty()) return kBlankName;
    for (const char32_t u : Name().toUcs4()) {
        if (u < 32 || u == 127) return kControl;
        const QString ch = QString::fromUcs4(&u, 1);
        bool ok = false;
        platform::ToCp1251(ch, &ok);
        if (!ok) return kNoByte.arg(ch);
    }
    // Whatever else the writer would refuse; the drawing itself is sound after a check.
    const QString fault = OutlineFault(Draft());
    if (!fault.isEmpty()) return fault;
    const KnownOutline& same = SameOutline();
    if (!same.path.isEmpty()) return kSame.arg(same.name, same.file);
    return {};
}

void frmRedaktor::PaintCell(int c, int r) {
    Canvas& canvas = picSetka_->canvas();
    const Colour empty = HomeColumn(c) ? kHomeColour : platform::COLOR_BTNFACE;
    FillCellInterior(canvas, cell_, c, r, cells_[c][r] ? 0 : empty);
    if (c == cursorC_ && r == cursorR_ && cell_ >= 8) {
        const int x = c * cell_, y = r * cell_;
        canvas.RectOutline(x + 3, y + 3, x + cell_ - 3, y + cell_ - 3, kCursorColour);
        canvas.RectOutline(x + 4, y + 4, x + cell_ - 4, y + cell_ - 4, kCursorColour);
    }
}

void frmRedaktor::RedrawGrid() {
    DrawGrid(picSetka_->canvas(), cell_);
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            if (cells_[c][r] || HomeColumn(c)) PaintCell(c, r);
        }
    }
    PaintCell(cursorC_, cursorR_);
    // The tiling shown is drawn again with the grid.
    if (!solutionCells_.empty() && CheckedNow()) {
        solutionCells_.clear();
        ShowSolution(checked_->tilings[ChosenSet()]);
    }
}

void frmRedaktor::SetCell(int c, int r, bool on) {
    if (!OnBoard(c, r) || cells_[c][r] == on) return;
    if (!stepOpen_) {
        PushUndo();
        stepOpen_ = true;
    }
    cells_[c][r] = on;
    Edited();
    PaintCell(c, r);
}

void frmRedaktor::Step() {
    stepOpen_ = false;
}

void frmRedaktor::PushUndo() {
    undo_.push_back(cells_);
    if (undo_.size() > kUndoSteps) undo_.pop_front();
    redo_.clear();
}

void frmRedaktor::SetDrawing(const Drawing& drawing) {
    std::vector<BoardCell> changed;
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            if (cells_[c][r] != drawing[c][r]) changed.push_back({c, r});
        }
    }
    if (changed.empty()) return;
    cells_ = drawing;
    Edited();
    for (const BoardCell& cell : changed) PaintCell(cell.column, cell.row);
}

void frmRedaktor::Otmenit() {
    if (undo_.empty()) {
        platform::Tell(kNoUndo);
        return;
    }
    Step();
    redo_.push_back(cells_);
    const Drawing drawing = undo_.back();
    undo_.pop_back();
    SetDrawing(drawing);
}

void frmRedaktor::Vernut() {
    if (redo_.empty()) {
        platform::Tell(kNoRedo);
        return;
    }
    Step();
    undo_.push_back(cells_);
    if (undo_.size() > kUndoSteps) undo_.pop_front();
    const Drawing drawing = redo_.back();
    redo_.pop_back();
    SetDrawing(drawing);
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
    // An answer still on its way is for the drawing as it was: let it go, and a search for
    // a drawing to replace it too.
    StopCheck();
    if (generation_->Running()) generation_->Stop();
    ClearSolution();
    lblKletki_->setText(CellCountText(CellCount()));
    lblOtvet_->clear();
    cboNabor_->clear();
    cboNabor_->setEnabled(false);
    bool home = false;
    for (const BoardCell& cell : CentredDraft({}, DrawingCells(), {}).cells) {
        home = home || HomeColumn(cell.column);
    }
    lblDoma_->setText(home ? kHome : QString());
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
            const auto [c, r] = PlacedCell(t, k);
            if (!OnBoard(c, r)) continue;
            FillCellInterior(canvas, cell_, c, r, PieceColor[t.piece]);
            solutionCells_.push_back({c, r});
        }
    }
}

void frmRedaktor::picSetka_MouseDown(Qt::MouseButton button, int x, int y) {
    const int mode = button == Qt::LeftButton ? 1 : button == Qt::RightButton ? -1 : 0;
    if (mode == 0 || cell_ <= 0 || x < 0 || y < 0) return;
    dragMode_ = mode;
    Step();
    lastC_ = x / cell_;
    lastR_ = y / cell_;
    SetCell(lastC_, lastR_, mode > 0);
    MoveCursor(lastC_, lastR_);
}

void frmRedaktor::picSetka_MouseMove(Qt::MouseButtons buttons, int x, int y) {
    if (dragMode_ == 0 || cell_ <= 0) return;
    if (!(buttons & (dragMode_ > 0 ? Qt::LeftButton : Qt::RightButton))) {
        dragMode_ = 0;
        Step();
        return;
    }
    // Floor division: a pointer left of or above the grid is off it, not in cell 0.
    const int c = x >= 0 ? x / cell_ : -1 - (-x - 1) / cell_;
    const int r = y >= 0 ? y / cell_ : -1 - (-y - 1) / cell_;
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
        Step();
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
            Step();
            SetCell(cursorC_, cursorR_, !cells_[cursorC_][cursorR_]);
            Step();
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
                CountSet(job->cells, job->result, job->set, &job->stop);
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
    if (job->counting) {
        // Only the count of the set asked for is new.
        checked_->counts[job->set] = job->result.counts[job->set];
        ShowAnswer(false);
        UpdateButtons();
        return;
    }
    checked_ = job->result;
    checkedDrawing_ = job->drawing;
    cboNabor_->clear();
    for (const std::vector<int>& set : checked_->leftOut) cboNabor_->addItem(SetText(set));
    cboNabor_->setEnabled(checked_->leftOut.size() > 1);
    if (checked_->leftOut.empty()) {
        ShowAnswer(false);
        UpdateButtons();
        return;
    }
    // A pasted code names its set; any other drawing starts on the first.
    int first = 0;
    if (job->drawing == pastedDrawing_) {
        const auto& sets = checked_->leftOut;
        const auto it = std::find(sets.begin(), sets.end(), pastedSet_);
        if (it != sets.end()) first = static_cast<int>(it - sets.begin());
    }
    cboNabor_->setCurrentIndex(first);
    cboNabor_Change(first);
}

void frmRedaktor::cboNabor_Change(int i) {
    if (!CheckedNow() || i < 0 || static_cast<std::size_t>(i) >= checked_->leftOut.size()) return;
    const auto set = static_cast<std::size_t>(i);
    if (cboNabor_->currentIndex() != i) cboNabor_->setCurrentIndex(i);
    // A count of the set shown before is let go; each set's count is kept once made.
    StopCheck();
    ClearSolution();
    ShowSolution(checked_->tilings[set]);
    if (checked_->counts[set] != kNotCounted) {
        ShowAnswer(false);
        UpdateButtons();
        return;
    }
    // The sets and a tiling are enough to save; the count follows when it is done.
    auto count = std::make_shared<Job>();
    count->cells = DrawingCells();
    count->drawing = drawing_;
    count->counting = true;
    count->set = set;
    count->result = *checked_;
    ShowAnswer(true);
    StartJob(count);
}

void frmRedaktor::ShowAnswer(bool counting) {
    if (!checked_ || checkedDrawing_ != drawing_) return;
    lblOtvet_->setText(CheckText(*checked_, ChosenSet(), counting));
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
    const QString refusal = SaveRefusal();
    // Once saved it stays enabled, for the same reason, and says so when pressed again.
    kSohranit_->setEnabled(refusal.isEmpty() || SavedNow());
    lblSohranit_->setText(refusal);
    // A name changed after a save does not take «Играть» away: the saved file plays.
    kIgrat_->setEnabled(refusal.isEmpty() || DrawingSaved() ||
                        (CheckedNow() && !SameOutline().path.isEmpty()));
    if (!running_) platform::SetPointer(picSetka_, platform::Pointer::Default);
}

bool frmRedaktor::kSohranit_Click() {
    const QString refusal = SaveRefusal();
    if (SavedNow()) {
        platform::Tell(kAlready.arg(QFileInfo(savedPath_).fileName()));
        return false;
    }
    if (!refusal.isEmpty()) {
        platform::Tell(refusal);
        return false;
    }
    return Save();
}

bool frmRedaktor::Save() {
    const OutlineDraft draft = Draft();
    const SavedOutline saved = SaveOwnOutline(draft);
    if (saved.path.isEmpty()) {
        if (auto* messages = platform::services().messages) messages->ShowError(saved.error);
        platform::Tell(saved.error);
        return false;
    }
    QString told = kSaved.arg(QFileInfo(saved.path).fileName());
    // The same drawing under a new name: the file this window wrote a moment ago goes, as
    // long as nobody has changed it since, so that the library does not list it twice.
    if (DrawingSaved()) {
        QFile old(savedPath_);
        if (old.open(QIODevice::ReadOnly) && old.readAll() == savedBytes_) {
            old.close();
            if (old.remove()) {
                told = kRenamed.arg(QFileInfo(saved.path).fileName(),
                                    QFileInfo(savedPath_).fileName());
            }
        }
    }
    savedPath_ = saved.path;
    savedName_ = Name();
    savedBytes_ = WriteOutline(draft);
    savedDrawing_ = drawing_;
    savedSet_ = draft.excluded;
    baseline_ = cells_;
    platform::Tell(told);
    UpdateButtons();
    return true;
}

void frmRedaktor::kIgrat_Click() {
    QString path = savedPath_;
    if (!SavedNow()) {
        if (SaveRefusal().isEmpty()) {
            if (!Save()) return;
            path = savedPath_;
        } else if (!DrawingSaved()) {
            const KnownOutline same = CheckedNow() ? SameOutline() : KnownOutline{};
            if (same.path.isEmpty()) {
                platform::Tell(SaveRefusal());
                return;
            }
            platform::Tell(kPlaySame.arg(same.name, same.file));
            path = same.path;
        }
    }
    if (PlayKvelt(path)) {
        PositionPath.clear();
        accept();
    }
}

void frmRedaktor::kOchistit_Click() {
    if (CellCount() == 0 || !MayDiscard(kAskClear)) return;
    Step();
    PushUndo();
    SetDrawing(Drawing{});
}

void frmRedaktor::kKopirovatKod_Click() {
    if (!CheckedNow()) {
        platform::Tell(kCodeNoCheck);
        return;
    }
    // The drawing where it stands, so that pasting it gives this very grid.
    const OutlineCode code =
        EncodeOutline({Name(), checked_->leftOut[ChosenSet()], DrawingCells()});
    if (code.fault != CodeFault::None) {
        platform::Tell(kCodeNotMade.arg(CodeRefusal(code)));
        return;
    }
    if (auto* clipboard = platform::services().clipboard) clipboard->SetText(code.text);
    platform::Tell(kCodeCopied.arg(code.draft.name));
}

void frmRedaktor::kVstavitKod_Click() {
    auto* clipboard = platform::services().clipboard;
    const OutlineCode code = DecodeOutline(clipboard ? clipboard->Text() : QString());
    if (code.fault != CodeFault::None) {
        platform::Tell(kCodeRefused.arg(CodeRefusal(code)));
        return;
    }
    if (CellCount() > 0 && !MayDiscard(kAskPaste)) return;
    ReplaceDrawing(code.draft.cells, code.draft.name, code.draft.excluded);
    platform::Tell(kCodePasted.arg(code.draft.name));
    kProverit_Click();
}

void frmRedaktor::ReplaceDrawing(const std::vector<BoardCell>& cells, const QString& name,
                                 const std::vector<int>& set) {
    Drawing drawing{};
    for (const BoardCell& cell : cells) drawing[cell.column][cell.row] = true;
    Step();
    if (drawing != cells_) PushUndo();
    SetDrawing(drawing);
    txtName_->setText(name);
    pastedSet_ = set;
    pastedDrawing_ = drawing_;
}

void frmRedaktor::kSluchainyi_Click() {
    // A second press while it searches does nothing, as «Проверить» does.
    if (generation_->Running()) return;
    if (CellCount() > 0 && !MayDiscard(kAskRandom)) return;
    generatedFrom_ = drawing_;
    generation_->Start(
        RandomRequest(spnFigury_->value(), kRandomGrade),
        [this](std::optional<GeneratedOutline> outline) { Generated(std::move(outline)); });
}

void frmRedaktor::Generated(std::optional<GeneratedOutline> outline) {
    if (!outline) return;
    // Painted on while it searched (and stopped a moment too late): the player's drawing stays.
    if (generatedFrom_ != drawing_) {
        platform::Tell(kRandomDropped);
        return;
    }
    std::vector<int> set;
    for (int p = 1; p <= kPieces; ++p) {
        if (!outline->pieces[static_cast<std::size_t>(p)]) set.push_back(p);
    }
    const QString name = RandomName(QDate::currentDate());
    ReplaceDrawing(outline->cells, name, set);
    platform::Tell(kRandomMade.arg(name)
                       .arg(kPieces - static_cast<int>(set.size()))
                       .arg(outline->grade.grade));
    kProverit_Click();
}

void ShowRedaktor() {
    frmRedaktor dialog(platform::MainWidget());
    dialog.exec();
}

}  // namespace kv
