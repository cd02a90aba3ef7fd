import QtQuick
import MavuComponent 1.0
import "qrc:/qml/qml/Components"

// The main tool panel: the two captures, history and settings, the last link, and for a
// user who is not signed in the way to sign in. The panel is taller while there is a last
// link. A change of the sign-in state closes it.
Window {
    id: page

    readonly property bool signedIn: core.account.auth
    readonly property bool haveLink: core.lastLink !== ""

    windowWidth: 241
    windowHeight: haveLink ? 430 : 300
    titleText: "Mavu"

    Connections {
        target: window
        function onShowed() { window.updatePos() }
    }
    Connections {
        target: core.account
        function onAuthChanged() { window.close() }
    }

    content: [
        StandardPanel {
            id: toolPanel
            objectName: "toolPanel"
            anchors { left: parent.left; right: parent.right; top: parent.top; margins: 10; topMargin: 40 }
            height: 220
            z: 1
            visible: page.signedIn

            ToolPushButton {
                id: fragmentButton
                objectName: "fragmentButton"
                anchors { left: parent.left; top: parent.top; leftMargin: 10; topMargin: 30 }
                text: qsTr("Fragment") + core.emptyString
                image: "qrc:/icon/image/icon/fragment.png"
                toolText: qsTr("Capture fragment screen") + core.emptyString
                toolTip: tip
                onClick: core.screen(false, false)
            }
            VerticalDivider {
                id: topDivider
                anchors { left: fragmentButton.right; top: fragmentButton.top }
            }
            ToolPushButton {
                objectName: "fullScreenButton"
                anchors { left: topDivider.right; right: parent.right; top: fragmentButton.top; rightMargin: 10 }
                text: qsTr("Full screen") + core.emptyString
                image: "qrc:/icon/image/icon/screen.png"
                toolText: qsTr("Fullscreen - capture full screen") + core.emptyString
                toolTip: tip
                onClick: core.screen(true, false)
            }
            PanelLine {
                anchors { left: parent.left; right: parent.right; top: fragmentButton.bottom; leftMargin: 15; rightMargin: 15; topMargin: 30 }
            }
            ToolPushButton {
                id: historyButton
                objectName: "historyButton"
                anchors { left: parent.left; bottom: parent.bottom; leftMargin: 10; bottomMargin: 30 }
                height: 60
                text: qsTr("History") + core.emptyString
                image: "qrc:/icon/image/icon/history.png"
                toolText: qsTr("History - show history") + core.emptyString
                toolTip: tip
                onClick: {
                    window.hide()
                    core.openHistory()
                }
            }
            VerticalDivider {
                id: bottomDivider
                anchors { left: historyButton.right; top: historyButton.top }
            }
            ToolPushButton {
                objectName: "settingsButton"
                anchors { left: bottomDivider.right; right: parent.right; top: historyButton.top; rightMargin: 10 }
                text: qsTr("Settings") + core.emptyString
                image: "qrc:/icon/image/icon/setting.png"
                toolText: qsTr("Settings - show settings") + core.emptyString
                toolTip: tip
                onClick: {
                    core.showSetting()
                    window.close()
                }
            }
        },
        Rectangle {
            objectName: "lastUploadPanel"
            anchors { left: parent.left; right: parent.right; top: toolPanel.bottom; bottom: linkRow.top; leftMargin: 10; rightMargin: 10; topMargin: 5; bottomMargin: 10 }
            visible: page.signedIn && page.haveLink
            radius: 10
            border.color: "#cacbd2"
            gradient: Gradient {
                GradientStop { position: 0.0; color: "#c0f5f5f5" }
                GradientStop { position: 0.5; color: "#c0f6f6f6" }
                GradientStop { position: 1.0; color: "#c0f0f0f0" }
            }

            Text {
                id: lastHeading
                anchors { left: parent.left; top: parent.top; margins: 10 }
                text: qsTr("Last upload") + core.emptyString
                font.pixelSize: 14
                font.letterSpacing: 0.9
                font.family: settings.getValue("mainFontFamily")
                color: settings.getValue("mainFontColor")
                style: Text.Raised
                styleColor: "white"
            }
            PanelLine {
                id: lastLine
                anchors { left: parent.left; right: parent.right; top: lastHeading.bottom; margins: 10 }
            }
            LastLinkButtons {
                anchors { left: parent.left; right: parent.right; top: lastLine.bottom; margins: 10 }
                toolTip: tip
                onUsed: window.hide()
            }
        },
        StandardPanel {
            objectName: "signInPanel"
            anchors { left: parent.left; right: parent.right; top: parent.top; bottom: linkRow.top; margins: 10; topMargin: 40 }
            visible: !page.signedIn

            Text {
                anchors { left: parent.left; right: parent.right; bottom: enterButton.top; margins: 10; bottomMargin: 20 }
                text: qsTr("To get started with Mavu you must log") + core.emptyString
                font.family: "Arial"
                font.pixelSize: 15
                color: "#45494b"
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
            }
            LoginPushButton {
                id: enterButton
                objectName: "enterButton"
                anchors { horizontalCenter: parent.horizontalCenter; bottom: parent.bottom; bottomMargin: 16 }
                text: qsTr("Enter to mavu") + core.emptyString
                onClick: {
                    core.checkAutorization()
                    window.close()
                }
            }
        },
        Row {
            id: linkRow
            anchors { horizontalCenter: parent.horizontalCenter; bottom: parent.bottom; bottomMargin: 10 }
            height: 20
            spacing: 8

            Link {
                objectName: "exitLink"
                text: qsTr("Exit") + core.emptyString
                pixelSize: 12
                onClick: {
                    window.hide()
                    core.exitApp()
                }
            }
            Rectangle {
                width: 12
                height: 2
                y: 7
                rotation: -90
                gradient: Gradient {
                    orientation: Gradient.Horizontal
                    GradientStop { position: 0.0; color: "#96a0a7" }
                    GradientStop { position: 1.0; color: "#ffffff" }
                }
            }
            Link {
                objectName: "helpLink"
                text: qsTr("Help") + core.emptyString
                pixelSize: 12
                onClick: {
                    window.hide()
                    core.openHelp()
                }
            }
        },
        ToolTip {
            id: tip
            maxWidth: 170
        }
    ]
}
