import QtQuick
import MavuComponent 1.0

ImageButton {
    imageStem: "login_button_background"
    borderWidth: 7
    height: 27
    label.font.family: "Arial"
    label.font.pixelSize: 14
    label.font.letterSpacing: 0
    label.style: Text.Normal

    CursorShapeArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
    }
}
