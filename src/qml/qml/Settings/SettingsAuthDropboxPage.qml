import QtQuick
import "qrc:/qml/qml/Components"
import "qrc:/qml/qml/Components/useful.js" as Fn

// The Dropbox account: the sign-in button, or name, mail, sign-out and the space used.
Item {
    id: panel

    readonly property var dropbox: core.account.dropBoxAuth()

    function save() {
        settings.setValue("is_dropbox_error_upload_mavu", errorBox.check)
    }

    PushButtonBlue {
        objectName: "dropboxSignIn"
        y: 30
        visible: !panel.dropbox.isAuth
        text: qsTr("Authorization in dropbox") + core.emptyString
        onClick: panel.dropbox.authorization()
    }

    Item {
        anchors.fill: parent
        visible: panel.dropbox.isAuth

        Text {
            id: name
            y: 25
            textFormat: Text.PlainText // as Dropbox gives it, never as markup
            text: panel.dropbox.name
            font { family: "Georgia"; pixelSize: 19; italic: true }
            color: "#2d2d33"
        }
        Text {
            id: mail
            anchors { left: name.left; top: name.bottom; topMargin: 5 }
            textFormat: Text.PlainText
            text: panel.dropbox.email
            font { family: "Arial"; pixelSize: 13; italic: true }
            color: "#45494b"
        }
        Link {
            id: logout
            anchors { left: name.left; top: mail.bottom; topMargin: 5 }
            text: qsTr("Logout") + core.emptyString
            textDecoration: false
            onClick: panel.dropbox.logout()
        }
        Separator {
            id: separator
            anchors { left: parent.left; right: parent.right; rightMargin: 30; top: logout.bottom; topMargin: 15 }
        }
        QuotaView {
            id: quota
            objectName: "dropboxQuota"
            anchors { left: separator.left; right: separator.right; top: separator.bottom; topMargin: 10 }
            used: panel.dropbox.usage
            total: panel.dropbox.total
            gigabytes: true
        }
        CheckBox {
            id: errorBox
            anchors { left: quota.left; top: quota.bottom; topMargin: 15 }
            text: qsTr("If process uploaded throw error upload file on mavu") + core.emptyString
            check: Fn.flag(settings.getValue("is_dropbox_error_upload_mavu"))
        }
    }
}
