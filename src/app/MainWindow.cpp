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
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>

#include "editor/EditorWindow.h"
#include "model/History.h"
#include "model/Podskazka.h"
#include "outlines/ListDialog.h"
#include "outlines/Outline.h"
#include "platform/Keys.h"
#include "platform/Services.h"
#include "positions/Positions.h"
#include "settings/Settings.h"
#include "view/BoardDrawing.h"
#include "view/Palettes.h"
#include "view/PictureBox.h"
#include "view/WindowStyle.h"
#include "windows/AboutWindow.h"
#include "windows/OpenUrl.h"

// Resources compiled into a static library must be registered by hand.
static void InitResources() { Q_INIT_RESOURCE(resources); }

namespace kv {

namespace {
frmForma* gMainForm = nullptr;

class LabelStatusLine final : public platform::StatusLine {
public:
    void Show(const QString& text) override {
        if (frmForma* form = MainForm()) form->StatusLine()->setText(text);
    }
};
LabelStatusLine gStatusLine;
}  // namespace

frmForma* MainForm() { return gMainForm; }

frmForma::frmForma(QWidget* parent) : QMainWindow(parent) {
    gMainForm = this;
    InitResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/kvelt-48.png"));
    icon.addFile(QStringLiteral(":/icons/kvelt-128.png"));
    setWindowIcon(icon);
    setWindowTitle(platform::AppTitle());

    client_ = new QWidget(this);
    // Below 24 pixels of height a cell would have no size at all.
    client_->setMinimumSize(35, 24);
    setCentralWidget(client_);

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
    ConnectPalettes(picVyborFigury_, picPovorot_, picPole_);

    // Below the board area, so that the area keeps its designed size and pixels.
    statusLine_ = new QLabel(this);
    statusLine_->setObjectName(QStringLiteral("StatusLine"));
    statusLine_->setAccessibleName(QStringLiteral("Строка состояния"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(statusLine_, 1);
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
    if (BoardCanvas == &picPole_->canvas()) BoardCanvas = nullptr;
    if (gMainForm == this) {
        gMainForm = nullptr;
        HistoryChanged = nullptr;
        if (platform::services().status == &gStatusLine) platform::services().status = nullptr;
    }
}

void frmForma::BuildMenus() {
    menu_ = menuBar()->addMenu(QStringLiteral("Меню"));
    connect(menu_, &QMenu::aboutToShow, this, &frmForma::Menu_Click);
    menuProdolgit_ = menu_->addAction(QStringLiteral("Продолжить"), this,
                                      &frmForma::MenuProdolgit_Click);
    menuProdolgit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    menuSave_ = menu_->addAction(QStringLiteral("Сохранить"), this, &frmForma::MenuSave_Click);
    menuSave_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    menuSaveAs_ =
        menu_->addAction(QStringLiteral("Сохранить как..."), this, &frmForma::MenuSaveAs_Click);
    menuListKvelt_ = menu_->addAction(QStringLiteral("Список квелтов"), this,
                                      &frmForma::MenuListKvelt_Click);
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
    igra_->addSeparator();
    igraRedaktor_ = igra_->addAction(QStringLiteral("Редактор квелтов..."), this,
                                     &frmForma::IgraRedaktor_Click);
    igraRedaktor_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));

    igra_->setObjectName(QStringLiteral("Igra"));
    igraOtmena_->setObjectName(QStringLiteral("IgraOtmena"));
    igraPovtor_->setObjectName(QStringLiteral("IgraPovtor"));
    igraPodskazka_->setObjectName(QStringLiteral("IgraPodskazka"));
    igraReshenie_->setObjectName(QStringLiteral("IgraReshenie"));
    igraZanovo_->setObjectName(QStringLiteral("IgraZanovo"));
    igraRedaktor_->setObjectName(QStringLiteral("IgraRedaktor"));
    for (QAction* action : {igraOtmena_, igraPovtor_, igraPodskazka_, igraReshenie_, igraZanovo_,
                            igraRedaktor_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    HistoryChanged = [this] { UpdateIgra(); };
    UpdateIgra();
}

void frmForma::UpdateIgra() {
    igraOtmena_->setEnabled(CanOtmena());
    igraPovtor_->setEnabled(CanPovtor());
}

void frmForma::LayOut() {
    const int clientWidth = client_->width();
    const int clientHeight = client_->height();
    picPovorot_->Place((clientWidth - picPovorot_->width()) / 2, picPovorot_->y(),
                       picPovorot_->width(), picPovorot_->height());
    picVyborFigury_->Place((clientWidth - picVyborFigury_->width()) / 2, picVyborFigury_->y(),
                           picVyborFigury_->width(), picVyborFigury_->height());
    SetCellSize(clientHeight);
    const int boardLeft = (clientWidth - CellSize * 35 - 1) / 2;
    picPole_->Place(boardLeft, 0, BoardPixelWidth, BoardPixelHeight);
    picPole_->setFocus();
}

void frmForma::Menu_Click() {
    const bool enabled = OutlineLoaded > 0;
    menuSave_->setEnabled(enabled);
    menuSaveAs_->setEnabled(enabled);
}

void frmForma::MenuProdolgit_Click() { Prodolgit(); }
void frmForma::MenuSave_Click() { SaveFile(); }
void frmForma::MenuSaveAs_Click() { SaveAs(); }
void frmForma::MenuListKvelt_Click() { ShowListKvelt(); }
void frmForma::MenuExit_Click() { close(); }
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
    WhenIdle(Podskazka);
}
void frmForma::IgraReshenie_Click() {
    ClosePalettes();
    WhenIdle(ShowReshenie);
}
void frmForma::IgraZanovo_Click() {
    ClosePalettes();
    WhenIdle(NachatZanovo);
}
void frmForma::IgraRedaktor_Click() {
    ClosePalettes();
    WhenIdle(ShowRedaktor);
}
void frmForma::HelpCallHelp_Click() { OpenURL(QStringLiteral("Справка.html")); }
void frmForma::HelpAbout_Click() { ShowAbout(); }

// A menu closed by Esc or by a click elsewhere leaves the menu bar holding the keyboard,
// unseen, and the arrows would walk the menus. No menu and no palette is open once the bar
// has it, so the board takes it back.
bool frmForma::eventFilter(QObject* watched, QEvent* event) {
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
}

}  // namespace kv
