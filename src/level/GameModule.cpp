#include "level/GameModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace kf {

QFunctionPointer gameModuleFunction(const QString& name, const char* function) {
    const QDir program(QCoreApplication::applicationDirPath());
    const QString file = QStringLiteral("lib%1.so").arg(name);
    // KF_MODULE_DIR: the installed tree's module folder, relative to the game's own.
    const QString places[] = {program.filePath(file),
                              program.filePath(QStringLiteral(KF_MODULE_DIR "/") + file)};
    for (const QString& place : places) {
        if (!QFileInfo::exists(place))
            continue;
        // Never unloaded: objects the module made may live until the game ends.
        QLibrary module(QDir::cleanPath(place));
        if (QFunctionPointer f = module.resolve(function))
            return f;
        qWarning("The module %s cannot be used: %s", qPrintable(place),
                 qPrintable(module.errorString()));
        return nullptr;
    }
    qWarning("The module %s is neither beside the program nor in %s", qPrintable(file),
             qPrintable(program.filePath(QStringLiteral(KF_MODULE_DIR))));
    return nullptr;
}

} // namespace kf
