#include "commandline.h"

namespace {

const QString helpSwitch = QStringLiteral("-help");
const QString betaSwitch = QStringLiteral("-beta");
const QString afterUpdateSwitch = QStringLiteral("-updcomp");
const QString voiceCommentSwitch = QStringLiteral("-o");
const QString zipSwitch = QStringLiteral("-z");

// Switches the usage lists or the program acts on: never file names.
bool isSwitch(const QString &argument)
{
    static const QStringList switches = {
        helpSwitch, betaSwitch, afterUpdateSwitch, voiceCommentSwitch, zipSwitch,
        QStringLiteral("-full-screen"), QStringLiteral("-quick-screen"), QStringLiteral("-screen"),
    };
    return switches.contains(argument);
}

// The arguments after the program path, without switches and the two "-beta" values.
QStringList fileArguments(const QStringList &arguments, const CommandLine &line)
{
    QStringList files;
    const int betaAt = line.beta ? arguments.indexOf(betaSwitch) : -1;
    for (int i = 1; i < arguments.size(); ++i) {
        if (betaAt > 0 && i > betaAt && i <= betaAt + 2)
            continue;
        if (!isSwitch(arguments.at(i)))
            files.append(arguments.at(i));
    }
    return files;
}

void readBeta(const QStringList &arguments, CommandLine &line)
{
    const int at = arguments.indexOf(betaSwitch);
    if (at < 0)
        return;
    if (at + 2 >= arguments.size()) {
        line.action = CommandLine::Action::PrintBetaUsage;
        return;
    }
    line.beta = true;
    line.betaAuthHost = arguments.at(at + 1);
    line.betaApiHost = arguments.at(at + 2);
}

void readFiles(const QStringList &arguments, CommandLine &line)
{
    const QStringList files = fileArguments(arguments, line);
    if (arguments.contains(voiceCommentSwitch)) {
        line.voiceCommentFile = files.value(0);
        return;
    }
    if (arguments.contains(zipSwitch)) {
        line.zip = true;
        line.files = files;
        return;
    }
    for (const QString &file : files) {
        if (isForeignTemporaryScreenshot(file))
            line.ignoredScreenshots.append(file);
        else
            line.files.append(file);
    }
}

} // namespace

bool isForeignTemporaryScreenshot(const QString &path)
{
    return path.contains(QLatin1String("screencaptureui"))
        && (path.contains(QLatin1String("/TemporaryItems/")) || path.contains(QLatin1String("/var/folders/")));
}

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine line;
    if (arguments.size() < 2)
        return line;
    if (arguments.contains(helpSwitch)) {
        line.action = CommandLine::Action::PrintHelp;
        return line;
    }
    readBeta(arguments, line);
    if (line.action != CommandLine::Action::Start || arguments.contains(afterUpdateSwitch))
        return line;
    line.handleFiles = true;
    readFiles(arguments, line);
    return line;
}

QStringList helpLines()
{
    return {
        QStringLiteral("Mavu help -----------------------------"),
        QStringLiteral("-full-screen - capture full screen"),
        QStringLiteral("-quick-screen - capture screen and send to mavu"),
        QStringLiteral("-screen - capture fragment screen"),
        QStringLiteral("<filename> - send file to mavu"),
        QStringLiteral("<filename> -z - send file to mavu in zip"),
    };
}

QStringList betaUsageLines()
{
    return {
        QStringLiteral("Mavu beta help -----------------------------"),
        QStringLiteral("-beta <auth url> <api url> - for use beta server"),
    };
}

QStringList betaBannerLines(const QString &authHost, const QString &apiHost)
{
    return {
        QStringLiteral("!!!!!!! ------------------- START BETA MODE --------------------- !!!!!!"),
        QStringLiteral("!!!!!!! ------------------- ") + authHost + QLatin1Char(' ') + apiHost
            + QStringLiteral("  --------------------- !!!!!!"),
    };
}
