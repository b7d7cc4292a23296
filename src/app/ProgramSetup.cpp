#include "ProgramSetup.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool installJapaneseTranslation()
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(qApp);
    if (!translator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

void installFontSubstitutes()
{
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"));
}

void setProgramIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("nubira"));
    QCoreApplication::setApplicationVersion(QStringLiteral(NUBIRA_VERSION));
    // The domain names the desktop entry; the user data folder stays ~/.local/share/nubira,
    // as no organisation name is set.
    QCoreApplication::setOrganizationDomain(QStringLiteral("nubira.jp"));
    QGuiApplication::setDesktopFileName(QStringLiteral("jp.nubira.Nubira"));
}
