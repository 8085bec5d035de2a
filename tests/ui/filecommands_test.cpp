#include "ui/korvaneunit.h"

#include "dialogue/textfile.h"
#include "uitest.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using T = TStatementType;

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

const QByteArray StatementA = "STATEMENT MOVE: \r\n    a\r\n        TYPE: Issue\r\n";

class TFileCommandsTest : public testing::Test {
protected:
    TFileCommandsTest()
        : m_oldCurrent(QDir::currentPath())
    {
        QDir::setCurrent(folder.path());
    }
    ~TFileCommandsTest() override { QDir::setCurrent(m_oldCurrent); }

    QString inFolder(const char *name) const { return folder.filePath(QLatin1String(name)); }

    QTemporaryDir folder;
    TKorvaneForm form;

private:
    QString m_oldCurrent;
};

TEST_F(TFileCommandsTest, SaveWritesNothingBeforeAnyMove)
{
    form.Save1Click();
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST_F(TFileCommandsTest, SaveAfterAMoveWritesTheFileNamedByFileName)
{
    statementMove(form, "a", T::Issue);
    form.Save1Click();
    EXPECT_EQ(fileBytes(inFolder("New line of argumentation")), StatementA);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("New line of argumentation")});
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Korvane - New line of argumentation"));
    EXPECT_TRUE(form.lineOfArgumentation().Modified);
}

TEST_F(TFileCommandsTest, SavedFileHoldsMovesMadeInAnotherView)
{
    form.ShowLineOfArgumentation();
    statementMove(form, "a", T::Issue);
    form.ShowStatements();
    statementMove(form, "caf\xc3\xa9", T::Assumption); // the memo never saw this one
    form.Save1Click();
    EXPECT_EQ(fileBytes(inFolder("New line of argumentation")),
              StatementA + "STATEMENT MOVE: \r\n    caf\xc3\xa9\r\n        TYPE: Assumption\r\n");
}

TEST_F(TFileCommandsTest, SaveAsWritesTheChosenFileAndChangesNothingElse)
{
    statementMove(form, "a", T::Issue);
    const QString chosen = inFolder("other.btg");
    chooseFile(chosen);
    form.SaveAs1Click();
    EXPECT_EQ(fileBytes(chosen), StatementA);
    EXPECT_EQ(form.lineOfArgumentation().FileName, "New line of argumentation");
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Korvane - New line of argumentation"));
    EXPECT_FALSE(QFile::exists(inFolder("New line of argumentation")));
}

TEST_F(TFileCommandsTest, FileDialogsOfferTheFiltersStartingOnBtg)
{
    QStringList openFilters, saveFilters;
    QString openSelected, saveSelected;
    whenModal<QFileDialog>([&](QFileDialog *dialog) {
        openFilters = dialog->nameFilters();
        openSelected = dialog->selectedNameFilter();
        EXPECT_EQ(dialog->fileMode(), QFileDialog::AnyFile);
        dialog->reject();
    });
    form.Open1Click();
    whenModal<QFileDialog>([&](QFileDialog *dialog) {
        saveFilters = dialog->nameFilters();
        saveSelected = dialog->selectedNameFilter();
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_TRUE(dialog->defaultSuffix().isEmpty());
        dialog->reject();
    });
    form.SaveAs1Click();
    EXPECT_EQ(openFilters, (QStringList{QStringLiteral("Line of argumentation (*.loa)"),
                                        QStringLiteral("Dadiziz (*.btg)")}));
    EXPECT_EQ(openSelected, QStringLiteral("Dadiziz (*.btg)"));
    EXPECT_EQ(saveFilters, (QStringList{QStringLiteral("Dadiziz (*.btg)"),
                                        QStringLiteral("Lines of argumentation (*.loa)")}));
    EXPECT_EQ(saveSelected, QStringLiteral("Dadiziz (*.btg)"));
    // Cancelled: nothing changed.
    EXPECT_EQ(form.lineOfArgumentation().FileName, "New line of argumentation");
}

TEST_F(TFileCommandsTest, OpenShowsTheFileTextWhateverItsLineBreaks)
{
    const struct {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"CR LF", "first\r\nsecond\r\n"},
        {"LF", "first\nsecond\n"},
        {"CR", "first\rsecond"},
    };
    statementMove(form, "a", T::Issue);
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        const QString path = inFolder("loaded.loa");
        writeBytes(path, each.bytes);
        form.ShowStatements();
        chooseFile(path);
        form.Open1Click();
        EXPECT_EQ(memoLines(form),
                  (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
        EXPECT_EQ(visibleView(form), QStringLiteral("LineOfArgumentationMemo"));
        EXPECT_EQ(checkedViewButton(form), QStringLiteral("ViewLineOfArgumentationSpeedButton"));
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Korvane - loaded.loa"));
        EXPECT_EQ(form.lineOfArgumentation().FileName, path.toStdString());
    }
    // The moves are untouched, and the next rebuild shows them again.
    EXPECT_EQ(form.lineOfArgumentation().ArgumentationMoves.Count(), 1);
    form.ShowLineOfArgumentation();
    EXPECT_EQ(memoLines(form).size(), 3);
}

