import QtQuick

// The panel most pages lay their controls on, over its lighter substrate 1 pixel lower.
// Children go on the panel itself.
Item {
    default property alias content: body.data

    Rectangle {
        width: parent.width
        height: parent.height
        y: 1
        radius: 10
        color: "#aaffffff"
    }
    Rectangle {
        id: body
        anchors.fill: parent
        radius: 10
        border.color: "#cacbd2"
        gradient: Gradient {
            GradientStop { position: 0.0; color: "#c0ffffff" }
            GradientStop { position: 0.5; color: "#c0f6f6f6" }
            GradientStop { position: 1.0; color: "#c0f0f0f0" }
        }
    }
}
