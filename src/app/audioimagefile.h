#pragma once

#include <QAudio>
#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QThread>

class QAudioSink;
class QIODevice;
class QLibrary;

// Plays raw PCM in the playback format (app/playbackpcm.h) on the default audio output.
// The sink lives in this thread; the object itself in the thread that made it, so the
// sink's state changes and the stop requests cross between the two as queued calls.
class AudioThreadPlay : public QThread
{
    Q_OBJECT

public:
    AudioThreadPlay(QByteArray data, QObject *parent);
    ~AudioThreadPlay() override;

    void play();
    void stop();

signals:
    void playChange(int state);
    void failed(QString text);

public slots:
    void stateChanged(QAudio::State state);

protected:
    void run() override;

private:
    bool adoptSink(QAudioSink *sink);
    void playTail(QAudioSink *sink, const QIODevice *sound);
    void endPlayback();
    bool playbackEnded();

    QByteArray m_data;
    QAudioSink *m_sink = nullptr;
    QMutex m_sinkLock;
    bool m_stopRequested = false;
    bool m_ended = false;
};

// A voice-comment file: a capture image and the voice comment recorded with it, written
// and read through the voice-comment library "zai.dll".
class AudioImageFile : public QObject
{
    Q_OBJECT

public:
    explicit AudioImageFile(QObject *parent = nullptr);

    void setFileName(const QString &fileName);
    QString fileName() const { return m_fileName; }
    // True only when the library wrote the whole file.
    bool write(const QByteArray &image, const QByteArray &audio);
    // Loads both parts; false when the library is missing or the file is not a sound
    // voice-comment file. A part whose function the library lacks stays as it was.
    bool readAll();
    QString errorString() const { return m_error; }
    QByteArray imageData() const { return m_imageData; }
    QByteArray audioData() const { return m_audioData; }
    bool isPlaying() const { return m_playing; }
    void playAudio();
    void stopAudio();

signals:
    void stateChange();
    void playFailed(QString text);

public slots:
    void playChange(int state);

private:
    bool readPart(QLibrary &library, const char *function, QByteArray *part, const char *logLabel);

    QString m_fileName;
    AudioThreadPlay *m_player = nullptr;
    QByteArray m_imageData;
    QByteArray m_audioData;
    bool m_playing = false;
    QString m_error;
};
