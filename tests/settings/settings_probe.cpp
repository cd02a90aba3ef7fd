// Opens the settings store as the program does at start, then prints what it found and
// writes what it is told: "settings_probe [--busy-timeout=<ms>] <key to read> [<key> <value>]...". Every
// problem the store reports comes out as a line "problem: <text>", the read value as
// "<key>=<value>".

#include "settings/setting.h"
#include "settings/sqldatabase.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const QString busyTimeout = QStringLiteral("--busy-timeout=");
    if (args.value(1).startsWith(busyTimeout))
        SqlDatabase::setBusyTimeoutMs(args.takeAt(1).mid(busyTimeout.size()).toInt());
    if (args.size() < 2)
        return 2;
    QTextStream out(stdout);
    Setting *settings = Setting::instance();
    out << args.at(1) << '=' << settings->getValue(args.at(1)).toString() << Qt::endl;
    for (int i = 2; i + 1 < args.size(); i += 2)
        settings->setValue(args.at(i), args.at(i + 1));
    settings->sync();
    QCoreApplication::processEvents(); // write failures arrive as queued signals
    for (const QString &problem : settings->takeProblems())
        out << "problem: " << problem << Qt::endl;
    return 0;
}
