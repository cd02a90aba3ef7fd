import QtQuick

// Shared body of the image-backed push buttons: a border image with hover and press forms.
BorderImage {
    id: button

    property string text: ""
    property string imageStem: "login_button_background"
    property int borderWidth: 10
    property color styleColor: "#227da0"
    property alias pressed: mouse.pressed
    property alias hovered: mouse.containsMouse
    property alias label: label

    signal click()

    height: 26
    width: label.implicitWidth + 20
    border { left: borderWidth; top: borderWidth; right: borderWidth; bottom: borderWidth }
    source: "qrc:/component/image/component/" + imageStem
            + (mouse.pressed ? "_press" : (mouse.containsMouse ? "_hover" : "")) + ".png"

    Text {
        id: label
        anchors.centerIn: parent
        text: button.text
        color: "white"
        font.pixelSize: 13
        font.letterSpacing: 0.9
        style: Text.Raised
        styleColor: button.styleColor
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.click()
    }
}
