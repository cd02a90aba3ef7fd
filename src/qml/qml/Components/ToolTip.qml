import QtQuick

// The bubble shared by the tool buttons of a page. It places itself beside the item the
// pointer is over (`mouseItem`) when it becomes visible.
Item {
    id: tip

    property string text: ""
    property string subText: ""
    property alias font: mainText.font
    property var target: null
    property bool toolLeft: true
    property bool toolTop: false
    property int maxWidth: 170
    property int minWidth: 0
    property bool calcPos: true
    property bool centerItem: false
    property int xCorrect: 0
    property int yCorrect: 0
    property int mouseX: 0
    property int mouseY: 0
    property var mouseItem: null

    signal click()

    function place() {
        if (!calcPos || !mouseItem)
            return
        var origin = window.mapToScene(mouseItem)
        if (centerItem) {
            toolLeft = true
            x = origin.x - 5 + xCorrect
            y = origin.y - height + 10 + yCorrect
            return
        }
        var nx = origin.x + mouseX - 32
        var ny = origin.y + mouseY - height - 1
        var page = tip.parent
        var pageWidth = page ? page.width : window.width
        var pageHeight = page ? page.height : window.height
        if (nx < 0 || ny < 0 || nx + width > pageWidth || ny + height > pageHeight) {
            toolLeft = false
            nx = origin.x + mouseX - (width - 35)
            ny = origin.y + mouseY - height - 5
        } else {
            toolLeft = true
        }
        x = nx + xCorrect
        y = ny + yCorrect
    }

    z: 10000
    visible: false
    width: Math.max(mainText.width, maxWidth, minWidth)
    height: subText === "" ? mainText.height + 42 : mainText.height + secondText.height + 47
    onVisibleChanged: if (visible) place()

    BorderImage {
        anchors.fill: parent
        source: "qrc:/component/image/component/toolTip_background_" + (tip.toolLeft ? "left" : "right")
                + (tip.toolTop ? "_top" : "_bottom") + ".png"
        border.left: tip.toolLeft ? 44 : 13
        border.right: tip.toolLeft ? 13 : 44
        border.top: tip.toolTop ? 25 : 15
        border.bottom: tip.toolTop ? 15 : 25
    }
    Text {
        id: mainText
        x: 20
        y: tip.toolTop ? 25 : 15
        width: Math.min(implicitWidth, tip.maxWidth - 40)
        text: tip.text
        textFormat: Text.StyledText
        wrapMode: Text.WordWrap
        color: "#d8d9df"
        font.pixelSize: 13
        font.letterSpacing: 0.9
        lineHeight: 1.2
    }
    Text {
        id: secondText
        anchors { left: mainText.left; top: mainText.bottom; topMargin: 5 }
        width: tip.width - 40
        visible: tip.subText !== ""
        text: tip.subText
        wrapMode: Text.WordWrap
        color: "#a4a6b0"
        font.pixelSize: 11
    }
    MouseArea {
        anchors.fill: parent
        onClicked: tip.click()
    }
}
