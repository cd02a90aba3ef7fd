import QtQuick

// The horizontal hover highlight of tabs and tool buttons: clear at both ends, `tint` at
// the middle.
Rectangle {
    property color edge: "#0effffff"
    property color quarter: "#7effffff"
    property color middle: "#a5ffffff"

    gradient: Gradient {
        orientation: Gradient.Horizontal
        GradientStop { position: 0.0; color: edge }
        GradientStop { position: 0.25; color: quarter }
        GradientStop { position: 0.5; color: middle }
        GradientStop { position: 0.75; color: quarter }
        GradientStop { position: 1.0; color: edge }
    }
}
