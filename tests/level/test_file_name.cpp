#include "level/FileName.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using namespace kf;

// Every name comes back in its own bytes; the player reads each byte that is no UTF-8 as U+FFFD.
TEST(FileNames, GiveBackTheirBytesAndReadWithReplacementCharacters) {
    const QString r(QChar::ReplacementCharacter);
    const struct {
        const char* label;
        QByteArray native;
        QString readable;
    } cases[] = {
        {"ASCII", "Level_01.bmp", "Level_01.bmp"},
        {"UTF-8", "Caf\xc3\xa9 \xf0\x9f\x8f\x81.bmp", QString::fromUtf8("Café 🏁.bmp")},
        {"Latin-1", "Caf\xe9.bmp", "Caf" + r + ".bmp"},
        {"two stray bytes", "\xff\xfe.bmp", r + r + ".bmp"},
        {"overlong slash", "a\xc0\xaf.bmp", "a" + r + r + ".bmp"},
        {"encoded surrogate", "\xed\xb3\xbf.bmp", r + r + r + ".bmp"},
        {"cut-off sequence at the end", "a.bmp\xe2\x82", "a.bmp" + r + r},
        {"beyond U+10FFFF", "\xf4\x90\x80\x80", r + r + r + r},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const QString name = decodeFileName(c.native);
        EXPECT_EQ(encodeFileName(name), c.native);
        EXPECT_EQ(readableFileName(name), c.readable);
    }
    // Qt's own conversion makes these two one name.
    EXPECT_NE(decodeFileName("\xff.bmp"), decodeFileName("\xfe.bmp"));
}

} // namespace
