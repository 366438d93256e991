// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outlines/ListDialog.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "model/History.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "outlines/Outline.h"
#include "outlines/OutlineFile.h"
#include "outlines/OutlineFolders.h"
#include "outlines/OutlineWriter.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/TextCodec.h"
#include "settings/Settings.h"
#include "settings/WindowPlace.h"
#include "view/BoardDrawing.h"
#include "view/PictureBox.h"
#include "view/WindowStyle.h"

namespace kv {

QStringList OutlineFileNames;
QStringList OutlineFilePaths;

QString OwnMark() { return QStringLiteral(" (свой)"); }
QString DamagedMark() { return QStringLiteral(" (повреждён)"); }

namespace {

// One entry of the sorted list: "name\file", kept with its two halves so that a file name
// holding a backslash (possible here, unlike on the system the files come from) is never
// split in the wrong place.
struct AlfavitEntry {
    QCollatorSortKey nameKey;  // the sort order: by name, then by file name
    QCollatorSortKey fileKey;
    QString text;
    QString name;
    QString file;
    QString path;
    bool own = false;
    bool damaged = false;
};

// Russian alphabetical order ignoring case: Ё with Е, before Ж, not after Я as by code.
QCollator Alphabet() {
    QCollator collator(QLocale(QLocale::Russian, QLocale::Russia));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

bool Before(const AlfavitEntry& a, const AlfavitEntry& b) {
    if (const int byName = a.nameKey.compare(b.nameKey)) return byName < 0;
    if (const int byFile = a.fileKey.compare(b.fileKey)) return byFile < 0;
    if (a.own != b.own) return b.own;  // the shipped copy of a file name first
    return a.text < b.text;            // equal to the alphabet: still one fixed order
}

// The outlines of both folders, read for the list: name and file name of every "*.kvt"
// file (any letter case) that opens; the others are left out silently. In no particular
// order.
std::vector<AlfavitEntry> ReadOutlines(const QCollator& alphabet) {
    std::vector<AlfavitEntry> entries;
    for (const OutlineFileEntry& f : ListOutlineFiles()) {
        const ListedOutline outline = ListOutline(f);
        if (!outline.opened) continue;
        entries.push_back({alphabet.sortKey(outline.name), alphabet.sortKey(f.file),
                           outline.name + QLatin1Char('\\') + f.file, outline.name, f.file,
                           f.path, f.own, outline.damaged});
    }
    return entries;
}

}  // namespace

frmList::frmList(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Список квелтов"));
    // Grows with the player's dragging, never below its design.
    setMinimumSize(kClientWidth, kClientHeight);
    resize(kClientWidth, kClientHeight);

    const QFont listFont = DialogFont(9.75);
    const QFont buttonFont = DialogFont(12);

    // Created in the tab order: list, OK, Cancel. Placed by PlaceControls.
    lstKvelt_ = new QListWidget(this);
    lstKvelt_->setObjectName(QStringLiteral("lstKvelt"));
    lstKvelt_->setFont(listFont);
    lstKvelt_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstKvelt_->setUniformItemSizes(true);  // thousands of outlines must not slow the layout

    picSilet_ = new PictureBox(this);
    picSilet_->setObjectName(QStringLiteral("picSilet"));
    picSilet_->setFocusPolicy(Qt::NoFocus);  // only shows; Tab goes past it

    lblNameFile_ = new QLabel(this);
    lblNameFile_->setObjectName(QStringLiteral("lblNameFile"));
    lblNameFile_->setFont(listFont);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("OK"));
    ok_->setFont(buttonFont);
    ok_->setDefault(true);

    kNo_ = new QPushButton(QStringLiteral("Отмена"), this);
    kNo_->setObjectName(QStringLiteral("kNo"));
    kNo_->setFont(buttonFont);
    PlaceControls(kClientWidth, kClientHeight);

    // The longer of the two messages must fit across the preview.
    messageFont_ = DialogFont(9.75);
    for (qreal points = 9.75; points > 6; points -= 0.75) {
        messageFont_.setPointSizeF(points);
        if (QFontMetrics(messageFont_)
                .horizontalAdvance(platform::OpenFailureText(platform::OpenResult::CannotOpen)) <=
            35 * kPreviewCell) {
            break;
        }
    }

