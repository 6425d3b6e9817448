// The game's ZIP library, libzip: built into the module kfzip, and into the programs that link
// libzip themselves (see zipLibrary).

#include "race/ZipArchive.h"

#include <zip.h>

#include <unistd.h>

#include <limits>

namespace kf {

namespace {

QString zipErrorText(zip_error_t* error) {
    return QString::fromLocal8Bit(zip_error_strerror(error));
}

// Closes an archive opened for writing, or drops it; its source stays.
struct ZipCloser {
    zip_t* archive;
    ~ZipCloser() {
        if (archive)
            zip_discard(archive);
    }
};

// The bytes libzip wrote into a buffer source.
std::optional<QByteArray> bufferBytes(zip_source_t* buffer, QString* problem) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(buffer, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
        stat.size > quint64(std::numeric_limits<qsizetype>::max()) ||
        zip_source_open(buffer) != 0) {
        *problem = zipErrorText(zip_source_error(buffer));
        return std::nullopt;
    }
    QByteArray bytes(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
    const zip_int64_t read = zip_source_read(buffer, bytes.data(), stat.size);
    zip_source_close(buffer);
    if (read != zip_int64_t(stat.size)) {
        *problem = zipErrorText(zip_source_error(buffer));
        return std::nullopt;
    }
    return bytes;
}

std::optional<QByteArray> makeArchive(const QList<ZipEntry>& entries, QString* problem) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer) {
        *problem = zipErrorText(&error);
        zip_error_fini(&error);
        return std::nullopt;
    }
    // Kept past the archive's close, which writes into it.
    zip_source_keep(buffer);
    ZipCloser archive{zip_open_from_source(buffer, ZIP_TRUNCATE, &error)};
    bool made = archive.archive != nullptr;
    if (!made)
        *problem = zipErrorText(&error);
    for (const ZipEntry& entry : entries) {
        if (!made)
            break;
        zip_source_t* source = zip_source_buffer(archive.archive, entry.bytes.constData(),
                                                 zip_uint64_t(entry.bytes.size()), 0);
        const zip_int64_t index =
            source ? zip_file_add(archive.archive, entry.name.constData(), source, ZIP_FL_ENC_UTF_8)
                   : -1;
        if (index < 0) {
            zip_source_free(source);
            made = false;
        } else {
            made = zip_set_file_compression(archive.archive, zip_uint64_t(index), ZIP_CM_DEFLATE,
                                            1) == 0;
        }
        if (!made)
            *problem = QString::fromLocal8Bit(zip_strerror(archive.archive));
    }
    if (made && zip_close(archive.archive) != 0) {
        *problem = QString::fromLocal8Bit(zip_strerror(archive.archive));
        made = false;
    } else if (made) {
        archive.archive = nullptr;
    }
    std::optional<QByteArray> bytes = made ? bufferBytes(buffer, problem) : std::nullopt;
    zip_source_free(buffer);
    zip_error_fini(&error);
    return bytes;
}

class LibZipReader : public ZipReader {
public:
    explicit LibZipReader(const QByteArray& bytes);
    // Reads the file open at `fd`, which stays the caller's.
    explicit LibZipReader(int fd);
    ~LibZipReader() override;
    LibZipReader(const LibZipReader&) = delete;
    LibZipReader& operator=(const LibZipReader&) = delete;

    const QString& problem() const override { return m_problem; }
    qint64 count() const override;
    QByteArray nameAt(qint64 index) const override;
    std::optional<QByteArray> read(qint64 index, qint64 maxBytes, Failure* failure,
                                   QString* detail) const override;

private:
    void openFrom(zip_source_t* source);

    QByteArray m_bytes; // the archive in memory, which libzip reads in place
    zip_t* m_zip = nullptr;
    QString m_problem;
};

LibZipReader::LibZipReader(const QByteArray& bytes) : m_bytes(bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(m_bytes.constData(), zip_uint64_t(m_bytes.size()), 0, &error);
    if (source)
        openFrom(source);
    else
        m_problem = QStringLiteral("it cannot be read (%1)").arg(zipErrorText(&error));
    zip_error_fini(&error);
}

