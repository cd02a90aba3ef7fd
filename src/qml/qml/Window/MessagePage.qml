import QtQuick
import "qrc:/qml/qml/Components"

// An information ("Ok") or a question ("Ok" and "Cancel"); the window's data map holds the
// texts. The frame's close button and Escape close it without an answer.
Window {
    id: page

    readonly property string dialogTitle: window.data("title") === undefined ? "" : window.data("title")

    windowWidth: 241
    windowHeight: 200
    titleText: dialogTitle === "" ? "Mavu" : "Mavu - " + dialogTitle

    content: [
        StandardPanel {
            anchors { fill: parent; leftMargin: 10; rightMargin: 10; bottomMargin: 10; topMargin: 40 }

            Text {
                objectName: "message"
                anchors { left: parent.left; right: parent.right; top: parent.top; bottom: buttonBox.top; margins: 10 }
                textFormat: Text.PlainText // may carry a server's text or a file name
                text: window.data("message")
                font.pixelSize: 15
                font.family: settings.getValue("mainFontFamily")
                color: settings.getValue("mainFontColor")
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                wrapMode: Text.Wrap
            }
            Item {
                id: buttonBox
                height: 30
                anchors { left: parent.left; right: parent.right; bottom: parent.bottom; margins: 10 }

                Row {
                    anchors.centerIn: parent
                    spacing: 5

                    PushButton {
                        objectName: "okButton"
                        text: window.data("Ok")
                        onClick: window.done(0)
                    }
                    PushButton {
                        objectName: "cancelButton"
                        text: window.data("Cancel")
                        visible: window.data("type") === "questions"
                        onClick: window.done(1)
                    }
                }
            }
        }
    ]
}