    // A click on the entry already shown is passed over by the preview itself.
    connect(lstKvelt_, &QListWidget::itemSelectionChanged, this, &frmList::lstKvelt_Click);
    connect(lstKvelt_, &QListWidget::itemClicked, this, &frmList::lstKvelt_Click);
    connect(lstKvelt_, &QListWidget::itemDoubleClicked, this, &frmList::OK_Click);
    connect(ok_, &QPushButton::clicked, this, &frmList::OK_Click);
    connect(kNo_, &QPushButton::clicked, this, &frmList::kNo_Click);

    Form_Load();
    lstKvelt_->setFocus();
}

frmList::~frmList() {
    // The list empties itself as it goes; that must not reach a half-destroyed dialog.
    disconnect(lstKvelt_, nullptr, this, nullptr);
    Form_Unload();
}

void frmList::Form_Load() {
    shownIndex_ = -2;
    QWidget* window = platform::MainWidget();
    platform::SetPointer(window, platform::Pointer::Wait);
    ListLoad();
    platform::SetPointer(window, platform::Pointer::Default);
}

void frmList::Form_Unload() {
    OutlineFileNames.clear();
    OutlineFilePaths.clear();
    damaged_.clear();
}

void frmList::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void frmList::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    PlaceControls(width(), height());
}

void frmList::PlaceControls(int width, int height) {
    width = std::max(width, kClientWidth);
    height = std::max(height, kClientHeight);
    // The preview keeps the design's share of the width beside the list (175 of 576) and
    // leaves room below for the label and the buttons (82 pixels in all); its cells stay
    // whole pixels, so it grows by whole cells and the list takes what is left.
    const int byWidth = (width - 21) * (35 * kPreviewCell) / 576 / kColumns;
    const int byHeight = (height - 82) / kRows;
    const int cell = std::max(kPreviewCell, std::min(byWidth, byHeight));
    const int previewWidth = kColumns * cell;
    const int previewHeight = kRows * cell;
    const int left = width - 6 - previewWidth;
    lstKvelt_->setGeometry(8, 8, left - 7 - 8, height - 22);
    lblNameFile_->setGeometry(left, 8 + previewHeight + 4, previewWidth, 20);
    // The buttons keep their size in the bottom right corner.
    ok_->setGeometry(width - 181, height - 46, 89, 33);
    kNo_->setGeometry(width - 85, height - 46, 81, 33);
    const QRect preview(left, 8, previewWidth, previewHeight);
    if (picSilet_->geometry() == preview && cell == previewCell_ &&
        picSilet_->canvas().Width() == previewWidth) {
        return;
    }
    previewCell_ = cell;
    picSilet_->Place(left, 8, previewWidth, previewHeight);
    DrawPreview();
    ShowFileName();
}

void frmList::DrawPreview() {
    Canvas& canvas = picSilet_->canvas();
    // Every cell the same number of device pixels at any pixel ratio, as on the board.
    canvas.SetGrid(previewCell_, kColumns, kRows);
    canvas.Clear();
    if (!previewMessage_.isEmpty()) {
        canvas.Text(0, 0, previewMessage_, messageFont_, 0);
        return;
    }
    for (const QPoint& cell : previewCells_) {
        const int x = previewCell_ * cell.x();
        const int y = previewCell_ * cell.y();
        canvas.FillRect(x, y, x + previewCell_ - 1, y + previewCell_ - 1, 0);
    }
}

void frmList::ShowFileName() {
    if (previewFile_.isNull()) {
        lblNameFile_->clear();
        return;
    }
    // The whole file name, cut in the middle when it is too long: its start and its end
    // tell similar names apart.
    const QString label = QStringLiteral("Файл: ");
    const QFontMetrics metrics(lblNameFile_->font());
    lblNameFile_->setText(label + metrics.elidedText(previewFile_, Qt::ElideMiddle,
                                                     lblNameFile_->width() -
                                                         metrics.horizontalAdvance(label)));
}

