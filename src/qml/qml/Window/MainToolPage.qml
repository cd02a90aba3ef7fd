import QtQuick
import "qrc:/qml/qml/Components"

// The main tool panel. Its buttons are still to come; the panel is taller while there is
// a last link.
Window {
    windowWidth: 241
    windowHeight: core.lastLink !== "" ? 430 : 300
    titleText: "Mavu"

    Connections {
        target: window
        function onShowed() { window.updatePos() }
    }
}
