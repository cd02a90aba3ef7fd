import QtQuick
import "qrc:/qml/qml/Components"

// The text of an upload or service error (context name errorText). The window grows with
// a long text.
Window {
    id: page

    windowWidth: 250
    windowHeight: Math.max(230, message.height + 80)
    titleText: "Mavu - " + qsTr("Error")

    content: [
        StandardPanel {
            anchors { left: parent.left; right: parent.right; top: parent.top; margins: 10; topMargin: 40 }
            height: page.windowHeight - 50

            Text {
                id: message
                objectName: "errorText"
                anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter; margins: 10 }
                text: errorText
                font.pixelSize: 15
                font.family: settings.getValue("mainFontFamily")
                color: settings.getValue("mainFontColor")
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
            }
        }
    ]
}
