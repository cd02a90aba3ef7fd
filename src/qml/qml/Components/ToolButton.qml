import QtQuick

// One tool of the annotation toolbar. `icon` is the file stem after "tool_".
Item {
    id: button

    property string name: ""
    property string icon: ""
    property bool check: false
    property alias checked: button.check
    readonly property alias enter: mouse.containsMouse
    property bool command: false
    property string toolTipText: ""
    property string subToolTipText: ""
    property var toolTip: null
    property var toolTipTarget: button
    property bool enable: true
    property int toolInterval: 1000

    signal click(string arg, bool check)

    function hideHint() {
        hintTimer.stop()
        if (toolTip && toolTip.mouseItem === toolTipTarget)
            toolTip.visible = false
    }

    width: 57
    height: 44

    Image {
        anchors.fill: parent
        visible: mouse.containsMouse
        source: "qrc:/component/image/component/" + (button.check ? "tool_background.png" : "tool_item_background.png")
    }
    Image {
        objectName: "toolIcon"
        anchors.centerIn: parent
        opacity: button.enable ? 1.0 : 0.5
        source: "qrc:/component/image/component/tool_" + button.icon + (button.command ? "_command" : "")
                + (button.check ? "_checked" : (mouse.containsMouse ? "_hover" : "")) + ".png"
    }
    Timer {
        id: hintTimer
        interval: button.toolInterval
        onTriggered: {
            if (button.toolTipText === "" || !button.toolTip)
                return
            button.toolTip.text = button.toolTipText
            button.toolTip.subText = button.subToolTipText
            button.toolTip.mouseItem = button.toolTipTarget
            button.toolTip.mouseX = mouse.mouseX
            button.toolTip.mouseY = mouse.mouseY
            button.toolTip.visible = false
            button.toolTip.visible = true
        }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onEntered: hintTimer.restart()
        onExited: button.hideHint()
        onClicked: {
            button.hideHint()
            if (button.enable)
                button.click(button.name, !button.check)
        }
    }
}
