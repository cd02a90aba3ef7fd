import QtQuick
import MavuComponent 1.0

Item {
    id: link

    property string text: ""
    property int pixelSize: 13
    property bool textDecoration: true
    property int hAlign: -1

    signal click()

    height: 25
    width: label.implicitWidth

    Text {
        id: label
        width: parent.width
        text: link.text
        color: "#0b77a2"
        font.pixelSize: link.pixelSize
        font.letterSpacing: 0.9
        font.family: settings.getValue("mainFontFamily")
        wrapMode: Text.WordWrap
        horizontalAlignment: link.hAlign < 0 ? Text.AlignLeft : (link.hAlign > 0 ? Text.AlignRight : Text.AlignHCenter)
    }
    Rectangle {
        visible: link.textDecoration
        anchors { left: label.left; top: label.bottom }
        width: label.contentWidth
        height: 1
        color: "#009ed8"
    }
    MouseArea {
        anchors.fill: parent
        onClicked: link.click()
    }
    CursorShapeArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
    }
}
