import QtQuick

// The "do not ask again" box of the overlay's confirm box.
Item {
    id: box

    property string text: ""
    property bool check: false

    width: 26 + label.implicitWidth
    height: 16

    Image {
        width: 16
        height: 16
        source: "qrc:/component/image/component/close_window_checkbox_" + (box.check ? "check" : "uncheck") + ".png"
    }
    Text {
        id: label
        x: 26
        anchors.verticalCenter: parent.verticalCenter
        text: box.text
        font { family: "Arial"; pixelSize: 14 }
        color: "#a0a0a0"
    }
    MouseArea {
        anchors.fill: parent
        onClicked: box.check = !box.check
    }
}
