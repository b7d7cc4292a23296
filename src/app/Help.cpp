#include "Help.h"

#include <QHash>

#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

QPointer<frmHelp> gfrmHelp;

namespace {

constexpr int kAnchorRole = Qt::UserRole;

} // namespace

frmHelp::frmHelp(const QString& helpFile, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_tabs(new QTabWidget(this))
    , m_contents(new QListWidget(this))
    , m_search(new QLineEdit(this))
    , m_keywords(new QListWidget(this))
    , m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("frmHelp"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("ヌビラ ヘルプ"));
    resize(860, 600);

    auto* index = new QWidget(this);
    auto* indexLayout = new QVBoxLayout(index);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    m_search->setPlaceholderText(QStringLiteral("キーワードを入力してください"));
    indexLayout->addWidget(m_search);
    indexLayout->addWidget(m_keywords);
    m_tabs->addTab(m_contents, QStringLiteral("目次"));
    m_tabs->addTab(index, QStringLiteral("キーワード"));

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 3);
    splitter->setSizes({220, 640});
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);

    QFile file(helpFile);
    if (file.open(QIODevice::ReadOnly)) {
        const QString html = QString::fromUtf8(file.readAll());
        m_topics = readTopics(html);
        m_browser->setHtml(html);
        m_loaded = true;
    } else {
        m_browser->setHtml(QStringLiteral("<p>ヘルプファイル %1 を開けません。</p>")
                               .arg(helpFile.toHtmlEscaped()));
    }

    for (const Topic& topic : m_topics) {
        auto* item = new QListWidgetItem(topic.title, m_contents);
        item->setData(kAnchorRole, topic.anchor);
        for (const QString& keyword : topic.keywords) {
            auto* entry = new QListWidgetItem(keyword, m_keywords);
            entry->setData(kAnchorRole, topic.anchor);
        }
    }
    m_keywords->sortItems();

    const auto go = [this](QListWidgetItem* item) {
        if (item)
            m_browser->scrollToAnchor(item->data(kAnchorRole).toString());
    };
    connect(m_contents, &QListWidget::itemActivated, this, go);
    connect(m_contents, &QListWidget::itemClicked, this, go);
    connect(m_keywords, &QListWidget::itemActivated, this, go);
    connect(m_keywords, &QListWidget::itemClicked, this, go);
    connect(m_search, &QLineEdit::textChanged, this, &frmHelp::filterKeywords);
    connect(m_search, &QLineEdit::returnPressed, this, [this, go] {
        for (int i = 0; i < m_keywords->count(); ++i) {
            if (!m_keywords->item(i)->isHidden())
                return go(m_keywords->item(i));
        }
    });
}

QList<frmHelp::Topic> frmHelp::readTopics(const QString& html)
{
    static const QRegularExpression topic(QStringLiteral(
        R"re(<h2><a name="([^"]+)"></a>([^<]*)</h2>\s*(?:<!--\s*keywords:([^>]*)-->)?)re"));
    QList<Topic> topics;
    for (const QRegularExpressionMatch& m : topic.globalMatch(html)) {
        QStringList keywords;
        for (const QString& keyword : m.captured(3).remove(QStringLiteral("--")).split(u','))
            if (!keyword.trimmed().isEmpty())
                keywords << keyword.trimmed();
        topics.append({m.captured(1), m.captured(2).trimmed(), keywords});
    }
    return topics;
}

void frmHelp::showContents()
{
    m_tabs->setCurrentIndex(0);
    m_contents->setFocus();
}

void frmHelp::showTopic(const QString& anchor)
{
    showContents();
    for (int i = 0; i < m_contents->count(); ++i) {
        if (m_contents->item(i)->data(kAnchorRole).toString() == anchor) {
            m_contents->setCurrentRow(i);
            m_browser->scrollToAnchor(anchor);
            return;
        }
    }
}

QString frmHelp::topicOf(const QWidget* widget)
{
    static const QHash<QString, QString> topics{
        {QStringLiteral("frmStaff"), QStringLiteral("staff")},
        {QStringLiteral("frmJyouken"), QStringLiteral("condition")},
        {QStringLiteral("frmKintaiEnt1"), QStringLiteral("timesheet")},
        {QStringLiteral("frmKensaku"), QStringLiteral("timesheet")},
        {QStringLiteral("frmInsatu"), QStringLiteral("print")},
        {QStringLiteral("frmCalendar"), QStringLiteral("calendar")},
        {QStringLiteral("frmPayroll"), QStringLiteral("payroll")},
        {QStringLiteral("frmHistory"), QStringLiteral("monthend")},
        {QStringLiteral("frmYukyu"), QStringLiteral("leave")},
        {QStringLiteral("frmYukyu5"), QStringLiteral("leave")},
        {QStringLiteral("frmHoutei"), QStringLiteral("law")},
        {QStringLiteral("frmKyotei"), QStringLiteral("law")},
        {QStringLiteral("frmPayrollLayout"), QStringLiteral("law")},
        {QStringLiteral("frmConnection"), QStringLiteral("connection")},
        {QStringLiteral("frmAbout"), QStringLiteral("version")},
    };
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (const auto found = topics.constFind(w->objectName()); found != topics.constEnd())
            return *found;
    }
    return QStringLiteral("overview");
}

void frmHelp::showKeywordIndex(const QString& keyword)
{
    m_tabs->setCurrentIndex(1);
    m_search->setText(keyword);
    filterKeywords(keyword);
    m_search->setFocus();
}

void frmHelp::filterKeywords(const QString& text)
{
    for (int i = 0; i < m_keywords->count(); ++i) {
        QListWidgetItem* item = m_keywords->item(i);
        item->setHidden(!item->text().startsWith(text, Qt::CaseInsensitive));
    }
}
