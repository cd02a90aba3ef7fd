import QtQuick
import "qrc:/qml/qml/Components"

// The page that tells that the uploads are complete. Its buttons are still to come.
Window {
    windowWidth: 241
    windowHeight: 230
    titleText: "Mavu"
}
