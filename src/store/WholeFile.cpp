#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <cerrno>
#include <cstring>

#include <unistd.h>

bool writeWholeFile(const QString& path, const std::function<bool(QIODevice&)>& write,
                    QString* error)
{
    QSaveFile file(path);
    const auto failed = [&](const QString& why) {
        if (error)
            *error = why.isEmpty() ? file.errorString() : why;
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return failed({});
    if (!write(file) || file.error() != QFileDevice::NoError)
        return failed({});
    // QSaveFile::commit() reports success when its last buffered bytes could not be written, and
    // ignores a failed sync: both are asked here, before the file takes the name.
    if (!file.flush())
        return failed({});
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS)
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    if (!file.commit())
        return failed({});
    return true;
}

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    return writeWholeFile(
        path, [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); }, error);
}

QString wholeFileFailure(const QString& path, const QString& reason)
{
    return QStringLiteral("%1 に書き込めませんでした。保存先の空き容量と書き込みの権限を確認して"
                          "ください。ファイルは書き込む前のままです。\n%2")
        .arg(path, reason);
}

bool makePrivateFolder(const QString& path)
{
    const QString absolute = QDir(path).absolutePath();
    QStringList missing;
    for (QString folder = absolute; !QFileInfo::exists(folder);
         folder = QFileInfo(folder).absolutePath())
        missing.prepend(folder);
    for (const QString& folder : std::as_const(missing)) {
        if (!QDir().mkdir(folder) ||
            !QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return false;
    }
    return QFileInfo(absolute).isDir();
}
