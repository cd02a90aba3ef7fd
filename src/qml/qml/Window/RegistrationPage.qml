import QtQuick
import "qrc:/qml/qml/Components"

// The sign-in page. Its form is still to come.
Window {
    windowWidth: 340
    windowHeight: 430
    titleText: "Mavu"
}
