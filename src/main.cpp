#include "commandline.h"
#include "core.h"
#include "network/cafile.h"
#include "settings/debuglog.h"
#include "settings/setting.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFontDatabase>
#include <QQuickWindow>
#include <QTimer>
#include <QTextStream>

#include <clocale>
#include <csignal>

namespace {

void printLines(const QStringList &lines)
{
    QTextStream out(stdout);
    for (const QString &line : lines)
        out << line << Qt::endl;
}

QStringList rawArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

void handOverFiles(const CommandLine &line)
{
    if (!line.handleFiles)
        return;
    for (const QString &ignored : line.ignoredScreenshots)
        qCDebug(lcMavu) << "int main(int, char**)" << "Ignoring macOS temporary screenshot:" << ignored;
    qCDebug(lcMavu) << "int main(int, char**)" << QCoreApplication::arguments() << line.files;
    if (!line.voiceCommentFile.isEmpty())
        Core::instance()->openAudioImage(line.voiceCommentFile);
    else if (line.zip)
        Core::instance()->uploadDataZip(line.files);
    else if (!line.files.isEmpty())
        Core::instance()->uploadData(line.files);
}

// A service of the user's own, such as the local one that scripts/run.sh starts: the
// authority of its certificate and its support host come from the environment.
void useServiceEnvironment()
{
    const QString caFile = qEnvironmentVariable("MAVU_CA_FILE");
    if (!caFile.isEmpty())
        addTrustedCaFile(caFile);
    const QString supportHost = qEnvironmentVariable("MAVU_SUPPORT_HOST");
    if (!supportHost.isEmpty())
        Core::instance()->setSupportHost(supportHost);
}

} // namespace

void installFont()
{
    const QString folder = QStringLiteral(":/font/font/");
    for (const QString &entry : QDir(folder).entryList()) {
        if (QFontDatabase::addApplicationFont(folder + entry) < 0)
            qCDebug(lcMavu) << "void installFont()" << "can`t add " << entry;
    }
}

void checkLanguage()
{
    Setting::instance()->checkTranslate();
}

int main(int argc, char *argv[])
{
    std::setlocale(LC_ALL, "");
    // Under a file-size limit, a write past it fails (EFBIG) and is reported by its writer
    // instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    const CommandLine line = parseCommandLine(rawArguments(argc, argv));
    // Usage texts need neither a display nor the data folder.
    if (line.action == CommandLine::Action::PrintHelp) {
        printLines(helpLines());
        return 0;
    }
    if (line.action == CommandLine::Action::PrintBetaUsage) {
        printLines(betaUsageLines());
        return 0;
    }

    QApplication app(argc, argv);
    // Before any window: the pages and the capture overlay draw with the CPU. On the servers
    // this program meets, a GL context per window costs more time and memory than it saves.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    installFont();
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationVersion(QStringLiteral("3.1.51"));
    QApplication::setApplicationName(QStringLiteral("Mavu"));
    qCDebug(lcMavu) << "SingleApplication disabled for debugging...";

    // The banner comes before Core is made, also when the environment names a service.
    if (line.beta)
        printLines(betaBannerLines(line.betaAuthHost, line.betaApiHost));
    useServiceEnvironment();
    if (line.beta) {
        Core::instance()->setHostUrl(line.betaApiHost);
        Core::instance()->setHostUrlAuth(line.betaAuthHost);
    }
    qCDebug(lcMavu) << "Calling Core::instance()->updateHook()...";
    Core::instance()->updateHook();
    qCDebug(lcMavu) << "Setting up signal/slot connections...";
    qCDebug(lcMavu) << "Processing command line arguments...";
    handOverFiles(line);
    qCDebug(lcMavu) << "Calling checkLanguage()...";
    checkLanguage();
    qCDebug(lcMavu) << "About to call checkAutorization()";
    Core::instance()->checkAutorization();
    QTimer::singleShot(0, Core::instance(), &Core::prepareOverlay);
    qCDebug(lcMavu) << "About to start main event loop with gApp.exec()";
    qCDebug(lcMavu) << "QApplication is valid, starting event loop...";
    return app.exec();
}
