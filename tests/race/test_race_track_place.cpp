#include "race/RaceTrackPlace.h"

#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace kf;

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(RaceTrackPlaceTest, ReusesSameBytesAndNumbersOthersNeverOverwriting) {
    const QTemporaryDir dir;
    const QTemporaryDir elsewhere;
    const QString folder = dir.path();
    const QString outside = elsewhere.filePath(QStringLiteral("outside.bmp"));
    put(folder + QStringLiteral("/Spiral.bmp"), "mine");
    put(outside, "B");
    // A link planted under the second name, to a file of the very bytes placed next: no reuse,
    // and nothing written through it.
    ASSERT_TRUE(QFile::link(outside, folder + QStringLiteral("/Spiral-2.bmp")));
    const struct {
        const char* bytes;
        const char* placedAs;
    } cases[] = {
        {"mine", "Spiral.bmp"}, // the same bytes: the file itself
        {"A", "Spiral-3.bmp"},  // other bytes: the first free number
        {"B", "Spiral-4.bmp"},  // the link's bytes, not through the link
        {"A", "Spiral-3.bmp"},  // again: the numbered file with these bytes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.placedAs);
        QString reason = QStringLiteral("stale");
        EXPECT_EQ(placeRaceTrack(folder, QStringLiteral("Spiral.bmp"), c.bytes, &reason),
                  folder + QLatin1Char('/') + QLatin1String(c.placedAs));
        EXPECT_EQ(reason, QString());
        EXPECT_EQ(contents(folder + QLatin1Char('/') + QLatin1String(c.placedAs)), c.bytes);
    }
    EXPECT_EQ(contents(folder + QStringLiteral("/Spiral.bmp")), "mine");
    EXPECT_EQ(contents(outside), "B");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 4);

    QString reason;
    EXPECT_EQ(placeRaceTrack(folder, QStringLiteral("../Spiral.bmp"), "x", &reason), QString());
    EXPECT_EQ(reason, QStringLiteral("The track \"../Spiral.bmp\" cannot be kept in %1: that "
                                     "name cannot be a file name.")
                          .arg(folder));
}

TEST(RaceTrackPlaceTest, RacesFolderLiesInTheDataFolder) {
    const QTemporaryDir dataHome;
    const QByteArray before = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    const QString folder = defaultRacesFolder();
    if (before.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", before);
    EXPECT_EQ(folder, dataHome.path() + QStringLiteral("/kurvenflitzerl/races"));
    EXPECT_TRUE(QDir(folder).exists());
}

} // namespace
