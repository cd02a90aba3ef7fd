import QtQuick
import MavuComponent 1.0

Rectangle {
    id: button

    property string text: qsTr("Push button")

    signal click()

    width: 100
    height: 25
    radius: 5
    border.color: mouse.containsMouse ? "#b0b1b1" : "#919293"
    gradient: Gradient {
        GradientStop { position: 0.0; color: "#ffffff" }
        GradientStop { position: 0.5; color: mouse.containsMouse ? "#e9e9e9" : "#dfdfdf" }
        GradientStop { position: 1.0; color: mouse.containsMouse ? "#dbdada" : "#c6c5c5" }
    }

    Text {
        anchors.centerIn: parent
        text: button.text
        font.pixelSize: 12
        font.family: settings.getValue("mainFontFamily")
        color: mouse.containsMouse ? "#45494b" : settings.getValue("mainFontColor")
        style: Text.Raised
        styleColor: "white"
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        // Acts on the press, but once the press has been handled: a modal dialog that the
        // click opens would otherwise take the release, and the button, still pressed in its
        // own eyes, would never react again.
        onPressed: Qt.callLater(function() { button.click() })
    }
    CursorShapeArea {
        anchors.fill: parent
        cursorShape: mouse.containsMouse ? Qt.PointingHandCursor : Qt.ArrowCursor
    }
}
