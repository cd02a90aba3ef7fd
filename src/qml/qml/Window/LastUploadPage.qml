import QtQuick
import "qrc:/qml/qml/Components"
import "qrc:/qml/qml/Components/useful.js" as Fn

// The uploads are complete: the last link, to open or to copy. The window hides itself
// ten seconds after it was shown.
Window {
    id: page

    windowWidth: 241
    windowHeight: 230
    titleText: "Mavu"

    function followSetting() {
        showBox.check = !Fn.flag(settings.showLastUpload)
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
                id: heading
                anchors { left: parent.left; right: parent.right; top: parent.top; margins: 10 }
                text: qsTr("Upload complete") + core.emptyString
                font.pixelSize: 14
                font.letterSpacing: 0.9
                font.family: settings.getValue("mainFontFamily")
                color: settings.getValue("mainFontColor")
                style: Text.Raised
                styleColor: "white"
                wrapMode: Text.WordWrap
            }
            PanelLine {
                id: line
                anchors { left: parent.left; right: parent.right; top: heading.bottom; margins: 10 }
            }
            LastLinkButtons {
                id: buttons
                anchors { left: parent.left; right: parent.right; top: line.bottom; leftMargin: 10; rightMargin: 10; topMargin: 20 }
                toolTip: tip
                onUsed: window.close()
            }
            Text {
                objectName: "lastLink"
                anchors { left: parent.left; right: parent.right; top: buttons.bottom; margins: 10; topMargin: 6 }
                textFormat: Text.PlainText // the link as the server gave it
                text: core.lastLink
                elide: Text.ElideMiddle
                horizontalAlignment: Text.AlignHCenter
                font.pixelSize: 11
                font.family: settings.getValue("mainFontFamily")
                color: "#0b77a2"
            }
        },
        CheckBox {
            id: showBox
            objectName: "hideWindowBox"
            anchors { left: parent.left; bottom: parent.bottom; margins: 10 }
            text: qsTr("Do not show this window") + core.emptyString
            font.pixelSize: 12
            onClick: function(check) { settings.showLastUpload = check ? 0 : 1 }
        },
        ToolTip {
            id: tip
            maxWidth: 170
        }
    ]
}
