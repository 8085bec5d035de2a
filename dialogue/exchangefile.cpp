#include "exchangefile.h"

#include "argdownreader.h"

#include <utility>

bool IsMoveFile(std::string_view bytes, const std::string &fileName)
{
    return !IsAifText(bytes) && !fileName.ends_with(".argdown");
}

TAifMoves ReadExchangeFile(std::string_view bytes, const std::string &fileName)
{
    if (IsMoveFile(bytes, fileName)) {
        TAifMoves moves;
        moves.moves = ReadMoveFile(bytes, fileName);
        return moves;
    }
    if (IsAifText(bytes))
        return ReadAifFile(bytes, fileName);
    TForeignMoves read = ReadArgdownFile(bytes, fileName);
    TAifMoves moves;
    moves.moves = std::move(read.moves);
    moves.warning = std::move(read.warning);
    return moves;
}
