// Voice-comment files through the library the program loads ("zai.dll", copied beside
// this test), and the conversion of recordings into the sound they carry.

#include "../harness/files.h"
#include "app/audioimagefile.h"
#include "app/playbackpcm.h"

#include <QLibrary>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>

#include <new>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using ReadFunction = const char *(*)(const char *, int *);
using WriteFunction = int (*)(const char *, const char *, int, const char *, int);

const QByteArray pngSignature("\x89PNG\r\n\x1a\n", 8);
constexpr qint64 largestPicture = qint64(512) << 20;

// Random bytes that begin as a PNG file does, as every image part must.
QByteArray pictureBytes(int size)
{
    return pngSignature + randomBytes(size - 8);
}

// The highest memory use of this process so far.
qint64 peakMemory()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}

// The memory this process has for its data (the heap and its private writable mappings),
// as its data limit counts it.
qint64 dataMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmData:"))
            return line.mid(7).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}

template <typename Number>
QByteArray le(Number value)
{
    QByteArray bytes(sizeof value, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray le32(quint32 value) { return le(value); }
QByteArray le16(quint16 value) { return le(value); }

// A voice-comment file written by hand after the documented layout.
QByteArray header(quint32 imageSize, quint32 audioSize, quint32 version = 1)
{
    return QByteArray("ZIA\x1a", 4) + le32(version) + le32(imageSize) + le32(audioSize);
}

QByteArray voiceComment(const QByteArray &image, const QByteArray &audio, quint32 version = 1)
{
    return header(quint32(image.size()), quint32(audio.size()), version) + image + audio;
}

QByteArray wave(quint16 tag, int channels, int rate, int bits, const QByteArray &samples, bool extensible = false)
{
    QByteArray format = le16(extensible ? 0xfffe : tag) + le16(quint16(channels)) + le32(quint32(rate))
        + le32(quint32(rate * channels * bits / 8)) + le16(quint16(channels * bits / 8)) + le16(quint16(bits));
    if (extensible)
        format += le16(22) + le16(quint16(bits)) + le32(0) + le16(tag) + QByteArray(14, '\0');
    const QByteArray chunks = "fmt " + le32(quint32(format.size())) + format + "data" + le32(quint32(samples.size()))
        + samples;
    return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks;
}

// Frames of one value in every channel.
template <typename Sample>
QByteArray frames(int count, int channels, Sample value)
{
    return le(value).repeated(count * channels);
}

// In a child process: 0 when the file reads whole while its data may grow by no more than
// extra bytes, 2 when it runs out of memory. (Nothing of the test framework runs here: its
// other thread is not in the child.)
int readsWithin(const QString &file, qint64 extra, qsizetype imageSize, qsizetype audioSize)
{
    rlimit limit;
    getrlimit(RLIMIT_DATA, &limit);
    limit.rlim_cur = rlim_t(dataMemory() + extra);
    if (setrlimit(RLIMIT_DATA, &limit) != 0)
        return 1;
    try {
        AudioImageFile voice;
        voice.setFileName(file);
        const bool read = voice.readAll() && voice.imageData().size() == imageSize
            && voice.audioData().size() == audioSize;
        return read ? 0 : 1;
    } catch (const std::bad_alloc &) {
        return 2;
    }
}

} // namespace

class AudioImageFileTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    QLibrary m_library;

    QString path(const QString &name) const { return m_scratch.filePath(name); }

private slots:
    void initTestCase()
    {
        m_library.setFileName(QCoreApplication::applicationDirPath() + "/zai.dll");
        QVERIFY2(m_library.load(), qPrintable(m_library.errorString()));
    }

    void roundTrip_keepsBothPartsByteForByte_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QByteArray>("audio");
        QTest::newRow("both parts") << pictureBytes(70001) << randomBytes(96000);
        QTest::newRow("no audio") << pictureBytes(5000) << QByteArray();
        QTest::newRow("no image") << QByteArray() << randomBytes(1234);
    }

    void roundTrip_keepsBothPartsByteForByte()
    {
        QFETCH(QByteArray, image);
        QFETCH(QByteArray, audio);
        AudioImageFile written;
        written.setFileName(path("round trip.zia"));
        QVERIFY2(written.write(image, audio), qPrintable(written.errorString()));
        AudioImageFile read;
        read.setFileName(written.fileName());
        QVERIFY2(read.readAll(), qPrintable(read.errorString()));
        QCOMPARE(read.imageData(), image);
        QCOMPARE(read.audioData(), audio);
        QCOMPARE(readFile(written.fileName()), voiceComment(image, audio));
    }

    // A writer that wrote in place would leave the tail of the longer file behind, or a
    // half file after a failure; its temporary file must not stay either. Parts that a read
    // would refuse are refused before anything is written.
    void write_replacesTheWholeFileOrLeavesItAlone()
    {
        QDir().mkpath(path("replace"));
        const QString target = path("replace/comment.zia");
        AudioImageFile file;
        file.setFileName(target);
        QVERIFY(file.write(pictureBytes(50000), randomBytes(50000)));
        const QByteArray image = pictureBytes(10);
        const QByteArray audio = randomBytes(20);
        QVERIFY(file.write(image, audio));
        QVERIFY(file.readAll());
        QCOMPARE(file.audioData(), audio);

        const auto write = reinterpret_cast<WriteFunction>(m_library.resolve("write"));
        QVERIFY(write);
        QCOMPARE(write(target.toUtf8().constData(), "x", 1, "y", -1), 0);
        QCOMPARE(write(target.toUtf8().constData(), nullptr, 5, "y", 1), 0);
        QCOMPARE(write(target.toUtf8().constData(), "GIF89a", 6, "y", 1), 0);
        QByteArray tooLarge(largestPicture + 1, Qt::Uninitialized); // untouched: no memory taken
        tooLarge.replace(0, pngSignature.size(), pngSignature);
        QCOMPARE(write(target.toUtf8().constData(), tooLarge.constData(), int(tooLarge.size()), "y", 1), 0);
        QVERIFY(file.readAll());
        QCOMPARE(file.imageData(), image);
        QCOMPARE(QDir(path("replace")).entryList(QDir::Files), QStringList{"comment.zia"});
    }

    // A disk that fills up halfway, played by a file size limit.
    void write_failingHalfway_leavesTheEarlierFile()
    {
        const QString target = path("full disk.zia");
        AudioImageFile file;
        file.setFileName(target);
        const QByteArray image = pictureBytes(1000);
        QVERIFY(file.write(image, randomBytes(1000)));
        const bool written = [&file] {
            const FileSizeLimit limit(100000);
            return file.write(pictureBytes(150000), randomBytes(150000));
        }();
        QVERIFY(!written);
        QVERIFY(file.readAll());
        QCOMPARE(file.imageData(), image);
        QCOMPARE(QDir(m_scratch.path()).entryList({"full disk*"}, QDir::Files), QStringList{"full disk.zia"});
    }

    void write_intoAMissingFolder_isNotReportedAsWritten()
    {
        AudioImageFile file;
        file.setFileName(path("no/such/folder/comment.zia"));
        QVERIFY(!file.write(pictureBytes(100), "audio"));
        QCOMPARE(file.errorString(), "Can't write the voice comment " + file.fileName());
        QVERIFY(!QFile::exists(file.fileName()));
    }

    void damagedFile_givesAClearError_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::addColumn<qint64>("length"); // the file made that long (sparse), when not 0
        const QByteArray valid = voiceComment(pictureBytes(300), randomBytes(500));
        const QString damaged = "The voice comment %1 is damaged";
        const QString foreign = "%1 is not a voice comment";
        QTest::newRow("empty") << QByteArray() << -2 << foreign << qint64(0);
        QTest::newRow("garbage") << randomBytes(4096).prepend("GIF8") << -2 << foreign << qint64(0);
        QTest::newRow("later version") << voiceComment("i", "a", 2) << -2 << foreign << qint64(0);
        QTest::newRow("cut in the header") << valid.left(10) << -3 << damaged << qint64(0);
        QTest::newRow("cut in the audio") << valid.chopped(1) << -3 << damaged << qint64(0);
        QTest::newRow("cut after the header") << header(300, 500) << -3 << damaged << qint64(0);
        QTest::newRow("bytes after the audio") << valid + "x" << -3 << damaged << qint64(0);
        QTest::newRow("sizes past 2 GB") << header(0xffffffffu, 0xffffffffu) + "tail" << -3 << damaged << qint64(0);
        QTest::newRow("sizes adding up past the end") << header(0x7fffffffu, 0x7fffffffu) << -3 << damaged
                                                      << qint64(0);
        QTest::newRow("picture part that is no picture") << voiceComment("not a picture", "a") << -3 << damaged
                                                         << qint64(0);
        QTest::newRow("picture part past 512 MiB, sizes right")
            << header(quint32(largestPicture + 1), 0) + pngSignature << -3 << damaged << 16 + largestPicture + 1;
        QTest::newRow("4 GB of nothing, sizes right") << header(0x7fffffffu, 0x7fffffffu) << -3 << damaged
                                                      << 16 + 2 * qint64(0x7fffffff);
    }

    void damagedFile_givesAClearError()
    {
        QFETCH(QByteArray, contents);
        QFETCH(int, code);
        QFETCH(QString, message);
        QFETCH(qint64, length);
        const QString file = path(QString("damaged %1.zia").arg(QTest::currentDataTag()));
        QVERIFY(writeFile(file, contents));
        QVERIFY(length == 0 || QFile::resize(file, length));
        const qint64 memoryBefore = peakMemory();
        for (const char *function : {"readImageData", "readAudioData"}) {
            const auto read = reinterpret_cast<ReadFunction>(m_library.resolve(function));
            QVERIFY(read);
            int size = 12345;
            QVERIFY(read(file.toUtf8().constData(), &size) == nullptr);
            QCOMPARE(size, code);
        }
        AudioImageFile voice;
        voice.setFileName(file);
        QVERIFY(!voice.readAll());
        QCOMPARE(voice.errorString(), message.arg(file));
        // Refused from the header, before a part is read into memory.
        QVERIFY(peakMemory() - memoryBefore < 256 * 1024 * 1024);
    }

    // The library maps a part rather than copying it, so that the caller's copy is the only
    // one: a child process whose data may grow by little more than the file reads it.
    void read_takesNoMoreMemoryThanTheFile()
    {
        const quint32 imageSize = 96 << 20;
        const quint32 audioSize = 64 << 20;
        const QString file = path("large.zia");
        QVERIFY(writeFile(file, header(imageSize, audioSize) + pngSignature));
        QVERIFY(QFile::resize(file, 16 + qint64(imageSize) + audioSize)); // sparse: no disk taken
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0)
            _exit(readsWithin(file, QFileInfo(file).size() + (16 << 20), imageSize, audioSize));
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0); // 2: out of memory
    }

    void unreadablePath_givesAClearError_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing file") << "missing.zia";
        QTest::newRow("folder") << "folder.zia";
        QTest::newRow("named pipe") << "pipe.zia"; // no writer ever comes: the read must not wait
    }

    void unreadablePath_givesAClearError()
    {
        QFETCH(QString, name);
        QDir().mkpath(path("folder.zia"));
        QVERIFY(QFile::exists(path("pipe.zia")) || mkfifo(QFile::encodeName(path("pipe.zia")).constData(), 0600) == 0);
        AudioImageFile voice;
        voice.setFileName(path(name));
        QVERIFY(!voice.readAll());
        QCOMPARE(voice.errorString(), "Can't read the voice comment " + path(name));
    }

    // A readable recording becomes 48 kHz mono samples of the value it holds; an unreadable
    // one is refused with its reason.
    void recording_becomesPlaybackPcmOrIsRefused_data()
    {
        QTest::addColumn<QByteArray>("wav");
        QTest::addColumn<QByteArray>("pcm");
        QTest::addColumn<QString>("error");
        const QByteArray good = wave(1, 1, 48000, 16, frames<qint16>(10, 1, 5));
        const QString notWave = "The recording is not a WAVE file";
        const QString unreadable = "The recording has a sample format that can't be read";
        QTest::newRow("48 kHz mono") << wave(1, 1, 48000, 16, frames<qint16>(4800, 1, -1234))
                                     << frames<qint16>(4800, 1, -1234) << QString();
        QTest::newRow("44.1 kHz stereo") << wave(1, 2, 44100, 16, frames<qint16>(44100, 2, 1000))
                                         << frames<qint16>(48000, 1, 1000) << QString();
        QTest::newRow("24 kHz float") << wave(3, 1, 24000, 32, frames(2400, 1, 0.5f)) << frames<qint16>(4800, 1, 16384)
                                      << QString();
        QTest::newRow("extensible header") << wave(1, 2, 96000, 16, frames<qint16>(9600, 2, 77), true)
                                           << frames<qint16>(4800, 1, 77) << QString();
        QTest::newRow("no sound") << wave(1, 2, 44100, 16, QByteArray()) << QByteArray() << QString();
        QTest::newRow("not RIFF") << randomBytes(200) << QByteArray() << notWave;
        QTest::newRow("cut before data") << good.left(30) << QByteArray() << notWave;
        QTest::newRow("8-bit samples") << wave(1, 1, 8000, 8, QByteArray(100, 'x')) << QByteArray() << unreadable;
        QTest::newRow("one sample a second") << wave(1, 1, 1, 16, QByteArray(100, 'x')) << QByteArray() << unreadable;
        QTest::newRow("no channels") << wave(1, 0, 8000, 16, QByteArray(100, 'x')) << QByteArray() << unreadable;
    }

    void recording_becomesPlaybackPcmOrIsRefused()
    {
        QFETCH(QByteArray, wav);
        QFETCH(QByteArray, pcm);
        QFETCH(QString, error);
        QByteArray converted;
        QString reason;
        QCOMPARE(playbackPcmFromWav(wav, &converted, &reason), error.isEmpty());
        QCOMPARE(reason, error);
        QCOMPARE(converted, pcm);
    }
};

QTEST_GUILESS_MAIN(AudioImageFileTest)
#include "tst_audioimagefile.moc"
