// Writes the setting given on the command line and quits right away.

#include "settings/setting.h"

#include <QCoreApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    for (int i = 0; i < 200; ++i)
        Setting::instance()->setValue(args.at(1) + QString::number(i), args.at(2));
    Setting::instance()->setValue(args.at(1), args.at(2));
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
