import QtQuick
import "qrc:/qml/qml/Components"

// The proxy form. Its fields are still to come.
Window {
    windowWidth: 410
    windowHeight: 385
    titleText: "Mavu - " + qsTr("Proxy setting") + core.emptyString
}
