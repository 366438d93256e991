#include <QFileDialog>

#include "platform/Services.h"

namespace kv::platform {

namespace {

class QtFileDialogs final : public FileDialogs {
public:
    QString OpenSave(bool save, const QString& initialName, const QString& description,
                     const QString& pattern, const QString& folder) override {
        Q_UNUSED(pattern);  // the description carries the pattern in brackets
        QFileDialog dialog(MainWidget(), QString(), folder);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        // The caller reports a missing file itself, so the open dialog takes any name.
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilters({description, QStringLiteral("Все файлы (*.*)")});
        dialog.selectNameFilter(description);
        if (!initialName.isEmpty()) dialog.selectFile(initialName);
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
