import QtQuick

ImageButton {
    imageStem: "dark_button_background"
    styleColor: "#000000"
}
