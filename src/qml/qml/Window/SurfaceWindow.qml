import QtQuick
import MavuComponent 1.0
import "../Components"
import "../Components/useful.js" as Fn

// The capture overlay's page: screen image, canvas, selection with size label and
// magnifier, the toolbar, the scrolling-capture elements and the close confirm box.
Item {
    id: page

    property string currentGraphModule: ""
    property bool currentSubstrate: mainCanvas.currentSubstrate
    property var currentItem: null
    property bool toolbarHidden: false
    readonly property bool showMagnifier: Fn.flag(settings.showMagnifier)
    readonly property int previewWidth: 112
    readonly property int previewHeight: 253

    onCurrentSubstrateChanged: mainCanvas.currentSubstrate = currentSubstrate

    QtObject {
        id: priv

        property int toolx: 0
        property int tooly: 0

        // Puts the toolbar under the selection, or beside, above it or into the corner of
        // the smallest screen it meets when there is no room below; a toolbar the user has
        // dragged stays where it is. Until the page has its size (a page made before its first
        // capture) there is nothing to place it in: a place worked out then would be off every
        // screen, and the next placement would find no screen under the toolbar.
        function calcCoordinate() {
            if (page.width <= 0 || page.height <= 0)
                return
            var tw = toolBar.width
            var th = toolBar.height
            var screen = surface.toolbarScreen(toolBar.x, toolBar.y, tw, th)
            if (toolBar.moved)
                return
            var R = selector.rubberRectRight
            var B = selector.rubberRectBottom
            var L = selector.rubberRectLeft
            var T = selector.rubberRectTop
            var W = page.width
            var x = R - tw
            var y = B + 11
            if (x <= 10)
                x = 10
            if (x + tw >= W - 30)
                x = W - tw - 30
            if (y + th >= screen.height - 30) {
                if (W - R - 10 > tw) {
                    x = R + 10
                    y = B - th
                } else if (L - 10 > tw) {
                    x = L - tw - 10
                    y = B - th
                } else if (T > th) {
                    x = L + 10
                    y = T - th - 3
                } else {
                    x = W - tw - 10
                    y = screen.height - th - 10
                }
            }
            toolx = x
            tooly = y
            toolBar.x = x
            toolBar.y = y
        }

        // Limits of the selection while the scrolling capture is the tool: room for its
        // preview beside and the toolbar below.
        function applyToolLimits(name) {
            if (name !== "Ponoram") {
                surface.cancelPonoram()
                surface.setEnableMask(false)
                selector.maxSelectWidth = -1
                selector.maxSelectHeight = -1
            } else {
                selector.maxSelectWidth = mainCanvas.width - page.previewWidth - 10
                selector.maxSelectHeight = mainCanvas.height - toolBar.height - 10
            }
        }

        function itemName(item) {
            if (!item)
                return ""
            if (typeof item.name === "function")
                return String(item.name())
            return item.name === undefined ? "" : String(item.name)
        }

        function setBothCanvases(property, value) {
            mainCanvas[property] = value
            ponoramPaintArea[property] = value
        }
    }

    function prepareTools() {
        mainCanvas.forceActiveFocus()
        priv.setBothCanvases("currentColor", core.getColorFromX(settings.colorColorLine))
        toolBar.setColorLineX(settings.colorColorLine)
        toolBar.setLineWidth(mainCanvas.currentLineWidth)
    }

    // Back to the state of a freshly loaded page. The window keeps its page between captures
    // and calls this once a capture is over (the canvases and the selector it resets itself).
    function resetForCapture() {
        page.currentItem = null
        page.toolbarHidden = false
        priv.toolx = 0
        priv.tooly = 0
        toolBar.x = 0
        toolBar.y = 0
        toolBar.reset()
        resultViewer.visible = false
        resultViewer.contentY = 0
        toolTip.visible = false
        confirmBox.reset()
        prepareTools()
    }

    Component.onCompleted: prepareTools()

    ScreenPicture {
        id: screenImage
        objectName: "screenImage"
        anchors.fill: parent
        picture: surface.background
    }

    ScrollHint {
        id: scrollHint
        objectName: "scrollHint"
        x: selector.rubberRectLeft + (selector.rubberRectRight - selector.rubberRectLeft - width) / 2
        y: selector.rubberRectTop + (selector.rubberRectBottom - selector.rubberRectTop - height) / 2
        visible: mainCanvas.currentModule === "Ponoram" && !selector.firstDraw
    }

    MPainterArea {
        id: mainCanvas
        objectName: "MPainterArea"
        anchors.fill: parent
        z: 1
        visible: currentModule !== "Ponoram"
        selectRect: selector.rubberRect

        onCurrentModuleChanged: {
            page.currentGraphModule = currentModule
            toolBar.setCurrentModule(currentModule)
            priv.applyToolLimits(currentModule)
        }
        onCurrentItemChange: function(item) { page.currentItem = item }
        onCurrentColorXChanged: toolBar.setColorLineX(currentColorX)
        onCurrentLineWidthChanged: toolBar.setLineWidth(currentLineWidth)
        onWidthChanged: priv.applyToolLimits(page.currentGraphModule)
        onHeightChanged: priv.applyToolLimits(page.currentGraphModule)
    }

    SurfaceSelector {
        id: selector
        objectName: "SurfaceSelector"
        anchors.fill: parent
        z: 2
        visible: !surface.isPonoramWork

        onRubberRectChanged: {
            priv.calcCoordinate()
            mainCanvas.selectRect = selector.rubberRect
        }
        onHeightChanged: {
            selector.checkProperties()
            surface.checkProperties()
        }
        onGxChanged: magnifierItem.update()
        onGyChanged: magnifierItem.update()

        SizeLabel {
            id: sizeLabel
            objectName: "sizeLabel"
            selector: selector
            canvas: mainCanvas
            magnifier: magnifier
            toolBar: toolBar
            showMagnifier: page.showMagnifier
        }

        Image {
            id: magnifier
            objectName: "magnifier"
            readonly property bool flipped: selector.rubberRectRight + 10 + width > mainCanvas.width
                                            || selector.rubberRectBottom + 10 + height > mainCanvas.height
            source: "qrc:/component/image/component/magnifier_background.png"
            visible: selector.firstDraw && page.showMagnifier
            x: flipped ? selector.rubberRectRight - width - 10
                       : (selector.rubberRectRight === 0 ? selector.gx + 10 : selector.rubberRectRight + 10)
            y: flipped ? selector.rubberRectBottom - height - 10
                       : (selector.rubberRectBottom === 0 ? selector.gy + 10 : selector.rubberRectBottom + 10)

            MagnifierItem {
                id: magnifierItem
                objectName: "MagnifierItem"
                x: 5
                y: 6
                width: 70
                height: 70
                background: surface.background
                gx: selector.gx
                gy: selector.gy
            }
        }
    }

    PonoramElements {
        id: ponoramElements
        anchors.fill: parent
        z: 3
        selector: selector
        previewWidth: page.previewWidth
        previewHeight: page.previewHeight
        toolName: mainCanvas.currentModule
    }

    Flickable {
        id: resultViewer
        objectName: "ponoramViewer"
        x: selector.rubberRectLeft
        y: selector.rubberRectTop
        width: selector.rubberRectRight - selector.rubberRectLeft
        height: selector.rubberRectBottom - selector.rubberRectTop
        z: 10000
        clip: true
        interactive: false
        visible: false
        contentWidth: resultImage.width
        contentHeight: resultImage.height

        function scrollBy(delta) {
            contentY = Math.max(0, Math.min(resultImage.height - height, contentY - delta))
        }

        // The stitched image at its own size: the canvas over it is what the result is
        // rendered from.
        ScreenPicture {
            id: resultImage
            objectName: "ponoramResultImage"
            picture: surface.ponoramResult

            MPainterArea {
                id: ponoramPaintArea
                objectName: "ponoramPaintArea"
                anchors.fill: parent
                z: 1
                onCurrentModuleChanged: page.currentGraphModule = currentModule
                onCurrentItemChange: function(item) { page.currentItem = item }
                onCurrentColorXChanged: toolBar.setColorLineX(currentColorX)
            }
        }
        WheelArea {
            parent: resultViewer
            anchors.fill: parent
            onVerticalWheel: function(delta) { resultViewer.scrollBy(delta) }
        }
        ScrollBar {
            parent: resultViewer
            width: 12
            anchors { right: parent.right; rightMargin: 5; top: parent.top; topMargin: 10; bottom: parent.bottom; bottomMargin: 10 }
            orientation: Qt.Vertical
            position: resultViewer.visibleArea.yPosition
            pageSize: resultViewer.visibleArea.heightRatio
            visible: pageSize < 1
            onDragScroll: function(diff) { resultViewer.scrollBy(-diff) }
        }

        PonoramErrorNotice {
            parent: resultViewer
            objectName: "ponoramErrorNotice"
            anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
            visible: surface.isPonoramError
            full: surface.isPonoramFull
        }

        Connections {
            target: surface
            function onPonoramPixmapComplete() {
                resultViewer.contentY = 0
                resultViewer.visible = true
                surface.setPaintArea(ponoramPaintArea)
            }
            function onIsPonoramWorkChanged() {
                if (surface.isPonoramWork)
                    resultViewer.visible = false
            }
        }
    }

    ToolBar {
        id: toolBar
        objectName: "toolBar"
        z: 20000
        height: surface.isPonoramWork ? 200 : 105
        enableMove: true
        shortTool: false
        visible: selector.showToolBar && !page.toolbarHidden
        host: surface
        toolTip: toolTip
        undoTarget: resultViewer.visible ? ponoramPaintArea : mainCanvas
        ponoramWork: surface.isPonoramWork
        commandModified: surface.isCommandModified
        toolName: page.currentGraphModule
        itemName: priv.itemName(page.currentItem)
        substrate: page.currentSubstrate
        offerPonoram: true
        ponoramAvailable: selector.rubberRectRight > selector.rubberRectLeft
                          && selector.rubberRectBottom > selector.rubberRectTop

        // The scrolling capture starts once the tool has set its size limits, so that it
        // grabs the selection as they leave it; it stops before the tool goes, which would
        // cancel it.
        onToolClick: function(name, check) {
            if (name === "Ponoram" && !check)
                surface.stopPonoram()
            priv.setBothCanvases("currentModule", check ? name : "")
            if (name === "Ponoram" && check) {
                surface.startPonoram()
                if (!surface.isPonoramWork)
                    priv.setBothCanvases("currentModule", "")
            }
        }
        onClickAccept: surface.uploadScreen()
        onChangeColorLineX: function(arg) {
            priv.setBothCanvases("currentColor", core.getColorFromX(arg))
            priv.setBothCanvases("currentColorX", arg)
        }
        onChangeColorLineXEnd: function(value, oldValue) {
            priv.setBothCanvases("currentColor", core.getColorFromX(value))
            priv.setBothCanvases("currentColorX", value)
            settings.colorColorLine = value
            mainCanvas.pushColorChange(value, oldValue)
            ponoramPaintArea.pushColorChange(value, oldValue)
        }
        onChangeWidthLineValue: function(value) { priv.setBothCanvases("currentLineWidth", value) }
        onChangeWidthLineValueEnd: function(value, oldValue) {
            mainCanvas.pushLineWidthChange(value, oldValue)
            ponoramPaintArea.pushLineWidthChange(value, oldValue)
        }
        onSubstrateClicked: page.currentSubstrate = !page.currentSubstrate
    }

    Connections {
        target: surface
        function onHideToolBar() {
            toolBar.hideMenu()
            page.toolbarHidden = true
        }
    }

    CloseConfirmBox {
        id: confirmBox
        objectName: "confirmBox"
        z: 50000
        canvas: mainCanvas
    }

    ToolTip {
        id: toolTip
        objectName: "toolTip"
        z: 50004
        maxWidth: 210
        centerItem: true
    }
}
