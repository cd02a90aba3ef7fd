import QtQuick
import "useful.js" as Fn

// The accept button's menu: result actions of the capture with their shortcuts.
BorderImage {
    id: menu

    property var host: null
    property bool topMenu: false
    property bool open: false
    readonly property bool useMailClient: Fn.flag(settings.isUseMailClient)

    signal closeRequested()

    width: 280
    height: useMailClient ? 310 : 280
    z: 15
    opacity: open ? 1 : 0
    visible: opacity > 0
    source: "qrc:/image/image/image/" + (topMenu ? "accept_menu_top.png" : "accept_menu.png")
    border { left: 14; top: 21; right: 24; bottom: 15 }

    Behavior on opacity { NumberAnimation { duration: 120 } }

    MouseArea {
        anchors.fill: parent
        hoverEnabled: true
    }
    Column {
        anchors { fill: parent; leftMargin: 20; rightMargin: 20; bottomMargin: 20; topMargin: menu.topMenu ? 25 : 30 }

        ToolBarMenuItem {
            objectName: "menuPublic"
            text: qsTr("Public")
            shortcut: "Ctrl+Enter"
            onTriggered: menu.host.uploadScreen()
        }
        ToolBarMenuItem {
            objectName: "menuSave"
            text: qsTr("Save")
            shortcut: "Ctrl+S"
            onTriggered: menu.host.saveScreen()
        }
        ToolBarMenuItem {
            objectName: "menuCopy"
            text: qsTr("Copy")
            shortcut: "Ctrl+C"
            onTriggered: {
                menu.closeRequested()
                menu.host.screenSaveToClipboard()
            }
        }
        Item {
            width: parent.width
            height: 11
            Rectangle {
                anchors { left: parent.left; right: parent.right; leftMargin: 20; rightMargin: 20; verticalCenter: parent.verticalCenter }
                height: 1
                color: "#4c4f50"
            }
        }
        ToolBarMenuItem {
            objectName: "menuVk"
            text: qsTr("Vkontakte")
            shortcut: "Ctrl+Shift+V"
            icon: "menu_icon_vk.png"
            onTriggered: menu.host.screenPostVK()
        }
        ToolBarMenuItem {
            objectName: "menuOd"
            text: qsTr("Odnoklassniki")
            shortcut: "Ctrl+Shift+O"
            icon: "menu_icon_od.png"
            onTriggered: menu.host.screenPostOdnoklassniki()
        }
        ToolBarMenuItem {
            objectName: "menuFb"
            text: qsTr("Facebook")
            shortcut: "Ctrl+Shift+F"
            icon: "menu_icon_fb.png"
            onTriggered: menu.host.screenPostFacebook()
        }
        ToolBarMenuItem {
            objectName: "menuTw"
            text: qsTr("Twitter")
            shortcut: "Ctrl+Shift+T"
            icon: "menu_icon_tw.png"
            onTriggered: menu.host.screenPostTwitter()
        }
        ToolBarMenuItem {
            objectName: "menuMail"
            visible: menu.useMailClient
            text: qsTr("E-mail")
            shortcut: "Ctrl+Shift+E"
            icon: "menu_icon_mail.png"
            onTriggered: menu.host.screenPostMail()
        }
    }
}
