import QtQuick
import "qrc:/qml/qml/Components"

// The proxy form. Accept stores the four fields; closing keeps what is stored, and the
// fields keep what was typed for the next opening.
Window {
    id: page

    // Why the fields cannot be stored; empty while they can.
    property string message: ""

    function stored(key) {
        var value = settings.getValue(key)
        return value === undefined || value === null ? "" : String(value)
    }

    // A port is needed with a host, and a port is a number from 1 to 65535.
    function checkPort() {
        var text = port.text
        var valid = text === "" ? host.text.trim() === "" : Number(text) >= 1 && Number(text) <= 65535
        message = valid ? "" : qsTr("The port must be a number from 1 to 65535")
        return valid
    }

    function accept() {
        if (!checkPort())
            return
        settings.setValue("proxy_user", login.text)
        settings.setValue("proxy_password", password.text)
        settings.setValue("proxy_host", host.text)
        settings.setValue("proxy_port", port.text)
        window.close()
    }

    windowWidth: 410
    windowHeight: 385
    titleText: "Mavu - " + qsTr("Proxy setting") + core.emptyString

    component FieldLabel: Text {
        font.pixelSize: 12
        font.family: settings.getValue("mainFontFamily")
        color: "#37373e"
    }
    // A right click puts the clipboard's text in the field.
    component Field: Rectangle {
        property alias text: input.text
        property alias echoMode: input.echoMode
        property alias validator: input.validator

        height: 28
        color: "white"
        border { width: 1; color: "#bab8b8" }
        clip: true

        TextInput {
            id: input
            anchors { fill: parent; leftMargin: 10; rightMargin: 10; topMargin: 7 }
            font.pixelSize: 12
            font.family: settings.getValue("mainFontFamily")
            color: settings.getValue("mainFontColor")
            selectByMouse: true
        }
        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.RightButton
            onPressed: input.text = core.clipboardText()
        }
    }

    content: [
        StandardPanel {
            id: panel
            anchors { fill: parent; leftMargin: 10; rightMargin: 10; topMargin: 40; bottomMargin: 55 }

            Text {
                id: heading
                x: 35
                y: 30
                text: qsTr("Proxy setting") + core.emptyString
                font.pixelSize: 24
                font.family: settings.getValue("mainFontFamily")
                color: "#37373e"
            }
            Rectangle {
                id: separator
                anchors { left: parent.left; right: parent.right; leftMargin: 35; rightMargin: 35; top: heading.bottom; topMargin: 15 }
                height: 2
                gradient: Gradient {
                    orientation: Gradient.Horizontal
                    GradientStop { position: 0.0; color: "#d8d9de" }
                    GradientStop { position: 1.0; color: "#fefefe" }
                }
            }

            FieldLabel { anchors { left: host.left; bottom: host.top; bottomMargin: 10 } text: qsTr("Host") + core.emptyString }
            Field {
                id: host
                objectName: "proxyHost"
                x: 35
                anchors { top: separator.bottom; topMargin: 35 }
                width: 155
                text: page.stored("proxy_host")
            }
            FieldLabel { anchors { left: port.left; bottom: port.top; bottomMargin: 10 } text: qsTr("Port") + core.emptyString }
            Field {
                id: port
                objectName: "proxyPort"
                anchors { left: host.right; leftMargin: 10; top: host.top }
                width: 155
                text: page.stored("proxy_port")
                validator: RegularExpressionValidator { regularExpression: /[1-9][0-9]{0,4}/ }
            }
            FieldLabel { anchors { left: login.left; bottom: login.top; bottomMargin: 10 } text: qsTr("Login") + core.emptyString }
            Field {
                id: login
                objectName: "proxyLogin"
                anchors { left: parent.left; right: parent.right; leftMargin: 35; rightMargin: 35; top: host.bottom; topMargin: 35 }
                text: page.stored("proxy_user")
            }
            FieldLabel { anchors { left: password.left; bottom: password.top; bottomMargin: 10 } text: qsTr("Password") + core.emptyString }
            Field {
                id: password
                objectName: "proxyPassword"
                anchors { left: login.left; right: login.right; top: login.bottom; topMargin: 35 }
                echoMode: TextInput.Password
                text: page.stored("proxy_password")
            }
            Text {
                objectName: "proxyMessage"
                anchors { left: password.left; right: password.right; top: password.bottom; topMargin: 8 }
                text: page.message
                visible: text !== ""
                wrapMode: Text.Wrap
                font.pixelSize: 12
                font.family: settings.getValue("mainFontFamily")
                color: "#c0392b"
            }
        },
        PushButtonBlue {
            objectName: "proxyAccept"
            anchors { left: panel.left; leftMargin: 35; top: panel.bottom; topMargin: 10 }
            text: qsTr("Accept") + core.emptyString
            onClick: page.accept()
        }
    ]
}
