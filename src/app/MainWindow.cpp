#include "MainWindow.h"

#include "About.h"
#include "ChildScreens.h"
#include "Common.h"
#include "Help.h"
#include "Messages.h"
#include "ScreenParts.h"
#include "frmConnection.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>

QPointer<frmMDIForm> gMDIForm;

namespace {

QAction* addCommand(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

void addSeparator(QMenu* menu, const char* name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

} // namespace

frmMDIForm::frmMDIForm(const QString& helpFile, QWidget* parent)
    : QMainWindow(parent)
    , m_mdiArea(new QMdiArea(this))
    , m_helpFile(helpFile)
{
    setObjectName(QStringLiteral("frmMDIForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(appTitle());
    setWindowIcon(programIcon());
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    m_mdiArea->setBackground(QColor(128, 128, 128));
    // A screen larger than the working area, at a large screen scale, is scrolled to.
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    resize(QSize(1024, 768).boundedTo(shown->availableGeometry().size() * 0.95));

    QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    file->setObjectName(QStringLiteral("m_file"));
    connect(addCommand(file, "m_dataOut", QStringLiteral("ﾃﾞｰﾀ出力(&O)")), &QAction::triggered,
            this, &frmMDIForm::dataOutRequested);
    connect(addCommand(file, "m_dataIn", QStringLiteral("ﾃﾞｰﾀ取込(&I)")), &QAction::triggered, this,
            &frmMDIForm::dataInRequested);
    addSeparator(file, "m_blank1");
    connect(addCommand(file, "m_Quit", QStringLiteral("終了(&X)")), &QAction::triggered, this,
            &QWidget::close);
    addSeparator(file, "m_blank2");
    connect(addCommand(file, "m_payroll", QStringLiteral("給与データ出力(&P)")),
            &QAction::triggered, this, &frmMDIForm::payrollRequested);
    connect(addCommand(file, "m_connection", QStringLiteral("接続先設定(&C)")), &QAction::triggered,
            this, [this] { editConnectionSettings(this); });

    QMenu* kintai = menuBar()->addMenu(QStringLiteral("勤怠管理(&K)"));
    kintai->setObjectName(QStringLiteral("m_kintai"));
    connect(addCommand(kintai, "m_input", QStringLiteral("勤怠入力(&N)")), &QAction::triggered,
            this, &frmMDIForm::inputRequested);
    connect(addCommand(kintai, "m_print", QStringLiteral("出勤表印刷(&P)")), &QAction::triggered,
            this, &frmMDIForm::printRequested);
    connect(addCommand(kintai, "m_staff", QStringLiteral("ｽﾀｯﾌ登録(&M)")), &QAction::triggered,
            this, &frmMDIForm::staffRequested);
    connect(addCommand(kintai, "m_calendar", QStringLiteral("会社カレンダー(&C)")),
            &QAction::triggered, this, &frmMDIForm::calendarRequested);
    addSeparator(kintai, "m_blank3");
    connect(addCommand(kintai, "m_yukyu", QStringLiteral("有給休暇管理簿(&Y)")),
            &QAction::triggered, this, &frmMDIForm::leaveLedgerRequested);
    connect(addCommand(kintai, "m_yukyu5", QStringLiteral("年5日取得状況(&G)")),
            &QAction::triggered, this, &frmMDIForm::fiveDayRequested);
    connect(addCommand(kintai, "m_houtei", QStringLiteral("法定労働時間の設定(&H)")),
            &QAction::triggered, this, &frmMDIForm::legalSettingsRequested);
    connect(addCommand(kintai, "m_kyotei", QStringLiteral("36協定一覧(&T)")), &QAction::triggered,
            this, &frmMDIForm::agreementMonitorRequested);

    QMenu* help = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help->setObjectName(QStringLiteral("m_help"));
    connect(addCommand(help, "m_mokuji", QStringLiteral("目次(&C)...")), &QAction::triggered, this,
            &frmMDIForm::helpContentsRequested);
    connect(addCommand(help, "m_keyword", QStringLiteral("ｷｰﾜｰﾄﾞ(&K)...")), &QAction::triggered,
            this, &frmMDIForm::helpKeywordRequested);
    addSeparator(help, "m_bar1");
    connect(addCommand(help, "m_var", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&V)...")), &QAction::triggered,
            this, &frmMDIForm::versionRequested);

    connect(this, &frmMDIForm::helpContentsRequested, this, [this] { showHelp()->showContents(); });
    connect(this, &frmMDIForm::helpKeywordRequested, this,
            [this] { showHelp()->showKeywordIndex(QString()); });
    // The version window stands on its own: closing the main window leaves it open.
    connect(this, &frmMDIForm::versionRequested, this,
            [] { showSingle(gfrmAbout, [] { return new frmAbout; }); });

    // Every screen's own access keys come first; F10 reaches the menus from any of them, as
    // on Windows, and F1 opens the help at the topic of the screen at work.
    auto* menus = new QShortcut(QKeySequence(Qt::Key_F10), this);
    menus->setObjectName(QStringLiteral("menuKey"));
    connect(menus, &QShortcut::activated, this,
            [this, file] { menuBar()->setActiveAction(file->menuAction()); });
    auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    helpKey->setContext(Qt::ApplicationShortcut);
    connect(helpKey, &QShortcut::activated, this, [this] {
        QWidget* at = QApplication::focusWidget() ? QApplication::focusWidget()
                                                  : QApplication::activeWindow();
        showHelp()->showTopic(frmHelp::topicOf(at));
    });

    gMDIForm = this;
}

frmHelp* frmMDIForm::showHelp()
{
    return showSingle(gfrmHelp, [this] { return new frmHelp(m_helpFile, this); });
}

void frmMDIForm::closeEvent(QCloseEvent* event)
{
    // Every child screen closes first, through its own close handling.
    m_mdiArea->closeAllSubWindows();
    if (!m_mdiArea->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    DbClose();
    gMDIForm.clear();
    event->accept();
}

void frmMDIForm::comeForward()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}
