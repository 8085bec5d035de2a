#include "exchangefile.h"

#include "argdownreader.h"

#include <utility>

TAifMoves ReadExchangeFile(std::string_view bytes, const std::string &fileName)
{
    if (IsAifText(bytes))
        return ReadAifFile(bytes, fileName);
    if (fileName.ends_with(".argdown")) {
        TForeignMoves read = ReadArgdownFile(bytes, fileName);
        TAifMoves moves;
        moves.moves = std::move(read.moves);
        moves.warning = std::move(read.warning);
        return moves;
    }
    TAifMoves moves;
    moves.moves = ReadMoveFile(bytes, fileName);
    return moves;
}
