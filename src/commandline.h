#pragma once

#include <QString>
#include <QStringList>

// What the program was asked to do on its command line.
struct CommandLine
{
    enum class Action { Start, PrintHelp, PrintBetaUsage };

    Action action = Action::Start;
    bool beta = false;            // "-beta <auth host> <api host>"
    QString betaAuthHost;
    QString betaApiHost;
    bool handleFiles = false;     // false without file arguments or with "-updcomp"
    QString voiceCommentFile;     // "-o"
    bool zip = false;             // "-z": files go up in one archive
    QStringList files;
    QStringList ignoredScreenshots;
};

// Decided from the raw arguments (element 0 is the program path), before anything needs
// a display or the data folder.
CommandLine parseCommandLine(const QStringList &arguments);

QStringList helpLines();
QStringList betaUsageLines();
QStringList betaBannerLines(const QString &authHost, const QString &apiHost);

// Another desktop's temporary screenshot files, which never go up as plain files.
bool isForeignTemporaryScreenshot(const QString &path);
