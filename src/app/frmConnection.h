#pragma once

#include "ServerConnection.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

// 接続先設定: where the program keeps its data, the embedded file or an office's PostgreSQL
// server. Saved to the user's settings; the choice takes effect at the next start.
class frmConnection : public QDialog {
    Q_OBJECT

public:
    explicit frmConnection(QWidget* parent = nullptr);

    // The connection as the fields stand; unset when the embedded file is chosen.
    ServerConnection connection() const;

private:
    void showChoice();
    void cmd_test_Click();
    void cmd_save_Click();

    QRadioButton* m_embedded;
    QRadioButton* m_server;
    QLineEdit* m_host;
    QSpinBox* m_port;
    QLineEdit* m_database;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QCheckBox* m_savePassword;
    QComboBox* m_sslMode;
    QLineEdit* m_rootCertificate;
    bool m_sslModeChosen = false; // else it follows the host: require for another machine
};

// Shows the connection settings over owner; true when they were saved.
bool editConnectionSettings(QWidget* owner);
