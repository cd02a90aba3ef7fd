import QtQuick

// The line-width slider of the toolbar: 2 to 26 in steps of `step` pixels of knob travel.
Item {
    id: slider

    property int minValue: 2
    property int maxValue: 26
    property int value: 2
    readonly property int step: Math.floor(105 / 24)
    readonly property alias knobX: knob.x
    property int pressValue: 2

    signal valueChangeComplete(int value, int oldValue)

    function setValue(v) {
        value = v
        knob.x = (v - minValue) * step
    }

    function valueAt(x) {
        return Math.max(minValue, Math.trunc(x / step) + minValue)
    }

    width: 105
    height: 20

    Image {
        anchors.fill: parent
        source: "qrc:/component/image/component/slider_background"
                + (slider.enabled && slider.value !== 0 ? "_" + slider.value : "") + ".png"
    }
    MouseArea {
        objectName: "sliderTrack"
        anchors.fill: parent
        onReleased: function(mouse) {
            var previous = slider.value
            knob.x = Math.max(-2, Math.min(90, mouse.x - 9))
            slider.value = slider.valueAt(knob.x)
            slider.valueChangeComplete(slider.value, previous)
        }
    }
    Image {
        id: knob
        objectName: "sliderKnob"
        y: 1
        width: 18
        height: 18
        source: "qrc:/component/image/component/" + (slider.enabled ? "slider_control.png" : "selected_color_disable.png")
        onXChanged: if (knobMouse.drag.active) slider.value = slider.valueAt(x)

        MouseArea {
            id: knobMouse
            anchors.fill: parent
            drag.target: knob
            drag.axis: Drag.XAxis
            drag.minimumX: 0
            drag.maximumX: 90
            onPressed: slider.pressValue = slider.value
            onReleased: slider.valueChangeComplete(slider.value, slider.pressValue)
        }
    }
}
