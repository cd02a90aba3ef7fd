import QtQuick

// The 2-pixel line under a form's heading, fading to the right.
Rectangle {
    height: 2
    gradient: Gradient {
        orientation: Gradient.Horizontal
        GradientStop { position: 0.0; color: "#d8d9de" }
        GradientStop { position: 1.0; color: "#fefefe" }
    }
}
