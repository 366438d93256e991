// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outlines/ListDialog.h"

#include <QCheckBox>
#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <memory>
#include <vector>

#include "model/Model.h"
#include "model/Operations.h"
#include "outlines/Outline.h"
#include "outlines/OutlineFile.h"
#include "outlines/OutlineFolders.h"
#include "outlines/OutlineWriter.h"
#include "outlines/ShippedGrades.h"
#include "platform/DialogSize.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/TextCodec.h"
#include "play/Play.h"
#include "play/Progress.h"
#include "view/BoardDrawing.h"
#include "view/PictureBox.h"
#include "view/WindowStyle.h"

namespace kv {

QStringList OutlineFileNames;
QStringList OutlineFilePaths;

QString OwnMark() {
    return QStringLiteral(" (свой)");
}
QString DamagedMark() {
    return QStringLiteral(" (повреждён)");
}

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
    QByteArray key;
    OutlineDraft draft;  // the player's own outlines only: graded from it when listed
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

// The progress store's key of a sound outline, as OpenKvelt would put it on the board.
QByteArray DraftKey(const OutlineDraft& draft) {
    int cells[60][2] = {};
    const int count = static_cast<int>(std::min<std::size_t>(draft.cells.size(), 60));
    for (int i = 0; i < count; ++i) {
        cells[i][0] = draft.cells[static_cast<std::size_t>(i)].column;
        cells[i][1] = draft.cells[static_cast<std::size_t>(i)].row;
    }
    int excluded[13] = {};
    for (const int p : draft.excluded) {
        if (p >= 1 && p <= 12) excluded[p] = 1;
    }
    return OutlineKey(cells, count, excluded);
}

// The outlines of both folders, read for the list: name and file name of every "*.kvt"
// file (any letter case) that opens; the others are left out silently. In no particular
// order.
std::vector<AlfavitEntry> ReadOutlines(const QCollator& alphabet) {
    std::vector<AlfavitEntry> entries;
    const std::vector<OutlineFileEntry> files = ListOutlineFiles();
    const std::vector<ListedOutline> listed = ListOutlines(files, DraftKey);
    entries.reserve(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        const OutlineFileEntry& f = files[i];
        const ListedOutline& outline = listed[i];
        if (!outline.opened) continue;
        entries.push_back({alphabet.sortKey(outline.name), alphabet.sortKey(f.file),
                           outline.name + QLatin1Char('\\') + f.file, outline.name, f.file, f.path,
                           f.own, outline.damaged, outline.key,
                           f.own && !outline.damaged ? outline.draft : OutlineDraft()});
    }
    return entries;
}

}  // namespace

frmList::frmList(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Список квелтов"));
    // Grows with the player's dragging, never below its design.
    setMinimumSize(kClientWidth, kClientHeight + kJourneyHeight);
    resize(kClientWidth, kClientHeight + kJourneyHeight);

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

    AddJourneyControls();
    PlaceControls(kClientWidth, kClientHeight + kJourneyHeight);
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
    records_.clear();
    ownEntry_.clear();
    grades_.clear();
    keys_.clear();
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
    // The journey's strip along the bottom; the designed part above it.
    height = std::max(height - kJourneyHeight, kClientHeight);
    lblJourney_->setGeometry(8, height, width - 16, 60);
    chkUnsolved_->setGeometry(8, height + 62, width - 16, 24);
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
    lblNameFile_->setText(
        label + metrics.elidedText(previewFile_, Qt::ElideMiddle,
                                   lblNameFile_->width() - metrics.horizontalAdvance(label)));
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
    const QHash<QByteArray, ProgressRecord> progress = LoadProgress();
    records_.assign(lstAlfavit.size(), ProgressRecord());
    ownEntry_.assign(lstAlfavit.size(), false);
    grades_.assign(lstAlfavit.size(), std::nullopt);
    keys_.assign(lstAlfavit.size(), QByteArray());
    const std::map<QString, OutlineGrade> shipped = ReadShippedGrades();
    std::vector<std::pair<std::size_t, OutlineDraft>> ungraded;

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
            if (const auto r = progress.constFind(entry.key);
                !entry.key.isEmpty() && r != progress.cend()) {
                records_[i] = *r;
            }
            ownEntry_[i] = entry.own;
            keys_[i] = entry.key;
            grades_[i] = KnownGrade(entry.own, entry.file, records_[i], shipped);
            if (entry.own && !entry.damaged && !grades_[i]) ungraded.push_back({i, entry.draft});
            entries << QString::number(i + 1) + QStringLiteral(") ") + entry.name +
                           (entry.own ? OwnMark() : QString()) +
                           (entry.damaged ? DamagedMark() : QString()) +
                           JourneyMark(records_[i].state);
            OutlineFileNames << entry.file;
            OutlineFilePaths << entry.path;
            damaged_.push_back(entry.damaged);
            // A damaged file is listed by its file name, which is no outline's name.
            if (!entry.damaged && entry.name == OutlineName) remembered = static_cast<int>(i);
        }
        lstKvelt_->addItems(entries);
    }
    FilterUnsolved();
    GradeOwn(std::move(ungraded));
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
    ShowJourney(index);
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
    StartPlay();
    JourneyLoaded(true);
    return true;
}

