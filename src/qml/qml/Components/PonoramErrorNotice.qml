import QtQuick

// Over the bottom of the scrolling capture's result when the capture lost its place: the
// picture ends with the last frame that fitted.
Rectangle {
    height: noticeText.implicitHeight + 16
    color: "red"
    opacity: 0.8

    Text {
        id: noticeText
        anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter; margins: 8 }
        text: qsTr("The scrolling capture lost its place and stopped: the picture ends with the last frame that fitted.")
        font { family: "Arial"; pixelSize: 12 }
        color: "white"
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
    }
}