LibZipReader::LibZipReader(int fd) {
    // libzip closes the descriptor it is given, so it gets its own.
    const int own = ::dup(fd);
    int code = ZIP_ER_OPEN;
    m_zip = own >= 0 ? zip_fdopen(own, ZIP_RDONLY, &code) : nullptr;
    if (m_zip)
        return;
    if (own >= 0)
        ::close(own);
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    m_problem = code == ZIP_ER_NOZIP
                    ? QStringLiteral("it is not a ZIP archive")
                    : QStringLiteral("it is a damaged ZIP archive (%1)").arg(zipErrorText(&error));
    zip_error_fini(&error);
}

void LibZipReader::openFrom(zip_source_t* source) {
    zip_error_t error;
    zip_error_init(&error);
    m_zip = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!m_zip) {
        zip_source_free(source);
        m_problem =
            zip_error_code_zip(&error) == ZIP_ER_NOZIP
                ? QStringLiteral("it is not a ZIP archive")
                : QStringLiteral("it is a damaged ZIP archive (%1)").arg(zipErrorText(&error));
    }
    zip_error_fini(&error);
}

LibZipReader::~LibZipReader() {
    if (m_zip)
        zip_discard(m_zip);
}

qint64 LibZipReader::count() const {
    return m_zip ? zip_get_num_entries(m_zip, 0) : 0;
}

QByteArray LibZipReader::nameAt(qint64 index) const {
    const char* name = zip_get_name(m_zip, zip_uint64_t(index), ZIP_FL_ENC_RAW);
    return name ? QByteArray(name) : QByteArray();
}

std::optional<QByteArray> LibZipReader::read(qint64 index, qint64 maxBytes, Failure* failure,
                                             QString* detail) const {
    const auto damaged = [&](const QString& why) {
        *failure = Failure::Damaged;
        *detail = why;
        return std::nullopt;
    };
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_zip, zip_uint64_t(index), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        return damaged(QString::fromLocal8Bit(zip_strerror(m_zip)));
    if (stat.size > zip_uint64_t(maxBytes)) {
        *failure = Failure::TooLarge;
        return std::nullopt;
    }
    zip_file_t* file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
    if (!file)
        return damaged(QString::fromLocal8Bit(zip_strerror(m_zip)));
    // The stated size, then one byte more: an entry that gives more than it states is refused
    // at the first byte too many, and reading to the end lets libzip check the CRC.
    QByteArray bytes(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
    zip_int64_t got = 0;
    while (got < zip_int64_t(stat.size)) {
        const zip_int64_t n = zip_fread(file, bytes.data() + got, stat.size - zip_uint64_t(got));
        if (n <= 0)
            break;
        got += n;
    }
    char beyond = 0;
    const zip_int64_t extra = got == zip_int64_t(stat.size) ? zip_fread(file, &beyond, 1) : -1;
    // A short entry need not leave an error behind: then it just ends early.
    const bool libzipFailed = zip_error_code_zip(zip_file_get_error(file)) != ZIP_ER_OK;
    const QString why = libzipFailed ? QString::fromLocal8Bit(zip_file_strerror(file))
                                     : QStringLiteral("it ends early");
    zip_fclose(file);
    if (extra > 0) {
        *failure = Failure::Overlong;
        return std::nullopt;
    }
    if (extra != 0)
        return damaged(why);
    *failure = Failure::None;
    return bytes;
}

class LibZip : public ZipLibrary {
public:
    std::optional<QByteArray> make(const QList<ZipEntry>& entries,
                                   QString* problem) const override {
        return makeArchive(entries, problem);
    }
    std::unique_ptr<ZipReader> open(const QByteArray& bytes) const override {
        return std::make_unique<LibZipReader>(bytes);
    }
    std::unique_ptr<ZipReader> openFile(int fd) const override {
        return std::make_unique<LibZipReader>(fd);
    }
};

} // namespace

} // namespace kf

extern "C" __attribute__((visibility("default"))) const kf::ZipLibrary* kfZipLibrary() {
    static const kf::LibZip library;
    return &library;
}
