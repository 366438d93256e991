// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The real game under a real X server: Xvfb with a window manager, key events sent by
// xdotool, the window closed the way its close box closes it, screenshots read pixel by
// pixel. The game runs from a copy of the built program folder, so that what it writes
// there stays out of the build.
#include <pwd.h>
#include <signal.h>
#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "app/MainWindow.h"
#include "editor/EditorWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "outlines/CodeTables.h"
#include "outlines/ListDialog.h"
#include "outlines/Outline.h"
#include "outlines/OutlineCode.h"
#include "paths/Paths.h"
#include "platform/Files.h"
#include "platform/SystemColors.h"
#include "platform/TextCodec.h"
#include "play/ProgressStore.h"
#include "solver/Generator.h"
#include "view/BoardDrawing.h"
#include "view/PictureBox.h"
#include "windows/NewKveltDialog.h"
#include "windows/UspehiWindow.h"

namespace {

constexpr QRgb kGrid = 0xFFABABAB;        // the board's grid lines
constexpr QRgb kBackground = 0xFFF0F0F0;  // the board's background
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

QRgb PieceRgb(int p) {
    return kv::platform::ToRgb(kv::PieceColor[p]) | 0xFF000000u;
}

// Writes an outline file the way outline files are made: name in Windows-1251, the cell
// text and a last line scrambled with the name's code tables.
void WriteOutline(const QString& path, const QString& name, const QList<QPoint>& cells,
                  const QList<int>& excluded) {
    const QByteArray nameBytes = kv::platform::ToCp1251(name);
    kv::MakeCodeTables(nameBytes);
    QByteArray cellText;
    for (const QPoint& c : cells) {
        cellText += QByteArray::number(c.x()).rightJustified(2, ' ');
        cellText += QByteArray::number(c.y()).rightJustified(2, ' ');
    }
    QByteArray count = QByteArray::number(excluded.size());
    for (int p : excluded) count += ',' + QByteArray::number(p);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(nameBytes + "\r\n" + kv::EncodeLine(cellText) + "\r\n" + count + "\r\n" +
               kv::EncodeLine("e2e") + "\r\n");
}

// Where the board lies on a screenshot: found by its top grid line, 35 cells long.
struct Board {
    int left = -1;
    int top = -1;
    int cell = 0;  // physical pixels per cell
    int line = 1;  // physical width of a grid line
    QPoint Corner(int c, int r) const { return {left + c * cell + line, top + r * cell + line}; }
    QPoint Centre(int c, int r) const {
        return {left + c * cell + cell / 2, top + r * cell + cell / 2};
    }
};

std::optional<Board> FindBoard(const QImage& shot) {
    for (int y = 0; y < shot.height(); ++y) {
        int run = 0;
        for (int x = 0; x < shot.width(); ++x) {
            run = (shot.pixel(x, y) | 0xFF000000u) == kGrid ? run + 1 : 0;
            if (run >= 35 * 10) {
                Board b;
                b.left = x - run + 1;
                b.top = y;
                while (x + 1 < shot.width() && (shot.pixel(x + 1, y) | 0xFF000000u) == kGrid) {
                    ++x;
                    ++run;
                }
                // The top line is 35 cells plus the closing line wide.
                int line = 0;
                while ((shot.pixel(b.left, b.top + line) | 0xFF000000u) == kGrid &&
                       (shot.pixel(b.left + 3 * line + 3, b.top + line) | 0xFF000000u) == kGrid) {
                    ++line;
                }
                b.line = std::max(1, line);
                b.cell = (run - b.line) / 35;
                return b;
            }
        }
    }
    return std::nullopt;
}

class E2eX11 : public QObject {
    Q_OBJECT

    QString display_;
    QProcess xvfb_;
    QProcess wm_;
    QProcess game_;
    QTemporaryDir programDir_;
    QString screenshotDir_;
    // The player's settings folder of the games started here, out of the real home.
    QTemporaryDir configHome_;
    // Whether the next start may open where the last exit left the window.
    bool keepPlace_ = false;
    // The games' data folder (the progress store, the player's outlines), fresh for each
    // test, so that no test finds the positions another one left.
    std::unique_ptr<QTemporaryDir> dataHome_;

