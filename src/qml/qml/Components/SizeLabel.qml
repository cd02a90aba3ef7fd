import QtQuick

// Width x height of the selection beside its bottom-right corner while it is drawn; turned
// inward (on a dark plate) where the page ends.
Item {
    id: label

    property var selector: null
    property var canvas: null
    property var magnifier: null
    property var toolBar: null
    property bool showMagnifier: false

    readonly property int selRight: selector.rubberRectRight
    readonly property int selBottom: selector.rubberRectBottom
    readonly property int selectionWidth: selRight - selector.rubberRectLeft
    readonly property int selectionHeight: selBottom - selector.rubberRectTop
    readonly property bool flipped: selRight + 10 + text.width > canvas.width
    readonly property bool magnifierFlipped: selRight + 10 + magnifier.width > canvas.width
                                             || selBottom + 10 + magnifier.height > canvas.height
    readonly property bool besideToolBar: selBottom - 20 > toolBar.y && selBottom - 20 < toolBar.y + toolBar.height

    width: text.width
    height: text.height
    visible: selectionWidth > 0 && selectionHeight > 0 && selector.isPress
    x: flipped ? selRight - text.width - 20 : selRight + 10
    y: flipped && magnifierFlipped && showMagnifier ? magnifier.y - 20
                                                    : (besideToolBar ? toolBar.y - 20 : selBottom - 20)

    Rectangle {
        objectName: "sizeLabelPlate"
        anchors { fill: parent; leftMargin: -10; rightMargin: -10; topMargin: -5; bottomMargin: -5 }
        visible: label.flipped
        color: "black"
        radius: 2
    }
    Text {
        id: text
        objectName: "sizeLabelText"
        text: label.selectionWidth + "x" + label.selectionHeight
        font { family: "Arial"; pixelSize: 12 }
        color: "white"
    }
}
