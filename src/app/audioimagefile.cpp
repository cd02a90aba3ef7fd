#include "app/audioimagefile.h"

#include "app/playbackpcm.h"
#include "settings/debuglog.h"

#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QLibrary>
#include <QMediaDevices>
#include <QTimer>

#include <climits>

namespace {

using WriteFunction = int (*)(const char *, const char *, int, const char *, int);
using ReadFunction = const char *(*)(const char *, int *);

const QString libraryName = QStringLiteral("zai.dll");

// How often the end of playback is looked for, and how long past the sound server's buffer
// it may take at most.
constexpr int tailPollMsecs = 10;
constexpr int tailSlackMsecs = 3000;

// The program keeps the library beside its executable; elsewhere the system's loader
// looks for it.
QString libraryPath()
{
    const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/') + libraryName;
    return QFileInfo::exists(beside) ? beside : libraryName;
}

QString libraryError(const QLibrary &library)
{
    return AudioImageFile::tr("The voice-comment library can't be loaded: %1").arg(library.errorString());
}

// The library hands a failure back as a negative size.
QString readError(int code, const QString &fileName)
{
    switch (code) {
    case -2: return AudioImageFile::tr("%1 is not a voice comment").arg(fileName);
    case -3: return AudioImageFile::tr("The voice comment %1 is damaged").arg(fileName);
    default: return AudioImageFile::tr("Can't read the voice comment %1").arg(fileName);
    }
}

} // namespace

AudioThreadPlay::AudioThreadPlay(QByteArray data, QObject *parent)
    : QThread(parent)
    , m_data(data)
{
}

AudioThreadPlay::~AudioThreadPlay()
{
    stop();
    quit();
    wait();
}

// A thread whose playback has ended may still be winding down: it is waited for, so that
// a play right after a stop or the end of the sound is not lost.
void AudioThreadPlay::play()
{
    if (isRunning() && !playbackEnded())
        return;
    wait();
    {
        QMutexLocker locker(&m_sinkLock);
        m_stopRequested = false;
        m_ended = false;
    }
    start();
}

void AudioThreadPlay::endPlayback()
{
    {
        QMutexLocker locker(&m_sinkLock);
        m_ended = true;
    }
    emit playChange(0);
}

bool AudioThreadPlay::playbackEnded()
{
    QMutexLocker locker(&m_sinkLock);
    return m_ended;
}

// The sink belongs to the playback thread: the stop goes there as a queued call, which
// is dropped when the sink is gone by then.
void AudioThreadPlay::stop()
{
    QMutexLocker locker(&m_sinkLock);
    m_stopRequested = true;
    if (m_sink)
        QMetaObject::invokeMethod(m_sink, [sink = m_sink] { sink->stop(); }, Qt::QueuedConnection);
}

// Idle is not the end: the sink goes idle as soon as it has taken the last bytes, and
// stops once they have been played (playTail).
void AudioThreadPlay::stateChanged(QAudio::State state)
{
    qCDebug(lcMavu) << "void AudioThreadPlay::stateChanged(QAudio::State)" << state;
    if (state != QAudio::StoppedState)
        return;
    endPlayback();
    quit();
}

// The sound server still holds the last part of the sound when the sink has taken it all
// (a tenth of a second or more): the sink stops, and lets that part go, only once the
// played time has reached the sound's length, or at the latest its buffer's length and
// some slack later.
void AudioThreadPlay::playTail(QAudioSink *sink, const QIODevice *sound)
{
    auto *poll = new QTimer(sink);
    auto *bound = new QTimer(sink);
    bound->setSingleShot(true);
    const qint64 length = sink->format().durationForBytes(int(qMin<qint64>(m_data.size(), INT_MAX)));
    connect(poll, &QTimer::timeout, sink, [sink, length] {
        if (sink->processedUSecs() >= length)
            sink->stop();
    });
    connect(bound, &QTimer::timeout, sink, &QAudioSink::stop);
    connect(sink, &QAudioSink::stateChanged, poll, [sink, sound, poll, bound](QAudio::State state) {
        if (state != QAudio::IdleState || !sound->atEnd() || bound->isActive())
            return;
        bound->start(int(sink->format().durationForBytes(sink->bufferSize()) / 1000) + tailSlackMsecs);
        poll->start(tailPollMsecs);
    });
}

