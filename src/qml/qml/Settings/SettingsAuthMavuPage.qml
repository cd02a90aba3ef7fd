import QtQuick
import "qrc:/qml/qml/Components"

// The service account: avatar, name and mail, sign-out and the space used.
Item {
    id: panel

    readonly property string fallbackAvatar: "qrc:/image/image/image/avatar_default.png"

    Image {
        id: avatar
        y: 30
        width: 50
        height: 50
        source: settings.userAvatar
        onStatusChanged: if (status === Image.Error) source = panel.fallbackAvatar
    }
    Text {
        id: name
        anchors { left: avatar.right; leftMargin: 20; top: avatar.top; topMargin: -5 }
        // Name and mail come from the service: shown as they are, never as markup.
        textFormat: Text.PlainText
        text: settings.userName === undefined ? "" : settings.userName
        font { family: "Georgia"; pixelSize: 19; italic: true }
        color: "#2d2d33"
    }
    Text {
        anchors { left: name.left; top: name.bottom; topMargin: 5 }
        textFormat: Text.PlainText
        text: settings.userMail === undefined ? "" : settings.userMail
        font { family: "Arial"; pixelSize: 13; italic: true }
        color: "#45494b"
    }
    Link {
        id: logout
        objectName: "mavuLogout"
        anchors { left: avatar.left; top: avatar.bottom }
        text: qsTr("Logout") + core.emptyString
        textDecoration: false
        onClick: {
            core.account.exit()
            window.close()
        }
    }
    Separator {
        id: separator
        anchors { left: parent.left; right: parent.right; rightMargin: 30; top: logout.bottom; topMargin: 15 }
    }
    QuotaView {
        objectName: "mavuQuota"
        anchors { left: separator.left; right: separator.right; top: separator.bottom; topMargin: 10 }
        visible: core.account.auth
        used: Number(settings.usage) || 0
        total: Number(settings.quota) || 0
    }
}
