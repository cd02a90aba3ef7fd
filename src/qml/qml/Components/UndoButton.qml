import QtQuick

// Undo or redo arrow of the toolbar's drop panel.
Image {
    id: button

    property string stem: "undo"
    property bool available: false

    signal clicked()

    width: 25
    height: 20
    opacity: mouse.pressed ? 0.7 : 1.0
    source: "qrc:/icon/image/icon/" + stem + "_arrow"
            + (!available ? "_disable" : (mouse.containsMouse ? "_hover" : "")) + ".png"

    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        enabled: button.available
        onClicked: button.clicked()
    }
}
