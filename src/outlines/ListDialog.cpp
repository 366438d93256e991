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

#include "model/Model.h"
#include "model/Operations.h"
#include "outlines/Outline.h"
#include "outlines/OutlineFile.h"
#include "outlines/OutlineFolders.h"
#include "outlines/OutlineWriter.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/TextCodec.h"
#include "play/Play.h"
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
// file (any letter case) that opens; the others are left out silently. A damaged file is
// listed under its file name, as its first line may be anything. In no particular order.
std::vector<AlfavitEntry> ReadOutlines(const QCollator& alphabet) {
    std::vector<AlfavitEntry> entries;
    for (const OutlineFileEntry& f : ListOutlineFiles()) {
        QFile file;
        // Why a file cannot be opened does not matter here (it is left out). Opened by its
        // bytes: its name may not be UTF-8.
        if (platform::OpenForReading(file, f.bytes) != platform::OpenResult::Opened) continue;
        const StrictOutline outline = CheckOutlineFile(ReadOutlineFile(file));
        const bool damaged = !outline.fault.isEmpty();
        const QString name = damaged ? f.file : outline.draft.name;
        entries.push_back({alphabet.sortKey(name), alphabet.sortKey(f.file),
                           name + QLatin1Char('\\') + f.file, name, f.file, f.path, f.own,
                           damaged});
    }
    return entries;
}

}  // namespace

frmList::frmList(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Список квелтов"));
    setFixedSize(kClientWidth, kClientHeight);

    const QFont listFont = DialogFont(9.75);
    const QFont buttonFont = DialogFont(12);

    // Created in the tab order: list, OK, Cancel.
    lstKvelt_ = new QListWidget(this);
    lstKvelt_->setObjectName(QStringLiteral("lstKvelt"));
    lstKvelt_->setGeometry(8, 8, 401, 180);
    lstKvelt_->setFont(listFont);
    lstKvelt_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstKvelt_->setUniformItemSizes(true);  // thousands of outlines must not slow the layout

    picSilet_ = new PictureBox(this);
    picSilet_->setObjectName(QStringLiteral("picSilet"));
    picSilet_->setFocusPolicy(Qt::NoFocus);  // only shows; Tab goes past it
    picSilet_->Place(416, 8, 35 * kPreviewCell, 24 * kPreviewCell);

    lblNameFile_ = new QLabel(this);
    lblNameFile_->setObjectName(QStringLiteral("lblNameFile"));
    lblNameFile_->setGeometry(416, 132, 175, 20);
    lblNameFile_->setFont(listFont);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("OK"));
    ok_->setGeometry(416, 156, 89, 33);
    ok_->setFont(buttonFont);
    ok_->setDefault(true);

    kNo_ = new QPushButton(QStringLiteral("Отмена"), this);
    kNo_->setObjectName(QStringLiteral("kNo"));
    kNo_->setGeometry(512, 156, 81, 33);
    kNo_->setFont(buttonFont);

    // The longer of the two messages must fit across the preview.
    messageFont_ = DialogFont(9.75);
    for (qreal points = 9.75; points > 6; points -= 0.75) {
        messageFont_.setPointSizeF(points);
        if (QFontMetrics(messageFont_)
                .horizontalAdvance(platform::OpenFailureText(platform::OpenResult::CannotOpen)) <=
            picSilet_->width()) {
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

    const QString& f = OutlineFileNames[index];
    const QString& path = OutlineFilePaths[index];
    // The whole file name, cut in the middle when it is too long: its start and its end
    // tell similar names apart. The tool tip holds the folder as well.
    const QString label = QStringLiteral("Файл: ");
    const QFontMetrics metrics(lblNameFile_->font());
    lblNameFile_->setText(label + metrics.elidedText(f, Qt::ElideMiddle,
                                                     lblNameFile_->width() -
                                                         metrics.horizontalAdvance(label)));
    lblNameFile_->setToolTip(QDir::toNativeSeparators(path));
    Canvas& canvas = picSilet_->canvas();
    canvas.Clear();

    QFile file(path);
    const platform::OpenResult opened = platform::OpenForReading(file);
    if (opened != platform::OpenResult::Opened) {
        canvas.Text(0, 0, platform::OpenFailureText(opened), messageFont_, 0);
    } else if (damaged_[static_cast<std::size_t>(index)]) {
        // What a damaged file holds is no outline: drawn, it would be junk.
        canvas.Text(0, 0, QStringLiteral("Файл повреждён."), messageFont_, 0);
    } else {
        // The excluded pieces are not needed: only the count says how many cells there are.
        const OutlineContent content = ReadOutline(file, /*withPieces=*/false);
        previewName_ = content.name;
        for (int i = 0; i <= content.lastCell; ++i) {
            const int x = kPreviewCell * content.cells[i][0];
            const int y = kPreviewCell * content.cells[i][1];
            canvas.FillRect(x, y, x + kPreviewCell - 1, y + kPreviewCell - 1, 0);
        }
    }
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
    StartPlay();
    return true;
}

void frmList::kNo_Click() {
    reject();
}

bool ShowListKvelt() {
    frmList dialog(platform::MainWidget());
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace kv
