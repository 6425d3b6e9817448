#include "record/RecordFile.h"

#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <ostream>

// Readable failure messages for Qt text and bytes.
static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << "\" (" << text.size() << " UTF-16 units)";
}
static void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '[' << bytes.toHex(' ').toStdString() << ']';
}

namespace {

using namespace kf;

// Bytes from a literal, embedded NULs included.
template <std::size_t N> QByteArray bytes(const char (&text)[N]) {
    return QByteArray(text, static_cast<qsizetype>(N - 1));
}

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

// --- The file format -----------------------------------------------------------------------

TEST(RecordFormat, HereIn987MsIsExactlyNineBytes) {
    const QByteArray here = bytes("\x48\x45\x52\x45\x0D\x0A\x39\x38\x37");
    EXPECT_EQ(encodeRecord({QStringLiteral("HERE"), 987}), here);
    const TrackRecord read = parseRecord(here);
    EXPECT_EQ(read.name, QStringLiteral("HERE"));
    EXPECT_EQ(read.timeMs, 987);
}

TEST(RecordFormat, RecordFileSitsBesideTheLevelWithItsExtensionKept) {
    EXPECT_EQ(recordPathFor(QStringLiteral("/tracks/Spiral.bmp")),
              QStringLiteral("/tracks/Spiral.bmp.kfh"));
    EXPECT_EQ(recordPathFor(QStringLiteral("Level_00_INTRO.bmp")),
              QStringLiteral("Level_00_INTRO.bmp.kfh"));
}

TEST(RecordRule, OnlyAStrictlyShorterTimeIsARecord) {
    EXPECT_TRUE(isNewRecord(4999, 5000));
    EXPECT_FALSE(isNewRecord(5000, 5000));
    EXPECT_FALSE(isNewRecord(5001, 5000));
    EXPECT_TRUE(isNewRecord(kNoTimeMs - 1, kNoTimeMs));
    EXPECT_FALSE(isNewRecord(kNoTimeMs, kNoTimeMs)); // a run that slow never takes a record
}

TEST(RecordFormat, StartValuesAreNoTimeAndNobody) {
    EXPECT_EQ(TrackRecord{}.timeMs, 999999);
    EXPECT_EQ(kFailedRunMs, 99999);
    EXPECT_STREQ(kNobody, "Nobody");
}

struct ParseCase {
    const char* label;
    QByteArray file;
    QString name;
    int timeMs;
};

class RecordParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(RecordParse, ReadsNameAndTime) {
    const ParseCase& c = GetParam();
    const TrackRecord read = parseRecord(c.file);
    EXPECT_EQ(read.name, c.name);
    EXPECT_EQ(read.timeMs, c.timeMs);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RecordParse,
    ::testing::Values(
        ParseCase{"EmptyFile", bytes(""), "", 99999},
        ParseCase{"NameOnly", bytes("HERE"), "HERE", 99999},
        ParseCase{"NameWithLineEndOnly", bytes("HERE\r\n"), "HERE", 99999},
        ParseCase{"LfLineEnd", bytes("HERE\n987"), "HERE", 987},
        ParseCase{"CrLfLineEnd", bytes("HERE\r\n987"), "HERE", 987},
        ParseCase{"TimeLineWithLineEnd", bytes("HERE\r\n987\r\n"), "HERE", 987},
        ParseCase{"LoneCrInsideNameIsKept", bytes("HE\rRE\r\n987"), "HE\rRE", 987},
        ParseCase{"OnlyOneCrBeforeLfIsLineEnd", bytes("HERE\r\r\n987"), "HERE\r", 987},
        ParseCase{"CrAtEndOfFileIsNoLineEnd", bytes("HERE\r"), "HERE\r", 99999},
        ParseCase{"LoneCrDoesNotEndTheNameLine", bytes("HERE\r987"), "HERE\r987", 99999},
        ParseCase{"EmptyNameLine", bytes("\r\n987"), "", 987},
        ParseCase{"TwoEmptyLines", bytes("\n\n"), "", 99999},
        ParseCase{"FurtherLinesIgnored", bytes("A\r\n5\r\n7\r\n"), "A", 5},
        ParseCase{"TimeLineZero", bytes("HERE\r\n0"), "HERE", 99999},
        ParseCase{"NulInsideName", bytes("A\0B\r\n12"), QString::fromLatin1("A\0B", 3), 12}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(RecordParse, NameIsFirst254CharactersAndTimeComesFromTheSecondLine) {
    // The rest of line 1 holds digits: a reader that continued there would find 4242.
    const QByteArray longLine = QByteArray(254, 'x') + QByteArray(46, '4');
    const TrackRecord read = parseRecord(longLine + "\r\n123");
    EXPECT_EQ(read.name, QString(254, QLatin1Char('x')));
    EXPECT_EQ(read.timeMs, 123);

    const TrackRecord exact = parseRecord(QByteArray(254, 'y') + "\n55");
    EXPECT_EQ(exact.name, QString(254, QLatin1Char('y')));
    EXPECT_EQ(exact.timeMs, 55);
}

TEST(RecordParse, NameLimitCountsCharactersNotBytes) {
    QByteArray wide, astral;
    for (int i = 0; i < 300; ++i) {
        wide += "日";
        astral += "😀";
    }
    QString wideName, astralName;
    for (int i = 0; i < 254; ++i) {
        wideName += utf8("日");
        astralName += utf8("😀");
    }
    EXPECT_EQ(parseRecord(wide + "\r\n9").name, wideName);
    // A character beyond the basic plane counts once and is never cut in half.
    const TrackRecord read = parseRecord(astral + "\r\n9");
    EXPECT_EQ(read.name, astralName);
    EXPECT_EQ(read.timeMs, 9);
}

// --- The time line --------------------------------------------------------------------------

struct TimeCase {
    const char* line;
    int timeMs;
};

class RecordTime : public ::testing::TestWithParam<TimeCase> {};

TEST_P(RecordTime, ReadsLikeAtoiButNeverUnbeatable) {
    const TimeCase& c = GetParam();
    EXPECT_EQ(parseRecordTime(QByteArrayView(c.line)), c.timeMs) << "line \"" << c.line << '"';
    // The same line as line 2 of a file.
    EXPECT_EQ(parseRecord(QByteArray("N\r\n") + c.line).timeMs, c.timeMs);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RecordTime,
    ::testing::Values(TimeCase{"987", 987}, TimeCase{"0", 99999}, TimeCase{"-5", 99999},
                      TimeCase{"  042abc", 42}, TimeCase{"abc", 99999}, TimeCase{"", 99999},
                      TimeCase{"2147483647", 2147483647}, TimeCase{"2147483648", 99999},
                      TimeCase{"99999999999999999999", 99999}, TimeCase{"+17", 17},
                      TimeCase{"\t12", 12}, TimeCase{"-0", 99999}, TimeCase{"\v\f\r 8", 8},
                      TimeCase{"+", 99999}, TimeCase{"- 5", 99999}, TimeCase{"+-5", 99999},
                      TimeCase{"5 6", 5}, TimeCase{"-2147483648", 99999},
                      TimeCase{"0000000000000000000031", 31}, TimeCase{"1", 1},
                      TimeCase{"999999", 999999}));

TEST(RecordTime, ZeroTimeIsWrittenButReadsBackAsFailed) {
    const QByteArray file = encodeRecord({QStringLiteral("FAST"), 0});
    EXPECT_EQ(file, bytes("FAST\r\n0"));
    EXPECT_EQ(parseRecord(file).timeMs, 99999);
}

// --- Names and their bytes ------------------------------------------------------------------

struct NameCase {
    const char* label;
    QString name;
    QByteArray written;
};

class RecordName : public ::testing::TestWithParam<NameCase> {};

TEST_P(RecordName, IsWrittenAsExpectedAndReadsBackUnchanged) {
    const NameCase& c = GetParam();
    EXPECT_EQ(encodeRecordName(c.name), c.written);
    EXPECT_EQ(decodeRecordName(c.written), c.name);
    const TrackRecord read = parseRecord(encodeRecord({c.name, 4711}));
    EXPECT_EQ(read.name, c.name);
    EXPECT_EQ(read.timeMs, 4711);
}

INSTANTIATE_TEST_SUITE_P(
    Names, RecordName,
    ::testing::Values(NameCase{"Ascii", "HERE", bytes("HERE")}, NameCase{"Empty", "", bytes("")},
                      NameCase{"Latin1", utf8("Jörg"), bytes("J\xF6rg")},
                      // Its Latin-1 bytes C3 A4 would read back as "ä", so it goes as UTF-8.
                      NameCase{"Latin1LookingLikeUtf8", utf8("Ã¤"), bytes("\xC3\x83\xC2\xA4")},
                      // C3 A4 E9 is no valid UTF-8 as a whole, so Latin-1 is safe here.
                      NameCase{"Latin1PartlyLikeUtf8", utf8("Ã¤é"), bytes("\xC3\xA4\xE9")},
                      NameCase{"BeyondLatin1", utf8("Łukasz"), bytes("\xC5\x81ukasz")},
                      NameCase{"Japanese", utf8("日本"), bytes("\xE6\x97\xA5\xE6\x9C\xAC")},
                      NameCase{"Emoji", utf8("😀"), bytes("\xF0\x9F\x98\x80")},
                      NameCase{"LeadingByteOrderMark", QChar(0xFEFF) + QStringLiteral("Zoe"),
                               bytes("\xEF\xBB\xBFZoe")},
                      NameCase{"NineAscii", "ABCDEFGHI", bytes("ABCDEFGHI")},
                      NameCase{"NineLatin1", utf8("Åsa-Märta"), bytes("\xC5sa-M\xE4rta")},
                      NameCase{"NineMixed", utf8("Ørjan日本12"),
                               bytes("\xC3\x98rjan\xE6\x97\xA5\xE6\x9C\xAC"
                                     "12")},
                      NameCase{"LoneCrInside", "A\rB", bytes("A\rB")},
                      NameCase{"TrailingCr", "AB\r", bytes("AB\r")}),
    [](const auto& info) { return std::string(info.param.label); });

struct DecodeCase {
    const char* label;
    QByteArray line;
    QString name;
};

class RecordNameDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(RecordNameDecode, InvalidUtf8IsLatin1) {
    EXPECT_EQ(decodeRecordName(GetParam().line), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, RecordNameDecode,
    ::testing::Values(DecodeCase{"ValidUtf8", bytes("\xC3\xA4"), utf8("ä")},
                      DecodeCase{"TruncatedSequence", bytes("\xC3"), utf8("Ã")},
                      DecodeCase{"Overlong", bytes("\xC0\x80"), QString::fromLatin1("\xC0\x80")},
                      DecodeCase{"EncodedSurrogate", bytes("\xED\xA0\x80"),
                                 QString::fromLatin1("\xED\xA0\x80")},
                      DecodeCase{"BeyondUnicode", bytes("\xF4\x90\x80\x80"),
                                 QString::fromLatin1("\xF4\x90\x80\x80")},
                      DecodeCase{"ValidThenInvalid", bytes("\xC3\xA4\xFF"), utf8("Ã¤ÿ")}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(RecordName, LineFeedInNameIsWrittenAsBlankSoTheTimeLineStays) {
    const QByteArray file = encodeRecord({QStringLiteral("A\n5"), 987});
    EXPECT_EQ(file, bytes("A 5\r\n987"));
    const TrackRecord read = parseRecord(file);
    EXPECT_EQ(read.name, QStringLiteral("A 5"));
    EXPECT_EQ(read.timeMs, 987);
}

// --- Files on disk --------------------------------------------------------------------------

class RecordFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString& name) const { return dir.filePath(name); }

    static void put(const QString& file, const QByteArray& contents) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(contents), contents.size());
    }

    static QByteArray contentsOf(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    QStringList entries() const {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir;
};

TEST_F(RecordFileOnDisk, ReadsAnExistingFile) {
    put(path("Spiral.bmp.kfh"), bytes("HERE\r\n987"));
    const auto read = readRecord(path("Spiral.bmp.kfh"));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->name, QStringLiteral("HERE"));
    EXPECT_EQ(read->timeMs, 987);
}

TEST_F(RecordFileOnDisk, EmptyFileIsARecordOfNobodyNamedEmpty) {
    put(path("empty.kfh"), {});
    const auto read = readRecord(path("empty.kfh"));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->name, QString());
    EXPECT_EQ(read->timeMs, 99999);
}

TEST_F(RecordFileOnDisk, MissingFileOrDirectoryReadsAsNothing) {
    EXPECT_FALSE(readRecord(path("missing.kfh")).has_value());
    EXPECT_FALSE(readRecord(path("no/such/folder.kfh")).has_value());
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.kfh"));
    EXPECT_FALSE(readRecord(path("folder.kfh")).has_value());
    EXPECT_FALSE(readRecord(QString()).has_value());
}

TEST_F(RecordFileOnDisk, HugeFileIsReadOnlyAsFarAsNeeded) {
    // 100 KiB of name: only the start of the file is read, so the time line is never reached.
    put(path("huge.kfh"), QByteArray(100 * 1024, 'a') + "\r\n5");
    const auto read = readRecord(path("huge.kfh"));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->name, QString(254, QLatin1Char('a')));
    EXPECT_EQ(read->timeMs, 99999);
}

TEST_F(RecordFileOnDisk, WriteThenReadGivesTheSameRecord) {
    const TrackRecord written{utf8("Łukasz"), 12345};
    ASSERT_TRUE(writeRecord(path("a.kfh"), written));
    EXPECT_EQ(contentsOf(path("a.kfh")), bytes("\xC5\x81ukasz\r\n12345"));
    const auto read = readRecord(path("a.kfh"));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->name, written.name);
    EXPECT_EQ(read->timeMs, written.timeMs);
    EXPECT_EQ(entries(), QStringList{"a.kfh"}) << "no temporary file may stay behind";
}

