// Saving the arrangement of the pieces to a position file and continuing from one.
#pragma once

#include <QString>

namespace kv {

// Full path of the position file last saved or continued; empty when there is none.
extern QString PositionPath;

void SaveFile();
void SaveAs();
void SaveFigury(const QString& path);
void Prodolgit();

}  // namespace kv
