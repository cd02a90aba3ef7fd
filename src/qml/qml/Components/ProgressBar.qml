import QtQuick

Item {
    id: bar

    property real minimum: 0
    property real maximum: 100
    property real value: 0
    readonly property real fillWidth: maximum === minimum ? 0
        : Math.max(0, Math.min(width, width * (value - minimum) / (maximum - minimum)))

    height: 10
    clip: true

    Rectangle {
        anchors.fill: parent
        radius: 3
        border { width: 1; color: "#cbced5" }
        gradient: Gradient {
            GradientStop { position: 0.0; color: "#ddddde" }
            GradientStop { position: 0.5; color: "#e9eaec" }
            GradientStop { position: 1.0; color: "#ddddde" }
        }
    }
    Rectangle {
        objectName: "progressFill"
        height: parent.height
        width: bar.fillWidth
        visible: width > 0
        radius: 3
        gradient: Gradient {
            GradientStop { position: 0.0; color: "#87c3e5" }
            GradientStop { position: 0.5; color: "#3db4ef" }
            GradientStop { position: 1.0; color: "#73c7f2" }
        }
    }
}