TEST_F(RecordFileOnDisk, NewRecordReplacesTheWholeOldFile) {
    put(path("b.kfh"), bytes("A much longer name\r\n123456\r\ntrailing rubbish"));
    ASSERT_TRUE(writeRecord(path("b.kfh"), {QStringLiteral("HERE"), 987}));
    EXPECT_EQ(contentsOf(path("b.kfh")), bytes("HERE\r\n987"));
    EXPECT_EQ(entries(), QStringList{"b.kfh"});
}

TEST_F(RecordFileOnDisk, WriteIntoMissingFolderFailsAndCreatesNothing) {
    EXPECT_FALSE(writeRecord(path("nowhere/c.kfh"), {QStringLiteral("HERE"), 987}));
    EXPECT_FALSE(QFileInfo::exists(path("nowhere")));
    EXPECT_TRUE(entries().isEmpty());
}

TEST_F(RecordFileOnDisk, WriteOntoDirectoryFailsAndLeavesItAlone) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("d.kfh"));
    put(path("d.kfh/inside"), bytes("keep"));
    EXPECT_FALSE(writeRecord(path("d.kfh"), {QStringLiteral("HERE"), 987}));
    EXPECT_TRUE(QFileInfo(path("d.kfh")).isDir());
    EXPECT_EQ(contentsOf(path("d.kfh/inside")), bytes("keep"));
    EXPECT_EQ(entries(), QStringList{"d.kfh"});
}

