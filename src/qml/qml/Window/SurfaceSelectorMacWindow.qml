import QtQuick
import QtQml
import MavuComponent 1.0
import "../Components"
import "../Components/useful.js" as Fn

// One screen's selector window of a capture on several screens: the screen's picture, the
// selection (mirrored on every screen) with the size of the whole of it, and the magnifier
// on the screen under the pointer.
Item {
    id: page

    readonly property bool showMagnifier: Fn.flag(settings.showMagnifier)

    ScreenPicture {
        id: screenImage
        objectName: "screenImage"
        anchors.fill: parent
        picture: surface.background
    }

    SurfaceSelector {
        id: selector
        objectName: "SurfaceSelector"
        anchors.fill: parent
        z: 2
        visible: true
        screenIndex: surface.indexScreen

        readonly property bool hasLocalRect: rubberRectRight - rubberRectLeft > 0
                                             && rubberRectBottom - rubberRectTop > 0

        onGxChanged: {
            surface.changeSelectorPos(selector.gx, selector.gy)
            magnifierItem.update()
        }
        onGyChanged: {
            surface.changeSelectorPos(selector.gx, selector.gy)
            magnifierItem.update()
        }
        onGRectChanged: function(gRect) { surface.changeSelectorRect(gRect) }
        onSelectComplete: {
            console.debug("onSelectComplete")
            surface.selectComplete()
        }

        Text {
            objectName: "sizeLabel"
            x: selector.rubberRectRight + 15
            y: selector.rubberRectBottom - 25
            font.family: "Arial"
            font.pixelSize: 12
            color: "white"
            text: (selector.gRubberRectRight - selector.gRubberRectLeft) + "x"
                  + (selector.gRubberRectBottom - selector.gRubberRectTop)
            visible: selector.hasLocalRect && selector.isPress
        }

        Image {
            id: magnifier
            objectName: "magnifier"
            source: "qrc:/component/image/component/magnifier_background.png"
            x: selector.rubberRectRight - selector.rubberRectLeft > 0 ? selector.rubberRectRight + 15 : selector.gx + 15
            y: selector.rubberRectBottom - selector.rubberRectTop > 0 ? selector.rubberRectBottom + 15 : selector.gy + 15
            visible: selector.firstDraw && page.showMagnifier && selector.isShowMagnified

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
}
