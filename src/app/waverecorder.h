#pragma once

#include <QAudioFormat>
#include <QFile>
#include <QObject>
#include <QString>

#include <atomic>

class QAudioSource;

// The file a recording goes into. The sound source does not look at what its writes
// return: while watched, the file tells of the first one that does not go through whole,
// with the system's reason.
class RecordingFile : public QFile
{
    Q_OBJECT

public:
    // Watching again forgets an earlier failure.
    void watch(bool on);
    bool hasFailed() const { return m_failed; }

signals:
    void writeFailed(QString reason);

protected:
    qint64 writeData(const char *data, qint64 size) override;

private:
    std::atomic_bool m_watching{false};
    std::atomic_bool m_failed{false};
};

// Records the default microphone into a WAVE file. The samples go from the sound server
// straight into the file, so the recording starts with the microphone, however loaded the
// machine; the header gets its sizes when the recording stops.
class WaveRecorder : public QObject
{
    Q_OBJECT

public:
    explicit WaveRecorder(QObject *parent = nullptr);
    ~WaveRecorder() override;

    // False with errorString() when the file or the microphone can't be opened.
    bool start(const QString &path);
    void pause();
    void resume();
    // From start until stop, paused or not.
    bool isRecording() const { return m_source != nullptr; }
    // Ends the recording and completes the file's header; false with errorString() when it
    // can't be completed (the samples stay readable to the end of the file).
    bool stop();
    QString errorString() const { return m_error; }

signals:
    // The microphone failed, or the disk took no more, while recording.
    void failed(QString text);

private:
    bool discard(const QString &error);

    QAudioSource *m_source = nullptr;
    QAudioFormat m_format;
    RecordingFile m_file;
    QString m_error;
};
