// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/VictoryWindow.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QShowEvent>
#include <QTime>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "model/Model.h"
#include "view/BoardDrawing.h"
#include "view/PictureBox.h"
#include "view/WindowStyle.h"

namespace kv {

namespace {
const QString kWord = QStringLiteral("ПОБЕДА!!!");
constexpr int kClientWidth = 584;
constexpr int kClientHeight = 151;
}  // namespace

QFont frmEnd::PictureFont() {
    // Times New Roman resolves through fontconfig to its metric twin where it is absent.
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(36);
    font.setBold(true);
    font.setStyleHint(QFont::Serif);
    return font;
}

frmEnd::frmEnd(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Конец игры"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(DialogFont(12));

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setGeometry(488, 112, 89, 33);
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    picture1_ = new PictureBox(this);
    picture1_->setFocusPolicy(Qt::NoFocus);
    picture1_->setFont(PictureFont());
    picture1_->Place(8, 8, 160, 84);
    ok_->setFocus();

    timer1_ = new QTimer(this);
    timer1_->setInterval(100);
    // A coarse timer may fire a few milliseconds early; the first frame must wait 100 ms.
    timer1_->setTimerType(Qt::PreciseTimer);
    connect(timer1_, &QTimer::timeout, this, &frmEnd::Timer1_Timer);
    // Placed by hand, so that showing it does not centre it on the main window instead.
    CentreOnScreen(this);
    Form_Load();
}

void frmEnd::Form_Load() {
    TextColor = 0x00FF00;
    const QFontMetricsF metrics(picture1_->font());
    const int width = static_cast<int>(std::lround(metrics.horizontalAdvance(kWord) + 4));
    const int left = static_cast<int>(std::lround((kClientWidth - width) * 0.5));
    picture1_->Place(left, 8, width, 84);
    if (auto* events = platform::services().events) events->ProcessPendingEvents();
    LetterCount = static_cast<int>(kWord.size());
    timer1_->start();
}

void frmEnd::Timer1_Timer() {
    // Any generator will do: each letter needs a fresh, even choice of 0, 10 or 20.
    QRandomGenerator random(static_cast<quint32>(QTime::currentTime().msecsSinceStartOfDay()) ^
                            QRandomGenerator::global()->generate());
    for (int j = 1; j <= LetterCount; ++j) {
        letterDrop_[j] = 10 * static_cast<int>(random.bounded(3));
    }
    Canvas& canvas = picture1_->canvas();
    canvas.Clear();
    const QFont font = picture1_->font();
    const QFontMetricsF metrics(font);
    auto pass = [&](std::uint32_t colour, int lift) {
        int x = lift;
        for (int j = 1; j <= LetterCount; ++j) {
            const QString letter = kWord.mid(j - 1, 1);
            canvas.Text(x, letterDrop_[j] + lift, letter, font, colour);
            x += static_cast<int>(std::lround(metrics.horizontalAdvance(letter)));
        }
    };
    pass(0x808080, 4);   // the grey shadow, 4 pixels right and down
    pass(TextColor, 0);  // the green word in front
}

void frmEnd::KeepClearOf(const QRect& outline, const QRect& board) {
    outline_ = outline;
    board_ = board;
    PlaceClear();
}

void frmEnd::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceClear();
}

void frmEnd::PlaceClear() {
    if (outline_.isEmpty()) return;
    const QScreen* screen =
        parentWidget() && parentWidget()->screen() ? parentWidget()->screen() : this->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // Until the window manager has framed it, its frame is taken to be the main window's.
    QMargins frame(0, 0, 0, 0);
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (isVisible() && frameGeometry() != geometry()) {
        frame = QMargins(geometry().left() - frameGeometry().left(),
                         geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(),
                         frameGeometry().bottom() - geometry().bottom());
    } else if (owner) {
        const QRect o = owner->frameGeometry();
        const QRect g = owner->geometry();
        frame = QMargins(g.left() - o.left(), g.top() - o.top(), o.right() - g.right(),
                         o.bottom() - g.bottom());
    }
    const QSize outer = size().grownBy(frame);
    const int middle = board_.center().x() - outer.width() / 2;
    const int besideY = outline_.center().y() - outer.height() / 2;
    // In order of preference; each is pushed back onto the screen before it is judged.
    const QPoint candidates[] = {
        {middle, board_.bottom() + 1},   {middle, board_.top() - outer.height()},
        {middle, outline_.bottom() + 1}, {middle, outline_.top() - outer.height()},
        {outline_.right() + 1, besideY}, {outline_.left() - outer.width(), besideY},
    };
    QRect best;
    qint64 hidden = -1;
    for (const QPoint& c : candidates) {
        const int x =
            std::clamp(c.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width()));
        const int y =
            std::clamp(c.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height()));
        const QRect place(QPoint(x, y), outer);
        const QRect covered = place.intersected(outline_);
        const qint64 h = covered.isEmpty() ? 0 : qint64(covered.width()) * covered.height();
        if (hidden < 0 || h < hidden) {
            best = place;
            hidden = h;
        }
        if (h == 0) break;
    }
    move(best.topLeft());
}

