#include "settings/setting.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mavu"));
    QApplication::setApplicationVersion(QStringLiteral("3.1.51"));
    QApplication::setQuitOnLastWindowClosed(false);
    Setting::instance()->checkTranslate();
    return app.exec();
}
