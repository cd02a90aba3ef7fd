import QtQuick
import "qrc:/qml/qml/Components"

// The settings page. Its tabs are still to come; the frame has the size of the storage
// tab for the stored destination.
Window {
    readonly property var storageHeights: ({ "mavu": 370, "ftp": 490, "sftp": 490, "dropbox": 360 })
    readonly property string typeUpload: settings.getValue("type_upload")

    windowWidth: 580
    windowHeight: storageHeights[typeUpload] === undefined ? 330 : storageHeights[typeUpload]
    iconVisible: false
    titleText: "Mavu - " + qsTr("Settings") + core.emptyString
}
