import QtQuick
import MavuComponent 1.0

// A large tool button with icon and caption; its tool tip shows after a second of hover.
Item {
    id: button

    property string text: ""
    property string image: ""
    property string toolText: ""
    property var toolTip: null

    signal click()

    width: 100
    height: 60

    function hideHint() {
        highlight.visible = false
        hintTimer.stop()
        if (toolTip)
            toolTip.visible = false
    }

    HighlightGradient {
        id: highlight
        anchors.fill: parent
        visible: false
        edge: "#00caccd3"
        quarter: "#70caccd3"
        middle: "#ffcaccd3"
    }
    Image {
        id: icon
        anchors { horizontalCenter: parent.horizontalCenter; top: parent.top; topMargin: 3 }
        width: 35
        height: 35
        source: button.image
    }
    Text {
        anchors { horizontalCenter: parent.horizontalCenter; top: icon.bottom; topMargin: 10 }
        text: button.text
        font.pixelSize: 13
        font.letterSpacing: 0.9
        font.family: settings.getValue("mainFontFamily")
        color: settings.getValue("mainFontColor")
        style: Text.Raised
        styleColor: "white"
    }
    Timer {
        id: hintTimer
        interval: 1000
        onTriggered: {
            if (button.toolText === "" || !button.toolTip)
                return
            button.toolTip.text = button.toolText
            button.toolTip.mouseItem = button
            button.toolTip.mouseX = mouse.mouseX
            button.toolTip.mouseY = mouse.mouseY
            button.toolTip.visible = true
        }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onEntered: {
            highlight.visible = true
            hintTimer.restart()
        }
        onExited: button.hideHint()
        onPressed: button.hideHint()
        onReleased: {
            button.hideHint()
            button.click()
        }
    }
    CursorShapeArea {
        anchors.fill: parent
        cursorShape: mouse.containsMouse ? Qt.PointingHandCursor : Qt.ArrowCursor
    }
}
