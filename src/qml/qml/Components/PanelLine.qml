import QtQuick

// The 2-pixel line under a panel's heading, light below.
Rectangle {
    height: 2
    gradient: Gradient {
        GradientStop { position: 0.0; color: "#dddee3" }
        GradientStop { position: 1.0; color: "#ffffff" }
    }
}
