// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <tuple>

#include "app/Journey.h"
#include "editor/EditorWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "outlines/ListDialog.h"
#include "outlines/Outline.h"
#include "platform/Keys.h"
#include "platform/Services.h"
#include "play/History.h"
#include "play/Podskazka.h"
#include "positions/Positions.h"
#include "settings/Settings.h"
#include "settings/WindowPlace.h"
#include "view/BoardDrawing.h"
#include "view/Palettes.h"
#include "view/PictureBox.h"
#include "view/WindowStyle.h"
#include "windows/AboutWindow.h"
#include "windows/HelpWindow.h"
#include "windows/NewKveltDialog.h"
#include "windows/UspehiWindow.h"

// Resources compiled into a static library must be registered by hand.
static void InitResources() {
    Q_INIT_RESOURCE(resources);
}

namespace kv {

namespace {
frmForma* gMainForm = nullptr;

class LabelStatusLine final : public platform::StatusLine {
  public:
    void Show(const QString& text) override {
        frmForma* form = MainForm();
        if (!form || form->StatusLine()->text() == text) return;
        QLabel* line = form->StatusLine();
        line->setText(text);
        // A screen reader reads the label by its name: the message is the name, and the
        // change of name (QAccessible::NameChanged) is what makes it speak.
        line->setAccessibleName(text);
    }
};
LabelStatusLine gStatusLine;
}  // namespace

frmForma* MainForm() {
    return gMainForm;
}

frmForma::frmForma(QWidget* parent) : QMainWindow(parent) {
    gMainForm = this;
    InitResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/kvelt-48.png"));
    icon.addFile(QStringLiteral(":/icons/kvelt-128.png"));
    setWindowIcon(icon);
    setWindowTitle(platform::AppTitle());

    client_ = new QWidget(this);
    // The board grows with the window but never shrinks below its designed size.
    client_->setMinimumSize(kClientWidth, kClientHeight);
    setCentralWidget(client_);
    client_->installEventFilter(this);
    layOutTimer_ = new QTimer(this);
    layOutTimer_->setSingleShot(true);
    connect(layOutTimer_, &QTimer::timeout, this, [this] {
        // A modal window over this one (the editor draws with CellSize) sees no change.
        if (QApplication::activeModalWidget()) {
            layOutWaits_ = true;
            return;
        }
        LayOut();
    });

    // The board first in the focus order: it holds the focus whenever no palette is open.
    picPole_ = new PictureBox(client_);
    picPole_->setObjectName(QStringLiteral("picPole"));
    picVyborFigury_ = new PictureBox(client_);
    picVyborFigury_->setObjectName(QStringLiteral("picVyborFigury"));
    picVyborFigury_->SetSunkenFrame(true);
    picVyborFigury_->Place(0, 185, 584, 69);
    picVyborFigury_->hide();
    picPovorot_ = new PictureBox(client_);
    picPovorot_->setObjectName(QStringLiteral("picPovorot"));
    picPovorot_->SetSunkenFrame(true);
    picPovorot_->Place(0, 185, 336, 69);
    picPovorot_->hide();

    ruka_ = new QLabel(client_);
    ruka_->setObjectName(QStringLiteral("Ruka"));
    HandStrip = QImage(QStringLiteral(":/hand_strip.png")).convertToFormat(QImage::Format_RGB32);
    ruka_->setPixmap(QPixmap::fromImage(HandStrip));
    ruka_->setGeometry(0, 0, 204, 17);
    ruka_->hide();

    BoardCanvas = &picPole_->canvas();
    picPole_->onMouseDown = [this](Qt::MouseButton b, int x, int y) { picPole_MouseDown(b, x, y); };
    picPole_->onMouseUp = [this](Qt::MouseButton b, int x, int y) { picPole_MouseUp(b, x, y); };
    picPole_->onKeyDown = [this](QKeyEvent* event) {
        picPole_KeyDown(platform::VirtualKeyCode(event));
    };
    picPole_->onMouseMove = [this](Qt::MouseButtons b, int x, int y) {
        picPole_MouseMove(b, x, y);
    };
    picPole_->onWheel = [this](int angleDelta) { picPole_Wheel(angleDelta); };
    picPole_->onLostFocus = [this] { picPole_LostFocus(); };
    picPole_->setAccessibleName(QStringLiteral("Игровое поле"));
    ConnectPalettes(picVyborFigury_, picPovorot_, picPole_);

    // Below the board area, so that the area keeps its designed size and pixels.
    statusLine_ = new QLabel(this);
    statusLine_->setObjectName(QStringLiteral("StatusLine"));
    statusLine_->setAccessibleName(QStringLiteral("Строка состояния"));
    statusLine_->setAccessibleDescription(QStringLiteral(
        "Подсказки игры: что можно сделать с фигурой и почему действие не выполнено"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(statusLine_, 1);
    journeyLine_ = new QLabel(this);
    journeyLine_->setObjectName(QStringLiteral("JourneyLine"));
    journeyLine_->setAccessibleName(QStringLiteral("Время и шаги"));
    statusBar()->addPermanentWidget(journeyLine_);
    platform::services().status = &gStatusLine;

    BuildMenus();
    menuBar()->installEventFilter(this);
    platform::SetMainWidget(this);

    // The design size is that of the client area; the menu bar comes on top of it and the
    // status line below it.
    resize(kClientWidth,
           kClientHeight + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    CentreOnScreen(this);
}

frmForma::~frmForma() {
    // The board loses the focus while its children are torn down, after this window has
    // stopped being a frmForma: the handler must not run then.
    picPole_->onLostFocus = nullptr;
    if (journey_) {
        journey_->onStatus = nullptr;
        // The journey goes with this window's children, after this window is gone.
        disconnect(journey_, nullptr, this, nullptr);
    }
    history_.SetObserver(nullptr);
    if (BoardCanvas == &picPole_->canvas()) BoardCanvas = nullptr;
    if (gMainForm == this) {
        gMainForm = nullptr;
        if (platform::services().status == &gStatusLine) platform::services().status = nullptr;
    }
}

void frmForma::BuildMenus() {
    menu_ = menuBar()->addMenu(QStringLiteral("Меню"));
    connect(menu_, &QMenu::aboutToShow, this, &frmForma::Menu_Click);
    menuProdolgit_ =
        menu_->addAction(QStringLiteral("Продолжить"), this, &frmForma::MenuProdolgit_Click);
    menuProdolgit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    menuSave_ = menu_->addAction(QStringLiteral("Сохранить"), this, &frmForma::MenuSave_Click);
    menuSave_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    menuSaveAs_ =
        menu_->addAction(QStringLiteral("Сохранить как..."), this, &frmForma::MenuSaveAs_Click);
    menuListKvelt_ =
        menu_->addAction(QStringLiteral("Список квелтов"), this, &frmForma::MenuListKvelt_Click);
    menuListKvelt_->setShortcut(QKeySequence(Qt::Key_F4));
    menu_->addSeparator();
    menuExit_ = menu_->addAction(QStringLiteral("Выход"), this, &frmForma::MenuExit_Click);

    BuildIgra();

    help_ = menuBar()->addMenu(QStringLiteral("Справка"));
    helpCallHelp_ =
        help_->addAction(QStringLiteral("Вызов справки"), this, &frmForma::HelpCallHelp_Click);
    helpCallHelp_->setShortcut(QKeySequence(Qt::Key_F1));
    helpAbout_ = help_->addAction(QStringLiteral("О программе"), this, &frmForma::HelpAbout_Click);

    menu_->setObjectName(QStringLiteral("Menu"));
    menuProdolgit_->setObjectName(QStringLiteral("MenuProdolgit"));
    menuSave_->setObjectName(QStringLiteral("MenuSave"));
    menuSaveAs_->setObjectName(QStringLiteral("MenuSaveAs"));
    menuListKvelt_->setObjectName(QStringLiteral("MenuListKvelt"));
    menuExit_->setObjectName(QStringLiteral("MenuExit"));
    help_->setObjectName(QStringLiteral("Help"));
    helpCallHelp_->setObjectName(QStringLiteral("HelpCallHelp"));
    helpAbout_->setObjectName(QStringLiteral("HelpAbout"));

    // Shortcuts reach their handlers without opening the menu, from anywhere in the window;
    // a disabled item's shortcut does nothing.
    for (QAction* action : {menuProdolgit_, menuSave_, menuSaveAs_, menuListKvelt_, menuExit_,
                            helpCallHelp_, helpAbout_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
}

void frmForma::BuildIgra() {
    igra_ = menuBar()->addMenu(QStringLiteral("Игра"));
    igraOtmena_ = igra_->addAction(QStringLiteral("Отменить"), this, &frmForma::IgraOtmena_Click);
    igraOtmena_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    igraPovtor_ = igra_->addAction(QStringLiteral("Повторить"), this, &frmForma::IgraPovtor_Click);
    igraPovtor_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    igra_->addSeparator();
    igraPodskazka_ =
        igra_->addAction(QStringLiteral("Подсказка"), this, &frmForma::IgraPodskazka_Click);
    igraPodskazka_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    igraReshenie_ =
        igra_->addAction(QStringLiteral("Решение"), this, &frmForma::IgraReshenie_Click);
    igraZanovo_ =
        igra_->addAction(QStringLiteral("Начать заново"), this, &frmForma::IgraZanovo_Click);
    igraZanovo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    BuildTurnItems();
    igra_->addSeparator();
    igraRedaktor_ = igra_->addAction(QStringLiteral("Редактор квелтов..."), this,
                                     &frmForma::IgraRedaktor_Click);
    igraRedaktor_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    for (const auto& [caption, name, kind] :
         {std::tuple{"Новый квелт...", "IgraNovy", frmNewKvelt::Kind::Random},
          std::tuple{"Квелт дня...", "IgraDnya", frmNewKvelt::Kind::Day}}) {
        QAction* item = igra_->addAction(QString::fromUtf8(caption), this, [this, kind = kind] {
            ClosePalettes();
            WhenIdle([kind] { ShowNewKvelt(kind); });
        });
        item->setObjectName(QString::fromUtf8(name));
    }
    BuildJourneyItems();

    igra_->setObjectName(QStringLiteral("Igra"));
    igraOtmena_->setObjectName(QStringLiteral("IgraOtmena"));
    igraPovtor_->setObjectName(QStringLiteral("IgraPovtor"));
    igraPodskazka_->setObjectName(QStringLiteral("IgraPodskazka"));
    igraReshenie_->setObjectName(QStringLiteral("IgraReshenie"));
    igraZanovo_->setObjectName(QStringLiteral("IgraZanovo"));
    igraRedaktor_->setObjectName(QStringLiteral("IgraRedaktor"));
    for (QAction* action :
         {igraOtmena_, igraPovtor_, igraPodskazka_, igraReshenie_, igraZanovo_, igraRedaktor_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    history_.SetObserver(this);
    UpdateIgra();
}

// Turning without the palette. Page Down, Page Up and Home: no specified key and no piece
// letter, and the same keys under every keyboard layout; Page Down turns as the wheel turned
// towards the player does.
void frmForma::BuildTurnItems() {
    igra_->addSeparator();
    igraVpravo_ = igra_->addAction(QStringLiteral("Повернуть по часовой стрелке"), this,
                                   &frmForma::IgraVpravo_Click);
    igraVpravo_->setShortcut(QKeySequence(Qt::Key_PageDown));
    igraVlevo_ = igra_->addAction(QStringLiteral("Повернуть против часовой стрелки"), this,
                                  &frmForma::IgraVlevo_Click);
    igraVlevo_->setShortcut(QKeySequence(Qt::Key_PageUp));
    igraOtrazit_ = igra_->addAction(QStringLiteral("Отразить"), this, &frmForma::IgraOtrazit_Click);
    igraOtrazit_->setShortcut(QKeySequence(Qt::Key_Home));
    igraVpravo_->setObjectName(QStringLiteral("IgraVpravo"));
    igraVlevo_->setObjectName(QStringLiteral("IgraVlevo"));
    igraOtrazit_->setObjectName(QStringLiteral("IgraOtrazit"));
    for (QAction* action : {igraVpravo_, igraVlevo_, igraOtrazit_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
}

void frmForma::BuildJourneyItems() {
    igraSleduyushchiy_ = igra_->addAction(QStringLiteral("Следующий нерешённый"), this,
                                          &frmForma::IgraSleduyushchiy_Click);
    // F3: "find next" on most desktops, and no key of play.
    igraSleduyushchiy_->setShortcut(QKeySequence(Qt::Key_F3));
    igraUspehi_ = igra_->addAction(QStringLiteral("Успехи..."), this, &frmForma::IgraUspehi_Click);
    igraSleduyushchiy_->setObjectName(QStringLiteral("IgraSleduyushchiy"));
    igraUspehi_->setObjectName(QStringLiteral("IgraUspehi"));
    for (QAction* action : {igraSleduyushchiy_, igraUspehi_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        action->setEnabled(false);  // until a journey is kept
    }
}

void frmForma::AttachJourney(Journey* journey) {
    journey_ = journey;
    igraSleduyushchiy_->setEnabled(journey != nullptr);
    igraUspehi_->setEnabled(journey != nullptr);
    if (!journey) return;
    journey->onStatus = [this](const QString& text) { journeyLine_->setText(text); };
    connect(journey, &QObject::destroyed, this, [this] { journey_ = nullptr; });
    journey->SetActive(isActiveWindow() && !isMinimized());
}

void frmForma::HistoryChanged() {
    UpdateIgra();
    if (journey_) journey_->Changed();
}

void frmForma::IgraSleduyushchiy_Click() {
    ClosePalettes();
    if (journey_) WhenIdle([this] { journey_->NextUnsolved(); });
}

void frmForma::IgraUspehi_Click() {
    ClosePalettes();
    if (journey_) WhenIdle([this] { ShowUspehi(*journey_); });
}

void frmForma::UpdateIgra() {
    igraOtmena_->setEnabled(CanOtmena());
    igraPovtor_->setEnabled(CanPovtor());
    // Every change of the board passes through the history, so these follow it too.
    igraPodskazka_->setEnabled(CanPodskazka());
    igraReshenie_->setEnabled(CanPodskazka());
    igraZanovo_->setEnabled(CanNachatZanovo());
}

void frmForma::LayOut() {
    layOutTimer_->stop();
    layOutWaits_ = false;
    sinceLayOut_.start();
    ++layOutCount_;
    const int clientWidth = client_->width();
    const int clientHeight = client_->height();
    const int oldCellSize = CellSize;
    SetCellSize(clientHeight, clientWidth);
    // Centred across; down too when the width is what keeps the board smaller.
    const int boardLeft = (clientWidth - BoardPixelWidth) / 2;
    const bool widthLimits = (clientWidth - 1) / 35 < clientHeight / 24;
    const int boardTop = widthLimits ? (clientHeight - BoardPixelHeight) / 2 : 0;
    const QRect board(boardLeft, boardTop, BoardPixelWidth, BoardPixelHeight);
    const bool resized = CellSize != oldCellSize || picPole_->canvas().Width() != BoardPixelWidth ||
                         picPole_->canvas().Height() != BoardPixelHeight ||
                         drawnRatio_ != picPole_->devicePixelRatioF();
    if (!resized && picPole_->geometry() == board && layOutCount_ > 1) return;
    // A palette drawn at the old size would no longer match its entries.
    ClosePalettes();
    picPole_->Place(boardLeft, boardTop, BoardPixelWidth, BoardPixelHeight);
    PlacePalettes(board);
    if (resized) RedrawPole();
    picPole_->setFocus();
}

void frmForma::RedrawPole() {
    // What loading draws, from the model as it stands: nothing is set down or lifted.
    drawnRatio_ = picPole_->devicePixelRatioF();
    DrawGrid(picPole_->canvas());
    ShowKvelt();
    const int current = CurrentPiece;
    for (int p = 1; p <= kPieces; ++p) {
        if (PieceExcluded[p] != 0 || p == current) continue;
        for (int k = 0; k < 5; ++k) {
            const int c = PieceCellColumn(p, k);
            const int r = PieceCellRow(p, k);
            if (OnBoard(c, r)) FillCellInterior(c, r, PieceColor[p]);
        }
    }
    if (current >= 1 && current <= kPieces && PieceExcluded[current] == 0) ShowFigury(-1);
}

void frmForma::ScheduleLayOut() {
    // Start-up lays the window out itself once it has been shown.
    if (layOutCount_ == 0 || layOutTimer_->isActive()) return;
    const qint64 since = sinceLayOut_.elapsed();
    layOutTimer_->start(static_cast<int>(std::max<qint64>(0, kFrameMs - since)));
}

bool frmForma::event(QEvent* event) {
    // Back from a modal window: the size it kept waiting.
    if (event->type() == QEvent::WindowActivate && layOutWaits_) {
        layOutWaits_ = false;
        ScheduleLayOut();
    }
    // On a screen of another pixel ratio the board is drawn again in its pixels.
    if (event->type() == QEvent::ScreenChangeInternal) ScheduleLayOut();
    // The clock runs only while the player has the window.
    const QEvent::Type type = event->type();
    // The event may close and delete the window (a close or a deferred delete).
    const QPointer<frmForma> alive(this);
    const bool result = QMainWindow::event(event);
    if (!alive) return result;
    if (journey_ && (type == QEvent::WindowActivate || type == QEvent::WindowDeactivate ||
                     type == QEvent::WindowStateChange || type == QEvent::Hide)) {
        journey_->SetActive(type != QEvent::Hide && type != QEvent::WindowDeactivate &&
                            isActiveWindow() && !isMinimized());
    }
    return result;
}

void frmForma::Menu_Click() {
    const bool enabled = OutlineLoaded > 0;
    menuSave_->setEnabled(enabled);
    menuSaveAs_->setEnabled(enabled);
}

void frmForma::MenuProdolgit_Click() {
    Prodolgit();
}
void frmForma::MenuSave_Click() {
    SaveFile();
}
void frmForma::MenuSaveAs_Click() {
    SaveAs();
}
void frmForma::MenuListKvelt_Click() {
    if (ShowListKvelt()) PositionPath.clear();
}
void frmForma::MenuExit_Click() {
    close();
}
// A palette open over the board would act on pieces the command moves: it closes first.
// While a move is still being finished, the command waits for it (see WhenIdle).
void frmForma::IgraOtmena_Click() {
    ClosePalettes();
    WhenIdle(Otmena);
}
void frmForma::IgraPovtor_Click() {
    ClosePalettes();
    WhenIdle(Povtor);
}
void frmForma::IgraPodskazka_Click() {
    ClosePalettes();
    // The journey counts the hint in the attempt.
    if (journey_) {
        WhenIdle([this] { journey_->Hint(); });
    } else {
        WhenIdle(Podskazka);
    }
}
void frmForma::IgraReshenie_Click() {
    ClosePalettes();
    // The journey marks the outline shown, and no victory is celebrated.
    if (journey_) {
        WhenIdle([this] { journey_->Solution(); });
    } else {
        WhenIdle(ShowReshenie);
    }
}
void frmForma::IgraZanovo_Click() {
    ClosePalettes();
    WhenIdle(NachatZanovo);
}
void frmForma::IgraRedaktor_Click() {
    ClosePalettes();
    WhenIdle(ShowRedaktor);
}
void frmForma::HelpCallHelp_Click() {
    CallHelp();
}
void frmForma::HelpAbout_Click() {
    ShowAbout();
}

// A menu closed by Esc or by a click elsewhere leaves the menu bar holding the keyboard,
// unseen, and the arrows would walk the menus. No menu and no palette is open once the bar
// has it, so the board takes it back.
bool frmForma::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) ScheduleLayOut();
    if (watched == menuBar() && event->type() == QEvent::FocusIn) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (menuBar()->hasFocus() && !QApplication::activePopupWidget()) {
                    picPole_->setFocus();
                }
            },
            Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmForma::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmForma::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    SaveINI();
    // The position in play is written before the program ends.
    if (journey_) journey_->Flush();
    SaveWindowPlace(this);
}

}  // namespace kv
