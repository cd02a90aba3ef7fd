import QtQuick
import "qrc:/qml/qml/Components"
import "qrc:/qml/qml/Components/useful.js" as Fn

// The user's FTP or SFTP server. The fields show and save the keys of the kind ticked;
// user and password are stored encrypted. The probe tries the values as typed.
Item {
    id: panel

    // Why the values cannot be saved or tried; empty while they can.
    property string message: ""

    component FieldLabel: Text {
        font.pixelSize: 14
        font.family: settings.getValue("mainFontFamily")
        color: settings.getValue("mainFontColor")
    }

    function key(name) {
        return (sftpBox.check ? "sftp_" : "ftp_") + name
    }

    function stored(name) {
        var value = settings.getValue(key(name))
        return value === undefined || value === null ? "" : String(value)
    }

    function load() {
        host.text = stored("host")
        port.text = stored("port") !== "" ? stored("port") : defaultPort()
        user.text = stored("user")
        password.text = stored("password")
        path.text = stored("path")
        baseUrl.text = stored("base_url")
    }

    function defaultPort() {
        return sftpBox.check ? "22" : "21"
    }

    function checkPort() {
        var text = port.text.trim()
        var valid = /^[0-9]+$/.test(text) && Number(text) >= 1 && Number(text) <= 65535
        message = valid ? "" : qsTr("The port must be a number from 1 to 65535")
        return valid
    }

    function checkConnection() {
        if (!checkPort())
            return
        busy.visible = true
        core.checkFtpConnecrion(user.text, password.text, host.text, path.text, Number(port.text.trim()),
                                sftpBox.check)
    }

    function save() {
        settings.setValue("is_sftp", sftpBox.check)
        settings.setValue(key("host"), host.text)
        settings.setValue(key("port"), port.text.trim())
        settings.setValue(key("user"), user.text, true)
        settings.setValue(key("password"), password.text, true)
        settings.setValue(key("path"), path.text)
        settings.setValue(key("base_url"), baseUrl.text)
        settings.setValue("is_ftp_error_upload_mavu", errorBox.check)
    }

    Component.onCompleted: load()

    Connections {
        target: core
        function onCheckConnectionFinished() { busy.visible = false }
    }

    FieldLabel { id: hostLabel; y: 20; text: qsTr("Host") + core.emptyString }
    MTextInput {
        id: host
        objectName: "ftpHost"
        anchors { left: hostLabel.left; top: hostLabel.bottom; topMargin: 5 }
        width: 185
        Keys.onTabPressed: user.setFocus()
    }
    FieldLabel { anchors { left: port.left; top: hostLabel.top } text: qsTr("Port") + core.emptyString }
    MTextInput {
        id: port
        objectName: "ftpPort"
        anchors { left: host.right; leftMargin: 20; top: host.top }
        width: 70
        Keys.onTabPressed: user.setFocus()
    }
    CheckBox {
        id: sftpBox
        objectName: "sftpCheck"
        anchors { left: port.right; leftMargin: 20; verticalCenter: port.verticalCenter }
        text: "SFTP"
        check: Fn.flag(settings.getValue("is_sftp"))
        onClick: {
            panel.load()
            port.text = panel.defaultPort()
        }
    }

    FieldLabel { id: userLabel; anchors { left: host.left; top: host.bottom; topMargin: 10 } text: qsTr("User") + core.emptyString }
    MTextInput {
        id: user
        objectName: "ftpUser"
        anchors { left: userLabel.left; top: userLabel.bottom; topMargin: 5 }
        width: 185
        Keys.onTabPressed: password.setFocus()
    }
    FieldLabel { anchors { left: password.left; top: userLabel.top } text: qsTr("Password") + core.emptyString }
    MTextInput {
        id: password
        objectName: "ftpPassword"
        anchors { left: user.right; leftMargin: 20; top: user.top }
        width: 185
        echoMode: TextInput.Password
        Keys.onTabPressed: path.setFocus()
    }

    FieldLabel { id: pathLabel; anchors { left: user.left; top: user.bottom; topMargin: 10 } text: qsTr("Upload path") + core.emptyString }
    MTextInput {
        id: path
        objectName: "ftpPath"
        anchors { left: pathLabel.left; right: password.right; top: pathLabel.bottom; topMargin: 5 }
        Keys.onTabPressed: baseUrl.setFocus()
    }
    FieldLabel { id: baseUrlLabel; anchors { left: path.left; top: path.bottom; topMargin: 10 } text: qsTr("Base url") + core.emptyString }
    MTextInput {
        id: baseUrl
        objectName: "ftpBaseUrl"
        anchors { left: baseUrlLabel.left; right: password.right; top: baseUrlLabel.bottom; topMargin: 5 }
        label: "http://example.com/screenshots/"
    }

    CheckBox {
        id: errorBox
        objectName: "ftpErrorUploadMavu"
        anchors { left: baseUrl.left; top: baseUrl.bottom; topMargin: 10 }
        text: qsTr("If process uploaded throw error upload file on mavu") + core.emptyString
        check: Fn.flag(settings.getValue("is_ftp_error_upload_mavu"))
    }
    PushButtonBlue {
        id: checkButton
        objectName: "checkConnectButton"
        anchors { right: baseUrl.right; top: errorBox.bottom; topMargin: 10 }
        text: qsTr("Check ftp connect") + core.emptyString
        onClick: panel.checkConnection()
    }
    AnimatedImage {
        id: busy
        objectName: "checkConnectBusy"
        anchors { right: checkButton.left; rightMargin: 10; verticalCenter: checkButton.verticalCenter }
        width: 16
        height: 16
        visible: false
        playing: visible
        source: "qrc:/component/image/component/download.gif"
    }
    Text {
        objectName: "ftpMessage"
        anchors { left: baseUrl.left; right: busy.left; rightMargin: 10; verticalCenter: checkButton.verticalCenter }
        text: panel.message
        visible: text !== ""
        wrapMode: Text.Wrap
        font.pixelSize: 12
        font.family: settings.getValue("mainFontFamily")
        color: "#c0392b"
    }
}
