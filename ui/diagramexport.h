#pragma once

#include "ui/diagrampages.h"

#include <QString>

#include <span>

class QGraphicsScene;
class QPrinter;
class QWidget;
class TArgumentationStage;
class TLineOfArgumentation;

// One format File > Export writes: the file dialog's filter, the file name's extension (without
// the dot) and the function that writes the line's current stage to a file of that format, on
// the paper given where the format has pages.
struct TExportFormat {
    QString filter;
    QString extension;
    void (*write)(const TLineOfArgumentation &line, const QString &path, const TPaper &paper);
};

// Every export format, in the order the file dialog offers them.
std::span<const TExportFormat> ExportFormats();

// The format a file name asks for by its extension, else the one of the chosen filter; null
// when neither names one.
const TExportFormat *ExportFormatFor(const QString &path, const QString &filter);

// Prints the stage's diagram on the printer's pages, as the fit says.
void PrintDiagram(const TArgumentationStage &stage, QPrinter &printer, TPageFit fit);
