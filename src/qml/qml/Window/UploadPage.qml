import QtQuick
import "qrc:/qml/qml/Components"
import "qrc:/qml/qml/Components/useful.js" as Fn

// The running uploads, one progress bar each, and the button that stops them all. The
// window grows by one row per upload.
Window {
    id: page

    readonly property var uploads: core.uploadModel()

    windowWidth: 240
    windowHeight: 155 + 33 * uploads.count
    titleText: "Mavu - " + qsTr("Upload") + core.emptyString

    function followSetting() {
        showBox.check = !Fn.flag(settings.showUpload)
    }

    Component.onCompleted: followSetting()
    Connections {
        target: settings
        function onValueChanged() { page.followSetting() }
    }

    content: [
        StandardPanel {
            anchors { left: parent.left; right: parent.right; top: parent.top; bottom: showBox.top; margins: 10; topMargin: 40 }

            Text {
                id: note
                objectName: "uploadNote"
                x: 10
                y: 10
                width: parent.width - 20
                fontSizeMode: Text.HorizontalFit
                minimumPixelSize: 10
                // The link is claimed only once a job has put it on the clipboard.
                text: (settings.typeUpload !== "dropbox" && page.uploads.linkReady
                       ? qsTr("Link already in the clipboard") : qsTr("Upload...")) + core.emptyString
                font.pixelSize: 14
                font.letterSpacing: 0.9
                font.family: settings.getValue("mainFontFamily")
                color: settings.getValue("mainFontColor")
            }
            Rectangle {
                id: line
                anchors { left: parent.left; right: parent.right; top: note.bottom; margins: 10 }
                height: 1
                color: "#dadbe1"
            }
            ListView {
                id: list
                objectName: "uploadList"
                anchors { left: parent.left; right: parent.right; top: line.bottom; margins: 10 }
                height: 33 * count
                interactive: false
                spacing: 4
                model: page.uploads
                delegate: Item {
                    objectName: "uploadRow"
                    width: list.width
                    height: 30

                    Text {
                        id: archiveText
                        visible: archive
                        text: qsTr("Archive...") + core.emptyString
                        font.pixelSize: 12
                        font.family: settings.getValue("mainFontFamily")
                        color: settings.getValue("mainFontColor")
                    }
                    ProgressBar {
                        objectName: "uploadProgress"
                        anchors { left: archive ? archiveText.right : parent.left; right: parent.right; leftMargin: archive ? 10 : 0 }
                        y: archive ? 5 : 0
                        height: 6
                        minimum: 0
                        maximum: total
                        value: download
                    }
                }
            }
            PushButton {
                objectName: "cancelButton"
                anchors { left: parent.left; bottom: parent.bottom; margins: 10 }
                text: qsTr("Cancel") + core.emptyString
                onClick: core.cancelUpload()
            }
        },
        CheckBox {
            id: showBox
            objectName: "hideWindowBox"
            anchors { left: parent.left; bottom: parent.bottom; margins: 10 }
            text: qsTr("Do not show this window") + core.emptyString
            font.pixelSize: 12
            onClick: function(check) { settings.showUpload = check ? 0 : 1 }
        }
    ]
}
