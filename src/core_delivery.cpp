// A finished capture leaves here: encoded and uploaded, saved to a file the user picks,
// or put on the clipboard.

#include "core.h"

#include "capture/screengrab.h"
#include "capture/surfacewidget.h"
#include "settings/atomicfile.h"
#include "settings/constants.h"
#include "settings/datafolder.h"
#include "settings/debuglog.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "upload/networkexchange.h"

#include <QBuffer>
#include <QClipboard>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QStandardPaths>

namespace {

enum class Encoding { Jpeg90, Jpeg100, Png };

Encoding chosenEncoding()
{
    switch (int(Setting::instance()->getValue(SettingKeys::qualityImage).toFloat())) {
    case 0: return Encoding::Jpeg90;
    case 1: return Encoding::Jpeg100;
    default: return Encoding::Png;
    }
}

QString extensionOf(Encoding encoding)
{
    return encoding == Encoding::Png ? QStringLiteral(".png") : QStringLiteral(".jpg");
}

// Empty when the encoder refuses the image (a JPEG holds at most 65,500 px a side) or runs
// out of memory.
QByteArray encode(const QPixmap &image, Encoding encoding)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const bool encoded = encoding == Encoding::Png
        ? image.save(&buffer, "PNG")
        : image.save(&buffer, "JPG", encoding == Encoding::Jpeg90 ? 90 : 100);
    return encoded ? bytes : QByteArray();
}

// The text with the image's width and height for %1 and %2.
QString withSize(const QString &text, const QPixmap &image)
{
    return text.arg(image.width()).arg(image.height());
}

// False with the system's reason in the file's errorString().
bool writtenWhole(QFile &file, const QByteArray &bytes)
{
    const auto write = [&file](const char *rest, qint64 left) { return file.write(rest, left); };
    return writeInFull(write, bytes.constData(), bytes.size()) == bytes.size();
}

// For a capture that only waits for its upload: written straight, without waiting for the
// disk, which would hold the upload back by as long as the encoding takes. Only the user
// may read it. Unbuffered, so that a full disk fails the write itself rather than a flush
// whose failure nobody sees; a file that did not get every byte is removed.
bool writeTemporary(const QString &path, const QByteArray &bytes, QString *error)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered, DataFolder::privateFile)
        && file.setPermissions(DataFolder::privateFile) && writtenWhole(file, bytes))
        return true;
    *error = file.errorString();
    if (file.isOpen())
        file.remove();
    return false;
}

// A new file gets the permissions the umask leaves, unless it is to be private.
bool writeAtomically(const QString &path, const QByteArray &bytes, QString *error, bool privateFile = false)
{
    return AtomicFile::save(path, bytes, error, privateFile ? AtomicFile::Access::Private : AtomicFile::Access::Default);
}

QString millisecondsNow()
{
    return QString::number(QDateTime::currentMSecsSinceEpoch());
}

QString limitedTitle(const QString &title)
{
    if (title.size() <= 255)
        return title;
    return title.left(115) + QStringLiteral("...") + title.right(115);
}

// "saveScreenFolder" is stored with "\" for "/". Every capture keeps a copy of its own: one
// taken within the same second as an earlier one gets a number.
QString extraCopyPath(Encoding encoding)
{
    const QString folder = Setting::instance()->getValue(SettingKeys::saveScreenFolder).toString();
    const QString stem = QString(folder + QLatin1Char('/')
                                 + QDateTime::currentDateTime().toString(QStringLiteral("dd-MM-yyyy hh-mm-ss")))
                             .replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString path = stem + extensionOf(encoding);
    for (int number = 2; QFileInfo::exists(path); ++number)
        path = stem + QStringLiteral(" (%1)").arg(number) + extensionOf(encoding);
    return path;
}

bool wantsExtraCopy()
{
    return Setting::instance()->getValue(SettingKeys::useSaveScreen).toBool();
}

