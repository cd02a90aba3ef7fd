#pragma once

#include "capture/idlerelease.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

class Autorization;
class AutorizationWidget;
class LastUploadWidget;
class MainToolWidget;
class NetworkExchange;
class ProxyWidget;
class QAction;
class QClipboard;
class QLockFile;
class QMenu;
class QWindow;
class SelectorWidgetMac;
class EditPonoramWidget;
class ErrorWidget;
class SettingWidget;
class SurfaceWidget;
class UploadModel;
class UploadWidget;
class WaveRecorder;

// The application controller: one object for the whole process, seen by QML as `core`.
// Its facets live in core_<facet>.cpp.
class Core : public QObject
{
    Q_OBJECT
    Q_MOC_INCLUDE("upload/uploadmodel.h")
    Q_MOC_INCLUDE("network/autorization.h")
    Q_PROPERTY(Autorization *account READ account NOTIFY accountChange)
    Q_PROPERTY(QString emptyString READ emptyString NOTIFY languageChanged)
    Q_PROPERTY(QString lastLink READ lastLink NOTIFY lastLinkChanged)

public:
    static Core *instance();

    // ---- Service addresses and identity (core_addresses.cpp) ----
    QString hostUrlAuth() const;
    QString hostUrl() const;
    void setHostUrlAuth(const QString &host);
    void setHostUrl(const QString &host);
    // The second API host (ping and feedback). Fixed by the build; "-beta" leaves it alone.
    // Tests and local stand-ins of the service replace it.
    void setSupportHost(const QString &host);
    QString serverHistory() const;
    QString serverUploadUrl() const;
    QString serverInit() const;
    QString pingUrl() const;
    QString feedbackUrl() const;
    QString userAgent() const;

    Autorization *account() const { return m_account; }
    NetworkExchange *networkExchange() const { return m_networkExchange; }
    QString emptyString() const;
    QString lastLink() const;

    // ---- Upload list and file uploads (core_uploads.cpp) ----
    // The list of running uploads, created on first use as a child of Core.
    Q_INVOKABLE UploadModel *uploadModel();

    // ---- Windows (core_windows.cpp): made on first use ----
    MainToolWidget *mainToolWidget();
    SettingWidget *settingWidget();
    AutorizationWidget *autorizationWidget();
    UploadWidget *uploadWidget();
    LastUploadWidget *lastUploadWidget();
    ProxyWidget *proxyWidget();
    // Every window passes here before it shows. While a capture's window is on the screen it
    // opens above that window; the keys stay with the capture unless the window blocks it (a
    // file dialog). Without a capture it is a window of its own. True when it is tied to the
    // capture.
    enum class Keyboard { StaysWithCapture, TakenByWindow };
    bool keepAboveCapture(QWindow *window, Keyboard keyboard = Keyboard::StaysWithCapture);

    // ---- Tray (core_tray.cpp) ----
    QSystemTrayIcon *trayIcon() const { return m_trayIcon; }
    QMenu *trayMenu() const { return m_trayMenu; }

    // ---- Capture (core_capture.cpp) ----
    // The overlay of the capture in progress; asking for it starts one.
    SurfaceWidget *surfaceWidget();
    // Builds the overlay window ahead of the first capture, so that the first hotkey finds it.
    void prepareOverlay();
    Q_INVOKABLE void screen(bool fullscreen, bool quick);
    // A new selector window for one screen, remembered as the last one; deleted once closed.
    SelectorWidgetMac *surfaceSelectorWidgetMac();

    // ---- Delivery of a capture (core_delivery.cpp) ----
    // The save dialog; tests put their own answer in.
    using SaveFileDialog = std::function<QString(const QString &caption, const QString &suggestion,
                                                 const QString &filter)>;
    static void setSaveFileDialog(SaveFileDialog dialog);
    // The folder dialog of the extra copies; tests put their own answer in.
    using FolderDialog = std::function<QString(const QString &caption, const QString &start)>;
    static void setFolderDialog(FolderDialog dialog);
    QString lastCaptureFile() const { return m_lastCaptureFile; }
    // What screenSaveToDisk does, telling whether the capture reached a file: false when the
    // user cancelled the dialog or the file could not be written.
    bool saveToDisk(QPixmap pxm);

public slots:
    QString appVersion() const;
    void exitApp();
    void clearTempPath();
    bool checkAutorization();
    void showSetting();
    void showProxyWidget();
    void registrationWidgetDestroy();
    void updateHook();
    void unhookKeyboard();

    // Desktop helpers for the pages (core_desktop.cpp).
    QColor getColorFromX(int x) const;
    QString clipboardText() const;
    QString getWindowsManager() const;
    bool is_mac() const;
    void showMainWindow();
    void startArrowAnimation();
    void stopArrowAnimation();

    // Upload windows (core_windows.cpp).
    void showUploadPage();
    void showLastUploadPage();
    void cancelUpload();

    // Links (core_links.cpp).
    void setLastLink(QString link);
    // A link whose upload failed: the clipboard and the last link forget it, if they still hold it.
    void withdrawLink(QString link);
    void copyLastLink();
    void openLastLink();
    void openHistory();
    // A web page in the user's browser; without one the user is told.
    void openUrl(const QString &url);

