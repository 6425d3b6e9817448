// Feeds arbitrary bytes to the race file reader and checks what must hold for every file: it is
// refused with a reason, or it gives a race of 1 to 8 ghosts whose track can be a file name and
// loads as a bitmap; every ghost of such a race is proven, and a run is confirmed exactly when
// its proof gives no reason, at the very time the ghost claims.

#include "level/BitmapFile.h"
#include "race/RaceFile.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

void check(bool ok) {
    if (!ok)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const kf::RaceReading reading = kf::readRaceBytes(bytes, QStringLiteral("fuzz.kfrace"));
    check(reading.race.has_value() == reading.reason.isEmpty());
    if (!reading.race) {
        check(reading.reason.startsWith(QLatin1String("The race file \"fuzz.kfrace\" ")));
        return 0;
    }
    const kf::Race& race = *reading.race;
    check(!race.ghosts.isEmpty() && race.ghosts.size() <= kf::kMaxRaceGhosts);
    check(kf::isTrackFileName(race.trackName));
    check(!kf::decodeBitmap(race.trackBytes).isNull());
    const QList<kf::RunProof> proofs = kf::proveRace(race);
    check(proofs.size() == race.ghosts.size());
    for (qsizetype i = 0; i < proofs.size(); ++i) {
        check(proofs[i].confirmed == proofs[i].reason.isEmpty());
        if (proofs[i].confirmed)
            check(!race.ghosts[i].path.isEmpty() &&
                  race.ghosts[i].path.last().ms == quint32(race.ghosts[i].timeMs));
    }
    return 0;
}
