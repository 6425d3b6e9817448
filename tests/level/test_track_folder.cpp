#include "creator/LevelBitmap.h"
#include "level/BitmapFile.h"
#include "level/TrackFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace kf;

// A folder of levels with broken files at both ends and in the middle, and files that are no
// level files at all: another extension, a folder, a hidden file.
class TrackFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        QImage level(8, 6, QImage::Format_RGB32);
        level.fill(Qt::white);
        const QByteArray good = encodeLevelBitmap(level);
        QByteArray noPlanes = good;
        noPlanes[26] = 0; // passes the headers' look, refused by the reader
        write("a.bmp", "not a picture at all");
        write("B.bmp", good);
        write("b.bmp", good);
        write("c.bmp", noPlanes);
        write("d.BMP", good);
        write("e.bmp", good.left(60));
        write("kf.gfx", good);
        write(".hidden.bmp", good);
        QDir(dir.path()).mkdir("folder.bmp");
    }
    void write(const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QTemporaryDir dir;
};

TEST_F(TrackFolderTest, TheLevelFilesAreTheBmpFilesInNameOrderAnyCase) {
    QStringList names;
    for (const QString& path : levelFilesIn(dir.path())) {
        EXPECT_EQ(QFileInfo(path).absolutePath(), QDir(dir.path()).absolutePath());
        names << QFileInfo(path).fileName();
    }
    EXPECT_EQ(names, (QStringList{"a.bmp", "B.bmp", "b.bmp", "c.bmp", "d.BMP", "e.bmp"}));
}

// Each step tries the files nearest first and stops at the first that loads; none at the ends.
TEST_F(TrackFolderTest, StepsSkipBrokenFilesAndStopAtTheEnds) {
    const struct {
        const char* from;
        LevelStep step;
        std::optional<QString> reached;
        QStringList tried;
    } cases[] = {
        {"B.bmp", LevelStep::Next, "b.bmp", {"b.bmp"}},
        {"b.bmp", LevelStep::Next, "d.BMP", {"c.bmp", "d.BMP"}},
        {"d.BMP", LevelStep::Next, std::nullopt, {"e.bmp"}},
        {"d.BMP", LevelStep::Previous, "b.bmp", {"c.bmp", "b.bmp"}},
        {"B.bmp", LevelStep::Previous, std::nullopt, {"a.bmp"}},
        {"a.bmp", LevelStep::Next, "B.bmp", {"B.bmp"}},
        {"e.bmp", LevelStep::Previous, "d.BMP", {"d.BMP"}},
        // A level no longer there, or of another extension, steps from where its name falls.
        {"c2.bmp", LevelStep::Next, "d.BMP", {"d.BMP"}},
        {"c2.bmp", LevelStep::Previous, "b.bmp", {"c.bmp", "b.bmp"}},
        {"kf.gfx", LevelStep::Next, std::nullopt, {}},
        {"kf.gfx", LevelStep::Previous, "d.BMP", {"e.bmp", "d.BMP"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + (c.step == LevelStep::Next ? " next" : " previous"));
        QStringList tried;
        const std::optional<QString> reached =
            stepLevel(dir.filePath(c.from), c.step, [&](const QString& path) {
                tried << QFileInfo(path).fileName();
                return !readBitmapFile(path).isNull();
            });
        EXPECT_EQ(tried, c.tried);
        EXPECT_EQ(reached.value_or("none"),
                  c.reached ? QDir(dir.path()).absoluteFilePath(*c.reached) : "none");
    }
}

} // namespace
