// Every text that the program passes through the translator has its Russian translation:
// lupdate lists the texts of the sources afresh (into a temporary file, the tree stays as it
// is) and each one must have a finished translation in the Russian catalogue files.

#include <QDir>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QTest>

namespace {

const QString sourceDir = QDir::cleanPath(QStringLiteral(MAVU_TEST_DIR "/../../src"));
const QString russianDir = sourceDir + QStringLiteral("/qml/translate/ru");

// Context, source text and disambiguation name one message, as the translator looks it up;
// the key is also how a failure names the message.
QString messageKey(const QString &context, const QString &source, const QString &comment = QString())
{
    return QStringLiteral("%1: \"%2\"").arg(context, source) + (comment.isEmpty() ? QString() : " (" + comment + ')');
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

// The keys of the messages of a .ts file, with a finished translation only when
// translatedOnly; an unreadable file sets *error.
QStringList messagesOf(const QString &path, bool translatedOnly, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return {};
    }
    QStringList keys;
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        if (!xml.isStartElement() || xml.name() != QLatin1String("message"))
            continue;
        QString source, comment;
        bool translated = false;
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (xml.name() == QLatin1String("comment")) {
                comment = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                const bool final = xml.attributes().value(QLatin1String("type")).isEmpty();
                translated = !xml.readElementText(QXmlStreamReader::IncludeChildElements).isEmpty() && final;
            } else {
                xml.skipCurrentElement();
            }
        }
        if (translated || !translatedOnly)
            keys.append(messageKey(context, source, comment));
    }
    if (xml.hasError())
        *error = path + QStringLiteral(": ") + xml.errorString();
    return keys;
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
        const QStringList texts = messagesOf(fresh, false, &error);
        QVERIFY2(!texts.isEmpty(), qPrintable(error));
        QSet<QString> translated = leftUntranslated;
        for (const QFileInfo &file : QDir(russianDir).entryInfoList({QStringLiteral("*.ts")}, QDir::Files)) {
            for (const QString &key : messagesOf(file.filePath(), true, &error))
                translated.insert(key);
        }
        QVERIFY2(error.isEmpty(), qPrintable(error));

        QStringList missing = texts;
        missing.removeIf([&translated](const QString &text) { return translated.contains(text); });
        QVERIFY2(missing.isEmpty(), qPrintable("No Russian translation; add each under its context to "
                                               "src/qml/translate/ru/*.ts (and en/*.ts):\n  " + missing.join("\n  ")));
    }
};

QTEST_GUILESS_MAIN(TranslationsTest)
#include "tst_translations.moc"
