// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// frmForma: the main window with the board, the two pop-up palettes and the menus.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <memory>

#include "model/Operations.h"
#include "play/History.h"

class QAction;
class QLabel;
class QMenu;
class QTimer;

namespace kv {

class Journey;
class PictureBox;

class frmForma : public QMainWindow, private HistoryObserver {
    Q_OBJECT
  public:
    // Design size of the client area below the menu bar.
    static constexpr int kClientWidth = 784;
    static constexpr int kClientHeight = 478;

    explicit frmForma(QWidget* parent = nullptr);
    // The game's steps, as the «Игра» menu walks them.
    const History& Steps() const { return history_.Steps(); }
    ~frmForma() override;

    // The client area (below the menu bar) that all layout coordinates refer to.
    QWidget* Client() const { return client_; }
    PictureBox* picPole() const { return picPole_; }
    PictureBox* picVyborFigury() const { return picVyborFigury_; }
    PictureBox* picPovorot() const { return picPovorot_; }
    QLabel* Ruka() const { return ruka_; }
    // The status line under the board area: the game's short messages to the player.
    QLabel* StatusLine() const { return statusLine_; }

    QMenu* Menu() const { return menu_; }
    QAction* MenuProdolgit() const { return menuProdolgit_; }
    QAction* MenuSave() const { return menuSave_; }
    QAction* MenuSaveAs() const { return menuSaveAs_; }
    QAction* MenuListKvelt() const { return menuListKvelt_; }
    QAction* MenuExit() const { return menuExit_; }
    QMenu* Igra() const { return igra_; }
    QAction* IgraOtmena() const { return igraOtmena_; }
    QAction* IgraPovtor() const { return igraPovtor_; }
    QAction* IgraPodskazka() const { return igraPodskazka_; }
    QAction* IgraReshenie() const { return igraReshenie_; }
    QAction* IgraZanovo() const { return igraZanovo_; }
    QAction* IgraVpravo() const { return igraVpravo_; }
    QAction* IgraVlevo() const { return igraVlevo_; }
    QAction* IgraOtrazit() const { return igraOtrazit_; }
    QAction* IgraRedaktor() const { return igraRedaktor_; }
    QAction* IgraSleduyushchiy() const { return igraSleduyushchiy_; }
    QAction* IgraUspehi() const { return igraUspehi_; }
    // The journey's part of the status line: time, steps, hints, pieces in the outline.
    QLabel* JourneyLine() const { return journeyLine_; }
    // Keeps the player's journey from here on: steps, the clock, hints, the solution.
    void AttachJourney(Journey* journey);
    QMenu* Help() const { return help_; }
    QAction* HelpCallHelp() const { return helpCallHelp_; }
    QAction* HelpAbout() const { return helpAbout_; }

    // Fits the board to the client size and centres it and the palettes over it: at
    // start-up, and again after every change of the window's size. A board that changes
    // size is drawn anew from the model; an open palette closes.
    void LayOut();
    // Shortest time between two layouts while the window is being dragged to a new size.
    static constexpr int kFrameMs = 16;
    // The layouts done so far (for checks).
    int LayOutCount() const { return layOutCount_; }

    // Board input.
    void picPole_MouseDown(Qt::MouseButton button, int x, int y);
    void picPole_MouseUp(Qt::MouseButton button, int x, int y);
    void picPole_KeyDown(int keyCode);
    void picPole_MouseMove(Qt::MouseButtons buttons, int x, int y);
    void picPole_Wheel(int angleDelta);
    void picPole_LostFocus();
    int BoardPressed = 0;
    // True from the moment a pressed piece leaves its cell until the release or Esc.
    bool Dragging() const { return drag_.step != nullptr; }

    // Menu handlers.
    void Menu_Click();
    void MenuProdolgit_Click();
    void MenuSave_Click();
    void MenuSaveAs_Click();
    void MenuListKvelt_Click();
    void MenuExit_Click();
    void IgraOtmena_Click();
    void IgraPovtor_Click();
    void IgraPodskazka_Click();
    void IgraReshenie_Click();
    void IgraZanovo_Click();
    void IgraVpravo_Click();
    void IgraVlevo_Click();
    void IgraOtrazit_Click();
    void IgraRedaktor_Click();
    void IgraSleduyushchiy_Click();
    void IgraUspehi_Click();
    void HelpCallHelp_Click();
    void HelpAbout_Click();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void BuildMenus();
    void BuildIgra();
    // «Отменить» and «Повторить» enabled as the list of steps allows.
    void UpdateIgra();
    void HistoryChanged() override;
    void Form_Unload();
    // A layout after the size has changed: at most one per frame, always of the last size.
    void ScheduleLayOut();
    // The board as the model stands, at the new size: grid, outline, set pieces, current piece.
    void RedrawPole();
    void BuildTurnItems();
    void BuildJourneyItems();
    // Board input helpers (BoardInput.cpp).
    void TurnCurrent(Turn turn);
    void PickPiece(int p);
    void StartDrag(int column, int row);
    void DragTo(int x, int y);
    void EndDrag(bool cancel);
    void Guide();

    // A press of the left button on the board and the drag that may follow it.
    struct Drag {
        bool pressed = false;  // the left button went down on a cell of the board
        int column = 0;        // the cell of that press
        int row = 0;
        bool refused = false;  // the press grabbed nothing that may move: the release does nothing
        int dx = 0;            // the grabbed cell, counted from the reference cell
        int dy = 0;
        bool atEdge = false;
        Arrangement before;
        std::unique_ptr<CompoundStep> step;  // open while a piece is dragged
    };
    // The game's steps; made before, and gone after, a drag's step that may be open.
    GameHistory history_;
    Drag drag_;
    int wheelAngle_ = 0;  // the wheel's turn not yet spent on quarter turns, in eighths of a degree

    QWidget* client_ = nullptr;
    PictureBox* picPole_ = nullptr;
    PictureBox* picVyborFigury_ = nullptr;
    PictureBox* picPovorot_ = nullptr;
    QLabel* ruka_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* menuProdolgit_ = nullptr;
    QAction* menuSave_ = nullptr;
    QAction* menuSaveAs_ = nullptr;
    QAction* menuListKvelt_ = nullptr;
    QAction* menuExit_ = nullptr;
    QMenu* igra_ = nullptr;
    QAction* igraOtmena_ = nullptr;
    QAction* igraPovtor_ = nullptr;
    QAction* igraPodskazka_ = nullptr;
    QAction* igraReshenie_ = nullptr;
    QAction* igraZanovo_ = nullptr;
    QAction* igraVpravo_ = nullptr;
    QAction* igraVlevo_ = nullptr;
    QAction* igraOtrazit_ = nullptr;
    QAction* igraRedaktor_ = nullptr;
    QAction* igraSleduyushchiy_ = nullptr;
    QAction* igraUspehi_ = nullptr;
    QLabel* journeyLine_ = nullptr;
    Journey* journey_ = nullptr;
    QMenu* help_ = nullptr;
    QAction* helpCallHelp_ = nullptr;
    QAction* helpAbout_ = nullptr;
    bool unloaded_ = false;
    QTimer* layOutTimer_ = nullptr;
    QElapsedTimer sinceLayOut_;
    bool layOutWaits_ = false;  // for a modal window to close
    int layOutCount_ = 0;
    qreal drawnRatio_ = 0;  // the pixel ratio the board was last drawn at
};

// The main window while it exists.
frmForma* MainForm();

}  // namespace kv