bool AudioThreadPlay::adoptSink(QAudioSink *sink)
{
    QMutexLocker locker(&m_sinkLock);
    m_sink = sink;
    return !m_stopRequested || !sink;
}

void AudioThreadPlay::run()
{
    emit playChange(1);
    QBuffer buffer;
    buffer.setData(m_data);
    buffer.open(QIODevice::ReadOnly);
    const QAudioFormat format = playbackFormat();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (!device.isFormatSupported(format)) {
        qWarning() << "Raw audio format not supported by backend, cannot play audio.";
        emit failed(AudioImageFile::tr("The voice comment can't be played: no audio output takes its sound format"));
        endPlayback();
        return;
    }
    QAudioSink sink(device, format);
    sink.setVolume(1.0);
    connect(&sink, &QAudioSink::stateChanged, this, &AudioThreadPlay::stateChanged);
    playTail(&sink, &buffer);
    if (adoptSink(&sink)) {
        sink.start(&buffer);
        exec();
    } else {
        endPlayback();
    }
    adoptSink(nullptr);
    sink.disconnect(this);
}

AudioImageFile::AudioImageFile(QObject *parent)
    : QObject(parent)
{
}

void AudioImageFile::setFileName(const QString &fileName)
{
    m_fileName = fileName;
}

bool AudioImageFile::write(const QByteArray &image, const QByteArray &audio)
{
    m_error.clear();
    if (image.size() > INT_MAX || audio.size() > INT_MAX) {
        m_error = tr("The voice comment is too large");
        return false;
    }
    QLibrary library(libraryPath());
    const auto writeFile = reinterpret_cast<WriteFunction>(library.resolve("write"));
    if (!writeFile) {
        m_error = libraryError(library);
        return false;
    }
    if (writeFile(m_fileName.toUtf8().constData(), image.constData(), int(image.size()), audio.constData(),
                  int(audio.size())) != 1) {
        m_error = tr("Can't write the voice comment %1").arg(m_fileName);
        return false;
    }
    return true;
}

bool AudioImageFile::readAll()
{
    m_error.clear();
    QLibrary library(libraryPath());
    if (!library.load()) {
        m_error = libraryError(library);
        return false;
    }
    return readPart(library, "readImageData", &m_imageData, "image size = ")
        && readPart(library, "readAudioData", &m_audioData, "audio size = ");
}

bool AudioImageFile::readPart(QLibrary &library, const char *function, QByteArray *part, const char *logLabel)
{
    const auto read = reinterpret_cast<ReadFunction>(library.resolve(function));
    if (!read)
        return true;
    int size = 0;
    const char *bytes = read(m_fileName.toUtf8().constData(), &size);
    if (!bytes || size < 0) {
        m_error = readError(size, m_fileName);
        return false;
    }
    *part = QByteArray(bytes, size);
    // The library maps the part from the file: with the copy taken, the mapping goes.
    read(nullptr, &size);
    qCDebug(lcMavu) << "void AudioImageFile::readAll()" << logLabel << part->size();
    return true;
}

void AudioImageFile::playAudio()
{
    if (!m_player) {
        m_player = new AudioThreadPlay(m_audioData, this);
        connect(m_player, &AudioThreadPlay::playChange, this, &AudioImageFile::playChange);
        connect(m_player, &AudioThreadPlay::failed, this, &AudioImageFile::playFailed);
    }
    m_player->play();
}

void AudioImageFile::stopAudio()
{
    if (m_player)
        m_player->stop();
}

void AudioImageFile::playChange(int state)
{
    qCDebug(lcMavu) << "void AudioImageFile::playChange(int)" << state;
    if (state == 1)
        m_playing = true;
    else if (state == 0)
        m_playing = false;
    emit stateChange();
}