    // Messages for the user (core_messages.cpp).
    void showErrorWidget(QString text);
    // The question whether the capture whose upload found no connection is to be saved;
    // without a capture (files the user named) the user is only told.
    void internetNotAvailable(QString capture = QString());
    void internetNotAvailableResult(int result, QString capture);
    // An upload error; a capture that did not go up can still be saved from its window.
    void uploadFailed(QString text, QString capture = QString());
    void showReminderMessage();
    void showTrayMessage(QString title, QString messae);
    void openHelp();

    // Capture entry points (core_capture.cpp).
    void fragmentScreen();
    void fullScreen();
    void quickScreen();
    void openSurfaceRect(int index, QRect rect, QPixmap pxm);
    void deleteSurfaceScreen();
    // Several screens (core_screens.cpp): the editor window on a finished image.
    void ponoramEdit(QPixmap res);

    // Delivery (core_delivery.cpp).
    void screenUpload(int type = 0, bool quick = false, QPixmap pxm = QPixmap());
    void screenPostVK(QPixmap pxm = QPixmap());
    void screenPostFacebook(QPixmap pxm = QPixmap());
    void screenPostTwitter(QPixmap pxm = QPixmap());
    void screenPostOdnoklassniki(QPixmap pxm = QPixmap());
    void screenPostMail(QPixmap pxm = QPixmap());
    void screenSaveToDisk(QPixmap pxm = QPixmap());
    void screenSaveToClipboard();
    Q_INVOKABLE void selectSaveScreenFolder();

    // File uploads (core_uploads.cpp).
    void uploadData(QStringList paths);
    void uploadDataZip(QStringList paths);
    // The probe speaks SFTP when "is_sftp" is set, or as the page's check box says.
    void checkFtpConnecrion(QString username, QString password, QString host, QString path, int port = 21);
    void checkFtpConnecrion(QString username, QString password, QString host, QString path, int port, bool sftp);

signals:
    void accountChange(Autorization *account);
    void languageChanged();
    void lastLinkChanged(QString link);
    void deletedSurfaceScreen();
    void checkConnectionFinished();
    void closeProxyWindow();

private slots:
    void createTrayIcon();
    void activatedTrayIcon(QSystemTrayIcon::ActivationReason reason);
    void deleteSettingWindow();
    void deleteEditPonoram();
    void settingWindowVisibleChanged(bool visible);
    // Links of uploads that run at once (core_links.cpp): job numbers tell the newest.
    void takeLink(QString link, int job);
    void takeUploadedLink(QString link, int job);

private:
    Core();

    void printProgress(const QString &line) const;
    void createAccount();
    void refreshAccountWhenSignedIn();
    void createNetworkExchange();
    void registerQmlTypes();
    void startUpdater();
    void clearUpdateLeftovers();
    bool isFirstInstance();
    void ensureHotkeyManager();
    void reportUnregisteredHotkeys();
    void showSettingsProblems();
    void writeClipboard(const QString &text);
    QUrl signedHistoryUrl() const;
    // A private page that forwards the browser to address; its path, or "" and why not.
    QString writeHistoryPage(const QUrl &address, QString *failure);
    void createTrayMenu();
    void updateTrayShortcuts();
    void fillTrayMenu();
    void updateLinkActions();
    void forgetUploadWidget();
    ErrorWidget *openErrorWindow(const QString &text);
    void keepLastUploadClear();
    // A capture on its way out (core_unsent.cpp, core_messages.cpp, core_delivery.cpp).
    enum class SaveOutcome { Saved, Cancelled, Failed };
    // Gives the capture its name in the unsent folder, held by this process; returns where
    // it can be offered from: that name, else where it lies, empty when it is gone. Why it
    // could not be kept goes to *failure.
    QString keepUnsent(const QString &capture, QString *failure = nullptr);
    // keepUnsent for a capture just handed to delivery: when it cannot be kept the user is
    // told so, with "Save", at once.
    void keepUntilDelivered(const QString &capture);
    // Once the upload of a capture that could not be kept is through, closes the window
    // that offers to save it.
    void withdrawOnceUploaded(ErrorWidget *window, const QString &capture);
    void releaseUnsent(const QString &capture);
    // Why the capture cannot have its name in the unsent folder; empty when it has it.
    QString holdUnsent(const QString &capture, const QString &kept);
    bool lockUnsent(const QString &kept);
    void offerLeftCaptures();
    void offerNextLeftCapture();
    ErrorWidget *offerUnsentCapture(const QString &kept, const QString &text);
    SaveOutcome saveUnsentCapture(const QString &kept, QString *error);
    bool saveImageFile(const QString &fileName, const QByteArray &bytes);
    void closeOverlay();
    // The capture stays: back in its overlay when it came from there, the error above it.
    void keepCapture(const QString &error, bool inOverlay);
    void keepMessagesAboveCapture();
    void tieToCapture(QWindow *window, QWindow *capture, Keyboard keyboard);
    void untieFromCapture(QWindow *window);
    void untieFromHiddenCaptures();
    void forgetTiedWindow(QObject *window);
    QWindow *shownCaptureWindow() const;
    void countCapture();
    SurfaceWidget *overlayWindow();
    void renewOverlay();
    void openSelectorWindows();
    bool captureUnderWay() const;
    bool startsNewCapture(bool fullscreen) const;
    QStringList usablePaths(const QStringList &paths, const QString &logPrefix);
    bool waitsForStoredSettings(const std::function<void()> &delivery);
    void waitWithCapture(int type, bool quick, const QPixmap &image);
    QString keepWhileWaiting(const QPixmap &image);
    void uploadWaitingCapture(int type, bool quick, const QString &waiting);

