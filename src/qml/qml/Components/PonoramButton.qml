import QtQuick

// Starts and stops the scrolling capture from the toolbar's drop panel.
Image {
    id: button

    property bool running: false
    property bool available: true
    property var toolTip: null

    signal clicked()

    width: 25
    height: 20
    opacity: mouse.pressed ? 0.7 : 1.0
    source: "qrc:/icon/image/icon/" + (running ? "ponoram_stop" : "ponoram_start")
            + (mouse.containsMouse && mouse.enabled ? "_hover" : (running || available ? "" : "_disable")) + ".png"

    function hideHint() {
        hintTimer.stop()
        if (toolTip && toolTip.mouseItem === button)
            toolTip.visible = false
    }

    Timer {
        id: hintTimer
        interval: 1000
        onTriggered: {
            if (!button.toolTip)
                return
            button.toolTip.text = qsTr("<b>Scrolling capture</b>")
            button.toolTip.subText = qsTr("Scroll the window under the selection; move the pointer out of it to finish.")
            button.toolTip.mouseItem = button
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
        enabled: button.available || button.running
        onEntered: hintTimer.restart()
        onExited: button.hideHint()
        onClicked: {
            button.hideHint()
            button.clicked()
        }
    }
}
