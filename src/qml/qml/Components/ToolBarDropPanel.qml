import QtQuick

// The toolbar's fold-out row: undo, redo, colour strip, substrate switch, the scrolling
// capture (where the page offers it) and line width.
BorderImage {
    id: panel

    property var toolBar: null
    property int markerX: 0
    readonly property bool fullyOpen: height >= 50
    readonly property bool stripHidden: ["Blur", "Ponoram", "Blackout"].indexOf(toolBar.toolName) >= 0
                                        || ["Blur", "Ponoram", "Blackout"].indexOf(toolBar.itemName) >= 0
    readonly property bool substrateShown: (toolBar.toolName === "Text" || toolBar.itemName === "Text")
                                           && !toolBar.ponoramWork

    // The canvas echoes every width the slider gives it; only a different one moves the knob.
    function setLineWidth(value) {
        if (value !== slider.value)
            slider.setValue(value)
    }

    // A click on the strip at m: the ends snap to the limits, anything between to m - 5.
    function pickColourAt(m) {
        var old = markerX
        if (m - 7 < -1) {
            markerX = -1
            toolBar.changeColorLineX(markerX)
        } else if (m - 7 > 325) {
            markerX = 325
            toolBar.changeColorLineX(markerX)
        } else {
            markerX = m - 5
        }
        toolBar.changeColorLineXEnd(markerX, old)
    }

    height: toolBar.showDropPanel ? 50 : 0
    source: "qrc:/component/image/component/drop_panel.png"
    border { left: 10; top: 10; right: 10; bottom: 10 }
    visible: height > 0

    Behavior on height { NumberAnimation { duration: 150 } }

    Item {
        id: controls
        anchors.fill: parent
        visible: panel.fullyOpen

        UndoButton {
            objectName: "undoButton"
            x: 15
            y: 17
            stem: "undo"
            available: panel.toolBar.undoTarget ? panel.toolBar.undoTarget.canUndo : false
            onClicked: panel.toolBar.undoTarget.checkUndo()
        }
        UndoButton {
            id: redo
            objectName: "redoButton"
            x: 45
            y: 17
            stem: "redo"
            available: panel.toolBar.undoTarget ? panel.toolBar.undoTarget.canRedo : false
            onClicked: panel.toolBar.undoTarget.checkRedo()
        }

        Image {
            id: strip
            objectName: "colorStrip"
            x: redo.x + redo.width + 20
            y: 20
            visible: !panel.stripHidden
            source: "qrc:/component/image/component/color_line_big.png"

            MouseArea {
                anchors.fill: parent
                onClicked: function(mouse) { panel.pickColourAt(Math.round(mouse.x)) }
            }
            Image {
                id: marker
                objectName: "colorMarker"
                x: panel.markerX
                y: -3
                source: "qrc:/component/image/component/selected_color.png"

                MouseArea {
                    property int pressX: 0
                    anchors.fill: parent
                    anchors.margins: -3
                    onPressed: function(mouse) { pressX = panel.markerX; grabX = mouse.x }
                    property real grabX: 0
                    onPositionChanged: function(mouse) {
                        var p = mapToItem(strip, mouse.x, mouse.y)
                        panel.markerX = Math.max(-2, Math.min(326, Math.round(p.x - grabX + 3)))
                        panel.toolBar.changeColorLineX(panel.markerX)
                    }
                    onReleased: panel.toolBar.changeColorLineXEnd(panel.markerX, pressX)
                }
            }
        }

        Item {
            objectName: "substrateSwitch"
            x: strip.x + strip.width + 15
            y: 18
            width: 18 + substrateText.implicitWidth
            height: 13
            visible: panel.substrateShown

            Image {
                source: "qrc:/component/image/component/" + (panel.toolBar.substrate ? "drop_checkbox_check.png" : "drop_checkbox.png")
            }
            Text {
                id: substrateText
                x: 18
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("Substrate")
                font { family: "Arial"; pixelSize: 11 }
                color: "#cfcece"
                style: Text.Raised
                styleColor: "#000000"
            }
            MouseArea {
                anchors.fill: parent
                onClicked: panel.toolBar.substrateClicked()
            }
        }

        PonoramButton {
            objectName: "ponoramButton"
            x: slider.x - width - 15
            y: 17
            visible: panel.toolBar.offerPonoram
            running: panel.toolBar.ponoramWork
            available: panel.toolBar.ponoramAvailable
            toolTip: panel.toolBar.toolTip
            onClicked: panel.toolBar.toolButtonTriggered("Ponoram", !running)
        }

        Slider {
            id: slider
            objectName: "lineWidthSlider"
            x: panel.width - 20 - width
            y: 15
            enabled: panel.toolBar.toolName !== "Ponoram" && panel.toolBar.itemName !== "Ponoram"
            onValueChanged: panel.toolBar.changeWidthLineValue(value)
            onValueChangeComplete: function(value, oldValue) { panel.toolBar.changeWidthLineValueEnd(value, oldValue) }
        }
    }
}
