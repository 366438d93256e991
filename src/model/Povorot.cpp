// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QPoint>

#include "model/Model.h"
#include "model/Operations.h"
#include "model/Steps.h"
#include "platform/Services.h"
#include "view/BoardDrawing.h"

namespace kv {

namespace {

// Erases, turns, keeps on the board and draws the current piece; no step.
void TurnTo(int orientation) {
    ShowFigury(0);
    const int p = CurrentPiece;
    PieceOrientation[p] = orientation;
    // Every offset lies within -2..2, so these bounds keep any orientation on the board.
    int& column = PiecePos[p][0];
    int& row = PiecePos[p][1];
    if (column < 2) {
        column = 2;
    } else if (column > 32) {
        column = 32;
    }
    if (row < 2) {
        row = 2;
    } else if (row > 21) {
        row = 21;
    }
    ShowFigury(-1);
}

// Where orientation o puts a definition offset (x, y): the eight transforms.
QPoint Transformed(int o, int x, int y) {
    static constexpr int kMatrix[9][4] = {{0, 0, 0, 0},   {1, 0, 0, 1},  {0, -1, 1, 0},
                                          {-1, 0, 0, -1}, {0, 1, -1, 0}, {0, -1, -1, 0},
                                          {1, 0, 0, -1},  {0, 1, 1, 0},  {-1, 0, 0, 1}};
    const int* m = kMatrix[o];
    return {m[0] * x + m[1] * y, m[2] * x + m[3] * y};
}

}  // namespace

void Povorot(int orientation) {
    TurnTo(orientation);
    RecordStep();
}

int TurnedOrientation(int p, int o, Turn turn) {
    // The I lies or stands, as the palette and Space keep it: a quarter turn either way flips it.
    if (p == 2 && turn != Turn::Mirror && (o == 1 || o == 2)) return 3 - o;
    // The turn applied on the screen after orientation o, found by where it sends two axes.
    const auto after = [turn](QPoint v) -> QPoint {
        switch (turn) {
            case Turn::Clockwise:
                return {-v.y(), v.x()};
            case Turn::Anticlockwise:
                return {v.y(), -v.x()};
            case Turn::Mirror:
                break;
        }
        return {-v.x(), v.y()};
    };
    const QPoint a = after(Transformed(o, 1, 0));
    const QPoint b = after(Transformed(o, 0, 1));
    for (int n = 1; n <= 8; ++n) {
        if (Transformed(n, 1, 0) == a && Transformed(n, 0, 1) == b) return n;
    }
    return o;
}

QString TurnRefusal(Turn turn) {
    if (CurrentPiece == 1) return QStringLiteral("X не поворачивается: у неё одно положение.");
    if (CurrentPiece == 2 && turn == Turn::Mirror) {
        return QStringLiteral("I только лежит или стоит: поворачивайте её PgUp, PgDn или колесом.");
    }
    return {};
}

void Povernut(Turn turn) {
    const QString refusal = TurnRefusal(turn);
    if (!refusal.isEmpty()) {
        platform::Tell(refusal);
        return;
    }
    const int p = CurrentPiece;
    TurnTo(TurnedOrientation(p, PieceOrientation[p], turn));
    // Recorded as a move: doing it again runs the victory test as the turn did.
    RecordStep();
    FinishMove();
}

}  // namespace kv