void frmList::kNo_Click() {
    reject();
}

QString ListSizeName() {
    return QStringLiteral("library-size");
}

QString JourneyMark(OutlineState state) {
    switch (state) {
        case OutlineState::SolvedAlone:
            return QStringLiteral(" ✓");
        case OutlineState::SolvedWithHints:
            return QStringLiteral(" ✓ с подсказкой");
        case OutlineState::Shown:
            return QStringLiteral(" (решение показано)");
        case OutlineState::InProgress:
            return QStringLiteral(" (начат)");
        case OutlineState::NotStarted:
            break;
    }
    return {};
}

QHash<QByteArray, ProgressRecord> LoadProgress() {
    if (ProgressKeeper* journey = Progress()) {
        QHash<QByteArray, ProgressRecord> all = journey->Store().LoadAll();
        // The outline in play as it stands, not as last written.
        if (!journey->Key().isEmpty()) all.insert(journey->Key(), journey->Record());
        return all;
    }
    return ProgressStore(ProgressStore::DefaultFolder()).LoadAll();
}

std::optional<OutlineGrade> KnownGrade(bool own, const QString& file, const ProgressRecord& record,
                                       const std::map<QString, OutlineGrade>& shipped) {
    if (!own) {
        const auto g = shipped.find(file);
        if (g == shipped.end()) return std::nullopt;
        return g->second;
    }
    if (!record.graded) return std::nullopt;
    OutlineGrade g;
    g.grade = record.grade;
    g.tilings = record.tilings;
    g.tilingsCapped = record.tilingsCapped;
    return g;
}

void CacheGrade(const QString& folder, const QByteArray& key, const OutlineGrade& grade) {
    if (key.isEmpty()) return;
    ProgressStore store(folder);
    ProgressRecord r = store.Load(key).value_or(NewRecord(key));
    r.graded = true;
    r.grade = grade.grade;
    r.tilings = grade.tilings;
    r.tilingsCapped = grade.tilingsCapped;
    store.Save(r);
}

QString GradeText(const std::optional<OutlineGrade>& grade) {
    if (!grade) return QStringLiteral("Сложность ещё не известна");
    if (grade->grade == 0) return QStringLiteral("Решений нет");
    const QString tilings = grade->Unique() ? QStringLiteral("единственное решение")
                            : grade->tilingsCapped
                                ? QStringLiteral("решений не меньше %1").arg(grade->tilings)
                                : QStringLiteral("решений: %1").arg(grade->tilings);
    return QStringLiteral("Сложность %1 из 5, %2").arg(grade->grade).arg(tilings);
}

