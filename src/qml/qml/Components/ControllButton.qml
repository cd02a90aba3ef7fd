import QtQuick

// The frame's close (type "close") or minimise button.
Image {
    id: button

    property string type: "close"

    signal click()

    width: 17
    height: 17
    source: "qrc:/component/image/component/" + (type === "close" ? "close" : "turn")
            + (mouse.containsMouse ? "_enter" : "") + ".png"

    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.click()
    }
}
