import QtQuick

// The hint over the selection while the scrolling capture is chosen but not yet running.
BorderImage {
    width: 420
    height: 200
    source: "qrc:/image/image/image/scroll_dialog_background.png"
    border { left: 12; top: 12; right: 12; bottom: 12 }

    Text {
        anchors { fill: parent; margins: 50; topMargin: 45 }
        text: qsTr("Press \"Play\" and use wheel or application scroll and drop his down")
        font { family: "Georgia"; italic: true; pixelSize: 17 }
        color: "white"
        wrapMode: Text.WordWrap
        lineHeight: 0.85
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }
}
