#include "race/ZipArchive.h"

#include "level/GameModule.h"

// Defined by LibZip.cpp: in the module kfzip, and in a program that links libzip itself.
extern "C" const kf::ZipLibrary* kfZipLibrary() __attribute__((weak));

namespace kf {

namespace {

const QString kNoLibrary =
    QStringLiteral("the part of the game that reads and writes race files is missing");

// The archive of a game whose ZIP module is missing: it never opens.
class UnopenedZip : public ZipReader {
public:
    const QString& problem() const override { return kNoLibrary; }
    qint64 count() const override { return 0; }
    QByteArray nameAt(qint64) const override { return {}; }
    std::optional<QByteArray> read(qint64, qint64, Failure* failure,
                                   QString* detail) const override {
        *failure = Failure::Damaged;
        *detail = kNoLibrary;
        return std::nullopt;
    }
};

} // namespace

const ZipLibrary* zipLibrary() {
    static const ZipLibrary* const library = []() -> const ZipLibrary* {
        if (kfZipLibrary)
            return kfZipLibrary();
        using Entry = const ZipLibrary* (*)();
        const auto entry =
            reinterpret_cast<Entry>(gameModuleFunction(QStringLiteral("kfzip"), "kfZipLibrary"));
        return entry ? entry() : nullptr;
    }();
    return library;
}

std::optional<QByteArray> makeZip(const QList<ZipEntry>& entries, QString* problem) {
    if (const ZipLibrary* library = zipLibrary())
        return library->make(entries, problem);
    *problem = kNoLibrary;
    return std::nullopt;
}

std::unique_ptr<ZipReader> openZip(const QByteArray& bytes) {
    if (const ZipLibrary* library = zipLibrary())
        return library->open(bytes);
    return std::make_unique<UnopenedZip>();
}

std::unique_ptr<ZipReader> openZipFile(int fd) {
    if (const ZipLibrary* library = zipLibrary())
        return library->openFile(fd);
    return std::make_unique<UnopenedZip>();
}

} // namespace kf
