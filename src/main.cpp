#include "commandline.h"
#include "core.h"
#include "network/cafile.h"
#include "platform/filearguments.h"
#include "settings/debuglog.h"
#include "settings/setting.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QQuickWindow>
#include <QTimer>

#include <clocale>
#include <csignal>

namespace {

void printLines(const QStringList &lines)
{
    for (const QString &line : lines)
        printLine(line);
}

// The arguments as bytes, taken before the application object takes Qt's own out of argv.
QList<QByteArray> argumentBytes(int argc, char *argv[])
{
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    return arguments;
}

QStringList decodedArguments(const QList<QByteArray> &bytes)
{
    QStringList arguments;
    for (const QByteArray &argument : bytes)
        arguments.append(QFile::decodeName(argument));
    return arguments;
}

// Files are handed over once Core has emptied the temporary folder, where the links to
// files with undecodable names are made.
void handOverFiles(const CommandLine &decoded, const QList<QByteArray> &bytes)
{
    if (!decoded.handleFiles)
        return;
    const CommandLine line = parseCommandLine(FileArguments::usableArguments(bytes));
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
    installDebugLineSink();
    // Under a file-size limit, a write past it fails (EFBIG) and is reported by its writer
    // instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    const QList<QByteArray> bytes = argumentBytes(argc, argv);
    const CommandLine line = parseCommandLine(decodedArguments(bytes));
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
    handOverFiles(line, bytes);
    qCDebug(lcMavu) << "Calling checkLanguage()...";
    checkLanguage();
    qCDebug(lcMavu) << "About to call checkAutorization()";
    // The sign-in is a stored value: a signed-in user is not asked to sign in on the defaults
    // while another program holds the settings file.
    Core *core = Core::instance();
    Setting::instance()->whenStoredValuesKnown(core, [core] { core->checkAutorization(); });
    QTimer::singleShot(0, Core::instance(), &Core::prepareOverlay);
    qCDebug(lcMavu) << "About to start main event loop with gApp.exec()";
    qCDebug(lcMavu) << "QApplication is valid, starting event loop...";
    return app.exec();
}
