import QtQuick

// The panel most pages lay their controls on, over its lighter substrate 1 pixel lower.
// Children go on the panel itself. A page may make it lighter through the colours.
Item {
    id: panel

    default property alias content: body.data
    property color substrateColor: "#aaffffff"
    property color topColor: "#c0ffffff"
    property color middleColor: "#c0f6f6f6"
    property color bottomColor: "#c0f0f0f0"

    Rectangle {
        width: parent.width
        height: parent.height
        y: 1
        radius: 10
        color: panel.substrateColor
    }
    Rectangle {
        id: body
        anchors.fill: parent
        radius: 10
        border.color: "#cacbd2"
        gradient: Gradient {
            GradientStop { position: 0.0; color: panel.topColor }
            GradientStop { position: 0.5; color: panel.middleColor }
            GradientStop { position: 1.0; color: panel.bottomColor }
        }
    }
}
