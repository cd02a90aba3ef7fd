#include "commandline.h"

#include <QTest>

namespace {
CommandLine parse(const QStringList &arguments)
{
    return parseCommandLine(QStringList{"/usr/bin/mavu"} + arguments);
}
} // namespace

class CommandLineTest : public QObject
{
    Q_OBJECT
private slots:
    void noArguments_startsWithoutFiles()
    {
        const CommandLine line = parse({});
        QCOMPARE(line.action, CommandLine::Action::Start);
        QVERIFY(!line.handleFiles);
    }

    void help_anywhereWinsOverEverything()
    {
        QCOMPARE(parse({"a.png", "-help"}).action, CommandLine::Action::PrintHelp);
        QCOMPARE(parse({"-beta", "A", "B", "-help"}).action, CommandLine::Action::PrintHelp);
        QCOMPARE(parse({"-beta", "-help"}).action, CommandLine::Action::PrintHelp);
    }

    void helpInOtherCase_isAFileName()
    {
        const CommandLine line = parse({"-Help"});
        QCOMPARE(line.action, CommandLine::Action::Start);
        QCOMPARE(line.files, QStringList{"-Help"});
    }

    void betaWithOneValue_printsBetaUsage()
    {
        QCOMPARE(parse({"-beta", "A"}).action, CommandLine::Action::PrintBetaUsage);
        QCOMPARE(parse({"x.png", "-beta"}).action, CommandLine::Action::PrintBetaUsage);
    }

    void betaValues_setHostsAndNeverBecomeFiles()
    {
        const CommandLine line = parse({"-beta", "A", "B", "x.png"});
        QVERIFY(line.beta);
        QCOMPARE(line.betaAuthHost, QStringLiteral("A"));
        QCOMPARE(line.betaApiHost, QStringLiteral("B"));
        QCOMPARE(line.files, QStringList{"x.png"});
    }

    void usageSwitches_areNotUploaded()
    {
        const CommandLine line = parse({"-full-screen", "-quick-screen", "-screen", "a.png"});
        QCOMPARE(line.files, QStringList{"a.png"});
    }

    void afterUpdate_handlesNoFiles()
    {
        const CommandLine line = parse({"x.png", "-updcomp"});
        QVERIFY(!line.handleFiles);
        QVERIFY(line.files.isEmpty());
    }

    void voiceComment_isTheFileBesideTheSwitch_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("file first") << QStringList{"x.zia", "-o"};
        QTest::newRow("switch first") << QStringList{"-o", "x.zia"};
        QTest::newRow("with zip") << QStringList{"-o", "x.zia", "-z"};
    }

    void voiceComment_isTheFileBesideTheSwitch()
    {
        QFETCH(QStringList, arguments);
        const CommandLine line = parse(arguments);
        QCOMPARE(line.voiceCommentFile, QStringLiteral("x.zia"));
        QVERIFY(!line.zip);
    }

    void zip_takesEveryOtherArgumentInOrder()
    {
        const CommandLine line = parse({"a.png", "-z", "b.png"});
        QVERIFY(line.zip);
        QCOMPARE(line.files, (QStringList{"a.png", "b.png"}));
    }

    void zipAlone_givesAnEmptyList()
    {
        const CommandLine line = parse({"-z"});
        QVERIFY(line.zip);
        QVERIFY(line.handleFiles);
        QVERIFY(line.files.isEmpty());
    }

    void foreignTemporaryScreenshot_droppedFromPlainUploadOnly()
    {
        const QString foreign = "/var/folders/x/screencaptureui_1/shot.png";
        const CommandLine plain = parse({foreign, "a.png"});
        QCOMPARE(plain.files, QStringList{"a.png"});
        QCOMPARE(plain.ignoredScreenshots, QStringList{foreign});
        QCOMPARE(parse({foreign, "-z"}).files, QStringList{foreign});
        QVERIFY(!isForeignTemporaryScreenshot("/home/u/screencaptureui.png"));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
