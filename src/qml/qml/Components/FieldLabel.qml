import QtQuick

// The label over a form field, with the field's error text after it while there is one.
Row {
    property alias text: label.text
    property string error: ""

    spacing: 0

    Text {
        id: label
        font.pixelSize: 12
        font.family: settings.getValue("mainFontFamily")
        color: "#37373e"
    }
    Text {
        objectName: "errorText"
        visible: parent.error !== ""
        textFormat: Text.PlainText
        text: " - " + parent.error
        font.pixelSize: 12
        font.family: settings.getValue("mainFontFamily")
        color: "#cf0a4b"
    }
}
