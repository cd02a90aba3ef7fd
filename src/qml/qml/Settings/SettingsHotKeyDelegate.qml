import QtQuick
import "qrc:/qml/qml/Components"
import "qrc:/qml/qml/Components/useful.js" as Fn

// The hot key tab: the three global capture hotkeys, each changed by typing a combination,
// and the keys of the capture overlay. While a combination is typed the global hotkeys are
// released; however the typing ends, they are armed again.
StandardPanel {
    id: tab

    // The page that holds the three values being edited and oldKey.
    property Item owner
    property Item editing: null

    component Heading: Text {
        font { family: "Georgia"; pixelSize: 19 }
        color: "#2d2d33"
    }
    component Line: Text {
        font.pixelSize: 13
        font.family: settings.getValue("mainFontFamily")
        color: "#45494b"
    }

    component HotKeyBlock: Item {
        id: block

        property string title
        property string value
        // The combination typed equals another hotkey's.
        property bool clash: false
        property alias input: input
        readonly property bool isEditing: tab.editing === block

        signal taken(string combination)

        width: 150
        height: 75

        Text {
            id: heading
            text: block.title
            font { pixelSize: 13; bold: true; family: settings.getValue("mainFontFamily") }
            color: "#45494b"
        }
        Text {
            objectName: "value"
            anchors { top: heading.bottom; topMargin: 6 }
            visible: !block.isEditing
            text: block.value
            font.pixelSize: 12
            font.family: settings.getValue("mainFontFamily")
            color: settings.getValue("mainFontColor")
        }
        Link {
            objectName: "change"
            anchors { top: heading.bottom; topMargin: 24 }
            visible: !block.isEditing
            text: qsTr("Change") + core.emptyString
            onClick: tab.startEditing(block)
        }
        HootKeyInput {
            id: input
            anchors { top: heading.bottom; topMargin: 4 }
            visible: block.isEditing
            onActiveFocusInputChanged: {
                if (activeFocusInput) {
                    tab.owner.oldKey = text
                    text = ""
                } else if (text === "") {
                    text = tab.owner.oldKey
                }
            }
            onKeyPress: function (event) { tab.keyPressed(block, event) }
        }
        Text {
            objectName: "typed"
            anchors { top: input.bottom; topMargin: 4 }
            width: block.width
            visible: block.isEditing
            text: block.clash ? input.text + " - " + qsTr("already in use") + core.emptyString : input.text
            elide: Text.ElideRight
            font.pixelSize: 11
            font.family: settings.getValue("mainFontFamily")
            color: block.clash ? "#c0392b" : "#636567"
        }
    }

    readonly property var blocks: [fragment, fullScreen, quick]

    function startEditing(block) {
        core.unhookKeyboard()
        block.clash = false
        editing = block
        block.input.text = block.value
        block.input.setFocus()
    }

    // The hidden input gives up the keys: they go to the page again, where Escape closes
    // the window and a stray combination changes no hotkey.
    function leaveInput() {
        if (editing === null)
            return
        editing.input.focusInput = false
        editing = null
        owner.forceActiveFocus()
    }

    // Ends the typing, taken or not, and arms the hotkeys again from the settings.
    function stopEditing() {
        if (editing === null)
            return
        leaveInput()
        core.updateHook()
    }

    // "Ctrl + Shift + Print" and "Shift + Ctrl + Print Screen" name the same keys.
    function sameCombination(a, b) {
        function parts(text) {
            return String(text).replace(/⇧/g, "Shift").replace(/⌘/g, "Ctrl").replace(/Print Screen/g, "Print")
                .split("+").map(function (part) { return part.trim() }).sort().join("+")
        }
        return parts(a) === parts(b)
    }

    function takenByAnother(block, combination) {
        return blocks.some(function (other) { return other !== block && sameCombination(other.value, combination) })
    }

    // Only the block being edited takes keys; any other key press is left to the page.
    function keyPressed(block, event) {
        if (!block.isEditing) {
            event.accepted = false
            return
        }
        event.accepted = true
        if (event.key === Qt.Key_Escape || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            stopEditing()
            return
        }
        var hoot = Fn.getHootKey(event)
        if (hoot === "")
            return
        block.input.text = hoot[1] === "" ? hoot[0] : hoot[0] + " + " + hoot[1]
        block.clash = hoot[1] !== "" && takenByAnother(block, block.input.text)
        if (hoot[1] === "" || block.clash)
            return
        block.taken(block.input.text)
        stopEditing()
    }

    // Called by Accept before it arms the hotkeys itself.
    function save() {
        leaveInput()
        settings.setValue("keyFragmentScreen", owner.hootKeyFragmentScreen)
        settings.setValue("keySnapshotScreen", owner.hootKeyFragmentFullScreen)
        settings.setValue("keyQuickFragmentScreen", owner.hootKeyFragmentQuick)
    }

    Column {
        x: 30
        y: 15
        width: parent.width - 60
        spacing: 10

        Heading { text: qsTr("Primary") + core.emptyString }
        Row {
            spacing: 25

            HotKeyBlock {
                id: fragment
                objectName: "fragmentHotKey"
                title: qsTr("Fragment screen") + core.emptyString
                value: tab.owner ? tab.owner.hootKeyFragmentScreen : ""
                onTaken: function (combination) { tab.owner.hootKeyFragmentScreen = combination }
            }
            HotKeyBlock {
                id: fullScreen
                objectName: "fullScreenHotKey"
                title: qsTr("Full screen") + core.emptyString
                value: tab.owner ? tab.owner.hootKeyFragmentFullScreen : ""
                onTaken: function (combination) { tab.owner.hootKeyFragmentFullScreen = combination }
            }
            HotKeyBlock {
                id: quick
                objectName: "quickHotKey"
                title: qsTr("Quick screen") + core.emptyString
                value: tab.owner ? tab.owner.hootKeyFragmentQuick : ""
                onTaken: function (combination) { tab.owner.hootKeyFragmentQuick = combination }
            }
        }

        Heading { text: qsTr("Secondary") + core.emptyString }
        Column {
            spacing: 4
            Line { text: qsTr("Ctrl + Enter - Send screenshot to selected storage") + core.emptyString }
            Line { text: qsTr("Ctrl + C - Copy screenshot to clipboard") + core.emptyString }
            Line { text: qsTr("Ctrl + S - Save it to your computer") + core.emptyString }
            Line { text: qsTr("Ctrl + C - Copy on clipboard #hex of color under cursor") + core.emptyString }
            Line { text: qsTr("Esc - Cancel the removal of a screenshot") + core.emptyString }
        }

        Heading { text: qsTr("Social") + core.emptyString }
        Column {
            spacing: 4
            Line { text: qsTr("Ctrl + Shift + F - Send screenshot to facebook") + core.emptyString }
            Line { text: qsTr("Ctrl + Shift + T - Send screenshot to twitter") + core.emptyString }
            Line { text: qsTr("Ctrl + Shift + V - Send screenshot to vkontakte") + core.emptyString }
            Line { text: qsTr("Ctrl + Shift + O - Send screenshot to odnoklassniki") + core.emptyString }
            Line { text: qsTr("Ctrl + Shift + E - Send screenshot to e-mail") + core.emptyString }
        }
    }
}
