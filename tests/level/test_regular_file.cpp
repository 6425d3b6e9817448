// Every file the game reads is read only when it is a regular file: a pipe (which would keep
// the game waiting for a writer for ever) or a folder reads as a missing file. Record files are
// never read through a symbolic link.

#include "creator/LevelBitmap.h"
#include "level/BitmapFile.h"
#include "record/RecordFile.h"
#include "support/Pipes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace kf;

QByteArray aPicture() {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::green);
    return encodeLevelBitmap(image);
}

// A reader of the game, with a file name it reads and contents it takes.
struct Reader {
    const char* kind;
    const char* name;
    QByteArray contents;
    bool (*reads)(const QString& path);
    bool followsLinks;
};

bool readsPicture(const QString& path) {
    return !readBitmapFile(path).isNull();
}

bool readsLevelWhole(const QString& path) {
    return !readBitmapFileBytes(path).isEmpty();
}

bool readsRecord(const QString& path) {
    return readRecord(path).has_value();
}

// What stands at the reader's file name.
enum class Entry { File, Pipe, Folder, LinkToFile, LinkToPipe };

struct EntryCase {
    const char* label;
    Entry entry;
    bool readsWhenFollowingLinks;
    bool readsOtherwise;
};

TEST(ReadingFiles, OnlyARegularFileIsReadAndNoneIsWaitedFor) {
    const Reader readers[] = {
        {"level picture", "Level_00_INTRO.bmp", aPicture(), readsPicture, true},
        {"picture beside the game", "kf_1.gfx", aPicture(), readsPicture, true},
        {"level read whole", "Level_01_CURVES.bmp", aPicture(), readsLevelWhole, true},
        {"record file", "Level_00_INTRO.bmp.kfh", "HERE\r\n987", readsRecord, false},
    };
    const EntryCase entries[] = {
        {"regular file", Entry::File, true, true},
        {"pipe", Entry::Pipe, false, false},
        {"folder", Entry::Folder, false, false},
        {"link to a file elsewhere", Entry::LinkToFile, true, false},
        {"link to a pipe elsewhere", Entry::LinkToPipe, false, false},
    };
    for (const Reader& r : readers) {
        for (const EntryCase& e : entries) {
            QTemporaryDir folder;
            QTemporaryDir elsewhere;
            ASSERT_TRUE(folder.isValid() && elsewhere.isValid());
            test::Pipes pipes;
            const QString path = folder.filePath(r.name);
            const QString outside = elsewhere.filePath("outside");
            switch (e.entry) {
            case Entry::File:
            case Entry::LinkToFile: {
                QFile file(e.entry == Entry::File ? path : outside);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                ASSERT_EQ(file.write(r.contents), r.contents.size());
                break;
            }
            case Entry::Pipe:
                pipes.make(path);
                break;
            case Entry::LinkToPipe:
                pipes.make(outside);
                break;
            case Entry::Folder:
                ASSERT_TRUE(QDir().mkdir(path));
                break;
            }
            if (e.entry == Entry::LinkToFile || e.entry == Entry::LinkToPipe) {
                ASSERT_TRUE(QFile::link(outside, path));
            }

            const bool expected = r.followsLinks ? e.readsWhenFollowingLinks : e.readsOtherwise;
            EXPECT_EQ(r.reads(path), expected) << r.kind << ", " << e.label;
            EXPECT_FALSE(pipes.waited()) << r.kind << ", " << e.label;
        }
    }
}

} // namespace
