// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// frmForma: the main window with the board, the two pop-up palettes and the menus.
#pragma once

#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;

namespace kv {

class PictureBox;

class frmForma : public QMainWindow {
    Q_OBJECT
public:
    // Design size of the client area below the menu bar.
    static constexpr int kClientWidth = 784;
    static constexpr int kClientHeight = 478;

    explicit frmForma(QWidget* parent = nullptr);
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
    QAction* IgraRedaktor() const { return igraRedaktor_; }
    QMenu* Help() const { return help_; }
    QAction* HelpCallHelp() const { return helpCallHelp_; }
    QAction* HelpAbout() const { return helpAbout_; }

    // Start-up steps 3 to 8: centre the palettes, fit the board to the client height.
    void LayOut();

    // Board input.
    void picPole_MouseDown(Qt::MouseButton button, int x, int y);
    void picPole_MouseUp(Qt::MouseButton button, int x, int y);
    void picPole_KeyDown(int keyCode);
    int BoardPressed = 0;

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
    void IgraRedaktor_Click();
    void HelpCallHelp_Click();
    void HelpAbout_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void BuildIgra();
    // «Отменить» and «Повторить» enabled as the list of steps allows.
    void UpdateIgra();
    void Form_Unload();

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
    QAction* igraRedaktor_ = nullptr;
    QMenu* help_ = nullptr;
    QAction* helpCallHelp_ = nullptr;
    QAction* helpAbout_ = nullptr;
    bool unloaded_ = false;
};

// The main window while it exists.
frmForma* MainForm();

}  // namespace kv