int frmList::SelectedIndex() const {
    const QList<QListWidgetItem*> selected = lstKvelt_->selectedItems();
    return selected.isEmpty() ? -1 : lstKvelt_->row(selected.first());
}

void frmList::ListLoad() {
    lstKvelt_->clear();
    Form_Unload();

    // A missing folder simply lists nothing.
    std::vector<AlfavitEntry> lstAlfavit = ReadOutlines(Alphabet());
    std::sort(lstAlfavit.begin(), lstAlfavit.end(), Before);

    int remembered = -1;
    if (!lstAlfavit.empty()) {
        QStringList entries;
        const auto count = static_cast<qsizetype>(lstAlfavit.size());
        entries.reserve(count);
        OutlineFileNames.reserve(count);
        OutlineFilePaths.reserve(count);
        damaged_.reserve(lstAlfavit.size());
        for (std::size_t i = 0; i < lstAlfavit.size(); ++i) {
            const AlfavitEntry& entry = lstAlfavit[i];
            // Equal names are told apart by the marks and, once selected, by the file name.
            entries << QString::number(i + 1) + QStringLiteral(") ") + entry.name +
                           (entry.own ? OwnMark() : QString()) +
                           (entry.damaged ? DamagedMark() : QString());
            OutlineFileNames << entry.file;
            OutlineFilePaths << entry.path;
            damaged_.push_back(entry.damaged);
            // A damaged file is listed by its file name, which is no outline's name.
            if (!entry.damaged && entry.name == OutlineName) remembered = static_cast<int>(i);
        }
        lstKvelt_->addItems(entries);
    }
    // Selecting runs the preview.
    if (remembered >= 0) lstKvelt_->setCurrentRow(remembered);
}

void frmList::lstKvelt_Click() {
    const int index = SelectedIndex();
    if (index < 0 || index >= OutlineFilePaths.size() || index == shownIndex_) return;
    shownIndex_ = index;
    platform::SetPointer(this, platform::Pointer::Wait);

    const QString& path = OutlineFilePaths[index];
    previewFile_ = OutlineFileNames[index];
    ShowFileName();
    // The tool tip holds the folder as well.
    lblNameFile_->setToolTip(QDir::toNativeSeparators(path));
    previewCells_.clear();
    previewMessage_.clear();

    QFile file(path);
    const platform::OpenResult opened = platform::OpenForReading(file);
    if (opened != platform::OpenResult::Opened) {
        previewMessage_ = platform::OpenFailureText(opened);
    } else if (damaged_[static_cast<std::size_t>(index)]) {
        // What a damaged file holds is no outline: drawn, it would be junk.
        previewMessage_ = QStringLiteral("Файл повреждён.");
    } else {
        // The excluded pieces are not needed: only the count says how many cells there are.
        const OutlineContent content = ReadOutline(file, /*withPieces=*/false);
        previewName_ = content.name;
        for (int i = 0; i <= content.lastCell; ++i) {
            previewCells_.emplace_back(content.cells[i][0], content.cells[i][1]);
        }
    }
    DrawPreview();
    file.close();
    platform::SetPointer(this, platform::Pointer::Default);
}

void frmList::OK_Click() {
    const int index = SelectedIndex();
    if (index < 0 || index >= OutlineFilePaths.size()) return;
    if (PlayKvelt(OutlineFilePaths[index])) accept();
}

bool PlayKvelt(const QString& path) {
    if (OpenKvelt(path) == 1) return false;
    FiguryPoMestam();
    ShowAllFigury();
    CurrentPiece = FirstPieceInPlay();
    UstanovkaFigury(-1);
    StartHistory();
    return true;
}

void frmList::kNo_Click() {
    reject();
}

QString ListSizeName() { return QStringLiteral("library-size"); }

void ShowListKvelt() {
    frmList dialog(platform::MainWidget());
    // Opens at the size the player last left it at.
    RestoreDialogSize(&dialog, ListSizeName());
    dialog.exec();
    SaveDialogSize(&dialog, ListSizeName());
}

}  // namespace kv
