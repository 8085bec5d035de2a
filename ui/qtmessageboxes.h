#pragma once

#include "dialogue/messageboxes.h"

#include <QString>

class QMessageBox;

// The line of argumentation's two questions as modal Qt message boxes, centred on the screen,
// word-wrapped, with CR LF shown as a line break. Asked from another thread, they are shown by
// the user-interface thread while the asking thread waits.
class TQtMessageBoxes : public TMessageBoxes {
public:
    // Exclamation icon, caption "Warning", OK.
    void Warning(const std::string &text) override;
    // Question icon, caption "Confirm", Yes (the default) and No (also Esc and the close box).
    bool Confirm(const std::string &text) override;

    // The text as the box shows it: UTF-8 decoded, CR LF and lone CR turned into line breaks.
    static QString boxText(const std::string &text);

private:
    static void warning(const std::string &text);
    static bool confirm(const std::string &text);
};
