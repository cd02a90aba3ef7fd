import QtQuick
import "qrc:/qml/qml/Components"
import "qrc:/qml/qml/Components/useful.js" as Fn

// The settings tab: image quality, the behaviour switches and the language. Stored flags
// come back as texts ("0", "1"), so each is read through Fn.flag.
StandardPanel {
    id: tab

    readonly property var languages: ["ru", "en"]
    readonly property string folder: String(settings.saveScreenFolder === undefined ? "" : settings.saveScreenFolder)

    component Heading: Text {
        x: 30
        font { family: "Georgia"; pixelSize: 19; italic: true }
        color: "#2d2d33"
    }
    component Switch: CheckBox {
        property string key
        check: Fn.flag(settings.getValue(key))
    }

    function proxyHostMissing() {
        var host = settings.getValue("proxy_host")
        return host === undefined || host === null || String(host) === ""
    }

    function chooseFolder() {
        core.selectSaveScreenFolder()
        saveCopy.check = Fn.flag(settings.getValue("useSaveScreen"))
    }

    // Returns true when the window may close: the language stayed as it was.
    function save() {
        var switches = [showLastUpload, showUpload, autostart, useProxy, saveCopy, activeWindow, magnifier,
                        shortLink, closeSurface]
        for (var i = 0; i < switches.length; ++i)
            settings.setValue(switches[i].key, switches[i].check)
        settings.qualityImage = quality.current
        if (proxyHostMissing())
            settings.useProxy = false
        if (language.current < 0)
            return true
        var before = String(settings.language)
        settings.language = languages[language.current]
        return languages[language.current] === before
    }

    substrateColor: "#60ffffff"
    topColor: "#90ffffff"
    middleColor: "#90f6f6f6"
    bottomColor: "#90f0f0f0"

    Connections {
        target: core
        function onCloseProxyWindow() {
            if (!tab.proxyHostMissing())
                return
            settings.useProxy = false
            useProxy.check = false
        }
    }

    Column {
        y: 10
        width: parent.width
        spacing: 7

        Heading { text: qsTr("Image quality") + core.emptyString }
        RadioGroup {
            id: quality
            objectName: "quality"
            x: 30
            spacing: 12
            choices: [qsTr("Low") + core.emptyString, qsTr("Average") + core.emptyString, qsTr("High") + core.emptyString]
            current: [0, 1, 2].indexOf(Number(settings.getValue("qualityImage"))) < 0 ? 1 : Number(settings.getValue("qualityImage"))
        }
        Separator { x: 30; width: parent.width - 60 }

        Heading { text: qsTr("Additionally") + core.emptyString }
        Column {
            x: 30
            spacing: 10

            Switch {
                id: autostart
                key: "autostart"
                text: qsTr("Run application on system boot") + core.emptyString
            }
            Switch {
                id: useProxy
                objectName: "useProxy"
                key: "useProxy"
                text: qsTr("Use proxy") + core.emptyString
                onClick: function (check) { if (check) core.showProxyWidget() }
            }
            Switch {
                id: saveCopy
                key: "useSaveScreen"
                text: qsTr("Save screen copy to select folder") + core.emptyString
                onClick: function (check) {
                    if (check && (tab.folder === "" || tab.folder === "0"))
                        tab.chooseFolder()
                }
            }
            Row {
                visible: saveCopy.check
                spacing: 10

                Text {
                    width: 400
                    anchors.verticalCenter: parent.verticalCenter
                    textFormat: Text.PlainText // a folder name, never markup
                    text: tab.folder.replace(/\\/g, "/")
                    elide: Text.ElideMiddle
                    font.pixelSize: 13
                    font.family: settings.getValue("mainFontFamily")
                    color: "#7d7e7e"
                }
                Link {
                    text: qsTr("Change") + core.emptyString
                    onClick: tab.chooseFolder()
                }
            }
            Switch {
                id: showUpload
                key: "show_upload"
                text: qsTr("Show upload process to server") + core.emptyString
            }
            Switch {
                id: showLastUpload
                key: "show_last_upload"
                text: qsTr("Show information window after download") + core.emptyString
            }
            Switch {
                id: activeWindow
                key: "showActiveWindow"
                text: qsTr("Use in the screenshot name title of the active window") + core.emptyString
            }
            Switch {
                id: shortLink
                objectName: "shortLink"
                key: "shortLink"
                text: qsTr("Receive a direct link to a screenshot or a file") + core.emptyString
            }
            Switch {
                id: magnifier
                key: "showMagnifier"
                text: qsTr("Show magnifier at the select rect") + core.emptyString
            }
            Switch {
                id: closeSurface
                key: "showCloseSurfaceWindow"
                text: qsTr("Prevent the closure of the window screenshot") + core.emptyString
            }
        }
        Separator { x: 30; width: parent.width - 60 }

        Heading { text: qsTr("Language") + core.emptyString }
        RadioGroup {
            id: language
            objectName: "language"
            x: 30
            columns: 2
            columnSpacing: 30
            choices: ["Русский", "English"]
            current: tab.languages.indexOf(String(settings.getValue("language")))
        }
    }
}
