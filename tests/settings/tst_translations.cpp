// Every text that the program passes through the translator has its Russian translation:
// lupdate lists the texts of the sources afresh (into a temporary file, the tree stays as it
// is) and each one must have a finished translation in the Russian catalogue files.

#include <QDir>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

const QString sourceDir = QDir::cleanPath(QStringLiteral(MAVU_TEST_DIR "/../../src"));
const QString russianDir = sourceDir + QStringLiteral("/qml/translate/ru");

// Context, source text and disambiguation name one message, as the translator looks it up.
QString messageKey(const QString &context, const QString &source, const QString &comment = QString())
{
    return context + QLatin1Char('\n') + source + QLatin1Char('\n') + comment;
}

// Shown as written in every language: the help box's title, heading and Russian contacts.
const QSet<QString> leftUntranslated{
    messageKey(QStringLiteral("Core"), QStringLiteral("Support")),
    messageKey(QStringLiteral("Core"), QStringLiteral("Support and Help")),
    messageKey(QStringLiteral("Core"),
               QStringLiteral("Официальный телеграм - тут подробнее об обновлениях<br>%1<br><br>"
                              "Если у вас что-то не работает, пожалуйста, сообщите в телеграм или по почте:<br>%2<br><br>"
                              "Справка и вопросы<br>%3")),
};

struct CatalogueMessage
{
    QString key;
    QString shown; // context and source, for the failure message
    bool translated = false;
};

CatalogueMessage readMessage(QXmlStreamReader &xml, const QString &context)
{
    QString source, comment;
    CatalogueMessage message;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("comment")) {
            comment = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const bool final = xml.attributes().value(QLatin1String("type")).isEmpty();
            message.translated = !xml.readElementText(QXmlStreamReader::IncludeChildElements).isEmpty() && final;
        } else {
            xml.skipCurrentElement();
        }
    }
    message.key = messageKey(context, source, comment);
    message.shown = QStringLiteral("%1: \"%2\"").arg(context, source);
    return message;
}

// The messages of a .ts file; an unreadable file fails the check through *error.
QList<CatalogueMessage> readCatalogue(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return {};
    }
    QList<CatalogueMessage> messages;
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.isStartElement() && xml.name() == QLatin1String("message"))
            messages.append(readMessage(xml, context));
    }
    if (xml.hasError())
        *error = path + QStringLiteral(": ") + xml.errorString();
    return messages;
}

} // namespace

class TranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void everyTranslatableText_hasARussianTranslation()
    {
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QString fresh = scratch.filePath(QStringLiteral("fresh.ts"));
        QProcess lupdate;
        lupdate.start(QStringLiteral(LUPDATE_PATH), {"-silent", "-locations", "none", "-extensions", "cpp,h,qml,js",
                                                      sourceDir, "-ts", fresh});
        QVERIFY(lupdate.waitForFinished(120000));
        QVERIFY2(lupdate.exitCode() == 0, lupdate.readAllStandardError().constData());

        QString error;
        const QList<CatalogueMessage> texts = readCatalogue(fresh, &error);
        QVERIFY2(!texts.isEmpty(), qPrintable(error));
        QSet<QString> translated;
        for (const QFileInfo &file : QDir(russianDir).entryInfoList({QStringLiteral("*.ts")}, QDir::Files)) {
            for (const CatalogueMessage &message : readCatalogue(file.filePath(), &error))
                if (message.translated)
                    translated.insert(message.key);
        }
        QVERIFY2(error.isEmpty(), qPrintable(error));

        QStringList missing;
        for (const CatalogueMessage &text : texts) {
            if (!translated.contains(text.key) && !leftUntranslated.contains(text.key))
                missing.append(text.shown);
        }
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("No Russian translation for %1 text(s); add each under its context to "
                                           "src/qml/translate/ru/*.ts (and en/*.ts):\n  %2")
                                .arg(missing.size())
                                .arg(missing.join(QStringLiteral("\n  ")))));
    }
};

QTEST_GUILESS_MAIN(TranslationsTest)
#include "tst_translations.moc"
