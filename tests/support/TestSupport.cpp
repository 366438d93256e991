// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

#include <QApplication>

#include "app/MainWindow.h"
#include "model/History.h"
#include "model/Model.h"
#include "outlines/Outline.h"
#include "outlines/OutlineFolders.h"
#include "platform/SystemColors.h"
#include "positions/Positions.h"
#include "view/BoardDrawing.h"

namespace kvtest {

Fakes::Fakes() {
    auto& s = kv::platform::services();
    s.messages = &messages;
    s.victory = &victory;
    s.events = &events;
    s.files = &files;
    s.shell = &shell;
    s.jobs = &jobs;
}

Fakes::~Fakes() {
    kv::platform::RestoreDefaultServices();
    kv::platform::services().victory = nullptr;
}

OwnOutlines::OwnOutlines() : oldHome(qgetenv("XDG_DATA_HOME")) {
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    path = kv::UserExamplesPath();
}

OwnOutlines::~OwnOutlines() { qputenv("XDG_DATA_HOME", oldHome); }

void FreshModel() {
    kv::ResetModel();
    kv::ResetHistory();
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

GameWindow::~GameWindow() { delete window; }

QRgb Rgb(std::uint32_t colour) { return kv::platform::ToRgb(colour) | 0xFF000000u; }

}  // namespace kvtest