void frmList::GradeOwn(std::vector<std::pair<std::size_t, OutlineDraft>> ungraded) {
    platform::JobRunner* jobs = platform::services().jobs;
    if (ungraded.empty() || !jobs) return;
    // The solver's count takes up to a fifth of a second an outline: off the interface
    // thread, and once only, as the grade is kept in the store.
    auto work =
        std::make_shared<std::vector<std::pair<std::size_t, OutlineDraft>>>(std::move(ungraded));
    auto grades = std::make_shared<std::vector<OutlineGrade>>();
    jobs->Run(
        this,
        [work, grades] {
            for (const auto& [index, draft] : *work) {
                std::array<bool, 13> available{};
                available.fill(true);
                available[0] = false;
                for (const int p : draft.excluded) {
                    if (p >= 1 && p <= 12) available[static_cast<std::size_t>(p)] = false;
                }
                grades->push_back(GradeOutline(draft.cells, available));
            }
        },
        [this, work, grades] {
            for (std::size_t k = 0; k < grades->size() && k < work->size(); ++k) {
                const std::size_t index = (*work)[k].first;
                if (index >= grades_.size()) continue;
                grades_[index] = (*grades)[k];
                if (ProgressKeeper* journey = Progress()) {
                    journey->CacheGrade(keys_[index], (*grades)[k]);
                } else {
                    CacheGrade(ProgressStore::DefaultFolder(), keys_[index], (*grades)[k]);
                }
            }
            ShowJourney(SelectedIndex());
        });
}

std::vector<LibraryOutline> LibraryOutlines() {
    std::vector<AlfavitEntry> entries = ReadOutlines(Alphabet());
    std::sort(entries.begin(), entries.end(), Before);
    std::vector<LibraryOutline> list;
    list.reserve(entries.size());
    for (AlfavitEntry& e : entries) {
        list.push_back({std::move(e.name), std::move(e.file), std::move(e.path), std::move(e.key),
                        e.own, e.damaged});
    }
    return list;
}

void frmList::AddJourneyControls() {
    const QFont font = DialogFont(9.75);
    lblJourney_ = new QLabel(this);
    lblJourney_->setObjectName(QStringLiteral("lblJourney"));
    lblJourney_->setFont(font);
    lblJourney_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblJourney_->setWordWrap(true);
    lblJourney_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    chkUnsolved_ = new QCheckBox(QStringLiteral("Только нерешённые"), this);
    chkUnsolved_->setObjectName(QStringLiteral("chkUnsolved"));
    chkUnsolved_->setFont(font);
    // After the buttons in the tab order, so that list, OK and Cancel keep theirs.
    setTabOrder(kNo_, chkUnsolved_);
    connect(chkUnsolved_, &QCheckBox::toggled, this, [this] { FilterUnsolved(); });
}

void frmList::ShowJourney(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= records_.size()) {
        lblJourney_->clear();
        return;
    }
    const ProgressRecord& r = records_[static_cast<std::size_t>(index)];
    QStringList lines;
    // The folder and the whole file name, which the label under the preview may cut.
    lines << (ownEntry_[static_cast<std::size_t>(index)] ? QStringLiteral("Свой квелт: ")
                                                         : QStringLiteral("Из библиотеки: ")) +
                 QDir::toNativeSeparators(OutlineFilePaths[index]);
    QString played;
    if (r.bestMs >= 0) {
        played = QStringLiteral("Лучшее время %1, меньше всего шагов: %2")
                     .arg(FormatDuration(r.bestMs))
                     .arg(r.bestSteps);
    } else if (r.state == OutlineState::InProgress) {
        played = QStringLiteral("Начат, ещё не собран");
    } else if (r.state == OutlineState::Shown) {
        played = QStringLiteral("Решение было показано");
    } else {
        played = QStringLiteral("Ещё не собран");
    }
    lines << GradeText(grades_[static_cast<std::size_t>(index)]) + QStringLiteral(". ") + played;
    lblJourney_->setText(lines.join(QLatin1Char('\n')));
}

void frmList::FilterUnsolved() {
    const bool only = chkUnsolved_->isChecked();
    for (int i = 0; i < lstKvelt_->count(); ++i) {
        const bool solved = static_cast<std::size_t>(i) < records_.size() &&
                            records_[static_cast<std::size_t>(i)].Solved();
        lstKvelt_->setRowHidden(i, only && solved);
    }
    // A hidden entry cannot stay chosen: OK would load what the player no longer sees.
    const int selected = SelectedIndex();
    if (selected >= 0 && lstKvelt_->isRowHidden(selected)) lstKvelt_->clearSelection();
}

bool ShowListKvelt() {
    frmList dialog(platform::MainWidget());
    // Opens at the size the player last left it at.
    RestoreDialogSize(&dialog, ListSizeName());
    const bool loaded = dialog.exec() == QDialog::Accepted;
    SaveDialogSize(&dialog, ListSizeName());
    return loaded;
}

}  // namespace kv
