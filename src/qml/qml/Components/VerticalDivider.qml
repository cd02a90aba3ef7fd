import QtQuick

// The thin upright line between two tool buttons, fading out at both ends.
Rectangle {
    width: 1
    height: 60
    gradient: Gradient {
        GradientStop { position: 0.0; color: "#00dddee3" }
        GradientStop { position: 0.1; color: "#00dddee3" }
        GradientStop { position: 0.5; color: "#ffdddee3" }
        GradientStop { position: 0.9; color: "#ffdddee3" }
        GradientStop { position: 1.0; color: "#00dddee3" }
    }
}
