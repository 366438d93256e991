// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFileDialog>
#include <QFileSystemModel>

#include "platform/Services.h"

namespace kv::platform {

namespace {

const QString kAllFiles = QStringLiteral("Все файлы (*.*)");

class QtFileDialogs final : public FileDialogs {
  public:
    QString OpenSave(bool save, const QString& initialName, const QString& description,
                     const QString& pattern, const QString& folder) override {
        // Qt reads a filter's patterns from the brackets of its caption.
        const QString own = description.contains(QLatin1Char('(') + pattern + QLatin1Char(')'))
                                ? description
                                : description + QStringLiteral(" (") + pattern + QLatin1Char(')');
        QFileDialog dialog(MainWidget(), QString(), folder);
        // Qt's own dialog behaves the same on every desktop and can be driven in tests.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        // The caller asks its own overwrite question and adds its own extension.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDefaultSuffix(QString());
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        // The caller reports a missing file itself, so the open dialog takes any name.
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilters({own, kAllFiles});
        dialog.selectNameFilter(own);
        if (!initialName.isEmpty()) dialog.selectFile(initialName);

        // "*.*" as Qt matches it would hide every name without a full stop; the all-files
        // entry is meant to list everything. Queued, so it runs after the dialog has applied
        // the entry's own patterns.
        if (auto* model = dialog.findChild<QFileSystemModel*>()) {
            QObject::connect(
                &dialog, &QFileDialog::filterSelected, model,
                [model](const QString& chosen) {
                    if (chosen == kAllFiles) model->setNameFilters({QStringLiteral("*")});
                },
                Qt::QueuedConnection);
        }

        if (dialog.exec() != QDialog::Accepted) return {};
        const QStringList chosen = dialog.selectedFiles();
        return chosen.isEmpty() ? QString() : chosen.first();
    }
};

}  // namespace

FileDialogs* DefaultFileDialogs() {
    static QtFileDialogs dialogs;
    return &dialogs;
}

}  // namespace kv::platform
