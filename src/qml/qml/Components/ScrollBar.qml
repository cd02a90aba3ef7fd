import QtQuick

// A thin scroll bar for views without their own: follows `position` and `pageSize` (both
// fractions of the content) and reports handle drags as pixel offsets.
Item {
    id: bar

    property real position: 0
    property real pageSize: 1
    property int orientation: Qt.Vertical
    readonly property bool vertical: orientation === Qt.Vertical
    readonly property real length: vertical ? height : width

    signal dragScroll(int diff)

    Rectangle {
        anchors.fill: parent
        radius: bar.vertical ? width / 2 : height / 2
        color: "black"
        opacity: 0.1
    }
    Rectangle {
        id: handle
        x: bar.vertical ? 1 : bar.position * (bar.length - 2) + 1
        y: bar.vertical ? bar.position * (bar.length - 2) + 1 : 1
        width: bar.vertical ? bar.width - 2 : bar.pageSize * (bar.length - 2)
        height: bar.vertical ? bar.pageSize * (bar.length - 2) : bar.height - 2
        radius: bar.vertical ? width / 2 : height / 2
        color: "black"
        opacity: 0.3

        MouseArea {
            property real pressAt: 0
            anchors.fill: parent
            onPressed: function(mouse) { pressAt = bar.vertical ? mouse.y : mouse.x }
            onPositionChanged: function(mouse) {
                bar.dragScroll(Math.round((bar.vertical ? mouse.y : mouse.x) - pressAt))
            }
        }
    }
}