    QProcessEnvironment Env(double scale = 1.0) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("DISPLAY"), display_);
        if (scale != 1.0) env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome_.path());
        return env;
    }

    QString Run(const QString& program, const QStringList& args, int timeoutMs = 10000) {
        QProcess p;
        p.setProcessEnvironment(Env());
        p.start(program, args);
        p.waitForFinished(timeoutMs);
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }

    QImage Screenshot(const QString& keepAs = QString()) {
        QProcess p;
        p.setProcessEnvironment(Env());
        p.start(QStringLiteral("import"),
                {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
        p.waitForFinished(20000);
        const QByteArray png = p.readAllStandardOutput();
        QImage image = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
        if (!keepAs.isEmpty() && !screenshotDir_.isEmpty()) {
            QDir().mkpath(screenshotDir_);
            image.save(screenshotDir_ + QLatin1Char('/') + keepAs);
        }
        return image;
    }

    // The id of the first window whose name matches pattern, waiting up to timeoutMs.
    QString WaitForWindow(const QString& pattern, int timeoutMs = 40000) {
        QString ids;
        WaitUntil(
            [&] {
                ids = Run(QStringLiteral("xdotool"),
                          {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                           QStringLiteral("--name"), pattern});
                return !ids.isEmpty();
            },
            timeoutMs);
        return ids.isEmpty() ? QString() : ids.split(QLatin1Char('\n')).first();
    }

    bool WindowGone(const QString& id, int timeoutMs = 30000) {
        return WaitUntil(
            [&] {
                QProcess p;
                p.setProcessEnvironment(Env());
                p.start(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), id});
                p.waitForFinished(5000);
                const QString visible =
                    Run(QStringLiteral("xdotool"),
                        {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                         QStringLiteral("--name"), QStringLiteral(".")});
                return p.exitCode() != 0 || !visible.split(QLatin1Char('\n')).contains(id);
            },
            timeoutMs);
    }

    // Polls done until it holds or timeoutMs have passed; what it last said.
    static bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 30000) {
        QElapsedTimer timer;
        timer.start();
        while (!done()) {
            if (timer.elapsed() > timeoutMs) return false;
            QThread::msleep(50);
        }
        return true;
    }

    // Screenshots until one satisfies ok, or the deadline; the last one taken (kept as
    // keepAs), for the checks that follow to explain a failure.
    QImage ShotWhen(const std::function<bool(const QImage&)>& ok, const QString& keepAs = QString(),
                    int timeoutMs = 30000) {
        QImage shot;
        WaitUntil([&] { return ok(shot = Screenshot()); }, timeoutMs);
        if (!keepAs.isEmpty()) Screenshot(keepAs);
        return shot;
    }

    // Activates a window and waits until the keyboard goes to it: keys sent before would
    // land in whichever window had it.
    bool Focus(const QString& windowId) {
        Run(QStringLiteral("xdotool"),
            {QStringLiteral("windowactivate"), QStringLiteral("--sync"), windowId});
        return WaitUntil([&] {
            return Run(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus")}) == windowId;
        });
    }

    void Key(const QString& windowId, const QString& key) {
        QVERIFY2(Focus(windowId), qPrintable(QStringLiteral("no keyboard for ") + key));
        Run(QStringLiteral("xdotool"),
            {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), key});
    }

    // The game's windows on the screen, menus and other pop-ups included.
    int GameWindows() {
        const QString ids = Run(QStringLiteral("xdotool"),
                                {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--classname"), QStringLiteral("kvelt")});
        return ids.isEmpty() ? 0 : int(ids.split(QLatin1Char('\n')).size());
    }

    // The game has drawn its board with the hand on piece 1 at home: start-up is over.
    std::optional<Board> WaitForReady(const QString& keepAs = QString()) {
        const QImage shot = ShotWhen(
            [&](const QImage& s) {
                const auto b = FindBoard(s);
                return b && CountInCell(s, *b, 3, 1, kWhite) > 30 * b->line * b->line;
            },
            keepAs);
        return FindBoard(shot);
    }

    // A window's place and size as xdotool tells them.
    QString Geometry(const QString& windowId) {
        return Run(QStringLiteral("xdotool"),
                   {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), windowId});
    }

    // The same as a rectangle on the screen, frame left out.
    QRect WindowRect(const QString& windowId) {
        const QString geometry = Geometry(windowId);
        auto value = [&](const char* key) {
            return QRegularExpression(QStringLiteral("%1=(\\d+)").arg(QLatin1String(key)))
                .match(geometry)
                .captured(1)
                .toInt();
        };
        return {value("X"), value("Y"), value("WIDTH"), value("HEIGHT")};
    }

    // The part of the screen a window takes, widened: the position told may leave out the
    // title bar, or count it.
    QRect AroundWindow(const QString& windowId) {
        return WindowRect(windowId).adjusted(-10, -60, 10, 10) & QRect(0, 0, 1800, 1300);
    }

    // The grid of a window (the editor's, the help's first picture) found inside it as the
    // board is found on the screen, in screen coordinates; shot keeps the screenshot.
    std::optional<Board> GridIn(const QString& windowId,
                                const std::function<bool(const Board&)>& wanted,
                                QImage* shot = nullptr) {
        // Found anew on every shot: a window being maximised moves and grows meanwhile.
        QRect frame;
        std::optional<Board> grid;
        const QImage last = ShotWhen([&](const QImage& s) {
            frame = AroundWindow(windowId);
            grid = FindBoard(s.copy(frame));
            return grid && wanted(*grid);
        });
        if (shot) *shot = last;
        if (!grid || !wanted(*grid)) return std::nullopt;
        grid->left += frame.left();
        grid->top += frame.top();
        return grid;
    }

    // A window the game keeps at one size: the window manager offers neither to maximise nor
    // to resize it (but offers to close it, so the list has been read).
    QString FixedSizeFault(const QString& windowId) {
        QString actions;
        WaitUntil([&] {
            actions = Run(QStringLiteral("xprop"), {QStringLiteral("-id"), windowId,
                                                    QStringLiteral("_NET_WM_ALLOWED_ACTIONS")});
            return actions.contains(QStringLiteral("_NET_WM_ACTION_CLOSE"));
        });
        if (!actions.contains(QStringLiteral("_NET_WM_ACTION_CLOSE")) ||
            actions.contains(QStringLiteral("_NET_WM_ACTION_MAXIMIZE")) ||
            actions.contains(QStringLiteral("_NET_WM_ACTION_RESIZE"))) {
            return actions;
        }
        return {};
    }

    // Waits until a window has the keyboard and has stopped moving (a window centred once
    // more when first shown moves after it appears).
    bool Settled(const QString& windowId) {
        if (!Focus(windowId)) return false;
        QString last = Geometry(windowId);
        return WaitUntil([&] {
            const QString now = Geometry(windowId);
            return std::exchange(last, now) == now;
        });
    }

    void StartGame(double scale = 1.0, const QString& program = QString(),
                   const QString& folder = QString(),
                   std::optional<QProcessEnvironment> env = std::nullopt) {
        game_.setProcessEnvironment(env ? *env : Env(scale));
        if (!keepPlace_) QFile::remove(WindowPlace());
        // The settings file is read from the current folder and written to the program
        // folder; starting in the program folder makes the two the same file.
        game_.setWorkingDirectory(folder.isEmpty() ? programDir_.path() : folder);
        game_.start(program.isEmpty() ? programDir_.filePath(QStringLiteral("kvelt")) : program,
                    {});
        QVERIFY2(game_.waitForStarted(10000), "the game did not start");
    }

    // Closes the main window as its close box does (the window manager's close request).
    void CloseGame(const QString& windowId) {
        Run(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), windowId});
        QVERIFY2(game_.waitForFinished(30000), "the game did not end after its window was closed");
        // Whatever the game said on the way out (a sanitizer's report, say) explains a failure.
        const QByteArray said = game_.readAllStandardError();
        QVERIFY2(game_.exitStatus() == QProcess::NormalExit && game_.exitCode() == 0,
                 said.right(4000).constData());
    }

    // The environment for a game started as another user (nobody): a sanitizer build reads
    // its suppressions files at start, and those in a checkout that user may not read are
    // copied into folder first.
    QProcessEnvironment ForAnotherUser(QProcessEnvironment env, const QString& folder) {
        static const QRegularExpression file(QStringLiteral("suppressions=([^:]+)"));
        for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS"}) {
            const QString variable = QString::fromLatin1(name);
            QString options = env.value(variable);
            const QRegularExpressionMatch match = file.match(options);
            if (!match.hasMatch()) continue;
            const QString copy = folder + QLatin1Char('/') + QString::fromLatin1(name).toLower() +
                                 QStringLiteral(".supp");
            QFile::remove(copy);
            if (!QFile::copy(match.captured(1), copy)) continue;
            QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadGroup | QFileDevice::ReadOther);
            options.replace(match.capturedStart(1), match.capturedLength(1), copy);
            env.insert(variable, options);
        }
        return env;
    }

    // The window's client area on the screen (menu bar, board and status line): its size as
    // xdotool reports it, placed by the board, which lies 59 pixels in from the left and
    // right under the menu bar (as tall as on a window of our own).
    QRect ClientArea(const QString& window, const Board& board) {
        const QSize size = WindowRect(window).size();
        kv::frmForma probe;
        probe.show();
        if (!QTest::qWaitForWindowExposed(&probe)) return {};
        const int menuHeight = probe.menuBar()->height();
        return QRect(QPoint(board.left - 59, board.top - menuHeight), size);
    }

    // Keeps the main window's client area of a screenshot for the README.
    void SaveWindowShot(const QImage& shot, const QRect& client, const QString& name) {
        if (screenshotDir_.isEmpty()) return;
        QDir().mkpath(screenshotDir_);
        shot.copy(client & shot.rect()).save(screenshotDir_ + QLatin1Char('/') + name);
    }

    // Saves the main window's client area as SaveWindowShot does, with whatever dialog
    // stands over it; false when the board is not on the screen.
    bool KeepWindowShot(const QString& window, const QString& name) {
        const QImage shot = Screenshot();
        const auto board = FindBoard(shot);
        if (board) SaveWindowShot(shot, ClientArea(window, *board), name);
        return board.has_value();
    }

    QRgb At(const QImage& shot, const QPoint& p) { return shot.pixel(p) | 0xFF000000u; }

    QString WindowPlace() const {
        return configHome_.filePath(QStringLiteral("kvelt/window-place"));
    }

    // The window's size on the screen, frame left out.
    QSize WindowSize(const QString& window) { return WindowRect(window).size(); }

    // The board once it shows cells of the given test, waiting up to 10 seconds.
    std::optional<Board> WaitForBoard(const std::function<bool(const Board&)>& wanted,
                                      QImage* shot = nullptr) {
        std::optional<Board> found;
        WaitUntil(
            [&] {
                const QImage image = Screenshot();
                const auto board = FindBoard(image);
                if (!board || !wanted(*board)) return false;
                if (shot) *shot = image;
                found = board;
                return true;
            },
            10000);
        return found;
    }

    // Every vertical grid line of the board the same width, every cell interior between them
    // the same, along the middle of row r.
    QString UnevenGrid(const QImage& shot, const Board& b, int r) {
        QList<int> lines, interiors;
        const int y = b.Centre(0, r).y();
        QRgb previous = 0;
        for (int x = b.left; x < b.left + 35 * b.cell + b.line; ++x) {
            const QRgb pixel = At(shot, {x, y});
            QList<int>& runs = pixel == kGrid ? lines : interiors;
            if (x == b.left || (pixel == kGrid) != (previous == kGrid)) runs << 0;
            ++runs.last();
            previous = pixel;
        }
        const QSet<int> lineWidths(lines.begin(), lines.end());
        const QSet<int> cellWidths(interiors.begin(), interiors.end());
        if (lines.size() == 36 && lineWidths.size() == 1 && cellWidths.size() == 1) return {};
        auto text = [](const QList<int>& runs) {
            QStringList all;
            for (int run : runs) all << QString::number(run);
            return all.join(QLatin1Char(' '));
        };
        return QStringLiteral("row %1: lines %2; cells %3")
            .arg(r)
            .arg(text(lines), text(interiors));
    }

    int CountInCell(const QImage& shot, const Board& b, int c, int r, QRgb colour) {
        int n = 0;
        for (int y = 0; y < b.cell - b.line; ++y) {
            for (int x = 0; x < b.cell - b.line; ++x) {
                n += At(shot, b.Corner(c, r) + QPoint(x, y)) == colour;
            }
        }
        return n;
    }

    // Pixels of the victory window's green letters, every second one counted.
    int GreenPixels(const QImage& shot) {
        int n = 0;
        for (int y = 0; y < shot.height(); y += 2) {
            for (int x = 0; x < shot.width(); x += 2) n += At(shot, {x, y}) == 0xFF00FF00;
        }
        return n;
    }

    // The board's picture alone, grid lines included.
    QImage BoardPicture(const QImage& shot, const Board& b) {
        return shot.copy(b.left, b.top, 35 * b.cell + b.line, 24 * b.cell + b.line);
    }

    // Outline cells of the 6 x 10 rectangle still black.
    int BlackCells(const QImage& shot, const Board& b) {
        int black = 0;
        for (int c = 12; c < 22; ++c) {
            for (int r = 9; r < 15; ++r) black += At(shot, b.Centre(c, r)) == kBlack;
        }
        return black;
    }

    // Starts the game on the default outline, the 6 x 10 rectangle.
    QString StartOnRectangle() {
        QFile::remove(programDir_.filePath(QStringLiteral("Kvelt.ini")));
        StartGame();
        const QString window =
            WaitForWindow(QStringLiteral("^Головоломка «Квелт» - Прямоугольник"));
        WaitForReady();
        return window;
    }

    // Chooses an item of the «Игра» menu as a player does: a click on the menu's title,
    // Down until the item is highlighted, Enter. Disabled items are passed over, so the
    // number of Downs is found on a window of our own with the items enabled as given.
    void ChooseFromIgra(const QString& window, const std::function<QAction*(kv::frmForma&)>& item,
                        bool otmena, bool povtor) {
        int downs = 0;
        QPoint title;
        {
            kv::frmForma probe;
            probe.show();
            QVERIFY(QTest::qWaitForWindowExposed(&probe));
            probe.IgraOtmena()->setEnabled(otmena);
            probe.IgraPovtor()->setEnabled(povtor);
            // As on an outline in play, not covered, a piece away from home.
            // The journey's items too, as the game keeps one.
            for (QAction* a : {probe.IgraPodskazka(), probe.IgraReshenie(), probe.IgraZanovo(),
                               probe.IgraSleduyushchiy(), probe.IgraUspehi()}) {
                a->setEnabled(true);
            }
            title = probe.menuBar()->actionGeometry(probe.Igra()->menuAction()).center();
            QTest::mouseClick(probe.menuBar(), Qt::LeftButton, {}, title);
            QMenu* menu = probe.Igra();
            QTRY_VERIFY(menu->isVisible());
            // Never more Downs than the menu has items: past them it has gone round.
            const int most = int(menu->actions().size());
            while (menu->activeAction() != item(probe) && downs < most) {
                QTest::keyClick(menu, Qt::Key_Down);
                ++downs;
            }
            QVERIFY(downs < most);
            menu->close();
        }
        QVERIFY(Focus(window));
        const int before = GameWindows();
        Run(QStringLiteral("xdotool"),
            {QStringLiteral("mousemove"), QStringLiteral("--window"), window,
             QString::number(title.x()), QString::number(title.y()), QStringLiteral("click"),
             QStringLiteral("1")});
        QVERIFY2(WaitUntil([&] { return GameWindows() > before; }), "the «Игра» menu did not open");
        for (int i = 0; i < downs; ++i)
            Run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Down")});
        Run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
    }

    // Screenshots until done holds for one, or timeoutMs has passed; shot keeps the last.
    bool WaitForScreen(const std::function<bool(const QImage&)>& done, QImage& shot,
                       int timeoutMs = 8000) {
        QElapsedTimer timer;
        timer.start();
        do {
            shot = Screenshot();
            if (done(shot)) return true;
        } while (timer.elapsed() < timeoutMs);
        return false;
    }

    // One line of a label in a real window as the player reads it: dragged across with the
    // mouse, from left of its first character past its end, it goes to the X selection,
    // which xclip reads. at: the line's left end in the window's own coordinates. Dragged
    // again until it reads expected or the deadline; what it read last.
    QString SelectedLine(const QString& window, const QPoint& at, int width,
                         const QString& expected) {
        QString read;
        WaitUntil(
            [&] {
                Xdo({QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                     QString::number(at.x()), QString::number(at.y()), QStringLiteral("mousedown"),
                     QStringLiteral("1"), QStringLiteral("mousemove"), QStringLiteral("--window"),
                     window, QString::number(at.x() + width), QString::number(at.y()),
                     QStringLiteral("mouseup"), QStringLiteral("1")});
                read = Run(QStringLiteral("xclip"),
                           {QStringLiteral("-o"), QStringLiteral("-selection"),
                            QStringLiteral("primary")});
                return read == expected;
            },
            10000);
        return read;
    }

    // Where a window's own (0, 0) is on the screen: the pointer put there says.
    QPoint WindowOrigin(const QString& window) {
        Xdo({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QStringLiteral("0"),
             QStringLiteral("0")});
        const QString at = Run(QStringLiteral("xdotool"),
                               {QStringLiteral("getmouselocation"), QStringLiteral("--shell")});
        auto value = [&](const char* key) {
            return QRegularExpression(QStringLiteral("%1=(\\d+)").arg(QLatin1String(key)))
                .match(at)
                .captured(1)
                .toInt();
        };
        return {value("X"), value("Y")};
    }

    // How far into a list row its text reaches: the rightmost pixel of the row, inside its
    // frame, unlike the row's own background at its right end.
    static int TextReach(const QImage& image, const QRect& row) {
        const QRect inside = row.adjusted(2, 2, -3, -2);
        const QRgb background = image.pixel(inside.right(), inside.center().y());
        for (int x = inside.right(); x > inside.left(); --x) {
            for (int y = inside.top(); y <= inside.bottom(); ++y) {
                if (image.pixel(x, y) != background) return x - row.left();
            }
        }
        return 0;
    }

    // The library as the game lists it, built here over the same folders and store.
    std::unique_ptr<kv::frmList> LibraryProbe(const QString& current) {
        kv::platform::SetProgramFolder(programDir_.path());
        kv::ExamplesPath = programDir_.filePath(QStringLiteral("Examples")) + QLatin1Char('/');
        kv::OutlineName = current;
        return std::make_unique<kv::frmList>();
    }

    // xdotool with the arguments given, told to the X server as a player's hand would.
    void Xdo(const QStringList& args) { Run(QStringLiteral("xdotool"), args); }
    void PointerTo(const QPoint& p) {
        Xdo({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(p.x()),
             QString::number(p.y())});
    }

  private slots:
    void initTestCase() {
        kv::BuildPieceSet();
        screenshotDir_ = qEnvironmentVariable("KVELT_SCREENSHOT_DIR");
        const QString built = qEnvironmentVariable("KVELT_PROGRAM_DIR");
        QVERIFY2(QFile::exists(built + QStringLiteral("/kvelt")), "the game is not built");
        QVERIFY(programDir_.isValid());
        // The games' settings folder starts with Qt's own settings file, as a player's has:
        // with none at all the editor test's save dialog saved nothing (Qt 6.4; why is not
        // known).
        QFile qtSettings(configHome_.filePath(QStringLiteral("QtProject.conf")));
        QVERIFY(qtSettings.open(QIODevice::WriteOnly));
        qtSettings.close();
        QVERIFY(QFile::copy(built + QStringLiteral("/kvelt"),
                            programDir_.filePath(QStringLiteral("kvelt"))));
        QDir().mkpath(programDir_.filePath(QStringLiteral("Examples")));
        const QDir examples(built + QStringLiteral("/Examples"));
        for (const QString& f : examples.entryList({QStringLiteral("*.kvt")}, QDir::Files)) {
            QFile::copy(examples.filePath(f),
                        programDir_.filePath(QStringLiteral("Examples/") + f));
        }

        // Xvfb picks a free display itself and writes its number: two end-to-end runs
        // started together cannot take the same one, as they could by looking for lock files.
        xvfb_.start(QStringLiteral("Xvfb"),
                    {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                     QStringLiteral("0"), QStringLiteral("1800x1300x24"),
                     QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QVERIFY(xvfb_.waitForStarted(10000));
        QByteArray number;
        QVERIFY2(WaitUntil([&] {
                     xvfb_.waitForReadyRead(100);
                     number += xvfb_.readAllStandardOutput();
                     return number.contains('\n') || xvfb_.state() == QProcess::NotRunning;
                 }),
                 "Xvfb did not say its display");
        QVERIFY2(number.trimmed().toInt() > 0 || number.trimmed() == "0",
                 xvfb_.readAllStandardError().constData());
        display_ = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
        const bool up = WaitUntil(
            [&] {
                QProcess p;
                p.setProcessEnvironment(Env());
                p.start(QStringLiteral("xdotool"), {QStringLiteral("getdisplaygeometry")});
                p.waitForFinished(5000);
                return p.exitCode() == 0 && p.exitStatus() == QProcess::NormalExit;
            },
            15000);
        QVERIFY2(up, "Xvfb did not come up");
        // On a loaded machine openbox may take long to claim the screen, or die before it
        // does: started again while the deadline lasts.
        wm_.setProcessEnvironment(Env());
        const auto wmUp = [&] {
            return Run(QStringLiteral("wmctrl"), {QStringLiteral("-m")})
                .contains(QStringLiteral("Openbox"));
        };
        QString wmErrors;
        bool wmRunning = false;
        for (int attempt = 0; attempt < 3 && !wmRunning; ++attempt) {
            if (wm_.state() != QProcess::NotRunning) {
                wm_.kill();
                wm_.waitForFinished(5000);
            }
            wm_.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
            QVERIFY(wm_.waitForStarted(10000));
            wmRunning =
                WaitUntil([&] { return wm_.state() == QProcess::NotRunning || wmUp(); }, 30000) &&
                wm_.state() != QProcess::NotRunning;
            wmErrors += QString::fromLocal8Bit(wm_.readAllStandardError());
        }
        QVERIFY2(wmRunning,
                 qPrintable(QStringLiteral("the window manager did not come up on %1 (Xvfb %2): %3")
                                .arg(display_,
                                     xvfb_.state() == QProcess::Running ? QStringLiteral("running")
                                                                        : QStringLiteral("gone"),
                                     wmErrors)));
    }

    void init() {
        dataHome_ = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", dataHome_->path().toUtf8());
    }

    // A step that failed half way leaves no game behind for the next one to meet.
    void cleanup() {
        if (game_.state() != QProcess::NotRunning) {
            game_.kill();
            game_.waitForFinished(5000);
        }
    }

    void cleanupTestCase() {
        if (game_.state() != QProcess::NotRunning) {
            game_.kill();
            game_.waitForFinished(5000);
        }
        wm_.terminate();
        wm_.waitForFinished(5000);
        xvfb_.terminate();
        xvfb_.waitForFinished(5000);
    }

    // First start: the default outline, the pieces at home, the hand on piece 1; an arrow
    // moves it; closing writes the settings file; the next start shows the outline chosen.
    void playDefaultOutlineAndRemember() {
        QFile::remove(programDir_.filePath(QStringLiteral("Kvelt.ini")));
        StartGame();
        const QString window = WaitForWindow(QStringLiteral("^Головоломка «Квелт» - "));
        QVERIFY2(!window.isEmpty(), "no main window with an outline in its caption");
        WaitForReady();

        QImage shot = Screenshot(QStringLiteral("start.png"));
        const auto board = FindBoard(shot);
        QVERIFY2(board.has_value(), "no board grid on the screen");
        SaveWindowShot(shot, ClientArea(window, *board), QStringLiteral("kvelt.png"));
        QCOMPARE(board->cell, 19);
        QCOMPARE(board->line, 1);
        for (int i = 0; i <= 35; ++i)
            QCOMPARE(At(shot, {board->left + 19 * i, board->top + 7}), kGrid);
        for (int j = 0; j <= 24; ++j)
            QCOMPARE(At(shot, {board->left + 7, board->top + 19 * j}), kGrid);

        // Pieces at home in their colours; the default outline is all black, uncovered.
        kv::FiguryPoMestam();
        int pieceCells = 0;
        for (int p = 1; p <= 12; ++p) {
            for (int k = 0; k < 5; ++k) {
                const int c = kv::PieceCellColumn(p, k);
                const int r = kv::PieceCellRow(p, k);
                QCOMPARE(At(shot, board->Corner(c, r)), PieceRgb(p));
                ++pieceCells;
            }
        }
        QCOMPARE(pieceCells, 60);
        int black = 0;
        for (int c = 0; c < 35; ++c) {
            for (int r = 0; r < 24; ++r) black += At(shot, board->Centre(c, r)) == kBlack;
        }
        QCOMPARE(black, 60);
        // The hand marker on piece 1's reference cell: white palm, black outline.
        QVERIFY(CountInCell(shot, *board, 3, 1, kWhite) > 30);
        QVERIFY(CountInCell(shot, *board, 3, 1, kBlack) > 20);

        // Right arrow: piece 1 moves one cell to the right, hand and all.
        Key(window, QStringLiteral("Right"));
        shot = ShotWhen([&](const QImage& s) { return CountInCell(s, *board, 4, 1, kWhite) > 30; },
                        QStringLiteral("moved.png"));
        const QRgb blue = PieceRgb(1);
        for (const QPoint cell : {QPoint(4, 0), QPoint(3, 1), QPoint(5, 1), QPoint(4, 2)}) {
            QCOMPARE(At(shot, board->Corner(cell.x(), cell.y())), blue);
        }
        QCOMPARE(At(shot, board->Corner(3, 0)), kBackground);
        QCOMPARE(At(shot, board->Corner(2, 1)), kBackground);
        QCOMPARE(At(shot, board->Corner(3, 2)), kBackground);
        QCOMPARE(CountInCell(shot, *board, 3, 1, kWhite), 0);
        QVERIFY(CountInCell(shot, *board, 4, 1, kWhite) > 30);

        // Choose another outline in the library (F4, the next entry, Enter).
        const QString first =
            Run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window});
        Key(window, QStringLiteral("F4"));
        const QString library = WaitForWindow(QStringLiteral("^Список квелтов$"));
        QVERIFY2(!library.isEmpty(), "F4 did not open the outline library");
        Key(library, QStringLiteral("Down"));
        Key(library, QStringLiteral("Return"));
        QVERIFY2(WindowGone(library), "Enter did not close the library");
        QString caption;
        WaitUntil([&] {
            caption = Run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window});
            return caption != first;
        });
        QVERIFY2(caption != first && caption.startsWith(QStringLiteral("Головоломка «Квелт» - ")),
                 qPrintable(caption));
        CloseGame(window);
        QFile ini(programDir_.filePath(QStringLiteral("Kvelt.ini")));
        QVERIFY2(ini.open(QIODevice::ReadOnly), "Kvelt.ini was not written");
        const QByteArray remembered = ini.readAll();
        QVERIFY2(remembered.endsWith("\r\n"), remembered.constData());
        const QString path = QString::fromUtf8(remembered.chopped(2));
        QVERIFY2(path.startsWith(programDir_.filePath(QStringLiteral("Examples/"))),
                 qPrintable(path));
        QVERIFY(QFile::exists(path));

        // Start again: the remembered outline is shown.
        StartGame();
        const QString again = WaitForWindow(QStringLiteral("^Головоломка «Квелт» - "));
        QVERIFY(!again.isEmpty());
        QCOMPARE(Run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), again}), caption);
        CloseGame(again);
    }

    // An outline for the X piece alone, one move right of its home: the move shows
    // "Конец игры", and Enter closes it.
    void oneMoveToVictory() {
        const QString outline = programDir_.filePath(QStringLiteral("Examples/e2e-one-move.kvt"));
        WriteOutline(outline, QStringLiteral("Один ход"), {{4, 0}, {3, 1}, {4, 1}, {5, 1}, {4, 2}},
                     {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
        QFile ini(programDir_.filePath(QStringLiteral("Kvelt.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(outline.toUtf8() + "\r\n");
        ini.close();

        StartGame();
        const QString window = WaitForWindow(QStringLiteral("^Головоломка «Квелт» - Один ход$"));
        QVERIFY2(!window.isEmpty(), "the outline was not loaded from the settings file");
        WaitForReady();
        QVERIFY(WaitForWindow(QStringLiteral("^Конец игры$"), 500).isEmpty());
        Key(window, QStringLiteral("Right"));
        const QString victory = WaitForWindow(QStringLiteral("^Конец игры$"));
        QVERIFY2(!victory.isEmpty(), "no victory window after the covering move");
        const QString resizable = FixedSizeFault(victory);
        QVERIFY2(resizable.isEmpty(), qPrintable(QStringLiteral("victory: ") + resizable));
        // The green letters are on the screen.
        const QImage shot = ShotWhen([&](const QImage& s) { return GreenPixels(s) > 50; },
                                     QStringLiteral("victory.png"));
        QVERIFY2(GreenPixels(shot) > 50, "no green letters in the victory window");
        Key(victory, QStringLiteral("Return"));
        QVERIFY2(WindowGone(victory), "Enter did not close the victory window");
        CloseGame(window);
    }

    // Twice the scale: the same layout, drawn crisply in the screen's own pixels.
    void hiDpiDrawsCrisply() {
        QFile::remove(programDir_.filePath(QStringLiteral("Kvelt.ini")));
        StartGame(2.0);
        const QString window = WaitForWindow(QStringLiteral("^Головоломка «Квелт» - "));
        QVERIFY(!window.isEmpty());
        WaitForReady();
        const QImage shot = Screenshot(QStringLiteral("hidpi.png"));
        const auto board = FindBoard(shot);
        QVERIFY(board.has_value());
        QCOMPARE(board->cell, 38);
        QCOMPARE(board->line, 2);
        // No blended colours anywhere on the board: every pixel is one the game paints.
        QSet<QRgb> known = {kGrid, kBackground, kBlack, kWhite};
        for (int p = 1; p <= 12; ++p) known.insert(PieceRgb(p));
        int strange = 0;
        for (int y = board->top; y < board->top + 24 * board->cell + board->line; ++y) {
            for (int x = board->left; x < board->left + 35 * board->cell + board->line; ++x) {
                strange += !known.contains(At(shot, {x, y}));
            }
        }
        QCOMPARE(strange, 0);
        QVERIFY(CountInCell(shot, *board, 3, 1, kWhite) > 4 * 30);
        CloseGame(window);
    }

    // A menu opened by a click and closed by Esc, or by a click elsewhere, leaves the
    // keyboard to the board: the arrows move the piece, not the menu bar's hidden highlight.
    // The board as the real screen shows it at the start is also the help's first picture.
    void arrowsMoveThePieceAfterAMenuIsClosed() {
        QFile::remove(programDir_.filePath(QStringLiteral("Kvelt.ini")));
        StartGame();
        const QString window = WaitForWindow(QStringLiteral("^Головоломка «Квелт» - "));
        QVERIFY(!window.isEmpty());
        WaitForReady();
        const QImage start = Screenshot();
        const auto board = FindBoard(start);
        QVERIFY(board.has_value());
        const QImage help(qEnvironmentVariable("KVELT_PROGRAM_DIR") +
                          QStringLiteral("/help/start.png"));
        QVERIFY2(!help.isNull(), "no help/start.png in the program folder");
        const QImage shown = start.copy(board->left, board->top, help.width(), help.height());
        int differing = 0;
        for (int y = 0; y < help.height(); ++y) {
            for (int x = 0; x < help.width(); ++x) {
                differing += At(shown, {x, y}) != (help.pixel(x, y) | 0xFF000000u);
            }
        }
        if (differing > 0 && !screenshotDir_.isEmpty())
            shown.save(screenshotDir_ + QStringLiteral("/help-start-shown.png"));
        QCOMPARE(differing, 0);

        const QString geometry =
            Run(QStringLiteral("xdotool"),
                {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
        const int menuHeight = QRegularExpression(QStringLiteral("HEIGHT=(\\d+)"))
                                   .match(geometry)
                                   .captured(1)
                                   .toInt() -
                               478;
        const QPoint menu(board->left - 59 + 20, board->top - menuHeight / 2);
        const QRect boardRect(board->left, board->top, 35 * board->cell, 24 * board->cell);
        // Each click or key waits for what it does: the menu open, the menu closed, the hand
        // moved.
        const int alone = GameWindows();
        const auto menuOpen = [&] { return GameWindows() > alone; };
        // Without --sync, which waits for the pointer to move and so hangs when it is already
        // there (the second click on the menu); the server takes the move before the click.
        const auto click = [this](QPoint p) {
            Run(QStringLiteral("xdotool"),
                {QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y()),
                 QStringLiteral("click"), QStringLiteral("1")});
        };
        const auto key = [this](const QString& name) {
            Run(QStringLiteral("xdotool"), {QStringLiteral("key"), name});
        };
        const auto handIn = [&](int c, int r) {
            return [&, c, r](const QImage& s) { return CountInCell(s, *board, c, r, kWhite) > 30; };
        };
        const QRgb blue = PieceRgb(1);

        click(menu);
        QVERIFY2(WaitUntil(menuOpen), "the menu did not open");
        QVERIFY2(Screenshot().copy(boardRect) != start.copy(boardRect),
                 "the menu is not over the board");
        key(QStringLiteral("Escape"));
        QVERIFY2(WaitUntil([&] { return !menuOpen(); }), "Esc did not close the menu");
        key(QStringLiteral("Right"));
        QImage shot = ShotWhen(handIn(4, 1), QStringLiteral("after-menu-esc.png"));
        for (const QPoint cell : {QPoint(4, 0), QPoint(3, 1), QPoint(5, 1), QPoint(4, 2)}) {
            QCOMPARE(At(shot, board->Corner(cell.x(), cell.y())), blue);
        }
        QCOMPARE(At(shot, board->Corner(2, 1)), kBackground);

        // Closed by a click beside the board, on the window's empty client area.
        click(menu);
        QVERIFY2(WaitUntil(menuOpen), "the menu did not open again");
        click({board->left + 35 * board->cell + 30, board->top + 300});
        QVERIFY2(WaitUntil([&] { return !menuOpen(); }), "a click beside did not close the menu");
        key(QStringLiteral("Down"));
        shot = ShotWhen(handIn(4, 2), QStringLiteral("after-menu-click.png"));
        for (const QPoint cell : {QPoint(4, 1), QPoint(3, 2), QPoint(5, 2), QPoint(4, 3)}) {
            QCOMPARE(At(shot, board->Corner(cell.x(), cell.y())), blue);
        }
        QCOMPARE(At(shot, board->Corner(4, 0)), kBackground);
        CloseGame(window);
    }

    // Twelve hints cover the rectangle and the victory window shows; Ctrl+Z then takes the
    // last hint back: five outline cells black again, the piece back where it was.
    void twelveHintsThenTheLastTakenBack() {
        const QString window = StartOnRectangle();
        QVERIFY(!window.isEmpty());
        QImage shot = Screenshot();
        const auto board = FindBoard(shot);
        QVERIFY(board.has_value());
        QCOMPARE(BlackCells(shot, *board), 60);
        for (int i = 0; i < 12; ++i) Key(window, QStringLiteral("ctrl+h"));
        const QString victory = WaitForWindow(QStringLiteral("^Конец игры$"));
        QVERIFY2(!victory.isEmpty(), "twelve hints did not end the puzzle");
        Key(victory, QStringLiteral("Return"));
        QVERIFY(WindowGone(victory));
        shot = ShotWhen([&](const QImage& s) { return BlackCells(s, *board) == 0; },
                        QStringLiteral("hinted.png"));
        QCOMPARE(BlackCells(shot, *board), 0);
        Key(window, QStringLiteral("ctrl+z"));
        shot = ShotWhen([&](const QImage& s) { return BlackCells(s, *board) != 0; },
                        QStringLiteral("hint-taken-back.png"));
        QCOMPARE(BlackCells(shot, *board), 5);
        CloseGame(window);
    }

    // Two moves and an exchange by click, taken back one by one to the very pixels before
    // each, then done again by Ctrl+Y and Ctrl+Shift+Z.
    void movesAndAnExchangeTakenBackAndRedone() {
        const QString window = StartOnRectangle();
        QVERIFY(!window.isEmpty());
        QImage shot = Screenshot();
        const auto board = FindBoard(shot);
        QVERIFY(board.has_value());
        QList<QImage> seen{BoardPicture(shot, *board)};
        Key(window, QStringLiteral("Right"));
        Key(window, QStringLiteral("Down"));
        seen << BoardPicture(
            ShotWhen([&](const QImage& s) { return CountInCell(s, *board, 4, 2, kWhite) > 30; }),
            *board);
        // The I waits at home around (3, 5): a click on it makes it current.
        const QPoint i = board->Centre(2, 5);
        Run(QStringLiteral("xdotool"),
            {QStringLiteral("mousemove"), QString::number(i.x()), QString::number(i.y()),
             QStringLiteral("click"), QStringLiteral("1")});
        shot = ShotWhen([&](const QImage& s) { return CountInCell(s, *board, 3, 5, kWhite) > 30; });
        seen << BoardPicture(shot, *board);
        QVERIFY2(CountInCell(shot, *board, 3, 5, kWhite) > 30, "the click did not lift the I");
        QVERIFY(seen[2] != seen[1] && seen[1] != seen[0]);

        // Each step waits for the board to show the picture it should; a wrong one times out.
        const auto shows = [&](const QImage& picture) {
            return BoardPicture(ShotWhen([&](const QImage& s) {
                                    return BoardPicture(s, *board) == picture;
                                }),
                                *board) == picture;
        };
        Key(window, QStringLiteral("ctrl+z"));
        QVERIFY(shows(seen[1]));
        Key(window, QStringLiteral("ctrl+z"));
        Key(window, QStringLiteral("ctrl+z"));
        QVERIFY(shows(seen[0]));
        Key(window, QStringLiteral("ctrl+y"));
        Key(window, QStringLiteral("ctrl+y"));
        QVERIFY(shows(seen[1]));
        Key(window, QStringLiteral("ctrl+shift+z"));
        QVERIFY(shows(seen[2]));
        CloseGame(window);
    }

    // «Решение» from the menu covers the outline in one step; Ctrl+Z takes all of it back.
    void solutionTakenBackWhole() {
        const QString window = StartOnRectangle();
        QVERIFY(!window.isEmpty());
        const auto board = FindBoard(Screenshot());
        QVERIFY(board.has_value());
        Key(window, QStringLiteral("Right"));
        QImage shot =
            ShotWhen([&](const QImage& s) { return CountInCell(s, *board, 4, 1, kWhite) > 30; });
        const QImage before = BoardPicture(shot, *board);
        ChooseFromIgra(window, &kv::frmForma::IgraReshenie, true, false);
        shot = ShotWhen([&](const QImage& s) { return BlackCells(s, *board) == 0; },
                        QStringLiteral("solution.png"));
        QCOMPARE(BlackCells(shot, *board), 0);
        // The solution shown is no victory.
        QVERIFY(WaitForWindow(QStringLiteral("^Конец игры$"), 1000).isEmpty());
        Key(window, QStringLiteral("ctrl+z"));
        shot = ShotWhen([&](const QImage& s) { return BoardPicture(s, *board) == before; });
        QVERIFY(BoardPicture(shot, *board) == before);
        CloseGame(window);
    }

    // The records of the progress store, all files together.
    QByteArray StoreText() {
        QByteArray all;
        const QDir store(dataHome_->filePath(QStringLiteral("kvelt/progress")));
        for (const QString& f : store.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
            QFile file(store.filePath(f));
            if (file.open(QIODevice::ReadOnly)) all += file.readAll();
        }
        return all;
    }

    // Three moves, then the game killed (kill -9) without a chance to write: started again,
    // the board shows the arrangement of the third move, or at most the second. Then solved by
    // hints, the store marks it solved with help, and «Следующий» loads another outline.
    void positionSurvivesAKillThenSolvedAndNext() {
        QString window = StartOnRectangle();
        QVERIFY(!window.isEmpty());
        const auto board = FindBoard(Screenshot());
        QVERIFY(board.has_value());
        QList<QImage> seen{BoardPicture(Screenshot(), *board)};
        for (int move = 0; move < 3; ++move) {
            Key(window, QStringLiteral("Right"));
            const QImage shot =
                ShotWhen([&](const QImage& s) { return BoardPicture(s, *board) != seen.last(); });
            seen << BoardPicture(shot, *board);
            QVERIFY2(seen.last() != seen[seen.size() - 2], "a move did not show");
        }
        ::kill(static_cast<pid_t>(game_.processId()), SIGKILL);
        QVERIFY(game_.waitForFinished(10000));

        StartGame();
        window = WaitForWindow(QStringLiteral("^Головоломка «Квелт» - Прямоугольник"));
        QVERIFY(!window.isEmpty());
        const QImage back = ShotWhen(
            [&](const QImage& s) {
                const QImage b = BoardPicture(s, *board);
                return b == seen[3] || b == seen[2];
            },
            QStringLiteral("after-kill.png"));
        QVERIFY2(BoardPicture(back, *board) == seen[3] || BoardPicture(back, *board) == seen[2],
                 "the position was not brought back after kill -9");

        for (int i = 0; i < 12; ++i) Key(window, QStringLiteral("ctrl+h"));
        const QString victory = WaitForWindow(QStringLiteral("^Конец игры$"));
        QVERIFY2(!victory.isEmpty(), "the hints did not end the puzzle");
        QVERIFY2(WaitUntil([&] { return StoreText().contains("\tstate=helped"); }),
                 StoreText().constData());
        // OK has the keyboard; Tab goes to «Следующий».
        Key(victory, QStringLiteral("Tab"));
        Key(victory, QStringLiteral("space"));
        QVERIFY(WindowGone(victory));
        QVERIFY2(WaitUntil([&] {
                     const QString caption =
                         Run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window});
                     return caption.startsWith(QStringLiteral("Головоломка «Квелт» - ")) &&
                            !caption.contains(QStringLiteral("Прямоугольник 6"));
                 }),
                 "«Следующий» did not load another outline");
        LibraryAndUspehiShowTheSolve(window);
        if (QTest::currentTestFailed()) return;
        CloseGame(window);
    }

    // After the rectangle was solved with hints and «Следующий» loaded the next outline:
    // in the library (F4), the rectangle's entry carries the mark and, selected, its line of
    // the journey tells the best time; «Успехи» counts one solved.
    void LibraryAndUspehiShowTheSolve(const QString& window) {
        const QString caption =
            Run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window});
        const QString current = caption.section(QStringLiteral(" - "), 1);
        const auto probe = LibraryProbe(current);
        QListWidget* list = probe->lstKvelt();
        int rectangle = -1;
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->text().contains(QStringLiteral(") Прямоугольник 6х10")))
                rectangle = i;
        }
        QVERIFY2(rectangle >= 0, "the rectangle is not in the library");
        const int next = probe->SelectedIndex();
        QVERIFY2(next > rectangle, qPrintable(current));
        QCOMPARE(list->item(rectangle)->text(),
                 QStringLiteral("%1) Прямоугольник 6х10").arg(rectangle + 1) +
                     kv::JourneyMark(kv::OutlineState::SolvedWithHints));

        Key(window, QStringLiteral("F4"));
        const QString library = WaitForWindow(QStringLiteral("^Список квелтов$"));
        QVERIFY2(!library.isEmpty(), "F4 did not open the outline library");
        QVERIFY(Settled(library));
        for (int i = rectangle; i < next; ++i) Key(library, QStringLiteral("Up"));
        probe->resize(WindowSize(library));
        probe->show();
        QVERIFY(QTest::qWaitForWindowExposed(probe.get()));
        list->setCurrentRow(rectangle);
        const QStringList lines = probe->lblJourney()->text().split(QLatin1Char('\n'));
        QVERIFY2(lines.size() == 2 && lines[1].contains(QStringLiteral("Лучшее время")),
                 qPrintable(lines.join(QLatin1Char('|'))));
        const QRect label = probe->lblJourney()->geometry();
        const int line = probe->lblJourney()->fontMetrics().lineSpacing();
        // The entry on the screen reaches as far as the probe's, mark and all; without the
        // mark it would end well short.
        const QRect rowInList = list->visualItemRect(list->item(rectangle));
        const QRect row(list->viewport()->mapTo(probe.get(), rowInList.topLeft()),
                        rowInList.size());
        const int probeReach = TextReach(probe->grab().toImage(), row);
        const int markWidth = list->fontMetrics().horizontalAdvance(
            kv::JourneyMark(kv::OutlineState::SolvedWithHints));
        QVERIFY2(markWidth > 20 && probeReach > markWidth, qPrintable(QString::number(probeReach)));
        const QPoint origin = WindowOrigin(library);
        int seenReach = 0;
        WaitUntil(
            [&] {
                seenReach = TextReach(Screenshot(), row.translated(origin));
                return std::abs(seenReach - probeReach) <= 3;
            },
            10000);
        QVERIFY2(std::abs(seenReach - probeReach) <= 3,
                 qPrintable(QStringLiteral("the entry reaches %1 px, with its mark %2")
                                .arg(seenReach)
                                .arg(probeReach)));
        const QString read = SelectedLine(library, {label.left() + 1, label.top() + line * 3 / 2},
                                          label.width(), lines[1]);
        QVERIFY2(read == lines[1], qPrintable(QStringLiteral("the library says: ") + read));
        Key(library, QStringLiteral("Escape"));
        QVERIFY2(WindowGone(library), "Esc did not close the library");

        // A move first, so that the «Игра» menu is as ChooseFromIgra sees it.
        Key(window, QStringLiteral("Right"));
        ChooseFromIgra(window, &kv::frmForma::IgraUspehi, true, false);
        const QString uspehi = WaitForWindow(QStringLiteral("^Успехи$"));
        QVERIFY2(!uspehi.isEmpty(), "«Успехи» did not open");
        QVERIFY(Settled(uspehi));
        kv::frmUspehi shape({}, kv::UspehiTotals{});
        shape.resize(WindowSize(uspehi));
        shape.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shape));
        const QRect itogi = shape.lblItogi()->geometry();
        const int shipped = list->count();
        const QString solved =
            QStringLiteral("Собрано 1 из %1: из библиотеки 1 из %1, своих 0 из 0.").arg(shipped);
        const QString said = SelectedLine(
            uspehi,
            {itogi.left() + 1, itogi.top() + shape.lblItogi()->fontMetrics().lineSpacing() / 2},
            itogi.width(), solved);
        QVERIFY2(said == solved, qPrintable(QStringLiteral("«Успехи» says: ") + said));
        Key(uspehi, QStringLiteral("Escape"));
        QVERIFY2(WindowGone(uspehi), "Esc did not close «Успехи»");
    }

    // No browser anywhere (no xdg-open on an empty PATH, no BROWSER): F1 shows the help in
    // the game's own window, its first picture as shipped; Ctrl+F finds the text under it,
    // and Esc closes the window.
    void helpWithoutABrowserOpensInTheGame() {
        QFile::remove(programDir_.filePath(QStringLiteral("Kvelt.ini")));
        QProcessEnvironment bare = Env();
        bare.insert(QStringLiteral("PATH"), QString());
        for (const char* name : {"BROWSER", "DEFAULT_BROWSER"})
            bare.remove(QString::fromLatin1(name));
        // The game's folder has no help of its own: the built one is put beside it.
        const QString built = qEnvironmentVariable("KVELT_PROGRAM_DIR");
        QDir().mkpath(programDir_.filePath(QStringLiteral("help")));
        for (const QString& f :
             {QStringLiteral("Справка.html"), QStringLiteral("help/start.png")}) {
            QFile::remove(programDir_.filePath(f));
            QVERIFY(QFile::copy(built + QLatin1Char('/') + f, programDir_.filePath(f)));
        }
        StartGame(1.0, QString(), QString(), bare);
        const QString window = WaitForWindow(QStringLiteral("^Головоломка «Квелт» - "));
        QVERIFY(!window.isEmpty());
        WaitForReady();
        Key(window, QStringLiteral("F1"));
        const QString help = WaitForWindow(QStringLiteral("^Справка — Головоломка «Квелт»$"));
        QVERIFY2(!help.isEmpty(), game_.readAllStandardError().right(2000).constData());
        QVERIFY(Settled(help));

        const QRect frame = AroundWindow(help);
        const QImage picture(programDir_.filePath(QStringLiteral("help/start.png")));
        QVERIFY(!picture.isNull());
        auto differing = [&](const QImage& shot) {
            const auto board = FindBoard(shot.copy(frame));
            if (!board) return -1;
            const QImage shown =
                shot.copy(frame).copy(board->left, board->top, picture.width(), picture.height());
            int n = 0;
            for (int y = 0; y < picture.height(); ++y) {
                for (int x = 0; x < picture.width(); ++x) {
                    n += At(shown, {x, y}) != (picture.pixel(x, y) | 0xFF000000u);
                }
            }
            return n;
        };
        // Down a line at a time until the whole picture is in sight.
        QImage shot;
        for (int line = 0; line < 150 && differing(shot = Screenshot()) != 0; ++line) {
            Key(help, QStringLiteral("Down"));
        }
        if (!screenshotDir_.isEmpty())
            shot.save(screenshotDir_ + QStringLiteral("/help-window.png"));
        QCOMPARE(differing(shot), 0);

        Key(help, QStringLiteral("Escape"));
        QVERIFY2(WindowGone(help), "Esc did not close the help window");
        CloseGame(window);
    }

    // Installed to a prefix, the launcher starts the game from any current folder with its
    // program folder found from its own location.
    void installedLauncher() {
        QTemporaryDir prefix;
        QTemporaryDir elsewhere;
        QProcess install;
        install.start(QStringLiteral("cmake"),
                      {QStringLiteral("--install"), qEnvironmentVariable("KVELT_BUILD_DIR"),
                       QStringLiteral("--prefix"), prefix.path()});
        QVERIFY(install.waitForFinished(60000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
        for (const char* f :
             {"games/kvelt", "games/kvelt-outline", "share/games/kvelt/Examples/0001.kvt",
              "share/games/kvelt/help/start.png", "share/games/kvelt/Справка.html",
              "share/man/man6/kvelt.6.gz", "share/applications/" KVELT_APP_ID ".desktop",
              "share/metainfo/" KVELT_APP_ID ".metainfo.xml",
              "share/icons/hicolor/48x48/apps/" KVELT_APP_ID ".png",
              "share/icons/hicolor/scalable/apps/" KVELT_APP_ID ".svg"}) {
            QVERIFY2(QFile::exists(prefix.filePath(QString::fromUtf8(f))), f);
        }
        QFile desktop(
            prefix.filePath(QStringLiteral("share/applications/" KVELT_APP_ID ".desktop")));
        QVERIFY(desktop.open(QIODevice::ReadOnly));
        const QString entry = QString::fromUtf8(desktop.readAll());
        QVERIFY(entry.contains(QStringLiteral("Categories=Game;LogicGame;")));
        QVERIFY(entry.contains(QStringLiteral("Exec=") +
                               prefix.filePath(QStringLiteral("games/kvelt"))));

        // The installed game keeps its settings in the player's folder: one of its own here,
        // so that an outline an earlier run remembered cannot stand in for the default.
        QTemporaryDir config;
        const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        const auto restore = qScopeGuard([&] {
            if (oldConfig.isEmpty())
                qunsetenv("XDG_CONFIG_HOME");
            else
                qputenv("XDG_CONFIG_HOME", oldConfig);
        });
        QProcessEnvironment env = Env(1.0);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        StartGame(1.0, prefix.filePath(QStringLiteral("games/kvelt")), elsewhere.path(), env);
        const QString window = WaitForWindow(QStringLiteral("^Головоломка «Квелт» - "));
        QVERIFY2(!window.isEmpty(), "the installed game did not show its default outline");
        CloseGame(window);
        QVERIFY(QFile::exists(config.filePath(QStringLiteral("kvelt/Kvelt.ini"))));
    }

    // The menu bar of a picture taken now (in screenshotDir_) is the one of the picture kept
    // in docs/: a game whose menus or their captions changed needs new pictures
    // (scripts/update-screenshot.sh). Both are the window's client area: the board lies
    // 59 pixels in from the left, under the menu bar.
    void CheckMenuBarAsKept(const QString& taken, const QString& kept) {
        // scripts/update-screenshot.sh is retaking them.
        if (screenshotDir_.isEmpty() || qEnvironmentVariableIsSet("KVELT_RETAKE_SCREENSHOTS"))
            return;
        const QImage now =
            QImage(screenshotDir_ + QLatin1Char('/') + taken).convertToFormat(QImage::Format_RGB32);
        const QImage docs = QImage(QStringLiteral(KVELT_SOURCE_DIR "/docs/") + kept)
                                .convertToFormat(QImage::Format_RGB32);
        QVERIFY2(!now.isNull() && !docs.isNull(), qPrintable(kept));
        QVERIFY2(now.size() == docs.size(),
                 qPrintable(kept + QStringLiteral(": the window's size changed; retake it")));
        const auto board = FindBoard(now);
        QVERIFY2(board.has_value(), qPrintable(taken));
        const QRect bar(0, 0, now.width(), board->top - 1);
        QVERIFY2(now.copy(bar) == docs.copy(bar),
                 qPrintable(kept + QStringLiteral(": the menu bar changed; retake the pictures")));
    }

    // Pictures for software centres (kept with the README's in docs/ by
    // scripts/update-screenshot.sh), on a shipped outline that uses all twelve pieces: the
    // library over the game, and the outline covered by hints.
    void softwareCentreScreenshots() {
        const QString outline = programDir_.filePath(QStringLiteral("Examples/0005.kvt"));
        QVERIFY(QFile::exists(outline));
        QFile ini(programDir_.filePath(QStringLiteral("Kvelt.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(outline.toUtf8() + "\r\n");
        ini.close();

        StartGame();
        const QString window =
            WaitForWindow(QStringLiteral("^Головоломка «Квелт» - Квадрат 8х8 без середины$"));
        QVERIFY(!window.isEmpty());
        WaitForReady();
        Key(window, QStringLiteral("F4"));
        const QString library = WaitForWindow(QStringLiteral("^Список квелтов$"));
        QVERIFY2(!library.isEmpty(), "F4 did not open the outline library");
        // The picture is taken once the library has the keyboard and the screen stands still.
        QVERIFY(Settled(library));
        QImage last = Screenshot();
        QVERIFY(WaitUntil([&] { return std::exchange(last, Screenshot()) == last; }));
        QVERIFY(KeepWindowShot(window, QStringLiteral("screenshot-library.png")));
        Key(library, QStringLiteral("Escape"));
        QVERIFY2(WindowGone(library), "Esc did not close the library");

        // By hints: «Решение» covers the outline without the victory window.
        for (int i = 0; i < 12; ++i) Key(window, QStringLiteral("ctrl+h"));
        const QString victory = WaitForWindow(QStringLiteral("^Конец игры$"));
        QVERIFY2(!victory.isEmpty(), "no victory window after the covering move");
        QVERIFY(Settled(victory));
        // The victory window stands below the board, past the main window's bottom: the
        // picture takes in the whole of it, its line of time, steps and hints included, and
        // the desktop beside it, in the windows' grey for the picture and black again after.
        const auto desktop = [&](const char* colour) {
            Run(QStringLiteral("display"),
                {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-size"),
                 QStringLiteral("1800x1300"), QStringLiteral("xc:") + QLatin1String(colour)});
        };
        desktop("#efefef");
        const auto restore = qScopeGuard([&] { desktop("black"); });
        const QImage won = ShotWhen([&](const QImage& s) {
            return GreenPixels(s) > 50 && At(s, {1, 1299}) == 0xFFEFEFEF;
        });
        const auto wonBoard = FindBoard(won);
        QVERIFY(wonBoard.has_value());
        const QRect victoryClient(WindowOrigin(victory), WindowSize(victory));
        SaveWindowShot(won, ClientArea(window, *wonBoard) | victoryClient.adjusted(-1, 0, 1, 1),
                       QStringLiteral("screenshot-victory.png"));
        Key(victory, QStringLiteral("Return"));
        QVERIFY(WindowGone(victory));
        CloseGame(window);
        QFile::remove(ini.fileName());

        CheckMenuBarAsKept(QStringLiteral("kvelt.png"), QStringLiteral("screenshot.png"));
        CheckMenuBarAsKept(QStringLiteral("screenshot-library.png"),
                           QStringLiteral("screenshot-library.png"));
        CheckMenuBarAsKept(QStringLiteral("screenshot-victory.png"),
                           QStringLiteral("screenshot-victory.png"));
    }

    // The Debian package (KVELT_DEB, made by the package tests) unpacked into a throwaway
    // root that nobody may write, its launcher started by an ordinary player from home: the
    // window shows the board, and the settings file goes to the player's own folder.
    void packagedGameStartsAsAPlayer() {
        const QString deb = qEnvironmentVariable("KVELT_DEB");
        if (deb.isEmpty()) QSKIP("KVELT_DEB names no package; the package tests run this");
        QVERIFY2(QFile::exists(deb), qPrintable(deb));
        QTemporaryDir root;
        QTemporaryDir home;
        auto sh = [](const QString& command) {
            return QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), command});
        };
        QCOMPARE(sh(QStringLiteral("dpkg -x '%1' '%2' && chmod -R a-w,a+rX '%2' && chmod 777 '%3'")
                        .arg(deb, root.path(), home.path())),
                 0);
        // Writable again at the end, so that the folder can be removed.
        const auto restore =
            qScopeGuard([&] { sh(QStringLiteral("chmod -R u+w '%1'").arg(root.path())); });

        // The launcher the desktop entry names (package_metadata checks its Exec line). Root
        // ignores permissions: the player is nobody then.
        QString program = QStringLiteral("env");
        QStringList args = {QStringLiteral("HOME=") + home.path(),
                            root.filePath(QStringLiteral("usr/games/kvelt"))};
        if (getuid() == 0) {
            args = QStringList{QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"),
                               program} +
                   args;
            program = QStringLiteral("runuser");
        }
        QProcessEnvironment env = getuid() == 0 ? ForAnotherUser(Env(), home.path()) : Env();
        // The player's own folders follow from HOME alone.
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
            env.remove(QString::fromLatin1(name));
        }
        game_.setProcessEnvironment(env);
        game_.setWorkingDirectory(home.path());
        game_.start(program, args);
        QVERIFY2(game_.waitForStarted(10000), "the packaged game did not start");
        const QString window = WaitForWindow(QStringLiteral("^Головоломка «Квелт» - "));
        QVERIFY2(!window.isEmpty(), game_.readAllStandardError().right(2000).constData());
        QVERIFY2(WaitForReady().has_value(), "no board in the packaged game's window");
        CloseGame(window);

        QFile ini(home.filePath(QStringLiteral(".config/kvelt/Kvelt.ini")));
        QVERIFY2(ini.open(QIODevice::ReadOnly), "the settings file is not in the player's folder");
        QVERIFY2(ini.readAll().startsWith(
                     root.filePath(QStringLiteral("usr/share/games/kvelt/Examples/")).toUtf8()),
                 "the settings file does not name an outline of the package");
    }

    // An installed copy as a player meets it: installed to a prefix, read-only, the launcher
    // started from the player's home by an ordinary user (the superuser writes anywhere, so it
    // would hide what fails). The first Save lands in the player's positions folder, Continue finds
    // the outline in Examples by its file name, the outline chosen comes back at the next start,
    // and the About window's link writes its page to the player's cache.
    void installedCopyAsAnOrdinaryUser() {
        if (geteuid() != 0) QSKIP("starting the game as another user needs the superuser");
        const passwd* nobody = getpwnam("nobody");
        QVERIFY(nobody);
        QTemporaryDir prefix;
        QTemporaryDir home;
        const QString user = home.path();
        QVERIFY(QFile::setPermissions(prefix.path(), QFileDevice::Permissions(0x7755)));
        QVERIFY(chown(QFile::encodeName(user).constData(), nobody->pw_uid, nobody->pw_gid) == 0);
        const QString program = prefix.filePath(QStringLiteral("share/games/kvelt"));
        QProcess install;  // quiet: its log would only bury the test's own lines
        install.start(QStringLiteral("cmake"),
                      {QStringLiteral("--install"), qEnvironmentVariable("KVELT_BUILD_DIR"),
                       QStringLiteral("--prefix"), prefix.path()});
        QVERIFY(install.waitForFinished(60000) && install.exitCode() == 0);
        QCOMPARE(QProcess::execute(QStringLiteral("chmod"),
                                   {QStringLiteral("-R"), QStringLiteral("a-w"), prefix.path()}),
                 0);

        auto start = [&] {
            game_.setProcessEnvironment(ForAnotherUser(Env(), prefix.path()));
            game_.setWorkingDirectory(user);
            // runuser keeps the environment but sets HOME: every per-user folder goes to
            // the temporary home.
            const QString env = QStringLiteral(
                                    "-u nobody -- env HOME=%1 XDG_CONFIG_HOME=%1/.config "
                                    "XDG_CACHE_HOME=%1/.cache XDG_DATA_HOME=%1/.local/share "
                                    "XDG_RUNTIME_DIR=%1/.run ")
                                    .arg(user);
            game_.start(QStringLiteral("runuser"),
                        (env + prefix.filePath(QStringLiteral("games/kvelt"))).split(' '));
            QVERIFY2(game_.waitForStarted(10000), "the launcher did not start");
        };
        auto xdo = [&](const QString& args) {
            return Run(QStringLiteral("xdotool"), args.split(' '));
        };
        auto waitFor = [](const std::function<bool()>& done) { return WaitUntil(done); };
        auto contents = [](const QString& path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        auto outlineName = [&](const QString& file) {
            const QByteArray bytes = contents(program + QStringLiteral("/Examples/") + file);
            return kv::platform::FromCp1251(bytes.left(bytes.indexOf('\r')));
        };
        const QString second =
            QStringLiteral("Головоломка «Квелт» - ") + outlineName(QStringLiteral("0002.kvt"));

        // Save: the dialog proposes the outline's name, and a name without a full stop gets
        // ".fgr". No message box comes up.
        start();
        QString window = WaitForWindow(QStringLiteral("^Головоломка «Квелт» - "));
        QVERIFY2(!window.isEmpty(), "the installed game did not show its default outline");
        WaitForReady();
        Key(window, QStringLiteral("ctrl+s"));
        const QString saveDialog = WaitForWindow(QStringLiteral("^(Сохранить как|Save As)$"));
        QVERIFY2(!saveDialog.isEmpty(), "Ctrl+S did not open the save dialog");
        Key(saveDialog, QStringLiteral("Return"));
        const QString positions = user + QStringLiteral("/Documents/Квелт/");
        const QString saved =
            positions + outlineName(QStringLiteral("0001.kvt")) + QStringLiteral(".fgr");
        QVERIFY2(waitFor([&] { return QFile::exists(saved); }), qPrintable(saved));
        QVERIFY(WaitForWindow(QStringLiteral("^Головоломка «Квелт»$"), 500).isEmpty());

        // Continue from a position of the second outline, typed without its extension.
        QByteArray position = contents(saved);
        QVERIFY(position.startsWith("0001.kvt\r\n"));
        QFile other(positions + QStringLiteral("e2e.fgr"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write(position.replace(0, 8, "0002.kvt"));
        other.close();
        Key(window, QStringLiteral("ctrl+o"));
        const QString openDialog = WaitForWindow(QStringLiteral("^(Открыть|Open)$"));
        QVERIFY2(!openDialog.isEmpty(), "Ctrl+O did not open the open dialog");
        QVERIFY(Focus(openDialog));
        xdo(QStringLiteral("type e2e"));
        Key(openDialog, QStringLiteral("Return"));
        QVERIFY2(waitFor([&] { return xdo(QStringLiteral("getwindowname ") + window) == second; }),
                 qPrintable(xdo(QStringLiteral("getwindowname ") + window)));
        CloseGame(window);
        QCOMPARE(contents(user + QStringLiteral("/.config/kvelt/Kvelt.ini")),
                 (program + QStringLiteral("/Examples/0002.kvt")).toUtf8() + "\r\n");

        // The next start shows the outline of the last exit. The About window (Меню, then
        // past Игра to Справка, its second item) writes the redirect page of its link to the cache.
        start();
        window =
            WaitForWindow(QLatin1Char('^') + QRegularExpression::escape(second) + QLatin1Char('$'));
        QVERIFY2(!window.isEmpty(), "the remembered outline was not shown");
        WaitForReady();
        QVERIFY(Focus(window));
        const int alone = GameWindows();
        xdo(QStringLiteral("mousemove --window %1 15 8 click 1").arg(window));
        QVERIFY2(WaitUntil([&] { return GameWindows() > alone; }), "«Меню» did not open");
        xdo(QStringLiteral("key Right Right Down Return"));
        const QString about = WaitForWindow(QStringLiteral("^О программе$"));
        QVERIFY2(!about.isEmpty(), "the About window did not open");
        QVERIFY(Settled(about));
        xdo(QStringLiteral("mousemove --window %1 170 66 click 1").arg(about));
        const QString page = user + QStringLiteral("/.cache/kvelt/0.html");
        QVERIFY2(waitFor([&] { return QFile::exists(page); }), "no redirect page in the cache");
        QVERIFY(
            contents(page).startsWith("<html><head><meta http-equiv='refresh' content='0; url="));
        // Without xdg-open the desktop cannot open the page: the address comes up to be
        // copied, in a message box that Enter closes.
        if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) {
            const QString box = WaitForWindow(QStringLiteral("^Головоломка «Квелт»$"));
            QVERIFY2(!box.isEmpty(), "no address to copy when no browser opens the link");
            Key(box, QStringLiteral("Return"));
            QVERIFY2(WindowGone(box), "Enter did not close the address box");
        }
        Key(about, QStringLiteral("Return"));
        QVERIFY2(WindowGone(about), "Enter did not close the About window");
        CloseGame(window);
    }

    // The outline editor end to end: a 6 x 10 rectangle with its top row one cell to the right
    // (the plain rectangle is shipped, and the editor saves no copy) drawn by dragging, named,
    // checked and saved into the player's own outline folder (where the library's check passes
    // it), played, chosen again from the library, and a position on it saved and continued.
    void editorDrawsSavesAndPlaysAnOutline() {
        QTemporaryDir dataHome;
        const QByteArray oldHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
        const QString own = dataHome.filePath(QStringLiteral("kvelt/Examples"));
        QFile::remove(programDir_.filePath(QStringLiteral("Kvelt.ini")));
        StartGame();
        qputenv("XDG_DATA_HOME", oldHome);
        const QString window = WaitForWindow(QStringLiteral("^Головоломка «Квелт» - "));
        QVERIFY(!window.isEmpty());
        WaitForReady();
        auto caption = [&] {
            return Run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window});
        };

        Key(window, QStringLiteral("ctrl+e"));
        const QString editor = WaitForWindow(QStringLiteral("^Редактор квелтов$"));
        QVERIFY2(!editor.isEmpty(), "Ctrl+E did not open the editor");
        QVERIFY(Settled(editor));
        QImage shot;
        auto grid = GridIn(editor, [](const Board&) { return true; });
        QVERIFY2(grid.has_value(), "no grid in the editor");
        QCOMPARE(grid->cell, 19);
        auto mouse = [&](const QStringList& args) { Run(QStringLiteral("xdotool"), args); };
        auto moveTo = [&](int c, int r) {
            const QPoint p = grid->Centre(c, r);
            mouse({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
        };
        QVERIFY(Focus(editor));
        auto black = [&](const QImage& s) {
            int n = 0;
            for (int c = 0; c < 35; ++c) {
                for (int r = 0; r < 24; ++r) n += At(s, grid->Corner(c, r)) == kBlack;
            }
            return n;
        };
        // It opens on the outline on the board: «Очистить» first, reached from the grid past the
        // name and «Проверить» (the buttons that need a check are grey and skipped).
        for (const char* key : {"Tab", "Tab", "Tab", "space"}) Key(editor, QLatin1String(key));
        QVERIFY2(black(ShotWhen([&](const QImage& s) { return black(s) == 0; })) == 0,
                 "«Очистить» left cells drawn");
        // Not the shipped rectangle, which the editor would name instead of saving: its top row
        // stands one cell right. Each row is one drag; the editor paints the cells a quick drag
        // skips, and the next row waits until this one is on the screen.
        auto from = [](int r) { return r == 5 ? 6 : 5; };
        for (int r = 5; r < 11; ++r) {
            moveTo(from(r), r);
            mouse({QStringLiteral("mousedown"), QStringLiteral("1")});
            for (int c = from(r) + 1; c < from(r) + 10; c += 2) moveTo(c, r);
            moveTo(from(r) + 9, r);
            mouse({QStringLiteral("mouseup"), QStringLiteral("1")});
            const int drawn = 10 * (r - 4);
            QVERIFY2(black(ShotWhen([&](const QImage& s) { return black(s) >= drawn; })) == drawn,
                     qPrintable(QStringLiteral("row %1 not drawn").arg(r)));
        }
        shot = Screenshot(QStringLiteral("editor-drawn.png"));
        QCOMPARE(black(shot), 60);

        // Tab leaves the grid for the name; Tab again reaches «Проверить».
        Key(editor, QStringLiteral("Tab"));
        Run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+a")});
        Run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("E2E Rect")});
        Key(editor, QStringLiteral("Tab"));
        Key(editor, QStringLiteral("space"));
        QSet<QRgb> pieces;
        for (int p = 1; p <= 12; ++p) pieces.insert(PieceRgb(p));
        int coloured = 0;
        QElapsedTimer timer;
        timer.start();
        while (coloured < 60 && timer.elapsed() < 30000) {
            shot = Screenshot(QStringLiteral("editor-checked.png"));
            coloured = 0;
            for (int r = 5; r < 11; ++r) {
                for (int c = from(r); c < from(r) + 10; ++c) {
                    coloured += pieces.contains(At(shot, grid->Corner(c, r)));
                }
            }
        }
        QCOMPARE(coloured, 60);

        Key(editor, QStringLiteral("Tab"));  // «Сохранить»
        Key(editor, QStringLiteral("space"));
        const QString saved = own + QStringLiteral("/E2E Rect.kvt");
        QVERIFY2(WaitUntil([&] { return QFile::exists(saved); }), qPrintable(saved));
        QProcess check;
        check.start(qEnvironmentVariable("KVELT_PROGRAM_DIR") + QStringLiteral("/kvelt-outline"),
                    {QStringLiteral("check"), own});
        QVERIFY(check.waitForFinished(60000));
        QVERIFY2(check.exitCode() == 0, check.readAllStandardError().constData());

        Key(editor, QStringLiteral("Tab"));  // «Играть»
        Key(editor, QStringLiteral("space"));
        QVERIFY2(WindowGone(editor), "«Играть» did not close the editor");
        const QString ours = QStringLiteral("Головоломка «Квелт» - E2E Rect");
        WaitUntil([&] { return caption() == ours; });
        QCOMPARE(caption(), ours);

        // Another outline from the library, then ours again from it.
        auto library = [&](const QString& key) {
            Key(window, QStringLiteral("F4"));
            const QString id = WaitForWindow(QStringLiteral("^Список квелтов$"));
            QVERIFY2(!id.isEmpty(), "F4 did not open the library");
            Key(id, key);
            Key(id, QStringLiteral("Return"));
            QVERIFY(WindowGone(id));
        };
        library(QStringLiteral("Down"));
        QString away = QStringLiteral("Down"), back = QStringLiteral("Up");
        if (caption() == ours) {  // ours is the last entry
            library(QStringLiteral("Up"));
            std::swap(away, back);
        }
        QVERIFY(caption() != ours);
        library(back);
        QCOMPARE(caption(), ours);

        // Piece 1 one cell right, saved; another outline; Continue brings both back.
        Key(window, QStringLiteral("Right"));
        const QString position = programDir_.filePath(QStringLiteral("e2e-editor.fgr"));
        // Typed only once the dialog itself has the keyboard (its name field has the focus
        // inside it from the start).
        auto fileDialog = [&](const QString& keys, const QString& path) {
            Key(window, keys);
            QString id;
            QVERIFY2(WaitUntil([&] {
                         id = Run(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus")});
                         return !id.isEmpty() && id != window &&
                                Run(QStringLiteral("xdotool"),
                                    {QStringLiteral("getwindowname"), id})
                                    .contains(QRegularExpression(
                                        QStringLiteral("^(Сохранить как|Save As|Открыть|Open)$")));
                     }),
                     qPrintable(QStringLiteral("no file dialog has the keyboard after ") + keys));
            Run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+a")});
            Run(QStringLiteral("xdotool"), {QStringLiteral("type"), path});
            Run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
            QVERIFY(WindowGone(id));
        };
        fileDialog(QStringLiteral("ctrl+s"), position);
        QVERIFY2(WaitUntil([&] { return QFileInfo(position).size() > 0; }), "no position file");
        QFile written(position);
        QVERIFY2(written.open(QIODevice::ReadOnly), "no position file");
        QVERIFY(written.readAll().startsWith("E2E Rect.kvt\r\n"));
        library(away);
        WaitUntil([&] { return caption() != ours; });
        QVERIFY(caption() != ours);
        fileDialog(QStringLiteral("ctrl+o"), position);
        WaitUntil([&] { return caption() == ours; });
        QCOMPARE(caption(), ours);
        const auto board = FindBoard(Screenshot());
        QVERIFY(board.has_value());
        shot = ShotWhen([&](const QImage& s) { return CountInCell(s, *board, 4, 1, kWhite) > 30; },
                        QStringLiteral("editor-continued.png"));
        for (const QPoint cell : {QPoint(4, 0), QPoint(3, 1), QPoint(5, 1), QPoint(4, 2)}) {
            QCOMPARE(At(shot, board->Corner(cell.x(), cell.y())), PieceRgb(1));
        }
        QCOMPARE(At(shot, board->Corner(3, 0)), kBackground);
        CloseGame(window);
    }

    // An outline's code through the real clipboard: copied in the editor it is the outline on
    // the grid; pasted back over an empty grid it gives the same cells, checked at once, and
    // copied again the same code.
    void editorCodeCopiedAndPastedBack() {
        const QString window = StartOnRectangle();
        auto clipboard = [&] {
            return Run(
                QStringLiteral("xclip"),
                {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o")});
        };
        // xclip keeps the selection from the background until the game takes it.
        auto putIntoClipboard = [&](const QByteArray& text) {
            QProcess put;
            put.setProcessEnvironment(Env());
            put.setStandardOutputFile(QProcess::nullDevice());
            put.setStandardErrorFile(QProcess::nullDevice());
            put.start(QStringLiteral("xclip"), {QStringLiteral("-selection"),
                                                QStringLiteral("clipboard"), QStringLiteral("-i")});
            put.write(text);
            put.closeWriteChannel();
            QVERIFY(put.waitForFinished(10000));
            QVERIFY(WaitUntil([&] { return clipboard() == QString::fromUtf8(text); }));
        };
        putIntoClipboard("none");
        Key(window, QStringLiteral("ctrl+e"));
        const QString editor = WaitForWindow(QStringLiteral("^Редактор квелтов$"));
        QVERIFY2(!editor.isEmpty(), "Ctrl+E did not open the editor");
        QVERIFY(Settled(editor));
        const QString geometry = Geometry(editor);
        auto value = [&](const char* key) {
            return QRegularExpression(QStringLiteral("%1=(\\d+)").arg(QLatin1String(key)))
                .match(geometry)
                .captured(1)
                .toInt();
        };
        const QRect frame = QRect(value("X"), value("Y"), value("WIDTH"), value("HEIGHT"))
                                .adjusted(-10, -60, 10, 10) &
                            QRect(0, 0, 1800, 1300);
        const QImage first =
            ShotWhen([&](const QImage& s) { return FindBoard(s.copy(frame)).has_value(); });
        auto grid = FindBoard(first.copy(frame));
        QVERIFY2(grid.has_value(), "no grid in the editor");
        grid->left += frame.left();
        grid->top += frame.top();
        // The buttons where an editor of our own at the designed size has them, from its grid.
        kv::SetCellSize(478, 784);
        kv::frmRedaktor probe;
        auto click = [&](QPushButton* (kv::frmRedaktor::*button)() const) {
            const QPoint at = QPoint(grid->left, grid->top) +
                              (probe.*button)()->geometry().center() -
                              probe.picSetka()->geometry().topLeft();
            PointerTo(at);
            Xdo({QStringLiteral("click"), QStringLiteral("1")});
        };
        QSet<QRgb> pieces;
        for (int p = 1; p <= 12; ++p) pieces.insert(PieceRgb(p));
        // Cells of the grid in piece colours (the outline checked), and any not background.
        auto coloured = [&](const QImage& s, bool any) {
            int n = 0;
            for (int c = 0; c < 35; ++c) {
                for (int r = 0; r < 24; ++r) {
                    const QRgb rgb = At(s, grid->Corner(c, r));
                    const bool inside = c >= 12 && c < 22 && r >= 9 && r < 15;
                    n += any ? (rgb == kBlack || pieces.contains(rgb))
                             : inside && pieces.contains(rgb);
                }
            }
            return n;
        };

        Key(editor, QStringLiteral("Tab"));  // the name
        Run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("E2E Code")});
        click(&kv::frmRedaktor::kProverit);
        QCOMPARE(coloured(ShotWhen([&](const QImage& s) { return coloured(s, false) == 60; },
                                   QStringLiteral("code-checked.png")),
                          false),
                 60);
        click(&kv::frmRedaktor::kKopirovatKod);
        QVERIFY2(WaitUntil([&] { return clipboard().startsWith(QStringLiteral("KV1-")); }),
                 qPrintable(QStringLiteral("the clipboard holds ") + clipboard()));
        const QString code = clipboard();
        const kv::OutlineCode copied = kv::DecodeOutline(code);
        QVERIFY2(copied.fault == kv::CodeFault::None, qPrintable(kv::CodeFaultText(copied)));
        QCOMPARE(copied.draft.name, QStringLiteral("E2E Code"));
        QVERIFY(copied.draft.excluded.empty());
        std::vector<kv::BoardCell> rectangle;
        for (int r = 9; r < 15; ++r) {
            for (int c = 12; c < 22; ++c) rectangle.push_back({c, r});
        }
        QVERIFY(copied.draft.cells == rectangle);

        click(&kv::frmRedaktor::kOchistit);
        QCOMPARE(coloured(ShotWhen([&](const QImage& s) { return coloured(s, true) == 0; }), true),
                 0);
        click(&kv::frmRedaktor::kVstavitKod);
        const QImage pasted = ShotWhen([&](const QImage& s) { return coloured(s, false) == 60; },
                                       QStringLiteral("code-pasted.png"));
        QCOMPARE(coloured(pasted, false), 60);
        QCOMPARE(coloured(pasted, true), 60);
        putIntoClipboard("none");
        click(&kv::frmRedaktor::kKopirovatKod);
        QVERIFY2(WaitUntil([&] { return clipboard() == code; }),
                 qPrintable(QStringLiteral("copied again: ") + clipboard()));

        // The drawing is the one it opened on: Esc closes without a question.
        Key(editor, QStringLiteral("Escape"));
        QVERIFY2(WindowGone(editor), "Esc did not close the editor");
        CloseGame(window);
    }

    // «Игра → Квелт дня...» and «Создать» load today's outline, named by its date; a hint
    // for each of its pieces covers it with exactly those pieces, and the store keeps it
    // solved with help.
    void outlineOfTheDaySolvedByHints() {
        const QString window = StartOnRectangle();
        QVERIFY(!window.isEmpty());
        const QDate today = QDate::currentDate();
        const std::optional<kv::GeneratedOutline> day = kv::GenerateOutline(kv::DayRequest(today));
        QVERIFY(day.has_value());
        QSet<QRgb> colours;
        int excluded[13] = {};
        for (int p = 1; p <= 12; ++p) {
            if (day->pieces[static_cast<std::size_t>(p)]) {
                colours.insert(PieceRgb(p));
            } else {
                excluded[p] = 1;
            }
        }
        int cells[60][2];
        int count = 0;
        for (const kv::BoardCell& c : day->cells) {
            cells[count][0] = c.column;
            cells[count][1] = c.row;
            ++count;
        }
        const QByteArray key = kv::OutlineKey(cells, count, excluded);

        // A move first, so that the menu's items stand enabled as ChooseFromIgra counts them.
        const auto start = FindBoard(Screenshot());
        QVERIFY(start.has_value());
        Key(window, QStringLiteral("Right"));
        QVERIFY(WaitUntil([&] { return CountInCell(Screenshot(), *start, 4, 1, kWhite) > 30; }));
        ChooseFromIgra(
            window,
            [](kv::frmForma& f) { return f.findChild<QAction*>(QStringLiteral("IgraDnya")); }, true,
            false);
        const QString dialog = WaitForWindow(QStringLiteral("^Квелт дня$"));
        QVERIFY2(!dialog.isEmpty(), "«Квелт дня» did not open");
        Key(dialog, QStringLiteral("Return"));  // «Создать», the default button
        QVERIFY2(WindowGone(dialog), "the outline of the day was not made");
        const QString caption = QStringLiteral("Головоломка «Квелт» - ") + kv::DayName(today);
        QVERIFY2(WaitUntil([&] {
                     return Run(QStringLiteral("xdotool"),
                                {QStringLiteral("getwindowname"), window}) == caption;
                 }),
                 qPrintable(caption));
        const auto board = FindBoard(Screenshot());
        QVERIFY(board.has_value());
        // The cells of the outline not yet covered, and the colours of those covered.
        auto black = [&](const QImage& s) {
            int n = 0;
            for (const kv::BoardCell& c : day->cells)
                n += At(s, board->Corner(c.column, c.row)) == kBlack;
            return n;
        };
        QImage shot = ShotWhen([&](const QImage& s) { return black(s) == count; },
                               QStringLiteral("day-loaded.png"));
        QCOMPARE(black(shot), count);

        for (int i = 0; i < colours.size(); ++i) Key(window, QStringLiteral("ctrl+h"));
        const QString victory = WaitForWindow(QStringLiteral("^Конец игры$"));
        QVERIFY2(!victory.isEmpty(), "the hints did not cover the outline of the day");
        Key(victory, QStringLiteral("Return"));
        QVERIFY(WindowGone(victory));
        shot = ShotWhen([&](const QImage& s) { return black(s) == 0; },
                        QStringLiteral("day-hinted.png"));
        QSet<QRgb> shown;
        for (const kv::BoardCell& c : day->cells)
            shown.insert(At(shot, board->Corner(c.column, c.row)));
        QVERIFY2(shown == colours, "the outline is not covered by the pieces of the day");
        QVERIFY2(WaitUntil([&] {
                     for (const QByteArray& line : StoreText().split('\n')) {
                         if (line.startsWith(key + "\tstate=helped")) return true;
                     }
                     return false;
                 }),
                 StoreText().constData());
        CloseGame(window);
    }

    // Maximised, the board fills the window's height, centred, and a click reaches the cell
    // under it; restored, the designed pixels come back; a start after a maximised exit
    // opens maximised.
    void maximisedBoardFillsTheWindow() {
        QFile::remove(WindowPlace());
        const QString window = StartOnRectangle();
        QVERIFY(!window.isEmpty());
        QImage designed;
        const auto start = WaitForBoard([](const Board& b) { return b.cell == 19; }, &designed);
        QVERIFY(start.has_value());
        const int bars = WindowSize(window).height() - 478;  // menu bar and status line
        Run(QStringLiteral("wmctrl"),
            {QStringLiteral("-i"), QStringLiteral("-r"), window, QStringLiteral("-b"),
             QStringLiteral("add,maximized_vert,maximized_horz")});
        QImage shot;
        const auto big = WaitForBoard([](const Board& b) { return b.cell > 19; }, &shot);
        QVERIFY2(big.has_value(), "the board did not grow with the maximised window");
        const QSize size = WindowSize(window);
        const int cell = std::min((size.height() - bars) / 24, (size.width() - 1) / 35);
        QCOMPARE(big->cell, cell);
        QCOMPARE(big->line, 1);
        const QString uneven = UnevenGrid(shot, *big, 5);
        QVERIFY2(uneven.isEmpty(), qPrintable(uneven));
        // Centred: as far from the screen's left as the window is wide less the board, halved.
        QVERIFY(qAbs(big->left - (size.width() - 35 * cell - 1) / 2) <= 2);
        QVERIFY(CountInCell(shot, *big, 3, 1, kWhite) > 30 * (cell * cell) / (19 * 19));

        // Restored: the very pixels of the designed size.
        Run(QStringLiteral("wmctrl"),
            {QStringLiteral("-i"), QStringLiteral("-r"), window, QStringLiteral("-b"),
             QStringLiteral("remove,maximized_vert,maximized_horz")});
        QImage back;
        const auto small = WaitForBoard([](const Board& b) { return b.cell == 19; }, &back);
        QVERIFY(small.has_value());
        QCOMPARE(BoardPicture(back, *small), BoardPicture(designed, *start));

        // Maximised again, a click on a free cell moves piece 1 there.
        Run(QStringLiteral("wmctrl"),
            {QStringLiteral("-i"), QStringLiteral("-r"), window, QStringLiteral("-b"),
             QStringLiteral("add,maximized_vert,maximized_horz")});
        const auto again = WaitForBoard([&](const Board& b) { return b.cell == cell; });
        QVERIFY(again.has_value());
        const QPoint target = again->Centre(20, 5);
        Run(QStringLiteral("xdotool"),
            {QStringLiteral("mousemove"), QString::number(target.x()), QString::number(target.y()),
             QStringLiteral("click"), QStringLiteral("1")});
        QImage moved;
        const auto after = WaitForBoard([&](const Board& b) {
            const QImage now = Screenshot();
            moved = now;
            return At(now, b.Corner(20, 4)) == PieceRgb(1) &&
                   CountInCell(now, b, 20, 5, kWhite) > 30;
        });
        QVERIFY2(after.has_value(), "the click did not move piece 1 to the cell");
        QCOMPARE(At(moved, after->Corner(3, 0)), kBackground);  // gone from its home
        CloseGame(window);
        QVERIFY(QFile::exists(WindowPlace()));

        keepPlace_ = true;
        const auto forget = qScopeGuard([this] {
            keepPlace_ = false;
            QFile::remove(WindowPlace());
        });
        StartGame();
        const QString reopened = WaitForWindow(QStringLiteral("^Головоломка «Квелт» - "));
        QVERIFY(!reopened.isEmpty());
        QVERIFY2(WaitForBoard([&](const Board& b) { return b.cell == cell; }).has_value(),
                 "the game did not open maximised after a maximised exit");
        CloseGame(reopened);
    }

    // Under the window manager: the About window cannot be resized nor maximised; the
    // editor can, its grid grows with it, evenly, and a click paints the cell under it.
    void dialogsUnderTheWindowManager() {
        const QString window = StartOnRectangle();
        QVERIFY(!window.isEmpty());
        QVERIFY(Focus(window));
        const int alone = GameWindows();
        Xdo({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QStringLiteral("15"),
             QStringLiteral("8"), QStringLiteral("click"), QStringLiteral("1")});
        QVERIFY2(WaitUntil([&] { return GameWindows() > alone; }), "«Меню» did not open");
        Xdo({QStringLiteral("key"), QStringLiteral("Right"), QStringLiteral("Right"),
             QStringLiteral("Down"), QStringLiteral("Return")});
        const QString about = WaitForWindow(QStringLiteral("^О программе$"));
        QVERIFY2(!about.isEmpty(), "the About window did not open");
        const QString resizable = FixedSizeFault(about);
        QVERIFY2(resizable.isEmpty(), qPrintable(QStringLiteral("About: ") + resizable));
        Key(about, QStringLiteral("Return"));
        QVERIFY(WindowGone(about));

        Key(window, QStringLiteral("ctrl+e"));
        const QString editor = WaitForWindow(QStringLiteral("^Редактор квелтов$"));
        QVERIFY2(!editor.isEmpty(), "Ctrl+E did not open the editor");
        QVERIFY(Settled(editor));
        QVERIFY(GridIn(editor, [](const Board& b) { return b.cell == 19; }).has_value());
        Run(QStringLiteral("wmctrl"),
            {QStringLiteral("-i"), QStringLiteral("-r"), editor, QStringLiteral("-b"),
             QStringLiteral("add,maximized_vert,maximized_horz")});
        int controls = 0;
        {
            kv::frmRedaktor probe;
            controls = probe.DesignSize().height() - (8 + 19 * 24 + 1 + 8);
        }
        // By the board's rule, from the client area the controls below leave, once the
        // window has reached its maximised size.
        int expected = 0;
        QImage shot;
        const auto grid = GridIn(
            editor,
            [&](const Board& b) {
                const QSize size = WindowSize(editor);
                expected = std::min((size.height() - controls - 16) / 24, (size.width() - 17) / 35);
                return b.cell > 19 && b.cell == expected;
            },
            &shot);
        QVERIFY2(
            grid.has_value(),
            qPrintable(QStringLiteral("the editor's grid did not grow to %1 with its maximised "
                                      "window")
                           .arg(expected)));
        QCOMPARE(grid->line, 1);
        for (int r : {0, 12, 23}) {
            const QString uneven = UnevenGrid(shot, *grid, r);
            QVERIFY2(uneven.isEmpty(), qPrintable(uneven));
        }
        Screenshot(QStringLiteral("editor-maximised.png"));
        // Away from the rectangle the editor opens on.
        QCOMPARE(CountInCell(shot, *grid, 27, 3, kBlack), 0);
        const QPoint target = grid->Centre(27, 3);
        Xdo({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(target.x()),
             QString::number(target.y()), QStringLiteral("click"), QStringLiteral("1")});
        const int interior = (grid->cell - grid->line) * (grid->cell - grid->line);
        shot = ShotWhen([&](const QImage& s) { return CountInCell(s, *grid, 27, 3, kBlack) > 0; });
        // The cell's whole interior but for the cursor's red frame, and none of its neighbours.
        QVERIFY2(CountInCell(shot, *grid, 27, 3, kBlack) > interior / 3,
                 "the click painted no cell");
        for (const QPoint& n : {QPoint(26, 3), QPoint(28, 3), QPoint(27, 2), QPoint(27, 4)}) {
            QCOMPARE(CountInCell(shot, *grid, n.x(), n.y(), kBlack), 0);
        }
        // Taken back, the drawing is as opened, and Esc closes without a question.
        Key(editor, QStringLiteral("ctrl+z"));
        Key(editor, QStringLiteral("Escape"));
        QVERIFY2(WindowGone(editor), "Esc did not close the editor");
        CloseGame(window);
    }

    // At one and a half times the scale the grid lines are all alike: no plaid.
    void evenGridAtOneAndAHalf() {
        QFile::remove(programDir_.filePath(QStringLiteral("Kvelt.ini")));
        StartGame(1.5);
        const QString window = WaitForWindow(QStringLiteral("^Головоломка «Квелт» - "));
        QVERIFY(!window.isEmpty());
        QImage shot;
        const auto board = WaitForBoard([](const Board& b) { return b.cell > 19; }, &shot);
        QVERIFY(board.has_value());
        Screenshot(QStringLiteral("scale-1.5.png"));
        for (int r : {0, 5, 12, 23}) {
            const QString uneven = UnevenGrid(shot, *board, r);
            QVERIFY2(uneven.isEmpty(), qPrintable(uneven));
        }
        // Down the board too: the horizontal lines, through column 17.
        QList<int> rows;
        for (int y = board->top; y < board->top + 24 * board->cell + board->line; ++y) {
            if (At(shot, {board->Centre(17, 0).x(), y}) == kGrid) rows << y;
        }
        QCOMPARE(rows.size(), 25 * board->line);
        QSet<QRgb> known = {kGrid, kBackground, kBlack, kWhite};
        for (int p = 1; p <= 12; ++p) known.insert(PieceRgb(p));
        int strange = 0;
        for (int y = board->top; y < board->top + 24 * board->cell + board->line; ++y) {
            for (int x = board->left; x < board->left + 35 * board->cell + board->line; ++x) {
                strange += !known.contains(At(shot, {x, y}));
            }
        }
        QCOMPARE(strange, 0);
        CloseGame(window);
    }

    // Under a Russian layout: a real drag of the V (press, motion, release), the wheel's
    // buttons 5 and 4, Page Down, Home and Page Up, and the letters Е and Ч (the T and X keys).
    void dragWheelAndKeysUnderARussianLayout() {
        Run(QStringLiteral("setxkbmap"), {QStringLiteral("ru")});
        const auto latin =
            qScopeGuard([this] { Run(QStringLiteral("setxkbmap"), {QStringLiteral("us")}); });
        QVERIFY2(Run(QStringLiteral("setxkbmap"), {QStringLiteral("-query")})
                     .contains(QStringLiteral("ru")),
                 "the Russian layout could not be set");
        const QString window = StartOnRectangle();
        QVERIFY(!window.isEmpty());
        QImage shot;
        std::optional<Board> found;
        QVERIFY2(WaitForScreen([&](const QImage& s) { return (found = FindBoard(s)).has_value(); },
                               shot),
                 "no board on the screen");
        const Board b = *found;
        const QRgb v = PieceRgb(5);
        // The V at home (3, 17): cells (3, 15) to (3, 17), (4, 17), (5, 17).
        const auto vAt = [&](const QList<QPoint>& cells, const QList<QPoint>& gone) {
            return [&, cells, gone](const QImage& s) {
                for (const QPoint& c : cells) {
                    if (CountInCell(s, b, c.x(), c.y(), v) < 10) return false;
                }
                for (const QPoint& c : gone) {
                    if (At(s, b.Corner(c.x(), c.y())) != kBackground) return false;
                }
                return true;
            };
        };
        QVERIFY(WaitForScreen(vAt({{3, 15}, {5, 17}}, {}), shot));

        Xdo({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
        PointerTo(b.Centre(5, 17));
        Xdo({QStringLiteral("mousedown"), QStringLiteral("1")});
        PointerTo(b.Centre(10, 17));
        PointerTo(b.Centre(20, 18));
        Xdo({QStringLiteral("mouseup"), QStringLiteral("1")});
        // Grabbed by its right end: the hand at (18, 18), the V lying from (18, 16) to (20, 18).
        QVERIFY2(
            WaitForScreen(vAt({{18, 16}, {18, 17}, {19, 18}, {20, 18}}, {{3, 15}, {5, 17}}), shot),
            "the drag did not bring the V under the pointer");
        QVERIFY(CountInCell(shot, b, 18, 18, kWhite) > 30);
        QVERIFY(CountInCell(shot, b, 3, 1, kWhite) == 0);  // the X set down, the V in the hand
        Screenshot(QStringLiteral("dragged.png"));

        Xdo({QStringLiteral("click"), QStringLiteral("5")});  // towards the player: clockwise
        QVERIFY2(WaitForScreen(vAt({{19, 18}, {18, 19}, {18, 20}}, {{18, 16}}), shot),
                 "wheel button 5 did not turn the V clockwise");
        Xdo({QStringLiteral("click"), QStringLiteral("4")});
        QVERIFY2(WaitForScreen(vAt({{18, 16}, {20, 18}}, {{18, 20}}), shot),
                 "wheel button 4 did not turn the V back");

        Key(window, QStringLiteral("Next"));
        QVERIFY2(WaitForScreen(vAt({{18, 20}, {20, 18}}, {{18, 16}}), shot),
                 "Page Down did not turn the V");
        Key(window, QStringLiteral("Home"));  // mirrored: it opens to the left now
        QVERIFY2(WaitForScreen(vAt({{16, 18}, {18, 20}}, {{20, 18}}), shot),
                 "Home did not mirror the V");
        Key(window, QStringLiteral("Prior"));
        QVERIFY2(WaitForScreen(vAt({{20, 18}, {18, 20}}, {{16, 18}}), shot),
                 "Page Up did not turn the V");

        Key(window, QStringLiteral("Cyrillic_ie"));  // Е, on the T key
        QVERIFY2(WaitForScreen(
                     [&](const QImage& s) {
                         return CountInCell(s, b, 3, 9, kWhite) > 30 &&
                                CountInCell(s, b, 18, 18, kWhite) == 0;
                     },
                     shot),
                 "Е did not take the T");
        Key(window, QStringLiteral("Cyrillic_che"));  // Ч, on the X key
        QVERIFY2(WaitForScreen(
                     [&](const QImage& s) {
                         return CountInCell(s, b, 3, 1, kWhite) > 30 &&
                                CountInCell(s, b, 3, 9, kWhite) == 0;
                     },
                     shot),
                 "Ч did not take the X");
        CloseGame(window);
    }
};

}  // namespace

QTEST_MAIN(E2eX11)
#include "test_e2e_x11.moc"
