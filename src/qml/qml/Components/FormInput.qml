import QtQuick

// A text field of the sign-in and proxy forms: a white box with a 1-pixel border and
// 12-pixel text. A right-button press replaces the text with the clipboard's. Return,
// Enter and Tab go to the page as signals, so the page decides where they lead.
Rectangle {
    id: field

    property alias text: input.text
    property alias echoMode: input.echoMode
    property alias validator: input.validator

    signal returnPressed()
    signal tabPressed()
    // Only the user's own changes: typing or pasting.
    signal textEdited()

    function setFocus() {
        input.forceActiveFocus()
    }

    height: 28
    color: "white"
    border { width: 1; color: "#bab8b8" }
    clip: true

    TextInput {
        id: input
        anchors { fill: parent; leftMargin: 10; rightMargin: 10; topMargin: 7 }
        font.pixelSize: 12
        font.family: settings.getValue("mainFontFamily")
        color: settings.getValue("mainFontColor")
        selectByMouse: true
        Keys.onReturnPressed: field.returnPressed()
        Keys.onEnterPressed: field.returnPressed()
        Keys.onTabPressed: field.tabPressed()
        onTextEdited: field.textEdited()
    }
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.RightButton
        cursorShape: Qt.IBeamCursor
        onPressed: {
            input.text = core.clipboardText()
            field.textEdited()
        }
    }
}
