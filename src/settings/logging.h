#pragma once

#include <QFile>
#include <QObject>

// The error log: one entry per failed service request, "dd-MM-yyyy hh:mm:ss", TAB,
// the message with each line feed followed by five TABs, CR LF. Entries older than
// 7 days are dropped whenever a new one is written.
class Logging : public QObject
{
    Q_OBJECT
public:
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
