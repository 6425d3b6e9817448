#include <QDir>
#include <QFile>
#include <QStringList>

// Placeholder until the drawings exist: creates the expected files empty.
int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    const QStringList data = {"Level_00_INTRO.bmp", "kf_1.gfx", "kf_x.gfx",
                              "kf_2.gfx",           "kf_x.bmp", "kf_3.gfx"};
    const QStringList res = {"icon128_16.png", "icon128_32.png", "139.bmp", "204.bmp",
                             "205.bmp",        "219.bmp",        "220.bmp"};
    QDir().mkpath(argv[1]);
    QDir().mkpath(argv[2]);
    for (const QString& f : data) {
        QFile file(QString::fromLocal8Bit(argv[1]) + "/" + f);
        file.open(QIODevice::WriteOnly);
    }
    for (const QString& f : res) {
        QFile file(QString::fromLocal8Bit(argv[2]) + "/" + f);
        file.open(QIODevice::WriteOnly);
    }
    return 0;
}
