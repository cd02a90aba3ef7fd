import QtQuick
import "qrc:/qml/qml/Components"
import "qrc:/qml/qml/Settings"

// The settings page: the storage, settings and hot key tabs over one row of buttons.
// Accept saves all three tabs at once; Cancel and the close button keep what is stored.
Window {
    id: page

    // The hotkeys being edited on the hot key tab.
    property string hootKeyFragmentScreen: settings.getValue("keyFragmentScreen") || ""
    property string hootKeyFragmentFullScreen: settings.getValue("keySnapshotScreen") || ""
    property string hootKeyFragmentQuick: settings.getValue("keyQuickFragmentScreen") || ""
    // A hotkey field's text before it was cleared for typing.
    property string oldKey: ""
    property bool storageTab: true
    property bool settingsTab: false
    property bool hotKeyTab: false

    readonly property var storageHeights: ({ "mavu": 370, "ftp": 490, "sftp": 490, "dropbox": 360 })
    // The tab row stands under the frame's title line; the window grows by as much.
    readonly property int tabRowTop: 38
    readonly property int titleRoom: tabRowTop - 22

    function openTab(tab) {
        storageTab = tab === storageItem
        settingsTab = tab === settingsItem
        hotKeyTab = tab === hotKeyItem
        storageItem.check = storageTab
        settingsItem.check = settingsTab
        hotKeyItem.check = hotKeyTab
    }

    function reset() {
        settings.resetDefault()
        core.updateHook()
        window.close()
    }

    function accept() {
        if (!storage.validate()) {
            openTab(storageItem)
            return
        }
        storage.save()
        hotKeys.save()
        var languageKept = settingsPage.save()
        core.updateHook()
        if (languageKept)
            window.close()
    }

    windowWidth: 580
    windowHeight: titleRoom + (settingsTab ? 650 : hotKeyTab ? 675
                  : (storageHeights[storage.typeUpload] === undefined ? 330 : storageHeights[storage.typeUpload]))
    iconVisible: false
    titleText: "Mavu - " + qsTr("Settings") + core.emptyString

    component TabSeparator: Image {
        width: 2
        height: 64
        source: "qrc:/component/image/component/setting_separator.png"
    }

    content: [
        Row {
            x: 10
            y: page.tabRowTop
            height: 64

            TabSeparator {}
            SettingToolItem {
                id: storageItem
                objectName: "storageTab"
                text: qsTr("Storage") + core.emptyString
                check: true
                iconSource: "qrc:/icon/image/icon/setting_tool_storage" + (check ? "_check" : "") + ".png"
                onCheckChanged: if (check) page.openTab(storageItem)
            }
            TabSeparator {}
            SettingToolItem {
                id: settingsItem
                objectName: "settingsTab"
                text: qsTr("Settings") + core.emptyString
                iconSource: "qrc:/icon/image/icon/setting_tool_setting" + (check ? "_check" : "") + ".png"
                onCheckChanged: if (check) page.openTab(settingsItem)
            }
            TabSeparator {}
            SettingToolItem {
                id: hotKeyItem
                objectName: "hotKeyTab"
                text: qsTr("Hot key") + core.emptyString
                iconSource: "qrc:/icon/image/icon/setting_tool_hoot" + (check ? "_check" : "") + ".png"
                onCheckChanged: if (check) page.openTab(hotKeyItem)
            }
            TabSeparator {}
        },
        BorderImage {
            x: parent.width - 10 - width
            y: page.tabRowTop + (64 - height) / 2
            width: 61
            height: 23
            border { left: 10; top: 10; right: 10; bottom: 10 }
            source: "qrc:/component/image/component/version_background.png"

            Text {
                anchors.centerIn: parent
                text: core.appVersion()
                font { family: "Arial"; pixelSize: 12 }
                color: "#f0f0f0"
            }
        },
        Item {
            id: tabArea
            anchors { fill: parent; topMargin: page.tabRowTop + 64 + 10; bottomMargin: 15; leftMargin: 10; rightMargin: 10 }

            SettingsAuthDelegate {
                id: storage
                objectName: "storagePage"
                anchors { fill: parent; bottomMargin: 40 }
                visible: page.storageTab
            }
            SettingsSettingDelegate {
                id: settingsPage
                objectName: "settingsPage"
                anchors { fill: parent; bottomMargin: 40 }
                visible: page.settingsTab
            }
            SettingsHotKeyDelegate {
                id: hotKeys
                objectName: "hotKeyPage"
                anchors { fill: parent; bottomMargin: 40 }
                visible: page.hotKeyTab
                owner: page
            }
            Row {
                anchors { right: parent.right; bottom: parent.bottom; bottomMargin: 7 }
                spacing: 10

                PushButtonBlue {
                    objectName: "resetButton"
                    text: qsTr("Reset by default") + core.emptyString
                    onClick: page.reset()
                }
                PushButtonBlue {
                    objectName: "acceptButton"
                    text: qsTr("Accept") + core.emptyString
                    onClick: page.accept()
                }
                PushButtonDark {
                    objectName: "cancelButton"
                    text: qsTr("Cancel") + core.emptyString
                    onClick: window.close()
                }
            }
        }
    ]
}
