import QtQuick
import "useful.js" as Fn

// "Cancel screen capture?" while the overlay or the editor asks: over the centre of the
// primary screen, or of the area given.
BorderImage {
    id: box

    property var canvas: null
    property var area: null

    // The state of a new box; the tick follows the setting it stands for, so that nothing is
    // written back.
    function reset() {
        doNotShow.check = !Fn.flag(settings.showCloseSurfaceWindow)
    }

    function hideAndRefocus() {
        surface.visibleCloseWindow = false
        if (canvas)
            canvas.forceActiveFocus()
    }

    width: 440
    height: 250
    opacity: 0.9
    visible: surface.visibleCloseWindow
    source: "qrc:/component/image/component/close_window_background.png"
    border { left: 30; top: 30; right: 30; bottom: 30 }

    onVisibleChanged: {
        if (!visible)
            return
        const shown = area ? area : Qt.rect(surface.primaryX, surface.primaryY, surface.primaryWidth, surface.primaryHeight)
        x = shown.x + shown.width / 2 - 220
        y = shown.y + shown.height / 2 - 125
        box.forceActiveFocus()
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        hoverEnabled: true
        onWheel: function(wheel) { wheel.accepted = true }
    }
    Text {
        id: question
        anchors { left: parent.left; right: parent.right; top: parent.top; margins: 50 }
        text: qsTr("Cancel screen capture? All changes whill be lost!")
        font { family: "Georgia"; italic: true; pixelSize: 17 }
        color: "#ffffff"
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
    }
    Item {
        id: buttons
        anchors { top: question.bottom; topMargin: 35; horizontalCenter: parent.horizontalCenter }
        width: 125
        height: 40

        Keys.onPressed: function(event) {
            if (event.key === Qt.Key_Escape) {
                box.hideAndRefocus()
                event.accepted = true
            } else if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
                box.hideAndRefocus()
                surface.close()
                event.accepted = true
            }
        }

        DialogButton {
            objectName: "confirmYes"
            anchors.left: parent.left
            text: qsTr("Yes")
            onClick: surface.close()
        }
        DialogButton {
            objectName: "confirmNo"
            anchors.right: parent.right
            text: qsTr("No")
            onClick: surface.visibleCloseWindow = false
        }
    }
    CheckBowCloseWindow {
        id: doNotShow
        objectName: "confirmDoNotShow"
        anchors { bottom: parent.bottom; bottomMargin: 45; horizontalCenter: parent.horizontalCenter }
        text: qsTr("Do not show this window")
        onCheckChanged: settings.showCloseSurfaceWindow = !check
    }
}
