// Creates an empty database file at the given path unless a file is already there.

#include "Schema.h"
#include "StoreError.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: nubira-mkdb PATH\n";
        return 2;
    }
    if (QFileInfo::exists(args.at(1)))
        return 0;
    try {
        createDatabase(args.at(1));
        QTextStream(stdout) << "created " << args.at(1) << '\n';
        return 0;
    } catch (const StoreError& error) {
        err << error.message() << '\n';
        return 1;
    }
}
