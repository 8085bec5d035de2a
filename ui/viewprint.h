#pragma once

#include <QString>

class QPrinter;
class QWidget;

// The whole content of a text view (the memo, a list, a table or a tree) as plain lines: the
// memo's text; an item view's rows in order, a child indented under its parent, columns
// separated by tabs, and what a screen reader hears of a row's icon (its type and status) in
// parentheses after it.
QString ViewText(const QWidget &view);

// Prints ViewText(view) as text over as many pages as it needs, not a picture of what shows.
void PrintViewText(const QWidget &view, QPrinter &printer);
