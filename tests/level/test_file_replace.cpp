// Files the game writes (record files and saved levels) replace what stands at their name as a
// whole; a symbolic link there is replaced, never written through.

#include "creator/LevelBitmap.h"
#include "level/FileReplace.h"
#include "record/RecordFile.h"
#include "support/Pipes.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>

namespace {

using namespace kf;

QImage aLevel() {
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
}

// A writer of the game, with the bytes it writes.
struct Writer {
    const char* kind;
    const char* name;
    QByteArray bytes;
    bool (*write)(const QString& path);
};

const Writer kWriters[] = {
    {"record file", "Spiral.bmp.kfh", "HERE\r\n987",
     [](const QString& path) {
         return writeRecord(path, {QStringLiteral("HERE"), 987}).ok();
     }},
    {"level", "mine.bmp", encodeLevelBitmap(aLevel()),
     [](const QString& path) { return writeLevelFile(aLevel(), path).ok(); }},
};

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList entriesOf(const QTemporaryDir& dir) {
    return QDir(dir.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System);
}

// A link in the game's folder, shipped in a level archive, say, that leads to a file of the
// player's elsewhere: the new file takes the link's place and the file elsewhere stays as it was.
TEST(WritingFiles, ALinkIsReplacedNeverWrittenThrough) {
    for (const Writer& w : kWriters) {
        for (const bool leadsNowhere : {false, true}) {
            QTemporaryDir folder;
            QTemporaryDir elsewhere;
            ASSERT_TRUE(folder.isValid() && elsewhere.isValid());
            const QString outside = elsewhere.filePath(".bashrc");
            if (!leadsNowhere) {
                QFile file(outside);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                file.write("alias ls='ls --color'\n");
            }
            const QString path = folder.filePath(w.name);
            ASSERT_TRUE(QFile::link(outside, path));

            const std::string label = std::string(w.kind) + (leadsNowhere ? ", dangling" : "");
            ASSERT_TRUE(w.write(path)) << label;
            EXPECT_FALSE(QFileInfo(path).isSymLink()) << label;
            EXPECT_EQ(contentsOf(path), w.bytes) << label;
            EXPECT_EQ(entriesOf(folder), QStringList{w.name}) << label;
            if (leadsNowhere) {
                EXPECT_TRUE(entriesOf(elsewhere).isEmpty()) << label;
            } else {
                EXPECT_EQ(entriesOf(elsewhere), QStringList{".bashrc"}) << label;
                EXPECT_EQ(contentsOf(outside), QByteArray("alias ls='ls --color'\n")) << label;
            }
        }
    }
}

TEST(WritingFiles, AReplacedFileKeepsItsPermissions) {
    for (const Writer& w : kWriters) {
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QString path = folder.filePath(w.name);
        const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            ASSERT_TRUE(file.setPermissions(mode));
        }
        ASSERT_TRUE(w.write(path)) << w.kind;
        EXPECT_EQ(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser), mode) << w.kind;
    }
}

// Every name the folder allows can be replaced, the longest too; a flush that fails (space found
// lacking only when the file reaches the disk) keeps the old file and leaves nothing beside it.
TEST(WritingFiles, ReplacesAnyLegalNameAndOnlyOnceTheFileIsOnTheDisk) {
    const auto failingFlush = [](int) {
        errno = EIO;
        return -1;
    };
    const struct {
        const char* name;
        QString file;
        int (*flush)(int);
        FileWriteResult::Status status;
    } cases[] = {
        {"longest name", QString(251, 'a') + ".bmp", replaceFileFlush, FileWriteResult::Written},
        {"failing flush", "mine.bmp", failingFlush, FileWriteResult::WriteFailed},
    };
    const auto systemFlush = replaceFileFlush;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QString path = folder.filePath(c.file);
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("old");
        }
        replaceFileFlush = c.flush;
        const FileWriteResult written = replaceFile(path, "new");
        replaceFileFlush = systemFlush;
        EXPECT_EQ(written.status, c.status) << written.reason.toStdString();
        EXPECT_EQ(contentsOf(path), c.status == FileWriteResult::Written ? "new" : "old");
        EXPECT_EQ(entriesOf(folder), QStringList{c.file});
    }
}

// Asked before a save: whether the name is taken by something a save would replace.
TEST(WritingFiles, ANameIsTakenByAnythingButAFolder) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    test::Pipes pipes;
    {
        QFile file(folder.filePath("file"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(folder.path()).mkdir("folder"));
    ASSERT_TRUE(QFile::link(folder.filePath("file"), folder.filePath("link")));
    ASSERT_TRUE(QFile::link(folder.filePath("missing"), folder.filePath("dangling link")));
    pipes.make(folder.filePath("pipe"));
    const std::pair<const char*, bool> names[] = {
        {"file", true}, {"link", true},    {"dangling link", true},
        {"pipe", true}, {"folder", false}, {"missing", false},
        {"", false},
    };
    for (const auto& [name, taken] : names)
        EXPECT_EQ(wouldReplace(*name ? folder.filePath(name) : QString()), taken) << name;
    EXPECT_FALSE(pipes.waited());
}

} // namespace
