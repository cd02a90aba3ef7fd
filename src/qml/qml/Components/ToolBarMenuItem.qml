import QtQuick

Item {
    id: item

    property string text: ""
    property string shortcut: ""
    property string icon: ""

    signal triggered()

    width: parent ? parent.width : 240
    height: 30

    Rectangle {
        anchors.fill: parent
        color: "#80444647"
        visible: mouse.containsMouse
    }
    Image {
        id: icon
        x: 20
        y: 6
        width: 19
        height: 19
        visible: item.icon !== ""
        source: item.icon === "" ? "" : "qrc:/icon/image/icon/" + item.icon
    }
    Text {
        x: item.icon === "" ? 20 : icon.x + icon.width + 10
        anchors.verticalCenter: parent.verticalCenter
        text: item.text
        font { family: "Arial"; pixelSize: 12 }
        color: "#ccc9d1"
    }
    Text {
        anchors { right: parent.right; rightMargin: 20; verticalCenter: parent.verticalCenter }
        text: item.shortcut
        font { family: "Arial"; pixelSize: 12 }
        color: "#858188"
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onReleased: item.triggered()
    }
}
