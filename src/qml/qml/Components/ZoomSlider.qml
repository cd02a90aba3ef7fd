import QtQuick

// The editor's zoom in percent: a knob on a track, 25 to 163 by dragging, 25 to 150 set
// from outside, the value above the knob.
Item {
    id: slider

    property int value: 25
    readonly property int trackLength: 140

    function setValue(v) {
        value = Math.max(25, Math.min(150, v))
        knob.x = (value - 25) * 155 / 138
    }

    width: 155
    height: 15

    Image {
        anchors.verticalCenter: parent.verticalCenter
        width: parent.width
        source: "qrc:/icon/image/component/zoom_slider.png"
    }
    Rectangle {
        id: knob
        objectName: "zoomKnob"
        width: 15
        height: 15
        radius: 7.5
        color: "#c9cbd3"
        border.color: "#5e6168"

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.top
            anchors.bottomMargin: 2
            font.pixelSize: 12
            color: "#999999"
            text: slider.value + "%"
        }
        MouseArea {
            anchors.fill: parent
            drag.target: knob
            drag.axis: Drag.XAxis
            drag.minimumX: 0
            drag.maximumX: slider.trackLength
            onPositionChanged: {
                if (drag.active)
                    slider.value = Math.max(25, Math.min(163, Math.round(knob.x * 138 / 155 + 25)))
            }
        }
    }
}