TEST_F(TFileCommandsTest, OpenReadsWindows1252WhenTheFileIsNotUtf8)
{
    const QString path = inFolder("old.btg");
    writeBytes(path, "caf\xe9\r\n");
    chooseFile(path);
    form.Open1Click();
    EXPECT_EQ(memoLines(form), QStringList{QString::fromUtf8("caf\xc3\xa9")});
}

TEST_F(TFileCommandsTest, UnreadableOpenReportsAndALaterSaveWritesToThatPath)
{
    form.ShowReasons();
    const QString missing = inFolder("missing.btg");
    TBoxSeen seen;
    answerMessageBox(QMessageBox::Ok, &seen);
    chooseFile(missing);
    form.Open1Click();
    EXPECT_EQ(seen.caption, QStringLiteral("Korvane"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.text, QStringLiteral("Cannot open file ") + missing + QLatin1Char('.'));
    EXPECT_EQ(form.lineOfArgumentation().FileName, missing.toStdString());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Korvane - New line of argumentation"));
    EXPECT_EQ(visibleView(form), QStringLiteral("ReasonsListView"));

    statementMove(form, "a", T::Issue);
    form.Save1Click();
    EXPECT_EQ(fileBytes(missing), StatementA);
}

TEST_F(TFileCommandsTest, TooBigAFileIsRefusedWithFileNameSetAndTheRestUnchanged)
{
    statementMove(form, "a", T::Issue);
    form.ShowLineOfArgumentation();
    const QStringList memoBefore = memoLines(form);
    const QString big = inFolder("big.btg");
    {
        QFile file(big);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(static_cast<qint64>(TKorvaneForm::MemoCapacity) + 1)); // sparse
    }
    TBoxSeen seen;
    answerMessageBox(QMessageBox::Ok, &seen);
    chooseFile(big);
    form.Open1Click();
    EXPECT_EQ(seen.text, QStringLiteral("Text exceeds memo capacity."));
    EXPECT_EQ(seen.caption, QStringLiteral("Korvane"));
    EXPECT_EQ(form.lineOfArgumentation().FileName, big.toStdString());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Korvane - New line of argumentation"));
    EXPECT_EQ(memoLines(form), memoBefore);
}

TEST_F(TFileCommandsTest, FailedSaveReportsAndLeavesTheOldFileWhole)
{
    // A folder stands where the file should go: it cannot be replaced by a file.
    const QString blocked = inFolder("blocked.btg");
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("blocked.btg")));
    writeBytes(blocked + QStringLiteral("/inside"), "kept");
    form.lineOfArgumentation().FileName = blocked.toStdString();
    statementMove(form, "a", T::Issue);

    TBoxSeen seen;
    answerMessageBox(QMessageBox::Ok, &seen);
    form.Save1Click();
    EXPECT_EQ(seen.text, QStringLiteral("Cannot create file ") + blocked + QLatin1Char('.'));
    EXPECT_EQ(fileBytes(blocked + QStringLiteral("/inside")), QByteArray("kept"));
}

TEST_F(TFileCommandsTest, OpenRefusesAPipeADeviceOrALockedFileWithoutWaiting)
{
    statementMove(form, "a", T::Issue);
    form.ShowLineOfArgumentation();
    const QStringList memoBefore = memoLines(form);
    const QString pipe = inFolder("pipe.btg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString locked = inFolder("locked.btg");
    writeBytes(locked, StatementA);
    ASSERT_TRUE(QFile::setPermissions(locked, {}));
    const struct {
        const char *name;
        QString path;
    } cases[] = {
        {"pipe with no writer", pipe},
        {"endless device", QStringLiteral("/dev/zero")},
        {"no read permission", locked},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        if (each.path == locked && ::geteuid() == 0)
            continue; // root may read any file
        TBoxSeen seen;
        answerMessageBox(QMessageBox::Ok, &seen);
        chooseFile(each.path);
        form.Open1Click();
        EXPECT_EQ(seen.text, QStringLiteral("Cannot open file ") + each.path + QLatin1Char('.'));
        EXPECT_EQ(memoLines(form), memoBefore);
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Korvane - New line of argumentation"));
    }
}

TEST_F(TFileCommandsTest, SaveOnAFullDiskReportsAndKeepsTheOldFileAndTheLine)
{
    const QString path = inFolder("line.btg");
    writeBytes(path, "old");
    form.lineOfArgumentation().FileName = path.toStdString();
    statementMove(form, "a", T::Issue);
    const QStringList memoBefore = memoLines(form);

    FileCalls().write = [](int, const void *, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    TBoxSeen seen;
    answerMessageBox(QMessageBox::Ok, &seen);
    form.Save1Click();
    FileCalls() = SystemFileCalls();

    EXPECT_EQ(seen.text, QStringLiteral("Cannot create file ") + path + QLatin1Char('.'));
    EXPECT_EQ(fileBytes(path), QByteArray("old"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("line.btg")});
    EXPECT_EQ(form.lineOfArgumentation().ArgumentationMoves.Count(), 1);
    EXPECT_TRUE(form.lineOfArgumentation().Modified);
    EXPECT_EQ(memoLines(form), memoBefore);
    form.Save1Click(); // The disk has room again.
    EXPECT_EQ(fileBytes(path), StatementA);
}

} // namespace
