// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

#include <QApplication>
#include <QStandardPaths>
#include <algorithm>

#include "app/MainWindow.h"
#include "model/Model.h"
#include "outlines/Outline.h"
#include "outlines/OutlineFile.h"
#include "outlines/OutlineFolders.h"
#include "platform/SystemColors.h"
#include "play/History.h"
#include "positions/Positions.h"
#include "view/BoardDrawing.h"

namespace kvtest {

namespace {
// What the game keeps for the player (the window's place, say) goes to a fresh folder for
// each run of a test program, never into the real home.
struct ConfigHome {
    ConfigHome() { qputenv("XDG_CONFIG_HOME", dir.path().toUtf8()); }
    QTemporaryDir dir;
};
const ConfigHome configHome;
}  // namespace

Fakes::Fakes() {
    auto& s = kv::platform::services();
    s.messages = &messages;
    s.victory = &victory;
    s.events = &events;
    s.files = &files;
    s.shell = &shell;
    s.jobs = &jobs;
    s.questions = &questions;
    s.clipboard = &clipboard;
}

Fakes::~Fakes() {
    kv::platform::RestoreDefaultServices();
    kv::platform::services().victory = nullptr;
}

OwnOutlines::OwnOutlines()
    : oldHome(qgetenv("XDG_DATA_HOME")), testMode(QStandardPaths::isTestModeEnabled()) {
    // Test mode would put the folder under ~/.qttest, shared by every test run.
    QStandardPaths::setTestModeEnabled(false);
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    path = kv::UserExamplesPath();
}

OwnOutlines::~OwnOutlines() {
    qputenv("XDG_DATA_HOME", oldHome);
    QStandardPaths::setTestModeEnabled(testMode);
}

QString LayoutFault(const QWidget* window) {
    const QList<QWidget*> controls = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    const auto named = [](const QWidget* w) {
        const QRect g = w->geometry();
        return QStringLiteral("%1 «%2» at %3,%4 %5 x %6")
            .arg(w->objectName(), w->property("text").toString())
            .arg(g.x())
            .arg(g.y())
            .arg(g.width())
            .arg(g.height());
    };
    for (qsizetype i = 0; i < controls.size(); ++i) {
        if (!window->rect().contains(controls[i]->geometry()))
            return named(controls[i]) + QStringLiteral(" leaves the window");
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            if (controls[i]->geometry().intersects(controls[j]->geometry()))
                return named(controls[i]) + QStringLiteral(" overlaps ") + named(controls[j]);
        }
    }
    return {};
}

void FreshModel() {
    kv::ResetModel();
    kv::ResetOutlineState();
    kv::PositionPath.clear();
    kv::BuildPieceSet();
}

GameWindow::GameWindow() {
    FreshModel();
    window = new kv::frmForma;
    window->show();
    QApplication::processEvents();
    window->LayOut();
    kv::NewPole();
}

GameWindow::~GameWindow() {
    delete window;
}

QRgb Rgb(std::uint32_t colour) {
    return kv::platform::ToRgb(colour) | 0xFF000000u;
}

QList<QPoint> CellsOf(int p) {
    QList<QPoint> cells;
    for (int k = 0; k < 5; ++k) cells << QPoint(kv::PieceCellColumn(p, k), kv::PieceCellRow(p, k));
    return cells;
}

std::vector<kv::BoardCell> CellsOf(const kv::PiecePlacement& t) {
    std::vector<kv::BoardCell> cells;
    for (int k = 0; k < 5; ++k) {
        cells.push_back({t.column + kv::PieceCells[t.piece][k][t.orientation][0],
                         t.row + kv::PieceCells[t.piece][k][t.orientation][1]});
    }
    std::sort(cells.begin(), cells.end());
    return cells;
}

QList<QPoint> CellsOf(const kv::OutlineContent& content) {
    QList<QPoint> cells;
    for (int i = 0; i <= content.lastCell; ++i)
        cells << QPoint(content.cells[i][0], content.cells[i][1]);
    return cells;
}

}  // namespace kvtest
