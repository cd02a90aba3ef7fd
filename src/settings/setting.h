#pragma once

#include "sqldatabase.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariant>

#include <functional>

class QTranslator;

// The per-user settings store: every stored value held in memory from the start and written
// through to the settings database, credential keys encrypted with the service token, and
// the QML surface `settings`.
class Setting : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariant fragmentScreen READ fragmentScreen WRITE setFragmentScreen NOTIFY valueChanged)
    Q_PROPERTY(QVariant quickFragmentScreen READ quickFragmentScreen WRITE setQuickFragmentScreen NOTIFY valueChanged)
    Q_PROPERTY(QVariant snapshotFull READ snapshotFull WRITE setSnapshotFull NOTIFY valueChanged)
    Q_PROPERTY(QVariant sendScreen READ sendScreen WRITE setSendScreen NOTIFY valueChanged)
    Q_PROPERTY(QVariant useProxy READ useProxy WRITE setUseProxy NOTIFY valueChanged)
    Q_PROPERTY(QVariant qualityImage READ qualityImage WRITE setQualityImage NOTIFY valueChanged)
    Q_PROPERTY(QVariant autostart READ autostart WRITE setAutostart NOTIFY valueChanged)
    Q_PROPERTY(QVariant showUpload READ showUpload WRITE setShowUpload NOTIFY valueChanged)
    Q_PROPERTY(QVariant showLastUpload READ showLastUpload WRITE setShowLastUpload NOTIFY valueChanged)
    Q_PROPERTY(QVariant userName READ userName NOTIFY valueChanged)
    Q_PROPERTY(QVariant userMail READ userMail NOTIFY valueChanged)
    Q_PROPERTY(QVariant userAvatar READ userAvatar NOTIFY valueChanged)
    Q_PROPERTY(QVariant quota READ quota NOTIFY valueChanged)
    Q_PROPERTY(QVariant usage READ usage NOTIFY valueChanged)
    Q_PROPERTY(QVariant useSaveScreen READ useSaveScreen WRITE setUseSaveScreen NOTIFY valueChanged)
    Q_PROPERTY(QVariant saveScreenFolder READ saveScreenFolder WRITE setSaveScreenFolder NOTIFY valueChanged)
    Q_PROPERTY(QVariant shortLink READ shortLink WRITE setShortLink NOTIFY valueChanged)
    Q_PROPERTY(QVariant language READ language WRITE setLanguage NOTIFY languageChanged)
    Q_PROPERTY(QVariant videoQuality READ videoQuality WRITE setVideoQuality NOTIFY valueChanged)
    Q_PROPERTY(QVariant currentHostUrl READ currentHostUrl CONSTANT)
    Q_PROPERTY(QVariant showActiveWindow READ showActiveWindow WRITE setShowActiveWindow NOTIFY valueChanged)
    Q_PROPERTY(QVariant showMagnifier READ showMagnifier WRITE setShowMagnifier NOTIFY valueChanged)
    Q_PROPERTY(QVariant showCloseSurfaceWindow READ showCloseSurfaceWindow WRITE setShowCloseSurfaceWindow NOTIFY valueChanged)
    Q_PROPERTY(QVariant visibleColorPanel READ visibleColorPanel WRITE setVisibleColorPanel NOTIFY valueChanged)
    Q_PROPERTY(int colorColorLine READ colorColorLine WRITE setColorColorLine NOTIFY valueChanged)
    Q_PROPERTY(QVariant widthColorLine READ widthColorLine WRITE setWidthColorLine NOTIFY valueChanged)
    Q_PROPERTY(QVariant typeUpload READ typeUpload WRITE setTypeUpload NOTIFY valueChanged)
    Q_PROPERTY(QVariant widthTextLine READ widthTextLine WRITE setWidthTextLine NOTIFY valueChanged)
    Q_PROPERTY(QVariant widthBlureLine READ widthBlureLine WRITE setWidthBlureLine NOTIFY valueChanged)
    Q_PROPERTY(QVariant widthBlackoutLine READ widthBlackoutLine WRITE setWidthBlackoutLine NOTIFY valueChanged)
    Q_PROPERTY(QVariant lastGraphTools READ lastGraphTools WRITE setLastGraphTools NOTIFY lastGraphToolsChanged)
    Q_PROPERTY(bool isUseMailClient READ isUseMailClient NOTIFY isUseMailClientChanged)