// Writes the copy the user keeps in the "saveScreenFolder" folder; empty when it is there,
// else the text that tells why not.
QString extraCopyFailure(const QByteArray &bytes, Encoding encoding)
{
    const QString path = extraCopyPath(encoding);
    QString error;
    return writeAtomically(path, bytes, &error) ? QString() : Core::tr("Can't save file %1: %2").arg(path, error);
}

// Opened from the editor window, a dialog must show above it; it blocks the capture, so it
// takes the keyboard. The chosen path, empty when the user cancelled.
QString chosenInDialog(QFileDialog &dialog)
{
    dialog.winId(); // a widget has its QWindow only once it has its native window
    Core::instance()->keepAboveCapture(dialog.windowHandle(), Core::Keyboard::TakenByWindow);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

} // namespace

Core::SaveFileDialog Core::m_saveFileDialog = [](const QString &caption, const QString &suggestion,
                                                 const QString &filter) {
    QFileDialog dialog(nullptr, caption, suggestion, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    return chosenInDialog(dialog);
};

Core::FolderDialog Core::m_folderDialog = [](const QString &caption, const QString &start) {
    QFileDialog dialog(nullptr, caption, start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return chosenInDialog(dialog);
};

void Core::setSaveFileDialog(SaveFileDialog dialog)
{
    m_saveFileDialog = std::move(dialog);
}

void Core::setFolderDialog(FolderDialog dialog)
{
    m_folderDialog = std::move(dialog);
}

void Core::screenUpload(int type, bool quick, QPixmap pxm)
{
    QPixmap image = pxm;
    const bool fromOverlay = image.isNull() && !quick;
    if (image.isNull() && quick) {
        image = QPixmap::fromImage(grabScreenArea(desktopArea()));
    } else if (fromOverlay) {
        if (!m_surface)
            return;
        image = m_surface->renderRubberRect();
        m_surface->hide(); // closed once the capture is encoded
    }
    if (image.isNull()) {
        const bool unreadable = quick || (fromOverlay && !m_surface->hasPicture());
        showErrorWidget(unreadable ? tr("Can't read the screen: nothing was uploaded")
                                   : tr("The capture is empty: nothing was uploaded"));
        emit deletedSurfaceScreen();
        return;
    }
    // The capture waits for the settings in the unsent folder; the overlay is done with it.
    if (!Setting::instance()->knowsStoredValues()) {
        waitWithCapture(type, quick, image);
        if (fromOverlay && m_surface)
            m_surface->close();
        emit deletedSurfaceScreen();
        return;
    }
    const Encoding encoding = chosenEncoding();
    const QByteArray bytes = encode(image, encoding);
    if (bytes.isEmpty()) {
        keepCapture(withSize(tr("Can't encode the %1x%2 px capture: nothing was uploaded"), image), fromOverlay);
        return;
    }
    const QString name = m_tempDir + millisecondsNow() + extensionOf(encoding);
    QString error;
    if (!writeTemporary(name, bytes, &error)) {
        qCDebug(lcMavu) << "void Core::screenUpload(HandlerUpload::TypeAfterAction, bool, QPixmap)" << error;
        keepCapture(tr("Can't write the capture: %1").arg(error), fromOverlay); // the overlay still holds it
        return;
    }
    m_currentCaptureFile = name;
    if (fromOverlay && m_surface)
        m_surface->close();
    const QString copyFailure = wantsExtraCopy() ? extraCopyFailure(bytes, encoding) : QString();
    if (!copyFailure.isEmpty())
        showErrorWidget(copyFailure);
    const bool titled = Setting::instance()->getValue(SettingKeys::showActiveWindow).toBool();
    m_captureTitle = titled ? limitedTitle(millisecondsNow()) : QString();
    // A quick capture opens nothing to record in: a recording waiting then is an older one.
    // When the join fails the user is told and the capture goes up alone.
    const QString voiceComment = !quick && hasVoiceComment() ? stopRecordAudio() : QString();
    keepUntilDelivered(voiceComment.isEmpty() ? name : voiceComment);
    if (!voiceComment.isEmpty())
        m_networkExchange->uploadData({voiceComment});
    else
        m_networkExchange->uploadScreen(name, m_captureTitle, HandlerUpload::TypeAfterAction(type));
    m_lastCaptureFile = name;
    // Counted once the upload is under way: the settings writes need not hold it back.
    countCapture();
    emit deletedSurfaceScreen();
}

// Captures pile up for as long as another program holds the settings file: each waits as
// its PNG, not as a picture in memory. Only one whose PNG could not be written waits as
// the picture itself, so that nothing is lost.
void Core::waitWithCapture(int type, bool quick, const QPixmap &image)
{
    const QString waiting = keepWhileWaiting(image);
    if (waiting.isEmpty())
        waitsForStoredSettings([this, type, quick, image] { screenUpload(type, quick, image); });
    else
        waitsForStoredSettings([this, type, quick, waiting] { uploadWaitingCapture(type, quick, waiting); });
}

// A PNG of a capture that waits for the settings: offered again by the next start should
// Mavu end before they are read. Its temporary name, empty when it could not be written.
QString Core::keepWhileWaiting(const QPixmap &image)
{
    const QByteArray bytes = encode(image, Encoding::Png);
    if (bytes.isEmpty()) // the delivery tells of it once the settings are read
        return QString();
    const QString name = m_tempDir + millisecondsNow() + extensionOf(Encoding::Png);
    QString error;
    if (!writeTemporary(name, bytes, &error)) {
        showErrorWidget(tr("Can't write the capture: %1").arg(error));
        return QString();
    }
    keepUntilDelivered(name);
    return name;
}

// The settings are read: the kept PNG goes on as the capture, and goes once the delivery
// has a file of its own. Until then (it cannot be read, or the delivery could not write
// that file: the user is told) it stays in the unsent folder, for the next start to offer.
void Core::uploadWaitingCapture(int type, bool quick, const QString &waiting)
{
    QImageReader reader(waiting, "PNG");
    const QImage picture = reader.read();
    if (picture.isNull()) {
        showErrorWidget(tr("Can't read the capture %1: %2").arg(waiting, reader.errorString()));
        return;
    }
    const QString delivered = m_lastCaptureFile;
    screenUpload(type, quick, QPixmap::fromImage(picture));
    if (m_lastCaptureFile == delivered)
        return;
    releaseUnsent(waiting);
    QFile::remove(waiting);
}

void Core::countCapture()
{
    Setting *settings = Setting::instance();
    const int count = settings->getValue(SettingKeys::countScreen).toInt();
    if (settings->knowsStoredValues()) // an unread count must not start again at 1
        settings->setValue(SettingKeys::countScreen, count + 1);
    settings->setValue(SettingKeys::dateLastScreen, QDateTime::currentDateTime());
}

void Core::screenPostFacebook(QPixmap pxm) { screenUpload(1, false, pxm); }
void Core::screenPostOdnoklassniki(QPixmap pxm) { screenUpload(2, false, pxm); }
void Core::screenPostVK(QPixmap pxm) { screenUpload(3, false, pxm); }
void Core::screenPostTwitter(QPixmap pxm) { screenUpload(4, false, pxm); }
void Core::screenPostMail(QPixmap pxm) { screenUpload(5, false, pxm); }

void Core::screenSaveToDisk(QPixmap pxm)
{
    saveToDisk(pxm);
}

bool Core::saveToDisk(QPixmap pxm)
{
    if (pxm.isNull() && !m_surface)
        return false;
    m_captureTitle = limitedTitle(millisecondsNow());
    QString start = Setting::instance()->getValue(SettingKeys::lastSavePath).toString();
    if (start.isEmpty())
        start = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    m_imageToSave = pxm.isNull() ? m_surface->renderRubberRect() : pxm;
    if (pxm.isNull() && m_surface)
        m_surface->hide();
    if (m_imageToSave.isNull()) {
        showErrorWidget(pxm.isNull() && !m_surface->hasPicture() ? tr("Can't read the screen: nothing was saved")
                                                                  : tr("The capture is empty: nothing was saved"));
        closeOverlay();
        return false;
    }
    const bool voiceComment = hasVoiceComment();
    const Encoding encoding = chosenEncoding();
    const QString extension = voiceComment ? QStringLiteral(".zia") : extensionOf(encoding);
    QString fileName = m_saveFileDialog(tr("Save file"), start + QLatin1Char('/') + m_captureTitle + extension,
                                        QLatin1Char('*') + extension);
    // A cancelled dialog brings the capture back: nothing of it is lost.
    if (fileName.isEmpty()) {
        if (pxm.isNull() && m_surface)
            m_surface->show();
        return false;
    }
    if (!fileName.contains(extension))
        fileName += extension;
    if (voiceComment)
        return saveVoiceComment(fileName);
    const QByteArray bytes = encode(m_imageToSave, encoding);
    if (bytes.isEmpty()) {
        keepCapture(withSize(tr("Can't encode the %1x%2 px capture: nothing was saved"), m_imageToSave), pxm.isNull());
        return false;
    }
    return saveImageFile(fileName, bytes);
}

// The picture joins the recording as a JPEG of full quality. When that fails the user is
// told and the overlay comes back, so that the capture is not lost.
bool Core::saveVoiceComment(const QString &fileName)
{
    const auto failed = [this](const QString &error) {
        keepCapture(error, true);
        return false;
    };
    const QByteArray picture = encode(m_imageToSave, Encoding::Jpeg100);
    if (picture.isEmpty())
        return failed(withSize(tr("Can't encode the %1x%2 px capture: nothing was saved"), m_imageToSave));
    const QString image = m_tempDir + millisecondsNow();
    QString error;
    if (!writeAtomically(image, picture, &error, true))
        return failed(tr("Can't write the capture: %1").arg(error));
    m_currentCaptureFile = image;
    const QString joined = stopRecordAudio();
    if (joined.isEmpty())
        return failed(QString()); // stopRecordAudio has said why
    QFile file(joined);
    if (!file.open(QIODevice::ReadOnly))
        return failed(tr("Can't read the voice comment %1: %2").arg(joined, file.errorString()));
    return saveImageFile(fileName, file.readAll());
}

// Keeps the overlay (only hidden) when the file cannot be written, so the capture is not
// lost: the user can try again.
bool Core::saveImageFile(const QString &fileName, const QByteArray &bytes)
{
    QString error;
    if (!writeAtomically(fileName, bytes, &error)) {
        keepCapture(tr("Can't save file %1: %2").arg(fileName, error), true);
        return false;
    }
    Setting::instance()->setValue(SettingKeys::lastSavePath, QFileInfo(fileName).path());
    closeOverlay();
    return true;
}

// The overlay first: the error window then opens above it.
void Core::keepCapture(const QString &error, bool inOverlay)
{
    if (inOverlay && m_surface) {
        m_surface->show();
        keepMessagesAboveCapture();
    }
    if (!error.isEmpty())
        showErrorWidget(error);
}

void Core::closeOverlay()
{
    if (m_surface)
        m_surface->close();
    emit deletedSurfaceScreen();
}

void Core::screenSaveToClipboard()
{
    // A second call after the overlay went away (double click, repeated key) finds nothing.
    const QPixmap image = m_surface ? m_surface->renderRubberRect() : QPixmap();
    if (image.isNull()) {
        if (m_surface && !m_surface->hasPicture()) {
            showErrorWidget(tr("Can't read the screen: nothing was copied"));
            closeOverlay();
        }
        return;
    }
    // A copy to keep that cannot be encoded stops the whole action, as for a save: the
    // capture stays in the overlay.
    const bool keepCopy = wantsExtraCopy();
    const Encoding encoding = chosenEncoding();
    const QByteArray bytes = keepCopy ? encode(image, encoding) : QByteArray();
    if (keepCopy && bytes.isEmpty()) {
        showErrorWidget(withSize(tr("Can't encode the %1x%2 px capture: nothing was copied"), image));
        return;
    }
    const QString copyFailure = keepCopy ? extraCopyFailure(bytes, encoding) : QString();
    if (m_clipboard) {
        m_clipboard->clear();
        m_clipboard->setPixmap(image);
    }
    if (m_surface)
        m_surface->close();
    if (!copyFailure.isEmpty())
        showErrorWidget(copyFailure);
}

namespace {

// The format a name asks for by its extension: "png", "jpg" (also for ".jpeg"), or another.
QString formatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("jpeg") ? QStringLiteral("jpg") : suffix;
}

bool isPicture(const QString &format)
{
    return format == QLatin1String("png") || format == QLatin1String("jpg");
}

// The capture's own format comes first: it is the one the dialog starts with.
QString filterFor(const QString &format)
{
    if (format == QLatin1String("jpg"))
        return QStringLiteral("JPG (*.jpg);;JPEG (*.jpeg);;PNG (*.png)");
    if (format == QLatin1String("png"))
        return QStringLiteral("PNG (*.png);;JPG (*.jpg);;JPEG (*.jpeg)");
    return format.toUpper() + QStringLiteral(" (*.") + format + QLatin1Char(')');
}

} // namespace

// The file holds what its name says: a picture asked for in the other format is encoded
// anew; a name without a known extension gets the capture's own.
Core::SaveOutcome Core::saveUnsentCapture(const QString &kept, QString *error)
{
    const QString own = formatOf(kept);
    QString fileName = m_saveFileDialog(tr("Save file"), QString(), filterFor(own));
    if (fileName.isEmpty())
        return SaveOutcome::Cancelled;
    QString wanted = formatOf(fileName);
    if (wanted != own && !(isPicture(own) && isPicture(wanted))) {
        fileName += QLatin1Char('.') + own;
        wanted = own;
    }
    QFile capture(kept);
    QString cause;
    if (!capture.open(QIODevice::ReadOnly)) {
        *error = tr("Can't read the capture %1: %2").arg(kept, capture.errorString());
        return SaveOutcome::Failed;
    }
    QByteArray bytes = capture.readAll();
    if (wanted != own) {
        const Encoding encoding = wanted == QLatin1String("png") ? Encoding::Png
            : chosenEncoding() == Encoding::Jpeg90                 ? Encoding::Jpeg90
                                                                   : Encoding::Jpeg100;
        bytes = encode(QPixmap::fromImage(QImage::fromData(bytes)), encoding);
    }
    if (bytes.isEmpty()) {
        *error = tr("Can't read the capture %1: %2").arg(kept, tr("it holds no picture"));
        return SaveOutcome::Failed;
    }
    if (!writeAtomically(fileName, bytes, &cause)) {
        *error = tr("Can't save file %1: %2").arg(fileName, cause);
        return SaveOutcome::Failed;
    }
    return SaveOutcome::Saved;
}

void Core::selectSaveScreenFolder()
{
    Setting *settings = Setting::instance();
    const QString stored = settings->getValue(SettingKeys::saveScreenFolder).toString();
    const QString dir =
        m_folderDialog(QStringLiteral("Mavu - ") + tr("Select folder"), QString(stored).replace('\\', '/'));
    if (!dir.isEmpty()) {
        settings->setValue(SettingKeys::useSaveScreen, true);
        settings->setValue(SettingKeys::saveScreenFolder, QString(dir).replace('/', '\\'));
    } else if (!stored.isEmpty() && stored != QLatin1String("0")) {
        settings->setValue(SettingKeys::useSaveScreen, true);
    } else {
        settings->setValue(SettingKeys::useSaveScreen, false);
        settings->setValue(SettingKeys::saveScreenFolder, QString());
    }
}
