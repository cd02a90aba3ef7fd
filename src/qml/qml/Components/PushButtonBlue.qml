import QtQuick

ImageButton {
    imageStem: "login_button_background"
    styleColor: "#227da0"
}
