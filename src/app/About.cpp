#include "About.h"

#include "Messages.h"
#include "Placement.h"
#include "ScreenParts.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

QPointer<frmAbout> gfrmAbout;

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setWindowIcon(programIcon());
    const auto px = [this](int twips) { return twipsToPixels(twips, this); };
    setFixedSize(px(6360), px(4125));

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(programIcon().pixmap(px(480), px(480)));
    image->setGeometry(px(240), px(240), px(480), px(480));

    addProductTitle(this, QRect(px(2085), px(570), px(4035), px(780)));
    auto* version = new QLabel(
        QStringLiteral("バージョン %1").arg(QCoreApplication::applicationVersion()), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setGeometry(px(2085), px(1440), px(4035), px(300));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setGeometry(px(4575), px(3165), px(1380), px(345));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* sysInfo = new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    sysInfo->setGeometry(px(4590), px(3615), px(1380), px(345));
    sysInfo->setAutoDefault(false);
    connect(sysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);

    setTabOrder(ok, sysInfo);
    ok->setFocus();
}

QStringList frmAbout::systemInfoPrograms()
{
    return {QStringLiteral("hardinfo"),
            QStringLiteral("hardinfo2"),
            QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"),
            QStringLiteral("mate-system-monitor"),
            QStringLiteral("xfce4-taskmanager")};
}

void frmAbout::StartSysInfo()
{
    for (const QString& program : systemInfoPrograms()) {
        const QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty() && QProcess::startDetached(path, {}))
            return;
    }
    showPlainMsg(QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
}

void frmAbout::showEvent(QShowEvent* event)
{
    placeCentred(this);
    QDialog::showEvent(event);
}
