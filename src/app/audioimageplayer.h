#pragma once

#include "app/audioimagefile.h"
#include "windows/window_win.h"

class QWidget;

// The window that shows a voice-comment file: its picture, the length of its comment and
// a button that plays or stops the comment.
class AudioImagePlayer : public BasicWindow
{
    Q_OBJECT
    Q_PROPERTY(bool isPlay READ isPlay NOTIFY isPlayChanged)

public:
    explicit AudioImagePlayer(QWidget *parent = nullptr);

    // Reads the file; false with errorString() when it can't be read or shown.
    bool openFile(const QString &fileName);
    QString errorString() const { return m_error; }
    bool isPlay() const;

    Q_INVOKABLE void playAudio();
    Q_INVOKABLE void stopAudio();

signals:
    void isPlayChanged();
    void playFailed(QString text);

protected:
    void init() override;

private:
    AudioImageFile m_file;
    QString m_error;
};
