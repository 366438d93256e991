// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QFileInfo>
#include <QWidget>
#include <cstring>

#include "model/Model.h"
#include "outlines/Outline.h"
#include "outlines/OutlineFile.h"
#include "outlines/OutlineWriter.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/TextCodec.h"
#include "view/BoardDrawing.h"

namespace kv {

QString OutlineName;
QString OutlinePath;
int OutlineCellList[60][2];
int OutlineLastCell = -1;
int OutlineLoaded = 0;

void ResetOutlineState() {
    OutlineName.clear();
    OutlinePath.clear();
    std::memset(OutlineCellList, 0, sizeof OutlineCellList);
    OutlineLastCell = -1;
    OutlineLoaded = 0;
}

namespace {

// The wait pointer for as long as a load runs, put back however the load ends.
class WaitPointer {
  public:
    explicit WaitPointer(QWidget* window) : window_(window) {
        platform::SetPointer(window_, platform::Pointer::Wait);
    }
    ~WaitPointer() { platform::SetPointer(window_, platform::Pointer::Default); }
    WaitPointer(const WaitPointer&) = delete;
    WaitPointer& operator=(const WaitPointer&) = delete;

  private:
    QWidget* window_;
};

}  // namespace

int OpenKvelt(const QString& path) {
    QWidget* window = platform::MainWidget();
    const WaitPointer wait(window);
    int result = 0;
    QFile file(path);
    const platform::OpenResult opened = platform::OpenForReading(file);
    QByteArray bytes;
    if (opened == platform::OpenResult::Opened) bytes = ReadOutlineFile(file);
    // A damaged file would load as a stray black cell under a name of junk: it is refused
    // like a file that does not open, and the status line says why.
    const bool damaged =
        opened == platform::OpenResult::Opened && !CheckOutlineFile(bytes).fault.isEmpty();
    if (opened != platform::OpenResult::Opened || damaged) {
        if (auto* messages = platform::services().messages) {
            messages->ShowError(
                platform::OpenFailureText(damaged ? platform::OpenResult::CannotOpen : opened));
        }
        if (damaged) {
            platform::Tell(QStringLiteral("Файл «%1» повреждён: это не квелт.")
                               .arg(QFileInfo(path).fileName()));
        }
        result = 1;
    } else {
        const OutlineContent content = ReadOutline(bytes);
        OutlineName = platform::FromCp1251(content.name);
        ClearOutlineGrid();
        for (int p = 1; p <= kPieces; ++p) PieceExcluded[p] = content.excluded[p];
        OutlineLastCell = content.lastCell;
        std::memcpy(OutlineCellList, content.cells, sizeof OutlineCellList);
        for (int i = 0; i <= OutlineLastCell; ++i) {
            const int c = OutlineCellList[i][0];
            const int r = OutlineCellList[i][1];
            if (OnBoard(c, r)) OutlineCells[c][r] = 1;
        }
        NewPole();
        OutlinePath = path;
        if (window)
            window->setWindowTitle(platform::AppTitle() + QStringLiteral(" - ") + OutlineName);
        ShowKvelt();
        OutlineLoaded = 1;
    }
    file.close();
    return result;
}

void ShowKvelt() {
    for (int i = 0; i <= OutlineLastCell; ++i) {
        const int c = OutlineCellList[i][0];
        const int r = OutlineCellList[i][1];
        // A cell off the board lies outside the picture: there is nothing to paint.
        if (OnBoard(c, r)) FillCellInterior(c, r, 0);
    }
}

}  // namespace kv
