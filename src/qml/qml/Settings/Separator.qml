import QtQuick

// The 2-pixel line between the sections of a settings panel.
Image {
    height: 2
    fillMode: Image.Tile
    source: "qrc:/component/image/component/separator.png"
}
