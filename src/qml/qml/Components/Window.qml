import QtQuick
import MavuComponent 1.0

// Frame of every page: a panel with title and close button, inside a 30-pixel transparent
// margin while the desktop composes windows (an opaque frame without margin otherwise).
FocusScope {
    id: frame

    property string titleText: ""
    property string iconSource: ""
    property bool iconVisible: true
    property bool titleVisible: true
    property int windowWidth: 100
    property int windowHeight: 100
    property alias content: contentItem.data
    readonly property int margin: window.isTransparentSupport ? 30 : 0

    signal closed()

    // The page's own keyboard items get the keys; Escape that none takes closes the window.
    focus: true
    width: windowWidth + margin * 2
    height: windowHeight + margin * 2

    BorderImage {
        id: panel
        anchors.fill: parent
        anchors.margins: frame.margin
        source: "qrc:/image/image/image/background.png"
        border { left: 8; top: 8; right: 8; bottom: 8 }
        horizontalTileMode: BorderImage.Repeat
        verticalTileMode: BorderImage.Repeat

        Rectangle {
            anchors { left: parent.left; right: parent.right; bottom: parent.bottom; margins: 1 }
            height: parent.height / 2
            radius: 7
            gradient: Gradient {
                GradientStop { position: 0.0; color: "#00dad8d8" }
                GradientStop { position: 0.5; color: "#aadad8d8" }
                GradientStop { position: 1.0; color: "#ffdad8d8" }
            }
        }
    }

    Row {
        id: title
        x: panel.x + 10
        y: panel.y + 10
        spacing: 5
        visible: frame.titleVisible

        Image {
            visible: frame.iconVisible
            width: frame.iconSource === "" ? 25 : 21
            height: width
            source: frame.iconSource === "" ? "qrc:/icon/image/icon/main_ico.png" : frame.iconSource
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: frame.titleText
            color: "#4c555a"
            font.pointSize: 11
            font.family: settings.getValue("mainFontFamily")
            style: Text.Raised
            styleColor: "white"
        }
    }
    MouseArea {
        anchors.fill: title
        visible: frame.titleVisible
        onClicked: core.openUrl("https://" + settings.currentHostUrl + "/")
    }
    CursorShapeArea {
        anchors.fill: title
        cursorShape: Qt.PointingHandCursor
    }

    Item {
        id: closeArea
        width: 16
        height: 16
        x: panel.x + panel.width - 10 - width
        y: panel.y + 10

        ControllButton {
            anchors.centerIn: parent
            type: "close"
            onClick: {
                frame.closed()
                frame.forceActiveFocus()
                window.close()
            }
        }
    }

    Item {
        id: contentItem
        anchors.fill: panel
    }
}
