// Prints what the desktop's MIME database, as the game's toolkit reads it, says of a file: its
// type, the type's comment and icons, and whether it is a ZIP archive.
//
//     kf_mime_type <file>

#include <QCoreApplication>
#include <QFile>
#include <QMimeDatabase>
#include <QMimeType>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kf_mime_type <file>\n");
        return 2;
    }
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QFile::decodeName(argv[1]));
    QTextStream out(stdout);
    out << "type " << type.name() << '\n'
        << "comment " << type.comment() << '\n'
        << "icon " << type.iconName() << '\n'
        << "generic-icon " << type.genericIconName() << '\n'
        << "zip " << (type.inherits(QStringLiteral("application/zip")) ? "yes" : "no") << '\n';
    return 0;
}
