// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// frmList: the library of outlines in the Examples folder and the player's own outline
// folder, listed by name with a preview.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QFont>
#include <QString>
#include <QStringList>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace kv {

class PictureBox;

// File name (without folder) of the outline at each position of lstKvelt, and its full
// path (the same file name may be in both folders); empty while the library is closed.
extern QStringList OutlineFileNames;
extern QStringList OutlineFilePaths;

// The marks after an entry's name: a file of the player's own folder, a damaged file.
QString OwnMark();
QString DamagedMark();

// Shows frmList modally over the main window; true when an outline was loaded (the caller
// then forgets the position file of the game before).
bool ShowListKvelt();
// What the library's OK does with the outline at path: loads it, sends the pieces home,
// lifts the first piece in play and starts the history afresh. False when the file cannot
// be opened (the player has been told) and nothing changed.
bool PlayKvelt(const QString& path);

class frmList : public QDialog {
    Q_OBJECT
  public:
    // Design size of the client area.
    static constexpr int kClientWidth = 597;
    static constexpr int kClientHeight = 202;
    // Pixels per cell in the preview.
    static constexpr int kPreviewCell = 5;

    // Loads the dialog: builds the list and previews the outline on the board.
    explicit frmList(QWidget* parent = nullptr);
    ~frmList() override;

    QListWidget* lstKvelt() const { return lstKvelt_; }
    PictureBox* picSilet() const { return picSilet_; }
    QLabel* lblNameFile() const { return lblNameFile_; }
    QPushButton* OK() const { return ok_; }
    QPushButton* kNo() const { return kNo_; }

    // List position whose preview is shown; -2 until the first preview.
    int ShownIndex() const { return shownIndex_; }
    // Line 1 of the file last previewed.
    const QByteArray& PreviewName() const { return previewName_; }
    // Position of the selected entry of lstKvelt, -1 when none is selected.
    int SelectedIndex() const;

    // Fills lstKvelt and OutlineFileNames from both outline folders and selects the outline
    // on the board.
    void ListLoad();
    // Previews the selected entry unless it is the one shown.
    void lstKvelt_Click();
    // Loads the selected outline and starts the pieces afresh; stays open if it fails.
    void OK_Click();
    void kNo_Click();

    void done(int result) override;

  private:
    void Form_Load();
    void Form_Unload();

    QListWidget* lstKvelt_ = nullptr;
    PictureBox* picSilet_ = nullptr;
    QLabel* lblNameFile_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* kNo_ = nullptr;
    QFont messageFont_;

    int shownIndex_ = -2;
    QByteArray previewName_;
    std::vector<bool> damaged_;  // per list position
};

}  // namespace kv
