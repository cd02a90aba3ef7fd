#pragma once

// The settings keys that more than one module shares, declared once.

#include <QHash>
#include <QString>
#include <QVariant>
#include <array>

namespace SettingKeys {

inline const QString fragmentScreen = QStringLiteral("fragmentScreen");
inline const QString quickFragmentScreen = QStringLiteral("quickFragmentScreen");
inline const QString snapshotFull = QStringLiteral("snapshotFull");
inline const QString sendScreen = QStringLiteral("sendScreen");
inline const QString showUpload = QStringLiteral("show_upload");
inline const QString showLastUpload = QStringLiteral("show_last_upload");
inline const QString useProxy = QStringLiteral("useProxy");
inline const QString qualityImage = QStringLiteral("qualityImage");
inline const QString useSaveScreen = QStringLiteral("useSaveScreen");
inline const QString saveScreenFolder = QStringLiteral("saveScreenFolder");
inline const QString widthColorLine = QStringLiteral("widthColorLine");
inline const QString widthTextLine = QStringLiteral("widthTextLine");
inline const QString widthBlureLine = QStringLiteral("widthBlureLine");
inline const QString widthBlackoutLine = QStringLiteral("widthBlackoutLine");
inline const QString visibleColorPanel = QStringLiteral("visibleColorPanel");
inline const QString showActiveWindow = QStringLiteral("showActiveWindow");
inline const QString showCloseSurfaceWindow = QStringLiteral("showCloseSurfaceWindow");
inline const QString colorColorLine = QStringLiteral("colorColorLine");
inline const QString autostart = QStringLiteral("autostart");
inline const QString keyFragmentScreen = QStringLiteral("keyFragmentScreen");
inline const QString keyQuickFragmentScreen = QStringLiteral("keyQuickFragmentScreen");
inline const QString keySnapshotScreen = QStringLiteral("keySnapshotScreen");
inline const QString keySendScreen = QStringLiteral("keySendScreen");

inline const QString token = QStringLiteral("token");
inline const QString userName = QStringLiteral("username");
inline const QString userMail = QStringLiteral("usermail");
inline const QString userAvatar = QStringLiteral("useravatar");
inline const QString quota = QStringLiteral("quota");
inline const QString usage = QStringLiteral("usage");
inline const QString maxPostSize = QStringLiteral("max_post_size");
inline const QString countScreen = QStringLiteral("count_screen");
inline const QString dateLastScreen = QStringLiteral("date_last_screen");
inline const QString lastSavePath = QStringLiteral("lastSavePath");
inline const QString substrate = QStringLiteral("substrate");
inline const QString lastGraphTools = QStringLiteral("lastGraphTools");
inline const QString language = QStringLiteral("language");
inline const QString videoQuality = QStringLiteral("videoQuality");
inline const QString shortLink = QStringLiteral("shortLink");
inline const QString showMagnifier = QStringLiteral("showMagnifier");
inline const QString typeUpload = QStringLiteral("type_upload");
inline const QString isSftp = QStringLiteral("is_sftp");

inline const QString proxyHost = QStringLiteral("proxy_host");
inline const QString proxyPort = QStringLiteral("proxy_port");
inline const QString proxyUser = QStringLiteral("proxy_user");
inline const QString proxyPassword = QStringLiteral("proxy_password");

inline const QString ftpHost = QStringLiteral("ftp_host");
inline const QString ftpPort = QStringLiteral("ftp_port");
inline const QString ftpUser = QStringLiteral("ftp_user");
inline const QString ftpPassword = QStringLiteral("ftp_password");
inline const QString ftpPath = QStringLiteral("ftp_path");
inline const QString ftpBaseUrl = QStringLiteral("ftp_base_url");
inline const QString sftpHost = QStringLiteral("sftp_host");
inline const QString sftpPort = QStringLiteral("sftp_port");
inline const QString sftpUser = QStringLiteral("sftp_user");
inline const QString sftpPassword = QStringLiteral("sftp_password");
inline const QString sftpPath = QStringLiteral("sftp_path");
inline const QString sftpBaseUrl = QStringLiteral("sftp_base_url");
inline const QString isFtpErrorUploadMavu = QStringLiteral("is_ftp_error_upload_mavu");
inline const QString isDropboxErrorUploadMavu = QStringLiteral("is_dropbox_error_upload_mavu");

inline const QString dropBoxTokenApiV2 = QStringLiteral("drop_box_token_apiv2");
inline const QString dropBoxToken = QStringLiteral("drop_box_token");
inline const QString dropBoxDisplayName = QStringLiteral("drop_box_display_name");
inline const QString dropBoxEmail = QStringLiteral("drop_box_email");
inline const QString dropBoxTotal = QStringLiteral("drop_box_total");
inline const QString dropBoxUsage = QStringLiteral("drop_box_usage");
inline const QString dropBoxQuota = QStringLiteral("drop_box_quota");

// Kept only in the store's cache, never in the database.
inline const QString mainFontColor = QStringLiteral("mainFontColor");
inline const QString mainFontFamily = QStringLiteral("mainFontFamily");

// Credential keys that are always stored encrypted, whatever flag the caller passes.
inline bool isAlwaysEncrypted(const QString &name)
{
    return name == ftpUser || name == ftpPassword || name == sftpUser || name == sftpPassword;
}

// Keys whose values must never be printed: the credentials, the tokens, the proxy password.
inline bool isSecret(const QString &name)
{
    return isAlwaysEncrypted(name) || name == token || name == proxyPassword
        || name == dropBoxTokenApiV2 || name == dropBoxToken;
}

struct DefaultRow
{
    const QString &name;
    QVariant value;
};

// The rows a new settings database starts with, in this order.
inline const std::array<DefaultRow, 23> &defaultRows()
{
    static const std::array<DefaultRow, 23> rows = {{
        {fragmentScreen, 1},
        {quickFragmentScreen, 1},
        {snapshotFull, 1},
        {sendScreen, 1},
        {showUpload, 1},
        {showLastUpload, 1},
        {useProxy, 0},
        {qualityImage, 1},
        {useSaveScreen, 0},
        {saveScreenFolder, QStringLiteral("")},
        {widthColorLine, QStringLiteral("2")},
        {widthTextLine, QStringLiteral("6")},
        {widthBlureLine, QStringLiteral("9")},
        {widthBlackoutLine, QStringLiteral("9")},
        {visibleColorPanel, QStringLiteral("1")},
        {showActiveWindow, QStringLiteral("1")},
        {showCloseSurfaceWindow, QStringLiteral("1")},
        {colorColorLine, QStringLiteral("7")},
        {autostart, QStringLiteral("1")},
        {keyFragmentScreen, QStringLiteral("Ctrl + Print")},
        {keyQuickFragmentScreen, QStringLiteral("Shift + Print")},
        {keySnapshotScreen, QStringLiteral("Ctrl + Shift + Print")},
        {keySendScreen, QStringLiteral("Ctrl + Enter")},
    }};
    return rows;
}

// The default rows as a new file gives them back: every value as text.
inline QVariantHash defaultValues()
{
    QVariantHash values;
    for (const DefaultRow &row : defaultRows())
        values.insert(row.name, row.value.toString());
    return values;
}

} // namespace SettingKeys
