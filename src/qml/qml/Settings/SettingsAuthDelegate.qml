import QtQuick
import "qrc:/qml/qml/Components"

// The storage tab: where uploads go, and the account of that destination.
StandardPanel {
    id: storage

    // "mavu", "ftp" or "dropbox"; any other stored value ("google") is kept as it is.
    property string typeUpload: ""
    readonly property var destinations: ["mavu", "ftp", "dropbox"]

    // False, with the reason shown on the panel, when the values cannot be saved.
    function validate() {
        return typeUpload !== "ftp" || ftpPage.checkPort()
    }

    function save() {
        settings.setValue("type_upload", typeUpload)
        if (typeUpload === "ftp")
            ftpPage.save()
        else if (typeUpload === "dropbox")
            dropboxPage.save()
    }

    Component.onCompleted: typeUpload = settings.typeUpload

    RadioGroup {
        objectName: "destinations"
        x: 30
        y: 25
        spacing: 10
        choices: ["Mavu", "FTP\\SFTP", "Dropbox"]
        current: storage.destinations.indexOf(storage.typeUpload)
        onChosen: function (index) { storage.typeUpload = storage.destinations[index] }
    }

    Item {
        anchors { fill: parent; leftMargin: 150 }

        SettingsAuthMavuPage {
            anchors.fill: parent
            visible: storage.typeUpload === "mavu"
        }
        SettingsAuthFtpPage {
            id: ftpPage
            anchors.fill: parent
            visible: storage.typeUpload === "ftp"
        }
        SettingsAuthDropboxPage {
            id: dropboxPage
            anchors.fill: parent
            visible: storage.typeUpload === "dropbox"
        }
    }
}
