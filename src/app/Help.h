#pragma once

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

// The help window over the help file: an HTML document whose topics are h2 headings with an
// anchor, each followed by a "keywords:" comment. It opens at its contents or at its keyword
// index.
class frmHelp : public QWidget {
    Q_OBJECT

public:
    struct Topic {
        QString anchor;
        QString title;
        QStringList keywords;
    };

    explicit frmHelp(const QString& helpFile, QWidget* parent = nullptr);

    static QList<Topic> readTopics(const QString& html);

    // False when the help file could not be read; the window then says so.
    bool isLoaded() const { return m_loaded; }
    void showContents();
    // The keyword index with the search text given (empty for the whole index).
    void showKeywordIndex(const QString& keyword);
    // The contents with the topic of that anchor chosen and shown.
    void showTopic(const QString& anchor);

    // The topic that explains the screen a widget belongs to; the overview for any other.
    static QString topicOf(const QWidget* widget);

    QListWidget* contentsList() const { return m_contents; }
    QListWidget* keywordList() const { return m_keywords; }
    QLineEdit* keywordSearch() const { return m_search; }

private:
    void filterKeywords(const QString& text);

    QList<Topic> m_topics;
    bool m_loaded = false;
    QTabWidget* m_tabs;
    QListWidget* m_contents;
    QLineEdit* m_search;
    QListWidget* m_keywords;
    QTextBrowser* m_browser;
};

extern QPointer<frmHelp> gfrmHelp;
