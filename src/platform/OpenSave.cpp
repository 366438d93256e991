#include "platform/OpenSave.h"

#include "platform/Services.h"
#include "settings/Settings.h"

namespace kv {

QString apiOpenSave(bool save, const QString& initialName, const QString& filter) {
    platform::FileDialogs* files = platform::services().files;
    if (!files) return {};
    // Only the first description and pattern pair is offered; no caller passes more.
    const QStringList parts = filter.split(QChar(0));
    const QString description = parts.value(0);
    const QString pattern = parts.value(1);
    return files->OpenSave(save, initialName, description, pattern, ExamplesPath);
}

}  // namespace kv