TEST_F(RecordFileOnDisk, WriteBelowAFileFailsAndLeavesThatFileAlone) {
    put(path("e.kfh"), bytes("OLD\r\n55"));
    EXPECT_FALSE(writeRecord(path("e.kfh/f.kfh"), {QStringLiteral("HERE"), 987}));
    EXPECT_EQ(contentsOf(path("e.kfh")), bytes("OLD\r\n55"));
    EXPECT_EQ(entries(), QStringList{"e.kfh"});
}

TEST_F(RecordFileOnDisk, FailedWriteKeepsTheOldRecord) {
    put(path("g.kfh"), bytes("OLD\r\n55"));
    const TrackRecord record{QStringLiteral("HERE"), 987};
    FileWriteResult written;
    {
        // The disk fills up halfway through the new record.
        const test::FileSizeLimit limit(encodeRecord(record).size() / 2);
        written = writeRecord(path("g.kfh"), record);
    }
    EXPECT_FALSE(written);
    // The system's own words ("File too large"), never "Unknown error".
    EXPECT_EQ(written.reason, QString::fromLocal8Bit(std::strerror(EFBIG)));
    EXPECT_EQ(contentsOf(path("g.kfh")), bytes("OLD\r\n55"));
    EXPECT_EQ(entries(), QStringList{"g.kfh"});
}

} // namespace
