import QtQuick
import "qrc:/qml/qml/Components"

// The upload page: one row per running upload. Its list is still to come; the frame
// already grows with the number of uploads.
Window {
    windowWidth: 240
    windowHeight: 155 + 33 * core.uploadModel().count
    titleText: "Mavu - " + qsTr("Upload") + core.emptyString
}
