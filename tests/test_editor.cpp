// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The outline editor: the count line, what «Проверить» finds, painting with the mouse and the
// keys, saving into the player's folder and playing, and answers that come too late.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "app/MainWindow.h"
#include "editor/DrawingCheck.h"
#include "editor/EditorWindow.h"
#include "editor/OwnOutline.h"
#include "model/Model.h"
#include "outlines/Outline.h"
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
    return editor.picSetka()->canvas().Pixel(c * CellSize + CellSize / 2, r * CellSize + 2);
}

void Draw(frmRedaktor& editor, const std::vector<BoardCell>& cells) {
    for (const BoardCell& cell : cells) {
        editor.picSetka_MouseDown(Qt::LeftButton, cell.column * CellSize + 5,
                                  cell.row * CellSize + 5);
        editor.picSetka_MouseUp(Qt::LeftButton, cell.column * CellSize + 5,
                                cell.row * CellSize + 5);
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
        QCOMPARE(check.count, count);
        if (leftOut.empty()) {
            QCOMPARE(CheckText(check),
                     QStringLiteral("Эти клетки не покрыть никаким набором фигур."));
            return;
        }
        // The tiling shown covers every cell once, with the first set's pieces.
        std::vector<BoardCell> covered;
        for (const PiecePlacement& t : check.shown) {
            QVERIFY(std::find(leftOut.front().begin(), leftOut.front().end(), t.piece) ==
                    leftOut.front().end());
            for (int k = 0; k < 5; ++k) {
                covered.push_back({t.column + PieceCells[t.piece][k][t.orientation][0],
                                   t.row + PieceCells[t.piece][k][t.orientation][1]});
            }
        }
        std::sort(covered.begin(), covered.end());
        std::sort(cells.begin(), cells.end());
        QVERIFY(covered == cells);
    }

    // A 6 x 10 tiling without its P leaves 55 cells that the set without P covers; the
    // sets come in piece order of what they use, so leaving out P comes first if it is there.
    void checkListsEverySetThatCovers() {
        const std::vector<BoardCell> full = Rectangle(10, 6);
        const DrawingCheck whole = CheckDrawing(full);
        std::vector<BoardCell> cells = full;
        for (const PiecePlacement& t : whole.shown) {
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
        QVERIFY(check.count >= 1);
        QVERIFY(CheckText(check).startsWith(QStringLiteral("Можно не брать: P")));

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
        QCOMPARE(At(editor, 5, 3), kvtest::Rgb(platform::COLOR_BTNFACE));
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
    // solution shows until the next edit; never the same file twice; Играть loads it.
    void checkSaveAndPlay() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        kvtest::OwnOutlines own;
        ExamplesPath = ShippedFolder();
        frmRedaktor editor;
        editor.txtName()->setText(QStringLiteral("Прямоугольник"));
        Draw(editor, Rectangle(10, 6, 1, 1));
        QVERIFY(!editor.kSohranit()->isEnabled());
        QVERIFY(!editor.kIgrat()->isEnabled());
        editor.kProverit()->click();
        QCOMPARE(
            editor.lblOtvet()->text(),
            QStringLiteral("Покрывается всеми фигурами: 2339 решений с точностью до симметрии."));
        QVERIFY(editor.kSohranit()->isEnabled());
        int coloured = 0;
        for (const BoardCell& c : Rectangle(10, 6, 1, 1))
            coloured += At(editor, c.column, c.row) != kvtest::Rgb(0);
        QCOMPARE(coloured, 60);

        // A name Windows-1251 cannot hold is refused; an edit forgets the check and the colours.
        editor.txtName()->setText(QStringLiteral("Ω"));
        QVERIFY(!editor.kSohranit()->isEnabled());
        editor.txtName()->setText(QStringLiteral("Прямоугольник"));
        QVERIFY(editor.kSohranit()->isEnabled());
        Draw(editor, {{20, 20}});
        editor.picSetka_MouseDown(Qt::RightButton, 20 * CellSize + 5, 20 * CellSize + 5);
        QVERIFY(!editor.kSohranit()->isEnabled());
        QVERIFY(editor.lblOtvet()->text().isEmpty());
        for (const BoardCell& c : Rectangle(10, 6, 1, 1))
            QCOMPARE(At(editor, c.column, c.row), kvtest::Rgb(0));

        editor.kProverit()->click();
        QVERIFY(editor.kSohranit_Click());
        const QString first = editor.SavedPath();
        QCOMPARE(first, own.path + QStringLiteral("Прямоугольник.kvt"));
        QVERIFY(editor.kSohranit_Click());
        QCOMPARE(editor.SavedPath(), own.path + QStringLiteral("Прямоугольник (2).kvt"));
        const QByteArray bytes = kvtest::ReadBytes(first);
        const StrictOutline saved = ReadOutlineStrict(bytes);
        QVERIFY2(saved.fault.isEmpty(), qPrintable(saved.fault));
        QCOMPARE(saved.draft.name, QStringLiteral("Прямоугольник"));
        QCOMPARE(saved.draft.cells.front(), (BoardCell{12, 9}));  // centred: (35-10)/2, (24-6)/2
        QCOMPARE(saved.draft.cells.back(), (BoardCell{21, 14}));
        QCOMPARE(kvtest::ReadBytes(editor.SavedPath()), bytes);

        // A shipped file name is not taken: the player's copy would hide the shipped outline.
        editor.txtName()->setText(QStringLiteral("0001"));
        QVERIFY(editor.kSohranit_Click());
        QCOMPARE(editor.SavedPath(), own.path + QStringLiteral("0001 (2).kvt"));

        // Played as it stands: saved already, so no further file.
        QSignalSpy accepted(&editor, &QDialog::accepted);
        editor.kIgrat()->click();
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(OutlinePath, own.path + QStringLiteral("0001 (2).kvt"));
        QCOMPARE(OutlineName, QStringLiteral("0001"));
        QCOMPARE(QDir(own.path).entryList(QDir::Files).size(), 3);
        QCOMPARE(CurrentPiece, 1);
        QCOMPARE(OutlineCells[12][9], 1);
        QVERIFY(fakes.messages.errors.isEmpty());
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
                 QStringLiteral("Можно не брать: I+T+U+V+W+Z+L+N+Y+F+P. Без I+T+U+V+W+Z+L+N+Y+F+P: "
                                "решения ещё считаются."));
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
