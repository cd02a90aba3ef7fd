import QtQuick
import "qrc:/qml/qml/Components"
import "qrc:/qml/qml/Components/useful.js" as Fn

// Space used of an account: a bar and "Usage 12% - 1.50 MB of 10 MB".
Column {
    id: quota

    property real used: 0
    property real total: 0
    // Dropbox counts in gigabytes as well.
    property bool gigabytes: false
    // No space known yet (0) shows an empty bar rather than a division by zero.
    readonly property real percent: used > 0 && total > 0 ? Math.round(used / (total / 100)) : 0

    function size(bytes, digits) {
        return gigabytes ? Fn.sizeToStringDropbox(bytes, digits) : Fn.sizeToString(bytes, digits)
    }

    spacing: 10

    ProgressBar {
        width: quota.width
        height: 12
        value: quota.percent
    }
    Text {
        objectName: "quotaText"
        text: qsTr("Usage") + " " + quota.percent + "% - " + quota.size(quota.used, 2) + " " + qsTr("of") + " "
              + quota.size(quota.total, 0) + core.emptyString
        font.pixelSize: 13
        font.family: settings.getValue("mainFontFamily")
        color: settings.getValue("mainFontColor")
    }
}
