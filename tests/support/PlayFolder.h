#pragma once

#include <QDir>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

namespace kf::test {

// A fresh folder that is the current directory for the life of the object, as the play folder
// is for the game; the previous current directory comes back afterwards.
class PlayFolder {
public:
    PlayFolder() : m_previous(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~PlayFolder() { QDir::setCurrent(m_previous); }
    PlayFolder(const PlayFolder&) = delete;
    PlayFolder& operator=(const PlayFolder&) = delete;

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

    // Writes `image` as a Windows bitmap file (any extension) and returns its path.
    QString writeBitmap(const QString& name, const QImage& image) const;
    QString writeBytes(const QString& name, const QByteArray& bytes) const;
    QByteArray readBytes(const QString& name) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// A small level: white track, green start at the left, red finish at the right, and a
// one-pixel black wall across the upper half of the middle column (x = 50 of the picture).
QImage smallTestLevel(int width = 100, int height = 60);

} // namespace kf::test
