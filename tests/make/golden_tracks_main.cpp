// The generated tracks of GoldenTracks.h, byte for byte, in a build without the test programs
// (the clang build of the fuzz targets). Exits 1, naming each track that differs.

#include "make/GoldenTracks.h"

#include "creator/LevelBitmap.h"
#include "make/TrackGenerator.h"

#include <QCryptographicHash>

#include <cstdio>

int main() {
    int differ = 0;
    for (const kf::test::GoldenTrack& golden : kf::test::kGoldenTracks) {
        const QByteArray sha =
            QCryptographicHash::hash(
                kf::encodeLevelBitmap(kf::generateTrack(golden.seed, golden.difficulty).picture),
                QCryptographicHash::Sha256)
                .toHex();
        if (sha != golden.sha256) {
            std::printf("seed %llu, difficulty %d: %s, not %s\n",
                        static_cast<unsigned long long>(golden.seed), golden.difficulty,
                        sha.constData(), golden.sha256);
            ++differ;
        }
    }
    std::printf("%d of the golden tracks differ\n", differ);
    return differ > 0 ? 1 : 0;
}
