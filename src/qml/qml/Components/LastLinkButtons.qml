import QtQuick

// "Open" and "Copy" of the last link side by side, with the divider between them.
// `used()` follows either, so that the page can close or hide its window.
Item {
    id: buttons

    property var toolTip: null

    signal used()

    height: 60

    ToolPushButton {
        id: openButton
        objectName: "openLinkButton"
        anchors.left: parent.left
        text: qsTr("Open") + core.emptyString
        image: "qrc:/icon/image/icon/open.png"
        toolText: qsTr("Open link in the last screenshot/file") + core.emptyString
        toolTip: buttons.toolTip
        onClick: {
            core.openLastLink()
            buttons.used()
        }
    }
    VerticalDivider {
        id: divider
        anchors { left: openButton.right; leftMargin: 1 }
    }
    ToolPushButton {
        objectName: "copyLinkButton"
        anchors { left: divider.right; right: parent.right; leftMargin: 1 }
        text: qsTr("Copy") + core.emptyString
        image: "qrc:/icon/image/icon/copy.png"
        toolText: qsTr("Copy link of the last screenshot/file") + core.emptyString
        toolTip: buttons.toolTip
        onClick: {
            core.copyLastLink()
            buttons.used()
        }
    }
}