void frmEnd::SetNote(const platform::VictoryNote& note) {
    // Made only when there is something to say: without a note the window is as designed.
    if (!lblItog_) {
        lblItog_ = new QLabel(this);
        lblItog_->setObjectName(QStringLiteral("lblItog"));
        QFont font = DialogFont(9.75);
        lblItog_->setFont(font);
        lblItog_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        lblItog_->setWordWrap(true);
        kNext_ = new QPushButton(QStringLiteral("Следующий"), this);
        kNext_->setObjectName(QStringLiteral("kNext"));
        // As wide as its word needs in the font it is given (wider than OK's 89 pixels), its
        // right edge kept beside OK; the line takes what is left.
        const int nextWidth =
            std::max(89, QFontMetrics(kNext_->font()).horizontalAdvance(kNext_->text()) + 16);
        kNext_->setGeometry(481 - nextWidth, 112, nextWidth, 33);
        lblItog_->setGeometry(8, 112, 481 - nextWidth - 8 - 8, 33);
        kNext_->setAutoDefault(false);
        connect(kNext_, &QPushButton::clicked, this, [this] {
            nextChosen_ = true;
            accept();
        });
        // Tab goes from OK to «Следующий»; OK keeps the focus and Enter.
        setTabOrder(ok_, kNext_);
        ok_->setFocus();
    }
    lblItog_->setText(note.line);
    lblItog_->setAccessibleName(note.line);
    lblItog_->setVisible(!note.line.isEmpty());
    kNext_->setVisible(note.offerNext);
}

void frmEnd::done(int result) {
    // Unloading ends the animation.
    timer1_->stop();
    QDialog::done(result);
}

std::unique_ptr<frmEnd> VictoryWindowPresenter::Load() {
    auto window = std::make_unique<frmEnd>(platform::MainWidget());
    window->KeepClearOf(OutlineOnScreen(), BoardOnScreen());
    return window;
}

namespace {
const QWidget* Board() {
    const QWidget* main = platform::MainWidget();
    return main ? main->findChild<QWidget*>(QStringLiteral("picPole")) : nullptr;
}
}  // namespace

QRect VictoryWindowPresenter::BoardOnScreen() {
    const QWidget* board = Board();
    return board ? QRect(board->mapToGlobal(QPoint(0, 0)), board->size()) : QRect();
}

QRect VictoryWindowPresenter::OutlineOnScreen() {
    const auto* board = qobject_cast<const PictureBox*>(Board());
    if (!board || CellSize <= 0) return {};
    QRect cells;
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            if (OutlineCells[c][r] != 0) cells |= QRect(c, r, 1, 1);
        }
    }
    if (cells.isEmpty()) return {};
    // Grid lines included: the black outline reaches them.
    const QPoint topLeft = board->mapToGlobal(board->FromClient(cells.topLeft() * CellSize));
    return QRect(topLeft, cells.size() * CellSize + QSize(1, 1));
}

void VictoryWindowPresenter::ShowVictory() {
    const std::unique_ptr<frmEnd> window = Load();
    window->exec();
}

bool VictoryWindowPresenter::ShowVictoryNoted(const platform::VictoryNote& note) {
    const std::unique_ptr<frmEnd> window = Load();
    if (!note.line.isEmpty() || note.offerNext) window->SetNote(note);
    window->exec();
    return window->NextChosen();
}

}  // namespace kv
