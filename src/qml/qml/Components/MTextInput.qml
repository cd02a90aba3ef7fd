import QtQuick

Rectangle {
    id: box

    property alias text: input.text
    property string label: ""
    property alias echoMode: input.echoMode

    // Named setFocus: an item's "focus" is a property that no function may shadow.
    function setFocus() {
        input.forceActiveFocus()
    }

    width: 100
    height: 28
    color: "white"
    border { width: 1; color: "#bab8b8" }
    clip: true

    Text {
        anchors { left: parent.left; right: parent.right; top: parent.top; leftMargin: 10; rightMargin: 10; topMargin: 7 }
        text: box.label
        font { family: "Arial"; pixelSize: 13; italic: true }
        color: "#5c5c5e"
        opacity: input.text === "" ? 1 : 0
        Behavior on opacity { NumberAnimation { duration: 100 } }
    }
    TextInput {
        id: input
        anchors { left: parent.left; right: parent.right; top: parent.top; leftMargin: 10; rightMargin: 10; topMargin: 7 }
        font { family: "Arial"; pixelSize: 13 }
        color: "#4d5057"
        selectByMouse: true
    }
}
