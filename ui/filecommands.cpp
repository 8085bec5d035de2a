// The File menu's commands, the question before unsaved moves are lost, and the close box.

#include "ui/korvaneunit.h"

#include "dialogue/exchangefile.h"
#include "dialogue/replay.h"
#include "dialogue/textfile.h"
#include "ui/failurehandler.h"
#include "ui/utf8.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cerrno>
#include <cstring>

namespace {

// Why full mode's Open could not read the file, in the user's words.
std::string readFailure(int error)
{
    switch (error) {
    case EINVAL:
        return "it is not a plain file";
    case EFBIG:
        return "it is larger than " + std::to_string(TKorvaneForm::MemoCapacity / (1024 * 1024))
               + " MiB";
    case EAGAIN:
        return "it changed while it was read";
    default:
        return error != 0 ? std::strerror(error) : "it cannot be read";
    }
}

} // namespace

void TKorvaneForm::openFile(const QString &path)
{
    m_line->FileName = modelText(path);
    // Only a plain file, opened without waiting, so that a pipe or a device cannot hold up the
    // window or fill the memory; one known to be too big is refused before it is read.
    std::string bytes;
    int error = 0;
    if (!ReadFileBytes(m_line->FileName, bytes, &error, MemoCapacity, TFileKinds::PlainOnly))
        throw TFileError(error == EFBIG ? std::string("Text exceeds memo capacity")
                                        : "Cannot open file " + m_line->FileName);
    QStringList lines;
    for (const std::string &line : SplitTextLines(DecodeFileText(bytes)))
        lines.append(qtText(line));
    m_memo->setPlainText(lines.join(QLatin1Char('\n')));
    setCaption();
    // The loaded text stays: rebuilding the memo from the moves here would replace it at once.
    showView(m_memo, m_viewLineOfArgumentationButton);
}

void TKorvaneForm::writeLine(const std::string &path) const
{
    // Every recorded move, whichever view was showing when it was made.
    WriteFileAtomically(path, JoinTextLines(MoveTextLines(*m_line)));
}

void TKorvaneForm::New1Click()
{
    if (!FullMode()) {
        command(&TKorvaneForm::NewLineOfArgumentation);
        return;
    }
    if (m_runner.busy() || !MaySetLineAside())
        return;
    runGuarded(
        [this] {
            auto line = std::make_unique<TLineOfArgumentation>(m_boxes);
            line->FileName = NewLineTitle;
            m_history.Reset({});
            m_fileName.clear();
            replaceLine(std::move(line));
        },
        this);
}

void TKorvaneForm::Open1Click()
{
    if (m_runner.busy() || (FullMode() && !MaySetLineAside()))
        return;
    runGuarded(
        [this] {
            const QString path = chooseFile(m_openDialog);
            if (path.isEmpty())
                return;
            if (FullMode())
                OpenMoveFile(path);
            else
                openFile(path);
        },
        this);
}

void TKorvaneForm::Save1Click()
{
    if (m_runner.busy())
        return;
    if (FullMode()) {
        SaveLine();
        return;
    }
    runGuarded(
        [this] {
            if (m_line->Modified)
                writeLine(m_line->FileName);
        },
        this);
}

void TKorvaneForm::SaveAs1Click()
{
    if (m_runner.busy())
        return;
    if (FullMode()) {
        SaveLineAs();
        return;
    }
    runGuarded(
        [this] {
            const QString path = chooseFile(m_saveDialog);
            if (!path.isEmpty())
                writeLine(modelText(path));
        },
        this);
}

void TKorvaneForm::OpenMoveFile(const QString &path)
{
    runGuarded(
        [&] {
            const std::string fileName = modelText(path);
            std::string bytes;
            int error = 0;
            if (!ReadFileBytes(fileName, bytes, &error, MemoCapacity, TFileKinds::PlainOnly))
                throw TFileError("Cannot open file " + fileName + ": " + readFailure(error));
            TAifMoves read = ReadExchangeFile(bytes, fileName);

            std::vector<std::string> warnings;
            std::unique_ptr<TLineOfArgumentation> line =
                replayedLine(read.moves, fileName, &warnings);
            if (!line)
                return;
            line->AifExtras = std::make_shared<const TAifExtras>(std::move(read.extras));
            if (!read.warning.empty())
                warnings.insert(warnings.begin(), read.warning);
            m_history.Reset(RecordedMoves(*line));
            m_fileName = fileName;
            replaceLine(std::move(line));
            if (!warnings.empty()) {
                // Once, at the end, rather than one box per move.
                std::string text = namePart(fileName) + " was opened with these warnings:";
                for (const std::string &warning : warnings)
                    text += "\r\n" + warning;
                m_boxes.Warning(text);
            }
        },
        this);
}

bool TKorvaneForm::SaveLine()
{
    if (m_fileName.empty())
        return SaveLineAs();
    return runGuarded(
        [this] {
            writeLine(m_fileName);
            m_history.MarkSaved();
            updateFullMode();
        },
        this);
}

bool TKorvaneForm::SaveLineAs()
{
    bool saved = false;
    runGuarded(
        [&] {
            const QString path = chooseFile(m_saveDialog);
            if (path.isEmpty())
                return;
            const std::string fileName = modelText(path);
            writeLine(fileName);
            m_fileName = fileName;
            m_line->FileName = fileName;
            m_history.MarkSaved();
            updateFullMode();
            saved = true;
        },
        this);
    return saved;
}

bool TKorvaneForm::MaySetLineAside()
{
    if (!m_history.IsModified())
        return true;
    QMessageBox question(QMessageBox::Warning, QStringLiteral("Korvane"),
                         QStringLiteral("Save changes to %1?").arg(lineName()),
                         QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    question.setObjectName(QStringLiteral("SaveChangesBox"));
    question.setTextFormat(Qt::PlainText);
    question.setDefaultButton(QMessageBox::Save);
    question.setEscapeButton(QMessageBox::Cancel);
    switch (question.exec()) {
    case QMessageBox::Save:
        return SaveLine();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void TKorvaneForm::closeEvent(QCloseEvent *event)
{
    // The default mode closes at once, as it always has.
    if (FullMode() && (m_runner.busy() || !MaySetLineAside())) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}
