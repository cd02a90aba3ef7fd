import QtQuick
import MavuComponent 1.0

// What the page shows around a running scrolling capture: the preview of the stitched image
// (fed by the overlay), its size under it, the progress indicator and the frame round the
// selection. Nothing here takes input.
Item {
    id: elements

    property var selector: null
    property int previewWidth: 112
    property int previewHeight: 253
    property string toolName: ""
    readonly property bool working: surface.isPonoramWork
    readonly property int selLeft: selector.rubberRectLeft
    readonly property int selRight: selector.rubberRectRight
    readonly property int selTop: selector.rubberRectTop
    readonly property int selBottom: selector.rubberRectBottom

    // Beside the selection, on its right unless the preview's picture would not fit there.
    PonoramPreview {
        id: preview
        objectName: "ponoramPreview"
        width: elements.previewWidth
        height: elements.previewHeight
        x: elements.width - elements.selRight < 115 ? elements.selLeft - elements.previewWidth - 10 : elements.selRight + 10
        y: elements.selBottom - elements.previewHeight - 25
        visible: elements.working
    }

    Rectangle {
        objectName: "ponoramSizeLabel"
        x: preview.x + 8
        y: preview.y + preview.height
        width: preview.width - 8 - 6
        height: 23
        radius: 2
        color: Qt.rgba(0, 0, 0, 0.8)
        visible: elements.working
        Text {
            anchors.centerIn: parent
            text: surface.ponoramSize.width + "x" + surface.ponoramSize.height
            font { family: "Arial"; pixelSize: 12 }
            color: "white"
        }
    }

    Rectangle {
        id: indicator
        objectName: "ponoramIndicator"
        x: preview.x + 9
        y: preview.y + preview.height - 58
        width: 96
        height: 48
        color: surface.isPonoramError ? "red" : "#4ba3cc"
        opacity: 0.58
        visible: elements.working
        onVisibleChanged: {
            if (visible) {
                y = preview.y + preview.height - 58
                slide.to = preview.y + preview.height - 63
                slide.restart()
            } else {
                slide.complete()
            }
        }
        Image {
            anchors.centerIn: parent
            rotation: surface.isPonoramError ? 180 : 0
            source: "qrc:/image/image/image/ponoram_arrow.png"
        }
        NumberAnimation { id: slide; target: indicator; property: "y"; duration: 400 }
    }

    Item {
        objectName: "ponoramFrame"
        anchors.fill: parent
        visible: elements.toolName === "Ponoram" && elements.working

        Rectangle {
            x: elements.selLeft - 5
            y: elements.selTop - 5
            width: elements.selRight - elements.selLeft + 10
            height: elements.selBottom - elements.selTop + 10
            color: "black"
            opacity: 0.5
        }
        Repeater {
            // Lines that prolong the frame's edges to the page border.
            model: [
                { x: elements.selLeft - 5, y: 0, w: 1, h: elements.selTop - 5 },
                { x: elements.selRight + 4, y: 0, w: 1, h: elements.selTop - 5 },
                { x: elements.selLeft - 5, y: elements.selBottom + 5, w: 1, h: elements.height - elements.selBottom - 5 },
                { x: elements.selRight + 4, y: elements.selBottom + 5, w: 1, h: elements.height - elements.selBottom - 5 },
                { x: 0, y: elements.selTop - 5, w: elements.selLeft - 5, h: 1 },
                { x: 0, y: elements.selBottom + 4, w: elements.selLeft - 5, h: 1 },
                { x: elements.selRight + 5, y: elements.selTop - 5, w: elements.width - elements.selRight - 5, h: 1 },
                { x: elements.selRight + 5, y: elements.selBottom + 4, w: elements.width - elements.selRight - 5, h: 1 }
            ]
            delegate: Rectangle {
                x: modelData.x
                y: modelData.y
                width: Math.max(0, modelData.w)
                height: Math.max(0, modelData.h)
                color: "black"
                opacity: 0.3
            }
        }
    }
}
