import QtQuick
import "qrc:/qml/qml/Components"

// The text of an upload or service error (context name errorText). The window grows with
// a long text. For a capture that did not go up (saveOffered) a button saves it.
Window {
    id: page

    readonly property int buttonRoom: saveOffered ? 40 : 0

    windowWidth: 250
    windowHeight: Math.max(230, message.height + 80 + buttonRoom)
    titleText: "Mavu - " + qsTr("Error")

    content: [
        StandardPanel {
            anchors { left: parent.left; right: parent.right; top: parent.top; margins: 10; topMargin: 40 }
            height: page.windowHeight - 50

            Item {
                anchors { fill: parent; bottomMargin: page.buttonRoom }

                Text {
                    id: message
                    objectName: "errorText"
                    anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter; margins: 10 }
                    // Errors carry server texts and file names: shown as written, never as markup.
                    textFormat: Text.PlainText
                    text: errorText
                    font.pixelSize: 15
                    font.family: settings.getValue("mainFontFamily")
                    color: settings.getValue("mainFontColor")
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.Wrap
                }
            }
            PushButton {
                objectName: "saveButton"
                visible: saveOffered
                text: qsTr("Save")
                anchors { horizontalCenter: parent.horizontalCenter; bottom: parent.bottom; bottomMargin: 10 }
                onClick: window.requestSave()
            }
        }
    ]
}
