// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The outline editor: the count line, what «Проверить» finds, painting with the mouse and the
// keys, saving into the player's folder and playing, and answers that come too late.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>
#include <set>

#include "app/MainWindow.h"
#include "editor/DrawingCheck.h"
#include "editor/EditorWindow.h"
#include "editor/Generation.h"
#include "editor/OwnOutline.h"
#include "model/Model.h"
#include "outlines/Outline.h"
#include "outlines/OutlineCode.h"
#include "outlines/OutlineWriter.h"
#include "platform/SystemColors.h"
#include "settings/Settings.h"
#include "support/OutlineWriter.h"
#include "support/PlaySupport.h"
#include "support/TestSupport.h"
#include "view/BoardDrawing.h"
#include "view/PictureBox.h"

using namespace kv;

namespace {

std::vector<BoardCell> Rectangle(int width, int height, int left = 3, int top = 2) {
    std::vector<BoardCell> cells;
    for (int r = top; r < top + height; ++r) {
        for (int c = left; c < left + width; ++c) cells.push_back({c, r});
    }
    return cells;
}

// Piece p in orientation 1 with its reference cell at (10, 10).
std::vector<BoardCell> PieceShape(int p) {
    std::vector<BoardCell> cells;
    for (int k = 0; k < 5; ++k)
        cells.push_back({10 + PieceCells[p][k][1][0], 10 + PieceCells[p][k][1][1]});
    return cells;
}

// The pieces a set uses, from those it leaves out.
std::vector<int> Used(const std::vector<int>& leftOut) {
    std::vector<int> used;
    for (int p = 1; p <= kPieces; ++p) {
        if (std::find(leftOut.begin(), leftOut.end(), p) == leftOut.end()) used.push_back(p);
    }
    return used;
}

// True when tiling covers every cell once with every piece the set uses.
bool TilingCovers(const Tiling& tiling, const std::vector<int>& leftOut,
                  std::vector<BoardCell> cells) {
    std::vector<BoardCell> covered;
    std::vector<int> pieces;
    for (const PiecePlacement& t : tiling) {
        pieces.push_back(t.piece);
        for (int k = 0; k < 5; ++k) {
            covered.push_back({t.column + PieceCells[t.piece][k][t.orientation][0],
                               t.row + PieceCells[t.piece][k][t.orientation][1]});
        }
    }
    std::sort(pieces.begin(), pieces.end());
    std::sort(covered.begin(), covered.end());
    std::sort(cells.begin(), cells.end());
    return pieces == Used(leftOut) && covered == cells;
}

std::uint64_t DirectCount(const std::vector<BoardCell>& cells, const std::vector<int>& leftOut) {
    std::array<bool, 13> available{};
    for (const int p : Used(leftOut)) available[static_cast<std::size_t>(p)] = true;
    return PentominoSolver(cells, available).Count().upToSymmetry;
}

std::vector<int> AllBut(std::initializer_list<int> kept) {
    std::vector<int> out;
    for (int p = 1; p <= kPieces; ++p) {
        if (std::find(kept.begin(), kept.end(), p) == kept.end()) out.push_back(p);
    }
    return out;
}

QString ShippedFolder() {
    return qEnvironmentVariable("KVELT_PROGRAM_DIR") + QStringLiteral("/Examples/");
}

// Colour in the middle of cell (c, r) of the editor's grid.
QRgb At(const frmRedaktor& editor, int c, int r) {
    const int cell = editor.GridCell();
    return editor.picSetka()->canvas().Pixel(c * cell + cell / 2, r * cell + 2);
}

void Draw(frmRedaktor& editor, const std::vector<BoardCell>& cells) {
    const int size = editor.GridCell();
    for (const BoardCell& cell : cells) {
        editor.picSetka_MouseDown(Qt::LeftButton, cell.column * size + 5, cell.row * size + 5);
        editor.picSetka_MouseUp(Qt::LeftButton, cell.column * size + 5, cell.row * size + 5);
    }
}

}  // namespace

class EditorTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { kvtest::FreshModel(); }

    void cellCountLine_data() {
        QTest::addColumn<int>("cells");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << 0 << QStringLiteral("Клеток: 0 — нужно 5");
        QTest::newRow("between") << 57 << QStringLiteral("Клеток: 57 — нужно 55 или 60");
        QTest::newRow("all pieces") << 60 << QStringLiteral("Клеток: 60 — все двенадцать фигур");
        QTest::newRow("one out") << 55 << QStringLiteral("Клеток: 55 — без 1 фигуры");
        QTest::newRow("eleven out") << 5 << QStringLiteral("Клеток: 5 — без 11 фигур");
        QTest::newRow("too many") << 64 << QStringLiteral("Клеток: 64 — нужно 60");
    }
    void cellCountLine() {
        QFETCH(int, cells);
        QFETCH(QString, text);
        QCOMPARE(CellCountText(cells), text);
    }

    // Against published counts and shapes only one set can cover.
    void checkFindsTheCoveringSets_data() {
        QTest::addColumn<std::vector<BoardCell>>("cells");
        QTest::addColumn<std::vector<std::vector<int>>>("leftOut");
        QTest::addColumn<qulonglong>("count");
        QTest::newRow("6 x 10") << Rectangle(10, 6) << std::vector<std::vector<int>>{{}} << 2339ull;
        QTest::newRow("3 x 20") << Rectangle(20, 3) << std::vector<std::vector<int>>{{}} << 2ull;
        // Two pentominoes that fill 2 x 5 are always the same one twice.
        QTest::newRow("2 x 5") << Rectangle(5, 2) << std::vector<std::vector<int>>{}
                               << qulonglong(kNotCounted);
        QTest::newRow("61 cells") << Rectangle(61, 1) << std::vector<std::vector<int>>{}
                                  << qulonglong(kNotCounted);
        for (int p = 1; p <= kPieces; ++p) {
            QTest::newRow(qPrintable(QStringLiteral("piece %1 alone").arg(p)))
                << PieceShape(p) << std::vector<std::vector<int>>{AllBut({p})} << 1ull;
        }
    }
    void checkFindsTheCoveringSets() {
        QFETCH(std::vector<BoardCell>, cells);
        QFETCH(std::vector<std::vector<int>>, leftOut);
        QFETCH(qulonglong, count);
        const DrawingCheck check = CheckDrawing(cells);
        QVERIFY(!check.stopped);
        QVERIFY(check.leftOut == leftOut);
        if (leftOut.empty()) {
            QCOMPARE(CheckText(check),
                     QStringLiteral("Эти клетки не покрыть никаким набором фигур."));
            return;
        }
        QCOMPARE(check.counts.front(), count);
        // Named by the pieces that cover: all of them, or the one piece alone.
        const std::vector<int> used = Used(leftOut.front());
        QCOMPARE(SetText(leftOut.front()), used.size() == 12
                                               ? QStringLiteral("все фигуры")
                                               : QString(QLatin1Char(PieceLetter(used.front()))));
        QVERIFY(TilingCovers(check.tilings.front(), leftOut.front(), cells));
    }

    // Where several sets cover, each tiling is of its own set, the sets come in piece order of
    // what they use, and the count made is the first set's until another is asked for.
    void everySetHasItsOwnTilingAndCount() {
        const std::vector<BoardCell> cells = Rectangle(6, 5);
        DrawingCheck check = CheckDrawing(cells);
        QVERIFY(check.leftOut.size() > 2);
        QCOMPARE(check.tilings.size(), check.leftOut.size());
        for (std::size_t i = 0; i < check.leftOut.size(); ++i) {
            QVERIFY2(TilingCovers(check.tilings[i], check.leftOut[i], cells),
                     qPrintable(SetText(check.leftOut[i])));
            if (i > 0) QVERIFY(Used(check.leftOut[i - 1]) < Used(check.leftOut[i]));
        }
        QCOMPARE(check.counts.front(), DirectCount(cells, check.leftOut.front()));
        QCOMPARE(check.counts[1], kNotCounted);
        CountSet(cells, check, 1);
        QCOMPARE(check.counts[1], DirectCount(cells, check.leftOut[1]));
        // Else a count of the wrong set could pass for the right one.
        QVERIFY(check.counts[0] != check.counts[1]);
        // The answer names the set counted by the pieces that cover.
        QVERIFY(CheckText(check, 1).contains(
            QStringLiteral(". %1: %2 ").arg(SetText(check.leftOut[1])).arg(check.counts[1])));
    }

    // A 6 x 10 tiling without its P leaves 55 cells that the set without P covers; the
    // sets come in piece order of what they use, so leaving out P comes first if it is there.
    void checkListsEverySetThatCovers() {
        const std::vector<BoardCell> full = Rectangle(10, 6);
        const DrawingCheck whole = CheckDrawing(full);
        std::vector<BoardCell> cells = full;
        for (const PiecePlacement& t : whole.tilings.front()) {
            if (t.piece != 12) continue;
            for (int k = 0; k < 5; ++k) {
                const BoardCell gone{t.column + PieceCells[12][k][t.orientation][0],
                                     t.row + PieceCells[12][k][t.orientation][1]};
                cells.erase(std::find(cells.begin(), cells.end(), gone));
            }
        }
        QCOMPARE(cells.size(), std::size_t{55});
        const DrawingCheck check = CheckDrawing(cells);
        QVERIFY(!check.leftOut.empty());
        QVERIFY(check.leftOut.front() == std::vector<int>{12});
        QVERIFY(check.counts.front() >= 1);
        QVERIFY(CheckText(check).startsWith(QStringLiteral("Покрывают: все, кроме P")));

        std::atomic<bool> stop{true};
        const DrawingCheck stopped = CheckDrawing(cells, &stop);
        QVERIFY(stopped.stopped);
        QVERIFY(stopped.leftOut.empty());
    }

    // The editor's centring and the shared writer make every shipped outline byte for byte,
    // wherever its cells were drawn.
    void savedDraftMatchesTheShippedFiles() {
        const QDir shipped(ShippedFolder());
        const QStringList files = shipped.entryList({QStringLiteral("*.kvt")}, QDir::Files);
        QVERIFY(files.size() > 50);
        for (const QString& f : files) {
            QFile file(shipped.filePath(f));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            const StrictOutline outline = ReadOutlineStrict(bytes);
            QVERIFY2(outline.fault.isEmpty(), qPrintable(f));
            std::vector<BoardCell> moved;
            int minC = kColumns, minR = kRows;
            for (const BoardCell& c : outline.draft.cells) {
                minC = std::min(minC, c.column);
                minR = std::min(minR, c.row);
            }
            for (const BoardCell& c : outline.draft.cells)
                moved.push_back({c.column - minC, c.row - minR});
            std::reverse(moved.begin(), moved.end());
            const OutlineDraft draft =
                CentredDraft(outline.draft.name, moved, outline.draft.excluded);
            QVERIFY2(WriteOutline(draft) == bytes, qPrintable(f));
        }
    }

    // Left drag paints, right drag erases, a quick drag leaves no gap; the arrows and Space
    // do the same without a mouse; the count line follows.
    void paintingWithTheMouseAndTheKeys() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        frmRedaktor editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QCOMPARE(editor.CellCount(), 0);
        QWidget* grid = editor.picSetka();
        const QPoint from = kvtest::CellCentre(2, 3), to = kvtest::CellCentre(11, 3);
        QTest::mousePress(grid, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, grid->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         {});
        QApplication::sendEvent(grid, &move);
        QTest::mouseRelease(grid, Qt::LeftButton, {}, to);
        QCOMPARE(editor.CellCount(), 10);
        for (int c = 2; c <= 11; ++c) QCOMPARE(At(editor, c, 3), kvtest::Rgb(0));
        QCOMPARE(At(editor, 12, 3), kvtest::Rgb(platform::COLOR_BTNFACE));
        // The grid lines stay as the board draws them.
        QCOMPARE(editor.picSetka()->canvas().Pixel(3 * CellSize, 3 * CellSize + 5),
                 kvtest::Rgb(platform::COLOR_APPWORKSPACE));

        const QPoint e1 = kvtest::CellCentre(5, 3), e2 = kvtest::CellCentre(6, 3);
        QTest::mousePress(grid, Qt::RightButton, {}, e1);
        QMouseEvent erase(QEvent::MouseMove, e2, grid->mapToGlobal(e2), Qt::NoButton,
                          Qt::RightButton, {});
        QApplication::sendEvent(grid, &erase);
        QTest::mouseRelease(grid, Qt::RightButton, {}, e2);
        QCOMPARE(editor.CellCount(), 8);
        QVERIFY(!editor.Cell(5, 3) && !editor.Cell(6, 3) && editor.Cell(7, 3));
        QCOMPARE(At(editor, 5, 3), kvtest::Rgb(frmRedaktor::kHomeColour));  // a home column
        QCOMPARE(At(editor, 6, 3), kvtest::Rgb(platform::COLOR_BTNFACE));
        QCOMPARE(editor.lblKletki()->text(), QStringLiteral("Клеток: 8 — нужно 5 или 10"));

        // The cursor stands where the drag ended; two rights, Space, one down, Space.
        QCOMPARE(editor.Cursor(), (BoardCell{6, 3}));
        grid->setFocus();
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Space, Qt::Key_Down,
                            Qt::Key_Space, Qt::Key_Space, Qt::Key_Space}) {
            QTest::keyClick(grid, key);
        }
        QVERIFY(!editor.Cell(8, 3));  // painted by the drag, toggled off
        QVERIFY(editor.Cell(8, 4));   // toggled three times
        QCOMPARE(editor.CellCount(), 8);
        QTest::keyClick(grid, Qt::Key_Tab);
        QCOMPARE(editor.focusWidget(), editor.txtName());
    }

    // Save only after a check of the drawing as it stands and with a Windows-1251 name; the
    // solution shows until the next edit; the same drawing is never written twice, a new name
    // renames its file; Играть loads it.
    void checkSaveAndPlay() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        kvtest::OwnOutlines own;
        ExamplesPath = ShippedFolder();
        frmRedaktor editor;
        editor.txtName()->setText(QStringLiteral("Прямоугольник"));
        const std::vector<BoardCell> drawn = Rectangle(6, 5, 1, 1);
        Draw(editor, drawn);
        QVERIFY(!editor.kSohranit()->isEnabled());
        QVERIFY(!editor.kIgrat()->isEnabled());
        editor.kProverit()->click();
        QVERIFY(editor.lblOtvet()->text().startsWith(QStringLiteral("Покрывают: ")));
        QVERIFY(editor.kSohranit()->isEnabled());
        QVERIFY(editor.lblSohranit()->text().isEmpty());
        int coloured = 0;
        for (const BoardCell& c : drawn) coloured += At(editor, c.column, c.row) != kvtest::Rgb(0);
        QCOMPARE(coloured, 30);

        // An edit forgets the check and the colours.
        Draw(editor, {{20, 20}});
        editor.picSetka_MouseDown(Qt::RightButton, 20 * CellSize + 5, 20 * CellSize + 5);
        QVERIFY(!editor.kSohranit()->isEnabled());
        QVERIFY(editor.lblOtvet()->text().isEmpty());
        for (const BoardCell& c : drawn) QCOMPARE(At(editor, c.column, c.row), kvtest::Rgb(0));

        editor.kProverit()->click();
        QVERIFY(editor.Unsaved());
        QVERIFY(editor.kSohranit_Click());
        QVERIFY(!editor.Unsaved());
        const QString first = editor.SavedPath();
        QCOMPARE(first, own.path + QStringLiteral("Прямоугольник.kvt"));
        QCOMPARE(platform::LastTold(), QStringLiteral("Сохранено в файл «Прямоугольник.kvt»."));
        QCOMPARE(editor.lblSohranit()->text(), platform::LastTold());
        // Pressed again (it stays enabled, so that the focus stays on it) it writes nothing.
        QVERIFY(editor.kSohranit()->isEnabled());
        QVERIFY(!editor.kSohranit_Click());
        QCOMPARE(platform::LastTold(), QStringLiteral("Уже сохранено в файл «Прямоугольник.kvt»."));
        const QByteArray bytes = kvtest::ReadBytes(first);
        const StrictOutline saved = ReadOutlineStrict(bytes);
        QVERIFY2(saved.fault.isEmpty(), qPrintable(saved.fault));
        QCOMPARE(saved.draft.name, QStringLiteral("Прямоугольник"));
        QCOMPARE(saved.draft.cells.front(), (BoardCell{14, 9}));  // centred: (35-6)/2, (24-5)/2
        QCOMPARE(saved.draft.cells.back(), (BoardCell{19, 13}));

        // A new name renames the file just written; a shipped file name is not taken, as the
        // player's copy would hide the shipped outline.
        editor.txtName()->setText(QStringLiteral("0001"));
        QVERIFY(editor.kSohranit()->isEnabled());
        QVERIFY(editor.kSohranit_Click());
        QCOMPARE(editor.SavedPath(), own.path + QStringLiteral("0001 (2).kvt"));
        QVERIFY(!QFile::exists(first));
        QCOMPARE(platform::LastTold(),
                 QStringLiteral("Сохранено в файл «0001 (2).kvt» вместо «Прямоугольник.kvt»."));

        // Played as it stands: saved already, so no further file.
        QSignalSpy accepted(&editor, &QDialog::accepted);
        editor.kIgrat()->click();
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(OutlinePath, own.path + QStringLiteral("0001 (2).kvt"));
        QCOMPARE(OutlineName, QStringLiteral("0001"));
        QCOMPARE(QDir(own.path).entryList(QDir::Files).size(), 1);
        QCOMPARE(CurrentPiece, 1);
        QCOMPARE(OutlineCells[14][9], 1);
        QVERIFY(fakes.messages.errors.isEmpty());
    }

    // Why «Сохранить» is grey, next to it; a name changed after a save keeps «Играть».
    void whySaveIsGrey_data() {
        QTest::addColumn<std::vector<BoardCell>>("cells");
        QTest::addColumn<bool>("check");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("refusal");
        const std::vector<BoardCell> x = PieceShape(1);
        QTest::newRow("no check") << x << false << QStringLiteral("Крест")
                                  << QStringLiteral("Сохранить можно после «Проверить».");
        QTest::newRow("no tiling") << Rectangle(5, 2) << true << QStringLiteral("Брусок")
                                   << QStringLiteral("Сохранить нельзя: эти клетки не покрыть.");
        QTest::newRow("no name") << x << true << QString()
                                 << QStringLiteral("Сохранить нельзя: нет названия.");
        QTest::newRow("blanks") << x << true << QStringLiteral("   ")
                                << QStringLiteral("Сохранить нельзя: название из одних пробелов.");
        QTest::newRow("no byte") << x << true << QStringLiteral("Крест Ω")
                                 << QStringLiteral(
                                        "Сохранить нельзя: знака «Ω» нет в Windows-1251.");
        QTest::newRow("sound") << x << true << QStringLiteral("Крест") << QString();
    }
    void whySaveIsGrey() {
        QFETCH(std::vector<BoardCell>, cells);
        QFETCH(bool, check);
        QFETCH(QString, name);
        QFETCH(QString, refusal);
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        kvtest::OwnOutlines own;
        ExamplesPath = ShippedFolder();
        frmRedaktor editor;
        Draw(editor, cells);
        if (check) editor.kProverit()->click();
        editor.txtName()->setText(name);
        QCOMPARE(editor.lblSohranit()->text(), refusal);
        QCOMPARE(editor.kSohranit()->isEnabled(), refusal.isEmpty());
        QCOMPARE(editor.kIgrat()->isEnabled(), refusal.isEmpty());
        QCOMPARE(editor.kSohranit_Click(), refusal.isEmpty());
        if (!refusal.isEmpty()) {
            QCOMPARE(platform::LastTold(), refusal);
            QVERIFY(QDir(own.path).isEmpty());
            return;
        }
        // Once saved, no name takes «Играть» away: it plays the saved file.
        editor.txtName()->clear();
        QVERIFY(!editor.kSohranit()->isEnabled());
        QVERIFY(editor.kIgrat()->isEnabled());
        // A new name is saved before playing: not the file under the old one.
        editor.txtName()->setText(QStringLiteral("Икс"));
        editor.kIgrat()->click();
        QCOMPARE(OutlineName, QStringLiteral("Икс"));
        QCOMPARE(OutlinePath, own.path + QStringLiteral("Икс.kvt"));
        QCOMPARE(QDir(own.path).entryList(QDir::Files), QStringList{QStringLiteral("Икс.kvt")});
    }

    // The home columns are shown; a drawing that lands on them once centred is warned of.
    void homeColumnsAreShownAndWarnedOf() {
        kvtest::GameWindow game;
        frmRedaktor editor;
        for (int c = 0; c < kColumns; ++c) {
            const bool home = (c >= 1 && c <= 5) || (c >= 29 && c <= 33);
            QCOMPARE(At(editor, c, 23),
                     kvtest::Rgb(home ? frmRedaktor::kHomeColour : platform::COLOR_BTNFACE));
        }
        // 23 columns stand centred in columns 6 to 28; one more reaches column 5.
        Draw(editor, Rectangle(23, 1, 0, 0));
        QVERIFY(editor.lblDoma()->text().isEmpty());
        Draw(editor, {{23, 0}});
        QLabel* warning = editor.lblDoma();
        QVERIFY(warning->text().contains(QStringLiteral("столбцы домиков")));
        QVERIFY(QFontMetrics(warning->font()).horizontalAdvance(warning->text()) <=
                warning->contentsRect().width());
        editor.picSetka_MouseDown(Qt::RightButton, 23 * CellSize + 5, 5);
        QVERIFY(editor.lblDoma()->text().isEmpty());
        QCOMPARE(At(editor, 1, 0), kvtest::Rgb(0));
    }

    // Esc, the close box, «Закрыть» and «Очистить» ask before an unsaved drawing goes; an
    // unchanged one goes without a question.
    void unsavedDrawingsAreNotLostWithoutAQuestion_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("Esc") << 0;
        QTest::newRow("close box") << 1;
        QTest::newRow("Закрыть") << 2;
        QTest::newRow("Очистить") << 3;
    }
    void unsavedDrawingsAreNotLostWithoutAQuestion() {
        QFETCH(int, how);
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        kvtest::StartPlay({}, {{4, 5}, {5, 5}, {6, 5}, {7, 5}, {8, 5}});
        frmRedaktor editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        const auto act = [&] {
            if (how == 0) QTest::keyClick(editor.picSetka(), Qt::Key_Escape);
            if (how == 1) editor.close();
            if (how == 2) editor.findChild<QPushButton*>(QStringLiteral("kZakryt"))->click();
            if (how == 3) editor.kOchistit()->click();
        };
        const auto gone = [&] { return how == 3 ? editor.CellCount() == 0 : !editor.isVisible(); };
        Draw(editor, {{10, 10}});
        fakes.messages.answerYes = false;
        act();
        QCOMPARE(fakes.messages.questions.size(), 1);
        QVERIFY(!gone());
        QCOMPARE(editor.CellCount(), 6);
        // Back as opened: nothing to lose, nothing asked.
        editor.Otmenit();
        QVERIFY(!editor.Unsaved());
        if (how == 3) {
            fakes.messages.answerYes = true;
            Draw(editor, {{10, 10}});
        }
        act();
        QVERIFY(gone());
        QCOMPARE(fakes.messages.questions.size(), how == 3 ? 2 : 1);
    }

    // Ctrl+Z takes back a whole stroke, a Space or «Очистить»; Ctrl+Y brings it again; a new
    // stroke forgets what was taken back.
    void undoAndRedo() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        fakes.messages.answerYes = true;
        frmRedaktor editor;
        editor.show();
        editor.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        QWidget* grid = editor.picSetka();
        grid->setFocus();
        const QPoint from = kvtest::CellCentre(8, 3), to = kvtest::CellCentre(12, 3);
        QTest::mousePress(grid, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, grid->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         {});
        QApplication::sendEvent(grid, &move);
        QTest::mouseRelease(grid, Qt::LeftButton, {}, to);
        QTest::keyClick(grid, Qt::Key_Space);  // the cursor stands on (12, 3): off again
        QCOMPARE(editor.CellCount(), 4);
        editor.kOchistit()->click();
        QCOMPARE(editor.CellCount(), 0);
        QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor.CellCount(), 4);
        QCOMPARE(At(editor, 8, 3), kvtest::Rgb(0));
        QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor.CellCount(), 5);
        QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor.CellCount(), 0);
        QCOMPARE(At(editor, 8, 3), kvtest::Rgb(platform::COLOR_BTNFACE));
        QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(platform::LastTold(), QStringLiteral("Отменять нечего."));
        QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(editor.CellCount(), 5);
        QCOMPARE(At(editor, 12, 3), kvtest::Rgb(0));
        Draw(editor, {{20, 20}});
        QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(platform::LastTold(), QStringLiteral("Возвращать нечего."));
        QCOMPARE(editor.CellCount(), 6);
        // In the name field the keys are the field's own.
        editor.txtName()->setFocus();
        QTest::keyClicks(editor.txtName(), QStringLiteral("ab"));
        QTest::keyClick(editor.txtName(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor.CellCount(), 6);
    }

    // 140 letters make a file name of 280 bytes: the name is cut at a whole letter, leaving
    // room for " (1000)" and ".kvt", and the file keeps the whole outline name.
    void longNamesAreCutToTheFileSystem() {
        kvtest::GameWindow game;
        kvtest::OwnOutlines own;
        const QString name(140, QChar(0x0416));
        const QString stem = OutlineFileStem(name);
        QVERIFY(QFile::encodeName(stem + QStringLiteral(" (1000).kvt")).size() <= 255);
        QVERIFY(QFile::encodeName(stem + QStringLiteral(" (1000).kvt")).size() >= 254);
        QVERIFY(name.startsWith(stem));
        QCOMPARE(OutlineFileStem(QStringLiteral("a") + name),
                 QStringLiteral("a") + QString(121, QChar(0x0416)));  // 243 bytes, not 244
        OutlineDraft draft = CentredDraft(name, PieceShape(1), AllBut({1}));
        const SavedOutline saved = SaveOwnOutline(draft);
        QVERIFY2(saved.error.isEmpty(), qPrintable(saved.error));
        QCOMPARE(ReadOutlineStrict(kvtest::ReadBytes(saved.path)).draft.name, name);
        QCOMPARE(SaveOwnOutline(draft).path, own.path + stem + QStringLiteral(" (2).kvt"));
    }

    // A file that appears between choosing the name and writing is never replaced: the next
    // free name is taken.
    void aFileMadeMeanwhileIsKept() {
        kvtest::GameWindow game;
        kvtest::OwnOutlines own;
        const OutlineDraft draft =
            CentredDraft(QStringLiteral("Крест"), PieceShape(1), AllBut({1}));
        QStringList chosen;
        const SavedOutline saved = SaveOwnOutline(draft, [&](const QString& path) {
            if (chosen.isEmpty()) {
                QFile other(path);
                QVERIFY(other.open(QIODevice::WriteOnly));
                other.write("another program's");
            }
            chosen << path;
        });
        QCOMPARE(chosen, (QStringList{own.path + QStringLiteral("Крест.kvt"),
                                      own.path + QStringLiteral("Крест (2).kvt")}));
        QCOMPARE(saved.path, chosen.back());
        QCOMPARE(kvtest::ReadBytes(chosen.front()), QByteArray("another program's"));
        QCOMPARE(kvtest::ReadBytes(saved.path), WriteOutline(draft));
    }

    // A drawing either folder holds already (same shape anywhere, same pieces) is named and not
    // written; «Играть» plays that outline. A shipped outline's name is not offered.
    void outlinesAlreadyThereAreNotSavedAgain() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        kvtest::OwnOutlines own;
        ExamplesPath = ShippedFolder();
        QCOMPARE(OpenKvelt(ExamplesPath + QStringLiteral("0001.kvt")), 0);
        {
            frmRedaktor editor;
            QVERIFY(editor.txtName()->text().isEmpty());
            QCOMPARE(editor.CellCount(), 60);
            editor.txtName()->setText(QStringLiteral("Ещё один"));
            editor.kProverit()->click();
            const QString same =
                QStringLiteral("Такой квелт уже есть: «Прямоугольник 6х10» (0001.kvt).");
            QCOMPARE(editor.lblSohranit()->text(), same);
            QVERIFY(!editor.kSohranit_Click());
            QCOMPARE(platform::LastTold(), same);
            QVERIFY(QDir(own.path).isEmpty());
        }
        // The player's own folder counts too, wherever the shape was drawn; a set of other
        // pieces is another outline.
        kvtest::StartPlay();
        OutlinePath.clear();
        frmRedaktor editor;
        editor.txtName()->setText(QStringLiteral("Брусок"));
        Draw(editor, Rectangle(6, 5, 2, 2));
        editor.kProverit()->click();
        QVERIFY(editor.kSohranit_Click());
        const QString saved = editor.SavedPath();
        editor.kOchistit()->click();
        Draw(editor, Rectangle(6, 5, 20, 10));
        editor.kProverit()->click();
        QCOMPARE(editor.lblSohranit()->text(),
                 QStringLiteral("Такой квелт уже есть: «Брусок» (Брусок.kvt)."));
        editor.cboNabor_Change(1);
        QVERIFY(editor.lblSohranit()->text().isEmpty());
        editor.cboNabor_Change(0);
        QSignalSpy accepted(&editor, &QDialog::accepted);
        editor.kIgrat()->click();
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(OutlinePath, saved);
        QCOMPARE(QDir(own.path).entryList(QDir::Files).size(), 1);

        // A file copied in from elsewhere need not stand centred.
        OutlineDraft copied{QStringLiteral("Чужой"), AllBut({1}), PieceShape(1)};
        for (BoardCell& c : copied.cells) c = {c.column - 8, c.row - 8};
        QFile file(own.path + QStringLiteral("Чужой.kvt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(WriteOutline(copied));
        file.close();
        frmRedaktor another;
        another.kOchistit_Click();  // it opens on the outline just played
        another.txtName()->setText(QStringLiteral("Крест"));
        Draw(another, PieceShape(1));
        another.kProverit()->click();
        QCOMPARE(another.lblSohranit()->text(),
                 QStringLiteral("Такой квелт уже есть: «Чужой» (Чужой.kvt)."));
    }

    // The player picks the set: its tiling is shown in its pieces' colours, it is counted,
    // named in the answer and saved.
    void theChosenSetIsShownCountedAndSaved() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        kvtest::OwnOutlines own;
        frmRedaktor editor;
        const std::vector<BoardCell> cells = Rectangle(6, 5, 4, 4);
        const DrawingCheck check = CheckDrawing(cells);
        editor.txtName()->setText(QStringLiteral("Брусок"));
        Draw(editor, cells);
        editor.kProverit()->click();
        QComboBox* sets = editor.cboNabor();
        QVERIFY(sets->isEnabled());
        QCOMPARE(static_cast<std::size_t>(sets->count()), check.leftOut.size());
        QCOMPARE(sets->currentIndex(), 0);
        const auto colours = [&] {
            std::set<QRgb> seen;
            for (const BoardCell& c : cells) seen.insert(At(editor, c.column, c.row));
            return seen;
        };
        const auto expected = [&](std::size_t i) {
            std::set<QRgb> seen;
            for (const int p : Used(check.leftOut[i])) seen.insert(kvtest::Rgb(PieceColor[p]));
            return seen;
        };
        // The answer's last sentence: the set counted and its count.
        const auto counted = [&](std::size_t i) {
            return QStringLiteral(". %1: %2 ")
                .arg(SetText(check.leftOut[i]))
                .arg(DirectCount(cells, check.leftOut[i]));
        };
        // The first set in piece order is counted first.
        QVERIFY(editor.lblOtvet()->text().contains(counted(0)));
        QVERIFY(colours() == expected(0));
        const std::size_t last = check.leftOut.size() - 1;
        sets->setCurrentIndex(static_cast<int>(last));
        emit sets->activated(static_cast<int>(last));
        QVERIFY(colours() == expected(last));
        QVERIFY(colours() != expected(0));
        QVERIFY(editor.lblOtvet()->text().contains(counted(last)));
        QVERIFY(editor.kSohranit_Click());
        QVERIFY(ReadOutlineStrict(kvtest::ReadBytes(editor.SavedPath())).draft.excluded ==
                check.leftOut[last]);
        // Another set after the save is not the saved outline.
        editor.cboNabor_Change(0);
        QVERIFY(editor.kSohranit()->isEnabled());
    }

    // «Копировать код» once checked, for the set chosen; pasted back, the code gives the same
    // grid, name and set; a refused code changes nothing and says why.
    void codesThroughTheClipboard() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        frmRedaktor editor;
        for (QPushButton* b : {editor.kKopirovatKod(), editor.kVstavitKod()}) {
            QVERIFY(QFontMetrics(b->font()).horizontalAdvance(b->text()) < b->width() - 8);
        }
        const std::vector<BoardCell> cells = Rectangle(6, 5, 4, 4);
        const DrawingCheck check = CheckDrawing(cells);
        const int last = static_cast<int>(check.leftOut.size()) - 1;
        QVERIFY(last > 0);
        Draw(editor, cells);
        editor.kKopirovatKod()->click();
        QCOMPARE(platform::LastTold(), QStringLiteral("Код можно скопировать после «Проверить»."));
        editor.kProverit()->click();
        editor.cboNabor_Change(last);
        editor.kKopirovatKod()->click();
        QCOMPARE(platform::LastTold(), QStringLiteral("Код не скопирован: у квелта нет названия."));
        QCOMPARE(fakes.clipboard.sets, 0);
        editor.txtName()->setText(QStringLiteral(" Брусок "));
        editor.kKopirovatKod()->click();
        QCOMPARE(platform::LastTold(),
                 QStringLiteral("Код квелта «Брусок» скопирован в буфер обмена."));
        const QString code = fakes.clipboard.text;
        const OutlineCode copied = DecodeOutline(code);
        QVERIFY(copied.draft.cells == cells);  // where it stands, not centred
        QVERIFY(copied.draft.excluded == check.leftOut[last]);

        for (const QString& text : {QString(), code.chopped(3), "KV2-" + code.mid(4)}) {
            fakes.clipboard.text = text;
            editor.kVstavitKod()->click();
            QVERIFY2(platform::LastTold().startsWith(QStringLiteral("Код не принят: ")),
                     qPrintable(platform::LastTold()));
            QVERIFY(editor.DrawingCells() == cells);
            QCOMPARE(editor.txtName()->text(), QStringLiteral(" Брусок "));
            QCOMPARE(editor.cboNabor()->currentIndex(), last);
        }
        QCOMPARE(platform::LastTold(),
                 QStringLiteral("Код не принят: код версии KV2, а игра читает KV1."));
        QVERIFY(fakes.messages.questions.isEmpty());

        fakes.messages.answerYes = true;
        editor.kOchistit()->click();
        editor.txtName()->clear();
        fakes.clipboard.text = QStringLiteral("  ") + code + QStringLiteral("\n");
        editor.kVstavitKod()->click();
        QCOMPARE(fakes.messages.questions.size(), 1);  // for «Очистить» only
        QCOMPARE(platform::LastTold(), QStringLiteral("Квелт «Брусок» вставлен из кода."));
        QVERIFY(editor.DrawingCells() == cells);
        QCOMPARE(editor.txtName()->text(), QStringLiteral("Брусок"));
        QCOMPARE(editor.cboNabor()->currentIndex(), last);
        QVERIFY(editor.kSohranit()->isEnabled());
        editor.kKopirovatKod()->click();
        QCOMPARE(fakes.clipboard.text, code);

        // Over an unsaved drawing it asks first, and No keeps the drawing; Ctrl+Z undoes a paste.
        fakes.messages.answerYes = false;
        fakes.clipboard.text =
            EncodeOutline({QStringLiteral("Икс"), AllBut({1}), PieceShape(1)}).text;
        editor.kVstavitKod()->click();
        QCOMPARE(fakes.messages.questions.size(), 2);
        QVERIFY(editor.DrawingCells() == cells);
        editor.Otmenit();
        QCOMPARE(editor.CellCount(), 0);
    }

    // «Случайный» puts the outline the search found in place of the drawing, with its set, a
    // made-up name and a check; «Прервать» shows after 200 ms; the next press draws anew.
    void randomOutlineReplacesTheDrawing() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        kvtest::OwnOutlines own;
        frmRedaktor editor;
        editor.show();
        QCOMPARE(editor.spnFigury()->value(), kPieces);  // an empty grid: the whole set
        editor.spnFigury()->setValue(4);
        Draw(editor, PieceShape(1));
        fakes.messages.answerYes = true;
        fakes.jobs.hold = true;
        QTest::mouseClick(editor.kSluchainyi(), Qt::LeftButton);
        QCOMPARE(fakes.messages.questions.size(), 1);
        QVERIFY(editor.Generation().Running());
        QVERIFY(editor.kPrervatPoisk()->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(editor.kPrervatPoisk()->isVisible(), 5000);
        QTest::mouseClick(editor.kSluchainyi(), Qt::LeftButton);  // once is enough
        QCOMPARE(fakes.jobs.held.size(), std::size_t{1});
        QVERIFY(editor.DrawingCells() == PieceShape(1));
        fakes.jobs.hold = false;
        fakes.jobs.Finish();  // the outline, and then its check at once

        const GeneratorRequest first = editor.Generation().Request();
        QCOMPARE(first.grade, 3);
        const std::optional<GeneratedOutline> expected = GenerateOutline(first);
        QVERIFY(expected.has_value());
        std::vector<BoardCell> cells = expected->cells;
        std::sort(cells.begin(), cells.end(), [](const BoardCell& a, const BoardCell& b) {
            return std::pair(a.row, a.column) < std::pair(b.row, b.column);
        });
        QVERIFY(editor.DrawingCells() == cells);
        QVERIFY(editor.kPrervatPoisk()->isHidden());
        QVERIFY(editor.Unsaved());
        const QString name = RandomName(QDate::currentDate());
        QCOMPARE(editor.txtName()->text(), name);
        QVERIFY2(platform::LastTold().startsWith(
                     QStringLiteral("Нарисован случайный квелт «%1»: фигур 4, ").arg(name)),
                 qPrintable(platform::LastTold()));
        std::vector<int> set;
        for (int p = 1; p <= kPieces; ++p) {
            if (!expected->pieces[static_cast<std::size_t>(p)]) set.push_back(p);
        }
        QCOMPARE(set.size(), std::size_t{8});
        QCOMPARE(editor.cboNabor()->currentText(), SetText(set));
        QCOMPARE(DirectCount(cells, set), std::uint64_t{1});
        QVERIFY(editor.kSohranit()->isEnabled());

        // Again, over the unsaved outline: asked, and a seed of its own; Ctrl+Z goes back.
        editor.kSluchainyi()->click();
        QCOMPARE(fakes.messages.questions.size(), 2);
        QVERIFY(editor.Generation().Request().seed != first.seed);
        editor.Otmenit();
        QVERIFY(editor.DrawingCells() == cells);
        editor.Otmenit();
        QVERIFY(editor.DrawingCells() == PieceShape(1));
    }

    // Stopped, refused at the question, or overtaken by painting, the search leaves the
    // drawing and its name as they were, and the status line says why.
    void randomOutlineCancelled() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        frmRedaktor editor;
        editor.show();
        editor.spnFigury()->setValue(3);
        editor.txtName()->setText(QStringLiteral("Крест"));
        Draw(editor, PieceShape(1));
        editor.kSluchainyi()->click();  // No to the question: nothing runs
        QCOMPARE(fakes.jobs.runs, 0);

        fakes.messages.answerYes = true;
        fakes.jobs.holdWork = true;
        QTest::mouseClick(editor.kSluchainyi(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(editor.kPrervatPoisk()->isVisible(), 5000);
        QTest::mouseClick(editor.kPrervatPoisk(), Qt::LeftButton);
        fakes.jobs.Finish();
        QCOMPARE(platform::LastTold(), QStringLiteral("Поиск квелта прерван."));
        QVERIFY(editor.kPrervatPoisk()->isHidden());
        QVERIFY(!editor.Generation().Running());

        // A cell painted while it searches stops it.
        editor.kSluchainyi()->click();
        Draw(editor, {{30, 20}});
        fakes.jobs.Finish();
        QCOMPARE(platform::LastTold(), QStringLiteral("Поиск квелта прерван."));

        // Found, but painted on before the answer came: the painting stays.
        fakes.jobs.holdWork = false;
        fakes.jobs.hold = true;
        editor.kSluchainyi()->click();
        Draw(editor, {{31, 20}});
        fakes.jobs.Finish();
        QCOMPARE(platform::LastTold(),
                 QStringLiteral("Случайный квелт не вставлен: рисунок изменился."));
        std::vector<BoardCell> kept = PieceShape(1);
        kept.push_back({30, 20});
        kept.push_back({31, 20});
        QVERIFY(editor.DrawingCells() == kept);
        QCOMPARE(editor.txtName()->text(), QStringLiteral("Крест"));
    }

    // The answer's lines fit its label at the designed size, the last one included.
    void theAnswerFitsItsLabel_data() {
        QTest::addColumn<std::vector<BoardCell>>("cells");
        QTest::newRow("6 x 5") << Rectangle(6, 5);
        QTest::newRow("X") << PieceShape(1);
        QTest::newRow("5 x 5") << Rectangle(5, 5);
    }
    void theAnswerFitsItsLabel() {
        QFETCH(std::vector<BoardCell>, cells);
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        frmRedaktor editor;
        Draw(editor, cells);
        editor.kProverit()->click();
        QLabel* answer = editor.lblOtvet();
        QVERIFY(answer->text().endsWith(QStringLiteral("с точностью до симметрии.")));
        const QRect room = answer->contentsRect();
        const QRect needed =
            QFontMetrics(answer->font())
                .boundingRect(room, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                              answer->text());
        QVERIFY2(room.contains(needed), qPrintable(QStringLiteral("%1 x %2 needed in %3 x %4: %5")
                                                       .arg(needed.width())
                                                       .arg(needed.height())
                                                       .arg(room.width())
                                                       .arg(room.height())
                                                       .arg(answer->text())));
    }

    void gridFollowsItsWindow_data() {
        QTest::addColumn<QSize>("extra");  // beyond the designed size
        QTest::addColumn<int>("cell");
        QTest::addColumn<QPoint>("grid");  // its top left corner
        QTest::newRow("designed") << QSize(0, 0) << 19 << QPoint(8, 8);
        // The height keeps it at 19: centred across the 966 pixels of its area.
        QTest::newRow("wider") << QSize(300, 0) << 19 << QPoint(158, 8);
        // (1066 - 1) div 35 = 30 below 757 div 24 = 31: the width limits, centred down too.
        QTest::newRow("larger") << QSize(400, 300) << 30 << QPoint(15, 26);
    }

    // Opened over a main window of any size at the designed grid; resized, the grid's cells
    // follow the window's by the board's rule, drawn cells fill their interiors and a press
    // on any pixel of a cell paints that cell; never smaller than designed.
    void gridFollowsItsWindow() {
        QFETCH(QSize, extra);
        QFETCH(int, cell);
        QFETCH(QPoint, grid);
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        QVERIFY(kvtest::ResizeClient(game.window, 1600, 1000));
        QCOMPARE(CellSize, 41);
        frmRedaktor editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        const QSize designed = editor.DesignSize();
        QCOMPARE(designed.width(), 19 * 35 + 1 + 16);
        QCOMPARE(editor.size(), designed);
        QCOMPARE(editor.minimumSize(), designed);
        QCOMPARE(editor.GridCell(), 19);
        editor.resize(designed + extra);
        QTRY_COMPARE(editor.size(), designed + extra);
        QCOMPARE(editor.GridCell(), cell);
        QCOMPARE(editor.picSetka()->geometry(), QRect(grid, QSize(35 * cell + 1, 24 * cell + 1)));
        QCOMPARE(editor.picSetka()->canvas().Width(), 35 * cell + 1);
        // The controls along the bottom, «Закрыть» in the right corner.
        QCOMPARE(editor.kZakryt()->geometry().bottomRight(),
                 QPoint(editor.width() - 9, editor.height() - 9));
        QVERIFY(editor.kProverit()->y() > editor.picSetka()->geometry().bottom());
        const QString fault = kvtest::LayoutFault(&editor);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        // The code row's captions fit, and the size of the drawing with them.
        for (QWidget* w :
             std::initializer_list<QWidget*>{editor.kSluchainyi(), editor.spnFigury()}) {
            QVERIFY(w->y() < editor.kProverit()->y() && w->y() > editor.cboNabor()->y());
            QVERIFY(w->width() >= w->minimumSizeHint().width());
        }
        QVERIFY(QFontMetrics(editor.kSluchainyi()->font())
                    .horizontalAdvance(editor.kSluchainyi()->text()) <
                editor.kSluchainyi()->width() - 8);

        // The first and the last pixel of a cell's interior, and the cell past the last.
        QWidget* picture = editor.picSetka();
        QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(10 * cell + 1, 5 * cell + 1));
        QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(34 * cell - 1, 23 * cell - 1));
        QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(34 * cell + 1, 23 * cell + 1));
        QCOMPARE(editor.DrawingCells(), (std::vector<BoardCell>{{10, 5}, {33, 22}, {34, 23}}));
        const Canvas& c = editor.picSetka()->canvas();
        const QRgb black = kvtest::Rgb(0), line = kvtest::Rgb(platform::COLOR_APPWORKSPACE);
        for (const QPoint& p :
             {QPoint(10 * cell + 1, 5 * cell + 1), QPoint(11 * cell - 1, 6 * cell - 1),
              QPoint(10 * cell + cell / 2, 5 * cell + 2)}) {
            QCOMPARE(c.Pixel(p.x(), p.y()), black);
        }
        QCOMPARE(c.Pixel(10 * cell, 5 * cell + 2), line);
        QCOMPARE(c.Pixel(11 * cell, 5 * cell + 2), line);
        QCOMPARE(c.Pixel(10 * cell + 2, 6 * cell), line);
        QCOMPARE(c.Pixel(12 * cell + 2, 5 * cell + 2), kvtest::Rgb(platform::COLOR_BTNFACE));

        // A shown tiling is drawn again at the new size.
        fakes.messages.answerYes = true;  // the drawing may go unsaved
        editor.kOchistit()->click();
        QCOMPARE(editor.CellCount(), 0);
        Draw(editor, Rectangle(5, 1, 10, 5));
        editor.kProverit()->click();
        QCOMPARE(At(editor, 10, 5), kvtest::Rgb(PieceColor[2]));
        editor.resize(designed + extra + QSize(35, 24));
        QTRY_COMPARE(editor.GridCell(), cell + 1);
        QCOMPARE(At(editor, 14, 5), kvtest::Rgb(PieceColor[2]));

        editor.resize(300, 200);
        QTRY_COMPARE(editor.size(), designed);
        QCOMPARE(editor.GridCell(), 19);
    }

    // The editor starts on the outline on the board; Очистить empties the grid.
    void opensOnTheBoardsOutline() {
        kvtest::GameWindow game;
        kvtest::StartPlay({}, {{4, 5}, {5, 5}, {6, 5}, {7, 5}, {8, 5}});
        OutlineName = QStringLiteral("Палка");
        frmRedaktor editor;
        QCOMPARE(editor.CellCount(), 5);
        QCOMPARE(At(editor, 6, 5), kvtest::Rgb(0));
        QCOMPARE(editor.txtName()->text(), QStringLiteral("Палка"));
        editor.kOchistit()->click();
        QCOMPARE(editor.CellCount(), 0);
        QCOMPARE(At(editor, 6, 5), kvtest::Rgb(platform::COLOR_BTNFACE));
        QCOMPARE(editor.lblKletki()->text(), QStringLiteral("Клеток: 0 — нужно 5"));
        // «Случайный» offers the size of the outline it opened on, when one it can draw.
        QList<QPoint> block;
        for (const BoardCell& c : Rectangle(5, 4)) block << QPoint(c.column, c.row);
        kvtest::StartPlay({}, block);
        QCOMPARE(frmRedaktor().spnFigury()->value(), 4);
    }

    // An answer for a drawing that has changed since, or for a check the player stopped,
    // must not land; a long check shows that it works and offers to stop.
    void lateAnswersAreDropped() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        fakes.jobs.hold = true;
        frmRedaktor editor;
        editor.show();
        editor.txtName()->setText(QStringLiteral("Крест"));
        Draw(editor, PieceShape(1));
        editor.kProverit()->click();
        editor.kProverit()->click();
        QCOMPARE(fakes.jobs.runs, 1);
        QTRY_VERIFY(editor.kPrervat()->isVisible());
        QCOMPARE(editor.lblOtvet()->text(), QStringLiteral("Идёт проверка..."));
        Draw(editor, {{30, 20}});
        Draw(editor, {{30, 20}});  // painting a painted cell changes nothing
        editor.picSetka_MouseDown(Qt::RightButton, 30 * CellSize + 5, 20 * CellSize + 5);
        fakes.jobs.Finish();
        QVERIFY(!editor.kSohranit()->isEnabled());
        QVERIFY(editor.lblOtvet()->text().isEmpty());
        QCOMPARE(At(editor, 10, 10), kvtest::Rgb(0));

        editor.kProverit()->click();
        QTRY_VERIFY(editor.kPrervat()->isVisible());
        editor.kPrervat()->click();
        QVERIFY(!editor.kPrervat()->isVisible());
        fakes.jobs.Finish();
        QCOMPARE(editor.lblOtvet()->text(), QStringLiteral("Проверка прервана."));
        QVERIFY(!editor.kSohranit()->isEnabled());

        // The sets and a tiling come first and allow saving; the count follows, and stopping
        // it leaves the rest of the answer.
        editor.kProverit()->click();
        fakes.jobs.Finish();
        QVERIFY(editor.kSohranit()->isEnabled());
        QCOMPARE(At(editor, 10, 10), kvtest::Rgb(PieceColor[1]));
        QCOMPARE(editor.lblOtvet()->text(),
                 QStringLiteral("Покрывают: X. X: решения ещё считаются."));
        QTRY_VERIFY(editor.kPrervat()->isVisible());
        editor.kPrervat()->click();
        fakes.jobs.Finish();
        QVERIFY(editor.lblOtvet()->text().endsWith(QStringLiteral(": решения не сосчитаны.")));
        QVERIFY(editor.kSohranit()->isEnabled());
        QVERIFY(editor.kProverit()->isEnabled());
    }
};

QTEST_MAIN(EditorTest)
#include "test_editor.moc"
