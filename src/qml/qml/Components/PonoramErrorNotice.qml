import QtQuick

// Over the bottom of the scrolling capture's result when the capture lost its place or the
// picture reached its largest size: the picture ends with the last frame that fitted.
Rectangle {
    property bool full: false

    height: noticeText.implicitHeight + 16
    color: "red"
    opacity: 0.8

    Text {
        id: noticeText
        objectName: "ponoramErrorText"
        anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter; margins: 8 }
        text: full ? qsTr("The scrolling capture stopped at the largest picture that can still be saved: the picture ends with the last frame that fitted.")
                   : qsTr("The scrolling capture lost its place and stopped: the picture ends with the last frame that fitted.")
        font { family: "Arial"; pixelSize: 12 }
        color: "white"
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
    }
}
