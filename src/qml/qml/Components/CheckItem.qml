import QtQuick

// Shared body of CheckBox and RadioButton: icon, label and the click that the two handle.
Item {
    id: item

    property string text: ""
    property bool check: false
    property string iconStem: "checkbox"
    property alias font: label.font
    readonly property alias enter: mouse.containsMouse

    signal pressed()

    width: label.implicitWidth + 18
    height: Math.max(13, label.implicitHeight)

    Image {
        id: icon
        anchors.verticalCenter: parent.verticalCenter
        width: 13
        height: 13
        source: "qrc:/component/image/component/" + item.iconStem + (item.check ? "_select" : "_unselect")
                + (mouse.containsMouse ? "_enter" : "_over") + ".png"
    }
    Text {
        id: label
        anchors { left: icon.right; leftMargin: 5; verticalCenter: parent.verticalCenter }
        text: item.text
        font.pixelSize: 13
        font.letterSpacing: 0.7
        font.family: settings.getValue("mainFontFamily")
        color: settings.getValue("mainFontColor")
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: item.pressed()
    }
}
