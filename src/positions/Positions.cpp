#include "positions/Positions.h"

namespace kv {

QString PositionPath;

// Position files arrive with the save-and-continue work; until then the commands do nothing.
void SaveFile() {}
void SaveAs() {}
void SaveFigury(const QString&) {}
void Prodolgit() {}

}  // namespace kv
