import QtQuick
import "../Components"

// The voice-comment player: the picture of the capture, the length of the comment and a
// button that plays or stops it.
Window {
    id: page

    readonly property int imageWidth: window.data("imageWidth")
    readonly property int imageHeight: window.data("imageHeight")
    readonly property real shrink: Math.min(1, 640 / Math.max(1, imageWidth), 480 / Math.max(1, imageHeight))
    readonly property int seconds: window.data("seconds")

    titleText: qsTr("Voice comment")
    windowWidth: Math.max(320, Math.round(imageWidth * shrink) + 40)
    windowHeight: Math.round(imageHeight * shrink) + 110

    content: [
        Image {
            objectName: "picture"
            x: 20
            y: 45
            width: Math.round(page.imageWidth * page.shrink)
            height: Math.round(page.imageHeight * page.shrink)
            source: window.data("image")
            fillMode: Image.PreserveAspectFit
            smooth: true
        },
        Text {
            objectName: "length"
            anchors { left: parent.left; leftMargin: 20; bottom: parent.bottom; bottomMargin: 22 }
            text: Math.floor(page.seconds / 60) + ":" + ("0" + page.seconds % 60).slice(-2)
            font.pixelSize: 12
            font.family: settings.getValue("mainFontFamily")
            color: settings.getValue("mainFontColor")
        },
        PushButton {
            objectName: "playButton"
            anchors { right: parent.right; rightMargin: 20; bottom: parent.bottom; bottomMargin: 18 }
            text: window.isPlay ? qsTr("Stop") : qsTr("Play")
            onClick: window.isPlay ? window.stopAudio() : window.playAudio()
        }
    ]
}
