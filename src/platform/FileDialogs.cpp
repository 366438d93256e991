// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileDialogs.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMimeDatabase>
#include <QTreeView>

#include "platform/Services.h"

namespace kv::platform {

namespace {

const QString kAllFiles = QStringLiteral("Все файлы (*.*)");

// Qt writes sizes and dates in the system's locale, English under C; the game's own
// (default) locale is Russian everywhere.
class RussianColumns final : public QIdentityProxyModel {
  public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || (index.column() != 1 && index.column() != 3)) {
            return QIdentityProxyModel::data(index, role);
        }
        const QModelIndex source = mapToSource(index);
        if (index.column() == 1) {
            return files->isDir(source) ? QString()
                                        : QLocale().formattedDataSize(files->size(source));
        }
        return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
    }
};

// Wide enough for the widest of texts in the header's font, with room for the sort arrow.
int ColumnWidth(const QHeaderView* header, const QStringList& texts) {
    const QFontMetrics metrics(header->font());
    int widest = 0;
    for (const QString& text : texts) widest = std::max(widest, metrics.horizontalAdvance(text));
    return widest + 2 * metrics.height();
}

void WidenColumns(QFileDialog& dialog) {
    auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!tree) return;
    QHeaderView* header = tree->header();
    const QMimeDatabase types;
    const QLocale locale;
    // The longest a size, a type or a date of the folder usually gets, and the titles.
    const QDateTime late(QDate(2026, 12, 28), QTime(23, 59));
    const int widths[] = {
        ColumnWidth(header, {QString(32, QLatin1Char('w'))}),
        ColumnWidth(header, {locale.formattedDataSize(1023 * 1024 + 999),
                             header->model()->headerData(1, Qt::Horizontal).toString()}),
        ColumnWidth(header,
                    {types.mimeTypeForName(QStringLiteral("text/plain")).comment(),
                     types.mimeTypeForName(QStringLiteral("application/octet-stream")).comment(),
                     header->model()->headerData(2, Qt::Horizontal).toString()}),
        ColumnWidth(header, {locale.toString(late, QLocale::ShortFormat),
                             header->model()->headerData(3, Qt::Horizontal).toString()}),
    };
    int total = 0;
    for (int column = 0; column < 4; ++column) {
        header->resizeSection(column, std::max(header->sectionSize(column), widths[column]));
        total += header->sectionSize(column);
    }
    // The side bar and the frame beside the columns.
    dialog.resize(std::max(dialog.width(), total + 260), dialog.height());
    // A type of this folder longer than the samples widens its column once it is known.
    if (auto* model = dialog.findChild<QFileSystemModel*>()) {
        QObject::connect(model, &QFileSystemModel::directoryLoaded, tree, [tree] {
            for (int column = 1; column < 4; ++column) {
                // Public on the base class only.
                const int wanted = static_cast<QAbstractItemView*>(tree)->sizeHintForColumn(column);
                if (wanted > tree->header()->sectionSize(column)) {
                    tree->header()->resizeSection(column, wanted);
                }
            }
        });
    }
}

class QtFileDialogs final : public FileDialogs {
  public:
    QString OpenSave(bool save, const QString& initialName, const QString& description,
                     const QString& pattern, const QString& folder) override {
        const auto dialog = NewFileDialog(save, initialName, description, pattern, folder);
        if (dialog->exec() != QDialog::Accepted) return {};
        const QStringList chosen = dialog->selectedFiles();
        return chosen.isEmpty() ? QString() : chosen.first();
    }
};

}  // namespace

std::unique_ptr<QFileDialog> NewFileDialog(bool save, const QString& initialName,
                                           const QString& description, const QString& pattern,
                                           const QString& folder) {
    // Qt reads a filter's patterns from the brackets of its caption.
    const QString own = description.contains(QLatin1Char('(') + pattern + QLatin1Char(')'))
                            ? description
                            : description + QStringLiteral(" (") + pattern + QLatin1Char(')');
    auto dialog = std::make_unique<QFileDialog>(MainWidget(), QString(), folder);
    // Qt's own dialog behaves the same on every desktop and can be driven in tests.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    // Before any file is chosen: a new proxy model starts the views afresh.
    dialog->setProxyModel(new RussianColumns(dialog.get()));
    WidenColumns(*dialog);
    // The caller asks its own overwrite question and adds its own extension.
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setDefaultSuffix(QString());
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The caller reports a missing file itself, so the open dialog takes any name.
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilters({own, kAllFiles});
    dialog->selectNameFilter(own);
    if (!initialName.isEmpty()) dialog->selectFile(initialName);

    // "*.*" as Qt matches it would hide every name without a full stop; the all-files
    // entry is meant to list everything. Queued, so it runs after the dialog has applied
    // the entry's own patterns.
    if (auto* model = dialog->findChild<QFileSystemModel*>()) {
        QObject::connect(
            dialog.get(), &QFileDialog::filterSelected, model,
            [model](const QString& chosen) {
                if (chosen == kAllFiles) model->setNameFilters({QStringLiteral("*")});
            },
            Qt::QueuedConnection);
    }
    return dialog;
}

FileDialogs* DefaultFileDialogs() {
    static QtFileDialogs dialogs;
    return &dialogs;
}

}  // namespace kv::platform