public:
    static Setting *instance();

    Q_INVOKABLE QVariant getValue(const QString &name, bool is_encrypt = false);
    Q_INVOKABLE void setValue(const QString &name, const QVariant &value, bool is_encrypt = false);
    // Returns once every write made so far is on disk.
    void sync();
    // False while the stored values are unknown: another program has held the settings
    // file since the start. The store then answers with the defaults, which must decide
    // nothing that the user chose (what a capture becomes, where it goes); storedValuesRead()
    // follows once the file is free.
    bool knowsStoredValues() const { return m_storedValuesKnown; }
    // Runs `action` now when the stored values are known, else once they are read (unless
    // `context` is gone by then): for what a default must not decide.
    void whenStoredValuesKnown(QObject *context, const std::function<void()> &action);
    // What the user must be told about the settings storage and not yet was: a damaged
    // file kept aside, a read-only file, a refused data folder. Found before any window
    // can show them, so the controller takes them once it runs.
    QStringList takeProblems();

    QString getPlatform() const;
    QString getUserId();
    void checkTranslate();

    QVariant fragmentScreen();
    QVariant quickFragmentScreen();
    QVariant snapshotFull();
    QVariant sendScreen();
    QVariant useProxy();
    QVariant qualityImage();
    QVariant autostart();
    QVariant showUpload();
    QVariant showLastUpload();
    QVariant userName();
    QVariant userMail();
    QVariant userAvatar();
    QVariant quota();
    QVariant usage();
    QVariant useSaveScreen();
    QVariant saveScreenFolder();
    QVariant shortLink();
    QVariant language();
    QVariant videoQuality();
    QVariant currentHostUrl();
    QVariant showActiveWindow();
    QVariant showMagnifier();
    QVariant showCloseSurfaceWindow();
    QVariant visibleColorPanel();
    int colorColorLine();
    QVariant widthColorLine();
    QVariant typeUpload();
    QVariant widthTextLine();
    QVariant widthBlureLine();
    QVariant widthBlackoutLine();
    QVariant lastGraphTools();
    Q_INVOKABLE bool isUseMailClient() const;

public slots:
    void changeValue(QString name, QVariant value);
    void resetDefault();
    void setFragmentScreen(QVariant value);
    void setQuickFragmentScreen(QVariant value);
    void setSnapshotFull(QVariant value);
    void setUseProxy(QVariant value);
    void setQualityImage(QVariant value);
    void setAutostart(QVariant value);
    void setShowUpload(QVariant value);
    void setShowLastUpload(QVariant value);
    void setSendScreen(QVariant value);
    void setUseSaveScreen(QVariant value);
    void setSaveScreenFolder(QVariant value);
    void setShortLink(QVariant value);
    void setLanguage(QVariant value);
    void setVideoQuality(QVariant value);
    void setVisibleColorPanel(QVariant value);
    void setColorColorLine(int value);
    void setWidthColorLine(QVariant value);
    void setShowActiveWindow(QVariant value);
    void setShowMagnifier(QVariant value);
    void setLastGraphTools(QVariant value);
    void setWidthTextLine(QVariant value);
    void setWidthBlureLine(QVariant value);
    void setWidthBlackoutLine(QVariant value);
    void setTypeUpload(QVariant value);
    void setShowCloseSurfaceWindow(QVariant value);

signals:
    void valueChanged(QString name, QVariant value);
    void userAvatarChanges(QString ava);
    void userNameChanges(QString name);
    void languageChanged();
    void lastGraphToolsChanged(QVariant value);
    void isUseMailClientChanged();
    void keyFragmentScreenChanged();
    void keySnapshotScreenChanged();
    void keyQuickFragmentScreenChanged();
    // A problem for takeProblems() arrived.
    void problemFound();
    // The stored values replaced the defaults of a run that started while the file was held.
    void storedValuesRead();

private:
    Setting();

    void loadStoredValues();
    void holdValues(const QVariantHash &values);
    void takeHeldValues(const QVariantHash &values);
    void setDefaultDestination();
    void setValueDB(const QString &name, const QVariant &value);
    bool connectDatabase();
    void createDataFolders();
    void addProblem(const QString &text);
    void reportWriteFailure(const QString &reason);
    void reportLockedWhileRunning();
    void emitNameSignal(const QString &name);
    void writeAutostartEntry();
    void removeAutostartEntry();
    QString tokenText();

    static Setting *m_instance;
    SqlDatabase m_database;
    QHash<QString, QVariant> m_cache;
    QTranslator *m_translator = nullptr;
    bool m_storedValuesKnown = false;
    QStringList m_problems;
    bool m_dataFolderRefused = false;
    bool m_writeFailureReported = false;
};
