#pragma once

#include <QFile>
#include <QObject>

// The error log: one entry per failed service request, "dd-MM-yyyy hh:mm:ss", TAB,
// the message with each line feed followed by five TABs, CR LF. Entries older than
// 7 days are dropped whenever a new one is written, and the oldest ones while the file
// would grow past maxFileBytes; a message is cut after maxMessageChars characters.
class Logging : public QObject
{
    Q_OBJECT
public:
    static constexpr int maxMessageChars = 4096;
    static constexpr qint64 maxFileBytes = 256 * 1024;

    explicit Logging(QObject *parent = nullptr);

    void writeMessage(QString message);
    void openFile();

    static Logging *m_instance;

private:
    QByteArray keptEntries(bool *pruned);
    void replaceContents(const QByteArray &contents);

    QString m_fileName;
    QFile m_file;
};
