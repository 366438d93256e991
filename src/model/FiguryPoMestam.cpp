#include "model/Model.h"
#include "model/Operations.h"

namespace kv {

void FiguryPoMestam() {
    for (int p = 1; p <= kPieces; ++p) {
        if (PieceExcluded[p] != 0) continue;
        // Pieces 1..6 wait in column 3, pieces 7..12 in column 31, four rows apart.
        const int place = (p - 1) % 6 + 1;
        PieceOrientation[p] = 1;
        PiecePos[p][0] = p <= 6 ? 3 : 31;
        PiecePos[p][1] = 4 * place - 3;
    }
}

}  // namespace kv
