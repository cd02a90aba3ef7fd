import QtQuick
import MavuComponent 1.0

// One tab of the settings page.
Item {
    id: item

    property string text: ""
    property string iconSource: ""
    property bool check: false
    property int iconWidth: 36
    property int iconHeight: 36

    height: 64
    width: Math.max(label.implicitWidth, 55) + 30

    HighlightGradient {
        anchors.fill: parent
        visible: mouse.containsMouse
    }
    Image {
        id: icon
        anchors { horizontalCenter: parent.horizontalCenter; top: parent.top; topMargin: 5 }
        width: item.iconWidth
        height: item.iconHeight
        source: item.iconSource
    }
    Text {
        id: label
        anchors { horizontalCenter: parent.horizontalCenter; top: icon.bottom; topMargin: 10 }
        text: item.text
        font.pixelSize: 14
        font.letterSpacing: 0.9
        font.family: settings.getValue("mainFontFamily")
        color: "#45494b"
        style: Text.Raised
        styleColor: "white"
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: if (!item.check) item.check = true
    }
    CursorShapeArea {
        anchors.fill: parent
        cursorShape: mouse.containsMouse ? Qt.PointingHandCursor : Qt.ArrowCursor
    }
}
