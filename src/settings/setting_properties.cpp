// The QML surface of the settings store: one property per key.

#include "setting.h"

#include "debuglog.h"
#include "settingkeys.h"

#include "core.h"

#include <QDebug>



QVariant Setting::fragmentScreen() { return getValue(SettingKeys::fragmentScreen); }
QVariant Setting::quickFragmentScreen() { return getValue(SettingKeys::quickFragmentScreen); }
QVariant Setting::snapshotFull() { return getValue(SettingKeys::snapshotFull); }
QVariant Setting::sendScreen() { return getValue(SettingKeys::sendScreen); }
QVariant Setting::useProxy() { return getValue(SettingKeys::useProxy).toBool(); }
QVariant Setting::qualityImage() { return getValue(SettingKeys::qualityImage); }
QVariant Setting::autostart() { return getValue(SettingKeys::autostart).toBool(); }
QVariant Setting::showUpload() { return getValue(SettingKeys::showUpload).toBool(); }
QVariant Setting::showLastUpload() { return getValue(SettingKeys::showLastUpload).toBool(); }
QVariant Setting::userName() { return getValue(SettingKeys::userName); }
QVariant Setting::userMail() { return getValue(SettingKeys::userMail); }
QVariant Setting::quota() { return getValue(SettingKeys::quota); }
QVariant Setting::usage() { return getValue(SettingKeys::usage); }
QVariant Setting::useSaveScreen() { return getValue(SettingKeys::useSaveScreen).toBool(); }
QVariant Setting::saveScreenFolder() { return getValue(SettingKeys::saveScreenFolder); }
QVariant Setting::shortLink() { return getValue(SettingKeys::shortLink); }
QVariant Setting::language() { return getValue(SettingKeys::language); }
QVariant Setting::videoQuality() { return getValue(SettingKeys::videoQuality); }
QVariant Setting::showActiveWindow() { return getValue(SettingKeys::showActiveWindow).toBool(); }
QVariant Setting::showMagnifier() { return getValue(SettingKeys::showMagnifier).toBool(); }
QVariant Setting::showCloseSurfaceWindow() { return getValue(SettingKeys::showCloseSurfaceWindow).toBool(); }
QVariant Setting::visibleColorPanel() { return getValue(SettingKeys::visibleColorPanel); }
int Setting::colorColorLine() { return getValue(SettingKeys::colorColorLine).toInt(); }
QVariant Setting::typeUpload() { return getValue(SettingKeys::typeUpload).toString(); }
QVariant Setting::widthTextLine() { return getValue(SettingKeys::widthTextLine); }
QVariant Setting::widthBlureLine() { return getValue(SettingKeys::widthBlureLine); }
QVariant Setting::widthBlackoutLine() { return getValue(SettingKeys::widthBlackoutLine); }
QVariant Setting::lastGraphTools() { return getValue(SettingKeys::lastGraphTools).toString(); }
bool Setting::isUseMailClient() const { return false; }
QVariant Setting::currentHostUrl() { return Core::instance()->hostUrlAuth(); }

QVariant Setting::userAvatar()
{
    const QString avatar = getValue(SettingKeys::userAvatar).toString();
    if (avatar.isEmpty())
        return QStringLiteral("qrc:/images/images/avatar_default.png");
    return avatar;
}

QVariant Setting::widthColorLine()
{
    const QVariant value = getValue(SettingKeys::widthColorLine);
    qCDebug(lcMavu) << "QVariant Setting::widthColorLine()" << value;
    return value;
}

void Setting::setFragmentScreen(QVariant value) { setValue(SettingKeys::fragmentScreen, value); }
void Setting::setQuickFragmentScreen(QVariant value) { setValue(SettingKeys::quickFragmentScreen, value); }
void Setting::setSnapshotFull(QVariant value) { setValue(SettingKeys::snapshotFull, value); }
void Setting::setUseProxy(QVariant value) { setValue(SettingKeys::useProxy, value); }
void Setting::setQualityImage(QVariant value) { setValue(SettingKeys::qualityImage, value); }
void Setting::setAutostart(QVariant value) { setValue(SettingKeys::autostart, value); }
void Setting::setShowUpload(QVariant value) { setValue(SettingKeys::showUpload, value); }
void Setting::setShowLastUpload(QVariant value) { setValue(SettingKeys::showLastUpload, value); }
void Setting::setSendScreen(QVariant value) { setValue(SettingKeys::sendScreen, value); }
void Setting::setUseSaveScreen(QVariant value) { setValue(SettingKeys::useSaveScreen, value); }
void Setting::setSaveScreenFolder(QVariant value) { setValue(SettingKeys::saveScreenFolder, value); }
void Setting::setShortLink(QVariant value) { setValue(SettingKeys::shortLink, value); }
void Setting::setVideoQuality(QVariant value) { setValue(SettingKeys::videoQuality, value); }
void Setting::setVisibleColorPanel(QVariant value) { setValue(SettingKeys::visibleColorPanel, value); }
void Setting::setColorColorLine(int value) { setValue(SettingKeys::colorColorLine, value); }
void Setting::setShowActiveWindow(QVariant value) { setValue(SettingKeys::showActiveWindow, value); }
void Setting::setShowMagnifier(QVariant value) { setValue(SettingKeys::showMagnifier, value); }
void Setting::setWidthTextLine(QVariant value) { setValue(SettingKeys::widthTextLine, value); }
void Setting::setWidthBlureLine(QVariant value) { setValue(SettingKeys::widthBlureLine, value); }
void Setting::setWidthBlackoutLine(QVariant value) { setValue(SettingKeys::widthBlackoutLine, value); }
void Setting::setTypeUpload(QVariant value) { setValue(SettingKeys::typeUpload, value); }
void Setting::setShowCloseSurfaceWindow(QVariant value) { setValue(SettingKeys::showCloseSurfaceWindow, value); }

void Setting::setLanguage(QVariant value)
{
    setValue(SettingKeys::language, value);
    checkTranslate();
}

void Setting::setWidthColorLine(QVariant value)
{
    if (widthColorLine() != value)
        setValue(SettingKeys::widthColorLine, value);
}

void Setting::setLastGraphTools(QVariant value)
{
    setValue(SettingKeys::lastGraphTools, value);
    emit lastGraphToolsChanged(value);
}
