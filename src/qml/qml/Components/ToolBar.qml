import QtQuick
import "useful.js" as Fn

// The floating annotation toolbar: tools, drop panel (undo, redo, colour strip, substrate,
// line width), the accept button and its menu. Used by the capture overlay and the editor.
Item {
    id: toolBar

    property bool press: false
    property int px: 0
    property int py: 0
    property int lastX: 0
    property int lastY: 0
    property bool showMenu: false
    property string selectItem: ""
    property bool shortTool: false
    property bool enableMove: false
    property bool moved: false
    property bool showDropPanel: false

    // Supplied by the page.
    property var host: null              // the window object behind the result actions
    property var toolTip: null           // the page's shared ToolTip
    property var undoTarget: null        // the canvas that undo and redo act on
    property bool ponoramWork: false     // a scrolling capture runs
    property bool offerPonoram: false    // the page offers the scrolling capture
    property bool ponoramAvailable: true // the selection has an area to scroll through
    property bool commandModified: false // Ctrl is held
    property string toolName: ""         // the canvas's current tool
    property string itemName: ""         // the tool name of the canvas's current item
    property bool substrate: false       // the page's current substrate state
    property string hoverName: ""

    readonly property var tools: [
        { name: "Move", stem: "move", title: qsTr("<b>Tool Move and transform</b>"),
          sub: qsTr("Space - Switching to tool \"Move\"") },
        { name: "Pen", stem: "pen", title: qsTr("<b>Tool Pen</b>"), sub: qsTr("+ Shift - Drawing a straight line") },
        { name: "Marker", stem: "marker", title: qsTr("<b>Tool Marker</b>"), sub: qsTr("+ Shift - Drawing a straight line") },
        { name: "Line", stem: "line", title: qsTr("<b>Tool Line</b>"),
          sub: qsTr("+ Shift - drawing a straight line at angles of 45°.") },
        { name: "Arrow", stem: "arrow", title: qsTr("<b>Tool Arrow</b>"), sub: qsTr("+ Shift - drawing arrows at angles of 45°.") },
        { name: "Text", stem: "text", title: qsTr("<b>Tool Text</b>"),
          sub: qsTr("When you move the mouse while pressing the pre-draws an arrow pointing to the location.") },
        { name: "Ellipse", stem: "circle", title: qsTr("<b>Tool Ellipse</b>"), sub: qsTr("+ Shift - draw circle.\n+ Ctrl - draws a filled.") },
        { name: "Rect", stem: "rect", title: qsTr("<b>Tool Rectangle</b>"), sub: qsTr("+ Shift - draw square.\n+ Ctrl - draws a filled.") },
        { name: "Counter", stem: "counter", title: qsTr("<b>Tool Counter</b>"), sub: "" },
        { name: "Blur", stem: "blur", title: qsTr("<b>Tool Blur</b>"), sub: "" },
        { name: "Blackout", stem: "blackout", title: qsTr("<b>Tool Blackout</b>"), sub: "" }
    ]

    signal toolClick(string name, bool check)
    signal checkMenu(bool arg)
    signal clickAccept()
    signal changeColorLineX(int arg)
    signal changeColorLineXEnd(int value, int oldValue)
    signal changeColorLine(variant value)
    signal changeColorLineEnd(variant value, int oldValue)
    signal changeWidthLineValue(int value)
    signal changeWidthLineValueEnd(int value, int oldValue)
    signal substrateClicked()

    function setCurrentModule(name) {
        selectItem = name
    }

    function toolButtonTriggered(name, check) {
        selectItem = check ? name : ""
        toolClick(name, check)
    }

    function hideMenu() {
        showMenu = false
    }

    function setColorLineX(value) {
        dropPanel.markerX = value
    }

    function setLineWidth(value) {
        dropPanel.setLineWidth(value)
    }

    function startTool() {
        var last = String(settings.lastGraphTools === undefined || settings.lastGraphTools === null
                          ? "" : settings.lastGraphTools)
        if (last === "" || last === "Ponoram")
            last = shortTool ? "Pen" : "Line"
        return last
    }

    // The state of a new toolbar: not dragged, menu closed, the start tool chosen.
    function reset() {
        press = false
        moved = false
        showMenu = false
        hoverName = ""
        showDropPanel = Fn.flag(settings.visibleColorPanel)
        toolButtonTriggered(startTool(), true)
    }

    function separatorVisible(index) {
        if (index >= tools.length - 1)
            return false
        var left = tools[index].name
        var right = tools[index + 1].name
        return [selectItem, hoverName].indexOf(left) < 0 && [selectItem, hoverName].indexOf(right) < 0
    }

    width: 790
    height: showDropPanel ? 195 : 85

    Component.onCompleted: reset()

    ToolBarDropPanel {
        id: dropPanel
        toolBar: toolBar
        x: 0
        y: leftPanel.height - 10
        width: leftPanel.width
    }

    BorderImage {
        id: leftPanel
        width: 690
        height: 64
        source: "qrc:/image/image/image/tool_background.png"
        border { left: 10; top: 9; right: 13; bottom: 10 }
        horizontalTileMode: BorderImage.Repeat
        verticalTileMode: BorderImage.Repeat

        Image {
            id: moveHandle
            objectName: "moveHandle"
            x: 15
            y: 3
            width: 14
            height: 42
            source: "qrc:/image/image/image/tool_move.png"

            MouseArea {
                anchors.fill: parent
                enabled: toolBar.enableMove
                cursorShape: pressed ? Qt.ClosedHandCursor : Qt.OpenHandCursor
                onPressed: function(mouse) {
                    var p = mapToItem(toolBar.parent, mouse.x, mouse.y)
                    toolBar.press = true
                    toolBar.px = p.x
                    toolBar.py = p.y
                    toolBar.lastX = toolBar.x
                    toolBar.lastY = toolBar.y
                }
                onPositionChanged: function(mouse) {
                    if (!toolBar.press || !toolBar.parent)
                        return
                    var p = mapToItem(toolBar.parent, mouse.x, mouse.y)
                    var area = toolBar.parent
                    toolBar.x = Math.max(0, Math.min(area.width - toolBar.width, toolBar.lastX + p.x - toolBar.px))
                    toolBar.y = Math.max(0, Math.min(area.height - toolBar.height, toolBar.lastY + p.y - toolBar.py))
                    toolBar.moved = true
                }
                onReleased: toolBar.press = false
            }
        }
        Image {
            objectName: "dropPanelButton"
            x: 13
            y: moveHandle.y + moveHandle.height
            width: 17
            height: 17
            source: "qrc:/image/image/image/" + (toolBar.showDropPanel ? "button_drop_panel_top.png" : "button_drop_panel.png")
            MouseArea {
                anchors.fill: parent
                onClicked: {
                    toolBar.showDropPanel = !toolBar.showDropPanel
                    settings.visibleColorPanel = toolBar.showDropPanel ? 1 : 0
                }
            }
        }

        Row {
            x: 38
            y: 10
            Repeater {
                model: toolBar.tools
                delegate: Row {
                    ToolButton {
                        objectName: "tool" + modelData.name
                        name: modelData.name
                        icon: modelData.stem
                        command: toolBar.commandModified && (name === "Ellipse" || name === "Rect")
                        check: toolBar.selectItem === name
                        toolTipText: modelData.title
                        subToolTipText: modelData.sub
                        toolTip: toolBar.toolTip
                        onEnterChanged: {
                            if (enter)
                                toolBar.hoverName = name
                            else if (toolBar.hoverName === name)
                                toolBar.hoverName = ""
                        }
                        onClick: function(arg, check) { toolBar.toolButtonTriggered(arg, check) }
                    }
                    Image {
                        objectName: "split" + index
                        anchors.verticalCenter: parent.verticalCenter
                        width: 2
                        height: 30
                        source: "qrc:/image/image/image/split.png"
                        opacity: toolBar.separatorVisible(index) ? 1 : 0
                        visible: index < toolBar.tools.length - 1
                    }
                }
            }
        }
    }

    BorderImage {
        id: rightPanel
        x: leftPanel.width + 7
        width: toolBar.ponoramWork ? 64 : 83
        height: 63
        source: "qrc:/image/image/image/tool_accept_background.png"
        border { left: 10; top: 10; right: 10; bottom: 10 }

        Rectangle {
            id: acceptButton
            objectName: "acceptButton"
            x: 3
            y: 3
            width: 61
            height: 57
            radius: 2
            border { width: 1; color: "#25000000" }
            gradient: Gradient {
                GradientStop { position: 0.0; color: acceptMouse.containsMouse ? "#fecd37" : "#60cdf9" }
                GradientStop { position: 0.5; color: acceptMouse.containsMouse ? "#ecab1b" : "#39a5d0" }
                GradientStop { position: 1.0; color: acceptMouse.containsMouse ? "#dc8d02" : "#1884ae" }
            }
            Image {
                anchors.centerIn: parent
                width: 34
                height: 28
                source: "qrc:/icon/image/icon/" + (acceptMouse.containsMouse ? "tool_accept_icon_enter.png" : "tool_accept_icon.png")
            }
            MouseArea {
                id: acceptMouse
                anchors.fill: parent
                hoverEnabled: true
                onClicked: toolBar.clickAccept()
            }
        }
        Rectangle {
            id: menuButton
            objectName: "menuButton"
            x: acceptButton.x + acceptButton.width
            y: 4
            width: 19
            height: 55
            visible: !toolBar.ponoramWork
            gradient: Gradient {
                GradientStop { position: 0.0; color: menuMouse.containsMouse ? "#fed95a" : (acceptMouse.containsMouse ? "#fecd37" : "#60cdf9") }
                GradientStop { position: 0.5; color: menuMouse.containsMouse ? "#efba3b" : (acceptMouse.containsMouse ? "#ecab1b" : "#39a5d0") }
                GradientStop { position: 1.0; color: menuMouse.containsMouse ? "#e5a628" : (acceptMouse.containsMouse ? "#dc8d02" : "#1884ae") }
            }
            Image {
                anchors.centerIn: parent
                source: "qrc:/icon/image/icon/" + (toolBar.showMenu ? "tool_accept_menu_arrow_top_enter.png"
                        : "tool_accept_menu_arrow_bottom" + (menuMouse.containsMouse ? "_enter" : "") + ".png")
            }
            MouseArea {
                id: menuMouse
                anchors.fill: parent
                hoverEnabled: true
                onClicked: {
                    toolBar.showMenu = !toolBar.showMenu
                    toolBar.checkMenu(toolBar.showMenu)
                }
            }
        }
    }

    ToolBarMenu {
        id: menu
        objectName: "toolBarMenu"
        host: toolBar.host
        open: toolBar.showMenu
        topMenu: toolBar.parent ? toolBar.y + toolBar.height + height > toolBar.parent.height : false
        x: rightPanel.x + rightPanel.width + 25 - width
        y: topMenu ? rightPanel.y - height + 10 : rightPanel.y + rightPanel.height - 10
        onCloseRequested: toolBar.hideMenu()
    }

    Connections {
        target: toolBar.host
        ignoreUnknownSignals: true
        function onIsPonoramWorkChanged() {
            if (!toolBar.host.isPonoramWork)
                toolBar.toolButtonTriggered("Ponoram", false)
        }
    }
}
