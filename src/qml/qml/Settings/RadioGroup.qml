import QtQuick
import "qrc:/qml/qml/Components"

// A group of radio buttons of which at most one is on: `current` is its index (-1: none).
// One per row unless `columns` says otherwise.
Grid {
    id: group

    property var choices: []
    property int current: -1

    signal chosen(int index)

    columns: 1

    Repeater {
        model: group.choices

        RadioButton {
            id: button
            text: modelData
            check: index === group.current
            // The button turns itself on, which ends the binding: it is made again, so that
            // choosing another button turns this one off. (A bare `check` here would be the
            // signal's argument.)
            onClick: {
                group.current = index
                button.check = Qt.binding(function () { return index === group.current })
                group.chosen(index)
            }
        }
    }
}
