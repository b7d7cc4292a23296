#include "frmConnection.h"

#include "Messages.h"
#include "ServerSettings.h"
#include "StoreError.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QLineEdit* namedField(const char* name, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    return field;
}

} // namespace

frmConnection::frmConnection(QWidget* parent)
    : QDialog(parent)
    , m_embedded(new QRadioButton(QStringLiteral("このパソコンのデータベースファイル"), this))
    , m_server(new QRadioButton(QStringLiteral("PostgreSQL サーバー"), this))
    , m_host(namedField("txt_host", this))
    , m_port(new QSpinBox(this))
    , m_database(namedField("txt_database", this))
    , m_user(namedField("txt_user", this))
    , m_password(namedField("txt_password", this))
    , m_savePassword(
          new QCheckBox(QStringLiteral("パスワードファイル（~/.pgpass）に保存する"), this))
    , m_sslMode(new QComboBox(this))
    , m_rootCertificate(namedField("txt_sslrootcert", this))
{
    setObjectName(QStringLiteral("frmConnection"));
    setWindowTitle(QStringLiteral("接続先設定"));
    m_embedded->setObjectName(QStringLiteral("opt_embedded"));
    m_server->setObjectName(QStringLiteral("opt_server"));
    m_port->setObjectName(QStringLiteral("txt_port"));
    m_port->setRange(1, 65535);
    m_host->setPlaceholderText(QStringLiteral("空欄: このパソコンのサーバー"));
    m_user->setPlaceholderText(QStringLiteral("空欄: ログインしているユーザー"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setPlaceholderText(QStringLiteral("空欄: パスワードファイルのもの"));
    m_savePassword->setObjectName(QStringLiteral("chk_savePassword"));
    m_sslMode->setObjectName(QStringLiteral("cmb_sslmode"));
    m_sslMode->addItem(QStringLiteral("できれば暗号化する（prefer）"), QStringLiteral("prefer"));
    m_sslMode->addItem(QStringLiteral("必ず暗号化する（require）"), QStringLiteral("require"));
    m_sslMode->addItem(QStringLiteral("暗号化してサーバーを確かめる（verify-full）"),
                       QStringLiteral("verify-full"));
    m_rootCertificate->setPlaceholderText(QStringLiteral("verify-full: 認証局の証明書ファイル"));

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("ホスト:"), m_host);
    fields->addRow(QStringLiteral("ポート:"), m_port);
    fields->addRow(QStringLiteral("データベース:"), m_database);
    fields->addRow(QStringLiteral("ユーザー:"), m_user);
    fields->addRow(QStringLiteral("パスワード:"), m_password);
    fields->addRow(QString(), m_savePassword);
    fields->addRow(QStringLiteral("暗号化:"), m_sslMode);
    fields->addRow(QStringLiteral("証明書:"), m_rootCertificate);
    auto* note = new QLabel(QStringLiteral("パスワードは設定には保存しません。保存するときは、"
                                           "本人だけが読めるパスワードファイルに書きます。"),
                            this);
    note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* test =
        buttons->addButton(QStringLiteral("接続テスト(&T)"), QDialogButtonBox::ActionRole);
    test->setObjectName(QStringLiteral("cmd_test"));
    QPushButton* save =
        buttons->addButton(QStringLiteral("保存(&S)"), QDialogButtonBox::AcceptRole);
    save->setObjectName(QStringLiteral("cmd_save"));
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmd_cancel"));
    connect(test, &QPushButton::clicked, this, &frmConnection::cmd_test_Click);
    connect(save, &QPushButton::clicked, this, &frmConnection::cmd_save_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_embedded);
    layout->addWidget(m_server);
    layout->addLayout(fields);
    layout->addWidget(note);
    layout->addWidget(buttons);

    const ServerConnection stored = loadServerConnection();
    m_host->setText(stored.host);
    m_port->setValue(stored.port);
    m_database->setText(stored.database);
    m_user->setText(stored.user);
    m_rootCertificate->setText(stored.rootCertificate);
    m_sslModeChosen = !stored.sslMode.isEmpty();
    m_sslMode->setCurrentIndex(m_sslMode->findData(stored.effectiveSslMode()));
    connect(m_sslMode, &QComboBox::activated, this, [this] { m_sslModeChosen = true; });
    connect(m_host, &QLineEdit::textEdited, this, [this] {
        if (!m_sslModeChosen)
            m_sslMode->setCurrentIndex(m_sslMode->findData(connection().effectiveSslMode()));
    });
    (stored.isSet() ? m_server : m_embedded)->setChecked(true);
    connect(m_server, &QRadioButton::toggled, this, &frmConnection::showChoice);
    showChoice();
    (stored.isSet() ? static_cast<QWidget*>(m_host) : m_embedded)->setFocus();
    resize(sizeHint().expandedTo(QSize(420, 0)));
}

ServerConnection frmConnection::connection() const
{
    if (!m_server->isChecked())
        return {};
    ServerConnection server{m_host->text().trimmed(), m_port->value(), m_database->text().trimmed(),
                            m_user->text().trimmed()};
    if (m_sslModeChosen)
        server.sslMode = m_sslMode->currentData().toString();
    server.rootCertificate = m_rootCertificate->text().trimmed();
    server.password = m_password->text();
    return server;
}

void frmConnection::showChoice()
{
    for (QWidget* field :
         std::initializer_list<QWidget*>{m_host, m_port, m_database, m_user, m_password,
                                         m_savePassword, m_sslMode, m_rootCertificate})
        field->setEnabled(m_server->isChecked());
}

void frmConnection::cmd_test_Click()
{
    const ServerConnection server = connection();
    if (!m_server->isChecked()) {
        ShowMsg(kMsgInformation, QStringLiteral("このパソコンのデータベースファイルを使います。"));
        return;
    }
    if (const QString refusal = connectionRefusal(server); !refusal.isEmpty()) {
        ShowMsg(kMsgError, refusal);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ConnectionTest result = testConnection(server);
    QApplication::restoreOverrideCursor();
    ShowMsg(result.ok ? kMsgInformation : kMsgError, result.message);
}

void frmConnection::cmd_save_Click()
{
    const ServerConnection server = connection();
    if (m_server->isChecked()) {
        if (const QString refusal = connectionRefusal(server); !refusal.isEmpty()) {
            ShowMsg(kMsgError, refusal);
            return;
        }
    }
    try {
        saveServerConnection(server);
        if (m_server->isChecked() && m_savePassword->isChecked() && !server.password.isEmpty())
            savePassword(server);
    } catch (const StoreError& error) {
        ShowMsg(kMsgError, error.message());
        return;
    }
    ShowMsg(kMsgInformation,
            QStringLiteral("保存しました。次回の起動から、この接続先を使います。"));
    accept();
}

bool editConnectionSettings(QWidget* owner)
{
    frmConnection dialog(owner);
    return dialog.exec() == QDialog::Accepted;
}
