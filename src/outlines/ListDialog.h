// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// frmList: the library of outlines in the Examples folder and the player's own outline
// folder, listed by name with a preview.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QFont>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

#include "outlines/OutlineWriter.h"
#include "solver/Grade.h"

#include "play/ProgressStore.h"

class QCheckBox;
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

// One outline of the library, in the library's order (LibraryOutlines).
struct LibraryOutline {
    QString name;  // the outline's name; the file name for a damaged file
    QString file;
    QString path;
    QByteArray key;  // OutlineKey; empty for a damaged file
    bool own = false;
    bool damaged = false;
};
// Both outline folders as the library lists them, sorted as it sorts them.
std::vector<LibraryOutline> LibraryOutlines();
// The short mark after an entry's name for its record's state: solved, solved with help,
// shown, in progress; empty when not started.
QString JourneyMark(OutlineState state);
// The grade known for an outline: a shipped one's from the grades file, one's own from its
// record; nullopt when none is known yet.
std::optional<OutlineGrade> KnownGrade(bool own, const QString& file, const ProgressRecord& record,
                                       const std::map<QString, OutlineGrade>& shipped);
// Keeps the grade of an outline in the store in folder (the game does it through the
// journey, which may hold the outline's record).
void CacheGrade(const QString& folder, const QByteArray& key, const OutlineGrade& grade);
// «Сложность 3 из 5, решений: 12», «единственное решение», ...
QString GradeText(const std::optional<OutlineGrade>& grade);
// Every record of the progress store (through the journey's store when the game runs).
QHash<QByteArray, ProgressRecord> LoadProgress();

// Shows frmList modally over the main window, at the size it was last closed at; true when
// an outline was loaded (the caller then forgets the position file of the game before).
bool ShowListKvelt();
// The name its size is kept under, beside the main window's place.
QString ListSizeName();
// What the library's OK does with the outline at path: loads it, sends the pieces home,
// lifts the first piece in play and starts the history afresh. False when the file cannot
// be opened (the player has been told) and nothing changed.
bool PlayKvelt(const QString& path);

class frmList : public QDialog {
    Q_OBJECT
  public:
    // Design size of the client area, also the smallest it can be given.
    static constexpr int kClientWidth = 597;
    static constexpr int kClientHeight = 202;
    // Pixels per cell in the preview at the design size.
    static constexpr int kPreviewCell = 5;

    // Loads the dialog: builds the list and previews the outline on the board.
    explicit frmList(QWidget* parent = nullptr);
    ~frmList() override;

    QListWidget* lstKvelt() const { return lstKvelt_; }
    PictureBox* picSilet() const { return picSilet_; }
    QLabel* lblNameFile() const { return lblNameFile_; }
    QPushButton* OK() const { return ok_; }
    QPushButton* kNo() const { return kNo_; }
    // Under the designed part: what the player's journey says of the selected outline.
    QLabel* lblJourney() const { return lblJourney_; }
    QCheckBox* chkUnsolved() const { return chkUnsolved_; }
    // The grade shown for a list position.
    std::optional<OutlineGrade> Grade(int index) const {
        return index >= 0 && static_cast<std::size_t>(index) < grades_.size()
                   ? grades_[static_cast<std::size_t>(index)]
                   : std::nullopt;
    }
    // How much taller than designed the dialog is, for the journey's part.
    static constexpr int kJourneyHeight = 92;

    // List position whose preview is shown; -2 until the first preview.
    int ShownIndex() const { return shownIndex_; }
    // Line 1 of the file last previewed.
    const QByteArray& PreviewName() const { return previewName_; }
    // Position of the selected entry of lstKvelt, -1 when none is selected.
    int SelectedIndex() const;
    // Pixels per cell in the preview at the dialog's present size.
    int PreviewCell() const { return previewCell_; }

    // Fills lstKvelt and OutlineFileNames from both outline folders and selects the outline
    // on the board.
    void ListLoad();
    // Previews the selected entry unless it is the one shown.
    void lstKvelt_Click();
    // Loads the selected outline and starts the pieces afresh; stays open if it fails.
    void OK_Click();
    void kNo_Click();

    void done(int result) override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Form_Load();
    void Form_Unload();
    // Places every control for a client area of width x height: the designed geometry at
    // the designed size; beyond it the list and the preview take the room.
    void PlaceControls(int width, int height);
    // Paints what the preview shows (the cells or the message) into picSilet, cleared.
    void DrawPreview();
    // "Файл: " and the previewed file's name, cut to the label's width.
    void ShowFileName();
    // The journey's part of the dialog, below its designed part.
    void AddJourneyControls();
    void ShowJourney(int index);
    void FilterUnsolved();
    void GradeOwn(std::vector<std::pair<std::size_t, OutlineDraft>> ungraded);

    QListWidget* lstKvelt_ = nullptr;
    PictureBox* picSilet_ = nullptr;
    QLabel* lblNameFile_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* kNo_ = nullptr;
    QFont messageFont_;

    int shownIndex_ = -2;
    QByteArray previewName_;
    // What the preview shows, kept so that a resize draws it again without the file.
    QString previewFile_;
    std::vector<QPoint> previewCells_;
    QString previewMessage_;
    int previewCell_ = kPreviewCell;
    std::vector<bool> damaged_;  // per list position
    QLabel* lblJourney_ = nullptr;
    QCheckBox* chkUnsolved_ = nullptr;
    std::vector<ProgressRecord> records_;  // per list position; key empty when none
    std::vector<bool> ownEntry_;
    std::vector<std::optional<OutlineGrade>> grades_;
    std::vector<QByteArray> keys_;
};

}  // namespace kv
