import QtQuick

Rectangle {
    id: button

    property string text: ""

    signal click()

    width: 57
    height: 38
    radius: 2
    border { width: 1; color: "#575655" }
    gradient: Gradient {
        GradientStop { position: 0.0; color: "#424141" }
        GradientStop { position: mouse.containsMouse ? 0.55 : 0.45; color: "#292929" }
        GradientStop { position: mouse.containsMouse ? 0.65 : 0.55; color: "#191817" }
        GradientStop { position: 1.0; color: "#0c0b0a" }
    }

    Text {
        anchors.centerIn: parent
        text: button.text
        font { family: "Arial"; bold: true; pixelSize: 14 }
        color: "#e6e6e6"
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.click()
    }
}
