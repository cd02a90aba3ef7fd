import QtQuick
import QtQml
import MavuComponent 1.0
import "../Components"

// The editor window's page: the image on its canvas in a scrollable, zoomable view, the
// toolbar under it, a close button. The zoom scales the view of image and canvas together,
// so the canvas keeps the image's own size and the annotations their places on the image.
// Without a compositor the transparent margin around the panel would come out black: the
// panel then fills the window.
Rectangle {
    id: page

    // The image's size at 100 %.
    property int imageWidth: 0
    property int imageHeight: 0
    property real zoom: 1
    property string currentGraphModule: ""
    property var currentItem: null
    property bool currentSubstrate: canvas.currentSubstrate
    readonly property int margin: surface.isTransparentSupport ? 30 : 0

    function setZoom(percent) {
        zoomSlider.setValue(percent)
    }

    function itemName(item) {
        if (!item)
            return ""
        if (typeof item.name === "function")
            return String(item.name())
        return item.name === undefined ? "" : String(item.name)
    }

    function scrollTo(x, y) {
        view.contentX = Math.max(0, Math.min(view.contentWidth - view.width, x))
        view.contentY = Math.max(0, Math.min(view.contentHeight - view.height, y))
    }

    color: "#00ffffff"
    width: imageWidth + 40 + 2 * margin > surface.maxWidth ? surface.maxWidth
                                                           : Math.max(imageWidth + 40, 840) + 2 * margin
    height: imageHeight + 142 + 2 * margin > surface.maxHeight ? surface.maxHeight : imageHeight + 142 + 2 * margin

    onCurrentSubstrateChanged: canvas.currentSubstrate = currentSubstrate

    MouseArea {
        property point pressPoint
        anchors.fill: parent
        onPressed: function(mouse) { pressPoint = Qt.point(mouse.x, mouse.y) }
        onPositionChanged: function(mouse) {
            window.move(window.x - (pressPoint.x - mouse.x), window.y - (pressPoint.y - mouse.y))
        }
    }

    Rectangle {
        objectName: "closeButton"
        width: 30
        height: 30
        anchors { top: parent.top; right: parent.right; topMargin: page.margin + 3; rightMargin: page.margin + 3 }
        z: 20000
        radius: 4
        color: closeMouse.containsMouse ? "#363d43" : "#2e353b"
        Image {
            anchors.centerIn: parent
            source: "qrc:/component/image/component/close_edit_ponoram.png"
        }
        MouseArea {
            id: closeMouse
            anchors.fill: parent
            hoverEnabled: true
            onClicked: {
                console.log("EditPonoramPage: close")
                window.requestClose()
            }
        }
    }

    Rectangle {
        id: content
        anchors { fill: parent; margins: page.margin; bottomMargin: page.margin > 0 ? page.margin + 5 : 0 }
        color: "#2e353b"
        radius: page.margin > 0 ? 5 : 0

        Rectangle {
            anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
            height: 180
            radius: content.radius
            gradient: Gradient {
                GradientStop { position: 0.0; color: "#2e353b" }
                GradientStop { position: 1.0; color: "#1c2227" }
            }
        }

        Flickable {
            id: view
            objectName: "pictureView"
            anchors { fill: parent; leftMargin: 7; rightMargin: 7; topMargin: 7; bottomMargin: 135 }
            clip: true
            interactive: false
            contentWidth: page.imageWidth * page.zoom
            contentHeight: page.imageHeight * page.zoom

            Image {
                id: picture
                objectName: "picture"
                asynchronous: false
                cache: false
                width: page.imageWidth
                height: page.imageHeight
                scale: page.zoom
                transformOrigin: Item.TopLeft
                onSourceSizeChanged: {
                    page.imageWidth = sourceSize.width / surface.currentPixmapAcpectRatio
                    page.imageHeight = sourceSize.height / surface.currentPixmapAcpectRatio
                }

                MPainterArea {
                    id: canvas
                    objectName: "paintArea"
                    anchors.fill: parent
                    z: 1
                    onCurrentModuleChanged: {
                        page.currentGraphModule = currentModule
                        toolBar.setCurrentModule(currentModule)
                    }
                    onCurrentItemChange: function(item) { page.currentItem = item }
                    onCurrentColorXChanged: toolBar.setColorLineX(currentColorX)
                }
            }
            Item {
                objectName: "ponoramPaintArea"
                width: 0
                height: 0
                z: 1
            }
        }
        WheelArea {
            anchors.fill: view
            onVerticalWheel: function(delta) { page.scrollTo(view.contentX, view.contentY - delta) }
        }
        // The bars stand at the edges of the picture shown, which may be smaller than the view.
        ScrollBar {
            x: view.x + Math.min(view.width, view.contentWidth) - width - 5
            y: view.y + 40
            width: 12
            height: view.height - 50
            orientation: Qt.Vertical
            position: view.visibleArea.yPosition
            pageSize: view.visibleArea.heightRatio
            visible: pageSize < 1
            onDragScroll: function(diff) { page.scrollTo(view.contentX, view.contentY + diff) }
        }
        ScrollBar {
            objectName: "horizontalBar"
            x: view.x + 5
            y: view.y + Math.min(view.height, view.contentHeight) - height - 10
            width: view.width - 10
            height: 12
            orientation: Qt.Horizontal
            position: view.visibleArea.xPosition
            pageSize: view.visibleArea.widthRatio
            visible: pageSize < 1
            onDragScroll: function(diff) { page.scrollTo(view.contentX + diff, view.contentY) }
        }

        Row {
            objectName: "zoomControls"
            x: 20
            y: view.y + view.height + 20
            width: 200
            height: 40
            spacing: 2
            visible: page.imageWidth > surface.maxWidth

            ZoomButton {
                objectName: "zoomMinus"
                icon: "qrc:/icon/image/component/zoom_minus_control.png"
                onClicked: zoomSlider.setValue(zoomSlider.value - 10)
            }
            ZoomSlider {
                id: zoomSlider
                objectName: "zoomSlider"
                anchors.verticalCenter: parent.verticalCenter
                onValueChanged: {
                    page.zoom = value / 100
                    page.scrollTo(page.imageWidth * page.zoom / 2 - view.width / 2,
                                  page.imageHeight * page.zoom / 2 - view.height / 2)
                }
            }
            ZoomButton {
                objectName: "zoomPlus"
                icon: "qrc:/icon/image/component/zoom_plus_control.png"
                onClicked: zoomSlider.setValue(zoomSlider.value + 10)
            }
        }
    }

    component ZoomButton: Image {
        property alias icon: glyph.source
        signal clicked()
        width: 20
        height: 20
        anchors.verticalCenter: parent.verticalCenter
        source: zoomMouse.pressed ? "qrc:/icon/image/component/zoom_press_background.png"
                : zoomMouse.containsMouse ? "qrc:/icon/image/component/zoom_hover_background.png" : ""
        Image {
            id: glyph
            anchors.centerIn: parent
        }
        MouseArea {
            id: zoomMouse
            anchors.fill: parent
            hoverEnabled: true
            onReleased: parent.clicked()
        }
    }

    ToolBar {
        id: toolBar
        objectName: "toolBar"
        anchors.horizontalCenter: content.horizontalCenter
        y: content.y + view.y + view.height + 10
        z: 20000
        enableMove: false
        shortTool: true
        host: surface
        toolTip: toolTip
        undoTarget: canvas
        toolName: page.currentGraphModule
        itemName: page.itemName(page.currentItem)
        substrate: page.currentSubstrate

        onToolClick: function(name, check) { canvas.currentModule = check ? name : "" }
        onClickAccept: {
            page.setZoom(100)
            window.uploadScreen()
        }
        onChangeColorLineX: function(arg) {
            canvas.currentColor = core.getColorFromX(arg)
            canvas.currentColorX = arg
        }
        onChangeColorLineXEnd: function(value, oldValue) {
            settings.colorColorLine = value
            canvas.pushColorChange(value, oldValue)
        }
        onChangeWidthLineValue: function(value) { canvas.currentLineWidth = value }
        onChangeWidthLineValueEnd: function(value, oldValue) {
            settings.widthColorLine = value
            canvas.pushLineWidthChange(value, oldValue)
        }
        onSubstrateClicked: page.currentSubstrate = !page.currentSubstrate
    }

    CloseConfirmBox {
        objectName: "confirmBox"
        z: 50000
        canvas: canvas
        area: Qt.rect(0, 0, page.width, page.height)
    }

    ToolTip {
        id: toolTip
        objectName: "toolTip"
        z: 50004
        maxWidth: 210
        visible: false
    }

    Connections {
        target: window
        function onBackgroundChange() { picture.source = window.requestBackground() }
    }

    Component.onCompleted: {
        canvas.forceActiveFocus()
        canvas.currentColor = core.getColorFromX(settings.colorColorLine)
        toolBar.setColorLineX(settings.colorColorLine)
        toolBar.setLineWidth(canvas.currentLineWidth)
        page.imageWidth = picture.sourceSize.width / surface.currentPixmapAcpectRatio
        page.imageHeight = picture.sourceSize.height / surface.currentPixmapAcpectRatio
        page.setZoom(100)
    }
}
