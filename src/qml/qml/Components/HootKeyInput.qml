import QtQuick
import "useful.js" as Fn

// The hotkey field of the settings page: records the modifiers and key held.
Item {
    id: field

    property alias text: input.text
    property alias readOnly: input.readOnly
    property alias echoMode: input.echoMode
    property alias inputMask: input.inputMask
    property alias font: input.font
    readonly property alias activeFocusInput: input.activeFocus
    property alias focusInput: input.focus
    property string lastHoot: ""

    signal tabPress()
    signal keyPress(var event)
    signal keyRelease(var event)

    function setFocus() {
        input.forceActiveFocus()
    }

    height: 25
    width: parent ? parent.width : 100

    Column {
        anchors.verticalCenter: parent.verticalCenter
        Text {
            text: qsTr("Press a key combination")
            font { family: "Arial"; pixelSize: 13 }
            color: "#45494b"
        }
        Text {
            text: qsTr("Esc for cancel")
            font { family: "Arial"; pixelSize: 11 }
            color: "#636567"
        }
    }
    TextInput {
        id: input
        anchors.fill: parent
        opacity: 0
        Keys.onPressed: function(event) {
            field.keyPress(event)
            var hoot = Fn.getHootKey(event)
            if (hoot !== "")
                field.lastHoot = hoot[0] + (hoot[1] !== "" ? " + " + hoot[1] : "")
        }
        Keys.onReleased: function(event) {
            if (event.key === Qt.Key_Tab)
                field.tabPress()
            field.keyRelease(event)
            var released = Fn.getKeyText(event.key)
            if (released !== "")
                field.lastHoot = field.lastHoot.replace(" + " + released, "")
        }
    }
    MouseArea {
        anchors.fill: parent
        onClicked: input.forceActiveFocus()
    }
}