    static Core *m_instance;
    static SaveFileDialog m_saveFileDialog;
    static FolderDialog m_folderDialog;
    QString m_hostUrlAuth;
    QString m_hostUrl;
    QString m_supportHost;
    QPixmap m_imageToSave;
    QSystemTrayIcon *m_trayIcon = nullptr;
    QPointer<SurfaceWidget> m_surface;
    SurfaceWidget *m_overlayWindow = nullptr;
    // Restarted by every capture that ends; see renewOverlay().
    IdleRelease m_overlayRenewal;
    QPointer<SelectorWidgetMac> m_selectorWidgetMac;
    QPointer<EditPonoramWidget> m_editPonoram;
    QPointer<MainToolWidget> m_mainToolWidget;
    QPointer<SettingWidget> m_settingWidget;
    QPointer<AutorizationWidget> m_autorizationWidget;
    QPointer<UploadWidget> m_uploadWidget;
    QPointer<LastUploadWidget> m_lastUploadWidget;
    QPointer<ProxyWidget> m_proxyWidget;
    // The windows shown above the capture's window, with the type each has of its own.
    QHash<const QObject *, Qt::WindowType> m_tiedToCapture;
    // The batch of uploads under way: whether one went up, and the newest that did.
    bool m_batchUploaded = false;
    int m_uploadedJob = 0;
    QString m_uploadedLink;
    int m_linkJob = 0; // the job whose link the clipboard got last
    // The settings page released the hotkeys to edit one and has not armed them again.
    bool m_hotkeysReleased = false;
    Autorization *m_account = nullptr;
    NetworkExchange *m_networkExchange = nullptr;
    UploadModel *m_uploadModel = nullptr;
    QString m_captureTitle;
    QClipboard *m_clipboard = nullptr;
    QString m_lastLink;
    QImage m_paletteStrip;
    QString m_lastCaptureFile;
    QString m_currentCaptureFile;
    QMenu *m_trayMenu = nullptr;
    QAction *m_actionAuth = nullptr;
    QAction *m_actionScreen = nullptr;
    QAction *m_actionVideo = nullptr;
    QAction *m_actionSetting = nullptr;
    QAction *m_trayHistory = nullptr;
    QAction *m_actionHelp = nullptr;
    QAction *m_actionQuit = nullptr;
    QAction *m_openLastLink = nullptr;
    QAction *m_copyLastLink = nullptr;
    QTimer m_accountRefreshTimer;
    QLockFile *m_instanceLock = nullptr;
    // The captures in the unsent folder that this process holds, by their name there.
    QHash<QString, std::shared_ptr<QLockFile>> m_unsentLocks;
    // What an earlier run left in the unsent folder and is still to be offered, oldest first.
    QStringList m_leftCaptures;
    // Deliveries wait for the settings file, and the user has been told.
    bool m_toldOfWait = false;

    // ---- Voice comments (core_audio.cpp) ----
public slots:
    bool isCanRecordAudio() const;
    void recordAudio();
    void pauseRecordAudio();
    void uppauseRecordAudio();
    // Joins the current capture file and the newest recording into a voice-comment file
    // and returns its path, or "" (the user is told why) when none was written.
    QString stopRecordAudio();
    bool isHaveAudioFile() const;
    // Whether the capture goes with a voice comment: a recording under way is finished
    // first, and recordings that hold no sound are dropped, the user told.
    bool hasVoiceComment();
    QString getAudioFile() const;
    void clearAudioFile();
    void openAudioImage(QString fileName);

private:
    void setupAudioRecorder();
    bool finishRecording();
    bool saveVoiceComment(const QString &fileName);

    WaveRecorder *m_recorder = nullptr;
};

// Deletes a folder and everything in it without following symbolic links; stops at the
// first entry it cannot delete. A path where nothing exists counts as removed.
bool removeDir(const QString &path);

// Takes the lock unless a live process holds it; its file is then the user's alone. Only a
// holder that is gone makes a lock stale, never its age. A lock that no live process holds
// and that still cannot be taken (a folder or a link in its place) says why in *refusal.
bool takeLock(QLockFile &lock, QString *refusal = nullptr);

// Hands over to an update that the updater left in the update folder: checks it, starts
// it as a new process and returns true when that process runs. A bad update is dropped.
bool startPendingUpdate();

// All screens joined into one image of their united geometry, black where no screen is.
QPixmap joinScreens();
