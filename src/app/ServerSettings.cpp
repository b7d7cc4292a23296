#include "ServerSettings.h"

#include "Database.h"
#include "Schema.h"
#include "StoreError.h"
#include "WholeFile.h"

#include <QFile>
#include <QSettings>
#include <QStringList>

#include <algorithm>

namespace {

// No organisation name: the file is ~/.config/nubira/nubira.conf.
QSettings userSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("nubira"),
                     QStringLiteral("nubira"));
}

} // namespace

ServerConnection loadServerConnection()
{
    const QSettings settings = userSettings();
    ServerConnection server;
    server.host = settings.value(QStringLiteral("server/host")).toString();
    server.port = settings.value(QStringLiteral("server/port"), server.port).toInt();
    server.database = settings.value(QStringLiteral("server/database")).toString();
    server.user = settings.value(QStringLiteral("server/user")).toString();
    server.sslMode = settings.value(QStringLiteral("server/sslmode")).toString();
    server.rootCertificate = settings.value(QStringLiteral("server/sslrootcert")).toString();
    return server;
}

void saveServerConnection(const ServerConnection& server)
{
    QSettings settings = userSettings();
    settings.setValue(QStringLiteral("server/host"), server.host);
    settings.setValue(QStringLiteral("server/port"), server.port);
    settings.setValue(QStringLiteral("server/database"), server.database);
    settings.setValue(QStringLiteral("server/user"), server.user);
    settings.setValue(QStringLiteral("server/sslmode"), server.sslMode);
    settings.setValue(QStringLiteral("server/sslrootcert"), server.rootCertificate);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw StoreError(QStringLiteral("設定ファイル %1 に書き込めません。"
                                        "フォルダに書き込みの権限があるか確認してください。")
                             .arg(settings.fileName()));
}

QString connectionRefusal(const ServerConnection& server)
{
    // The names go on into libpq's and the data source's settings, where a line break or other
    // control character would start a setting of its own.
    for (const QString* name : {&server.host, &server.database, &server.user, &server.password,
                                &server.rootCertificate}) {
        if (std::any_of(name->cbegin(), name->cend(),
                        [](QChar c) { return c.category() == QChar::Other_Control; }))
            return QStringLiteral("ホスト、データベース、ユーザーに使えない文字が含まれています。");
    }
    if (server.database.trimmed().isEmpty())
        return QStringLiteral("データベース名を入力してください。");
    if (server.port < 1 || server.port > 65535)
        return QStringLiteral("ポート番号は 1 から 65535 の間で入力してください。");
    // The driver reads ";" as the end of an option.
    if (server.rootCertificate.contains(u';'))
        return QStringLiteral("証明書ファイルの名前に「;」は使えません。");
    if (server.sslMode == QLatin1String("verify-full") && server.rootCertificate.isEmpty())
        return QStringLiteral("サーバーを確かめるには、認証局の証明書ファイルを指定してください。");
    return {};
}

ConnectionTest testConnection(const ServerConnection& server)
{
    try {
        Database db(server);
        switch (serverState(db)) {
        case ServerState::Empty:
            return {true, QStringLiteral("接続できました。データベースは空です。"
                                         "この接続先で起動すると、ヌビラの表を作成します。")};
        case ServerState::Older:
            return {true, QStringLiteral("接続できました。データベースは古い版です。"
                                         "この接続先で起動すると、最新の版（版 %1）に更新します。")
                              .arg(currentSchemaVersion())};
        case ServerState::Current:
            break;
        }
        return {true, QStringLiteral("接続できました。")};
    } catch (const StoreError& error) {
        return {false, QStringLiteral("接続できませんでした。\n") + error.message()};
    }
}

void savePassword(const ServerConnection& server)
{
    // host:port:database:user:password, with ":" and "\\" escaped; a Unix socket is "localhost".
    const auto field = [](QString text) {
        return text.replace(u'\\', QLatin1String("\\\\")).replace(u':', QLatin1String("\\:"));
    };
    const QString key =
        QStringList{field(server.host.isEmpty() ? QStringLiteral("localhost") : server.host),
                    QString::number(server.port), field(server.database), field(server.user)}
            .join(u':') +
        u':';
    const QString path = passwordFile();
    QStringList lines;
    if (QFile file(path); file.open(QIODevice::ReadOnly | QIODevice::Text))
        lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    lines.removeIf([&key](const QString& line) { return line.startsWith(key); });
    lines << key + field(server.password);
    QString error;
    const bool written = writeWholeFile(
        path,
        [&lines](QIODevice& file) {
            // libpq reads the file only while it is its owner's alone.
            static_cast<QFileDevice&>(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
            return file.write((lines.join(u'\n') + u'\n').toUtf8()) >= 0;
        },
        &error);
    if (!written)
        throw StoreError(
            QStringLiteral("パスワードファイル %1 に書き込めません。\n%2").arg(path, error));
}
