import QtQuick
import Core 1.0
import MavuComponent 1.0
import "qrc:/qml/qml/Components"

// The sign-in page. It shows the step that the account object reports and calls the
// matching operation: the e-mail, then the password of a known account or a new password
// with its confirmation; the proxy form after an "internet" error; the welcome view once
// signed in; and under the panel the sign-in through social networks.
Window {
    id: page

    // "form", "proxy" or "welcome": the view in the panel.
    property string view: "form"
    property bool socialVisible: true
    property string heading: qsTr("To get started, enter e-mail") + core.emptyString
    readonly property int step: core.account.statusAutorization
    readonly property bool emailStep: step === Autorization.NoneAuth || step === Autorization.CheckEmail
    readonly property bool passwordShown: step === Autorization.CheckPassword || step === Autorization.CheckRegistration
    readonly property bool confirmShown: step === Autorization.CheckRegistration
    readonly property string windowManager: core.getWindowsManager()

    windowWidth: 340
    windowHeight: 430
    titleText: "Mavu"

    function hideErrors() {
        emailLabel.error = ""
        passwordLabel.error = ""
        confirmLabel.error = ""
        proxyError.text = ""
    }

    function next() {
        busy.visible = true
        hideErrors()
        if (emailStep)
            core.account.checkEmail(emailInput.text)
        else if (step === Autorization.CheckPassword)
            core.account.checkPassword(emailInput.text, passwordInput.text)
        else if (step === Autorization.CheckRegistration)
            core.account.checkRegistration(emailInput.text, passwordInput.text, confirmInput.text)
        else if (step === Autorization.InternetError)
            applyProxy()
    }

    function stored(key) {
        var value = settings.getValue(key)
        return value === undefined || value === null ? "" : String(value)
    }

    // The proxy form starts from the stored proxy.
    function showStoredProxy() {
        proxyHost.text = stored("proxy_host")
        proxyPort.text = stored("proxy_port")
        proxyUser.text = stored("proxy_user")
        proxyPassword.text = stored("proxy_password")
    }

    // Back and Next of the proxy form alike keep the proxy as the form shows it, use it and
    // go back to the e-mail. A proxy needs a host: without one it stays off.
    function applyProxy() {
        settings.useProxy = proxyHost.text !== ""
        settings.setValue("proxy_host", proxyHost.text)
        settings.setValue("proxy_port", proxyPort.text)
        settings.setValue("proxy_user", proxyUser.text)
        settings.setValue("proxy_password", proxyPassword.text)
        socialVisible = true
        core.account.resetAutorization()
    }

    // The panel ends 20 pixels under Next, which stands 10 under the last field shown;
    // the social row has the room under the panel.
    function formHeight(lastField) {
        return 40 + lastField.y + lastField.height + 10 + nextButton.height + 20 + 115
    }

    // Changing the e-mail after the next step appeared starts over with the address as
    // it is now typed.
    function emailEdited() {
        if (!passwordShown)
            return
        var typed = emailInput.text
        core.account.resetAutorization()
        emailInput.text = typed
    }

    function showStep() {
        busy.visible = false
        view = "form"
        hideErrors()
        if (emailStep) {
            emailInput.text = ""
            passwordInput.text = ""
            confirmInput.text = ""
            socialVisible = true
            windowWidth = 430
            windowHeight = formHeight(emailInput)
            heading = qsTr("To get started, enter e-mail")
            nextButton.text = qsTr("Next")
            emailInput.setFocus()
        } else if (step === Autorization.CheckPassword) {
            windowHeight = formHeight(passwordInput)
            nextButton.text = qsTr("Enter to mavu")
            passwordInput.setFocus()
        } else if (step === Autorization.CheckRegistration) {
            heading = qsTr("Registration from mavu")
            nextButton.text = qsTr("Registration")
            windowHeight = formHeight(confirmInput)
            passwordInput.setFocus()
        }
    }

    function showError(key, value) {
        busy.visible = false
        if (key === "email")
            emailLabel.error = value
        else if (key === "password")
            passwordLabel.error = value
        else if (key === "confirm")
            confirmLabel.error = value
        else if (key === "internet") {
            socialVisible = false
            view = "proxy"
            windowWidth = 430
            windowHeight = 420
            proxyError.text = value
            showStoredProxy()
            nextButton.text = qsTr("Next")
            proxyHost.setFocus()
        }
    }

    function showWelcome() {
        busy.visible = false
        windowWidth = 640
        windowHeight = 440
        socialVisible = false
        view = "welcome"
        if (windowManager !== "unity")
            core.startArrowAnimation()
    }

    function platformPicture() {
        var known = { "windows": "win", "unity": "unity", "kde": "kde", "xfce": "xfce" }
        var name = known[windowManager] === undefined ? "unity" : known[windowManager]
        // Its words follow the interface: Russian only where the Russian catalogue is loaded.
        return "qrc:/image/image/image/platform_start_" + name + (settings.language === "ru" ? "" : "_en") + ".png"
    }

    Connections {
        target: window
        function onShowed() {
            page.heading = qsTr("To get started, enter e-mail")
            core.account.resetAutorization()
        }
    }
    Connections {
        target: core.account
        function onStatusAutorizationChanged() { page.showStep() }
        function onAuthError(key, value) { page.showError(key, value) }
        function onRegistrationFinished() { page.showWelcome() }
        function onAuthFinished() {
            window.show()
            page.showWelcome()
        }
    }
    Connections {
        target: settings
        function onUserAvatarChanges(ava) { avatar.source = ava === "" ? avatar.fallback : ava }
    }

    content: [
        StandardPanel {
            id: panel
            objectName: "signInPanel"
            // The social row stands under the panel; the proxy form needs the room itself.
            anchors { fill: parent; leftMargin: 10; rightMargin: 10; topMargin: 40; bottomMargin: page.view === "proxy" ? 55 : 115 }

            Item {
                id: form
                objectName: "signInForm"
                anchors.fill: parent
                visible: page.view === "form"

                Text {
                    id: headingText
                    objectName: "heading"
                    x: 35
                    y: 30
                    text: page.heading
                    font.pixelSize: 16
                    font.family: settings.getValue("mainFontFamily")
                    color: "#37373e"
                }
                Separator {
                    id: separator
                    anchors { left: parent.left; right: parent.right; top: headingText.bottom; leftMargin: 35; rightMargin: 35; topMargin: 15 }
                }
                FieldLabel {
                    id: emailLabel
                    objectName: "emailLabel"
                    anchors { left: emailInput.left; bottom: emailInput.top; bottomMargin: 10 }
                    text: "E-mail"
                }
                FormInput {
                    id: emailInput
                    objectName: "emailInput"
                    anchors { left: parent.left; right: parent.right; top: separator.bottom; leftMargin: 35; rightMargin: 35; topMargin: 50 }
                    onReturnPressed: page.next()
                    onTabPressed: if (page.passwordShown) passwordInput.setFocus()
                    onTextEdited: page.emailEdited()
                }
                FieldLabel {
                    id: passwordLabel
                    objectName: "passwordLabel"
                    visible: page.passwordShown
                    anchors { left: passwordInput.left; bottom: passwordInput.top; bottomMargin: 10 }
                    text: qsTr("Password") + core.emptyString
                }
                Link {
                    objectName: "recoveryLink"
                    visible: page.step === Autorization.CheckPassword
                    anchors { right: passwordInput.right; bottom: passwordInput.top; bottomMargin: 3 }
                    text: qsTr("Recovery password") + core.emptyString
                    pixelSize: 12
                    textDecoration: false
                    onClick: core.openUrl("https://" + settings.currentHostUrl + "/resetting/request?email="
                                          + encodeURIComponent(emailInput.text))
                }
                FormInput {
                    id: passwordInput
                    objectName: "passwordInput"
                    visible: page.passwordShown
                    echoMode: TextInput.Password
                    anchors { left: emailInput.left; right: emailInput.right; top: emailInput.bottom; topMargin: 42 }
                    onReturnPressed: page.confirmShown && confirmInput.text === "" ? confirmInput.setFocus() : page.next()
                    onTabPressed: page.confirmShown && confirmInput.text === "" ? confirmInput.setFocus() : page.next()
                }
                FieldLabel {
                    id: confirmLabel
                    objectName: "confirmLabel"
                    visible: page.confirmShown
                    anchors { left: confirmInput.left; bottom: confirmInput.top; bottomMargin: 10 }
                    text: qsTr("Confirm password") + core.emptyString
                }
                FormInput {
                    id: confirmInput
                    objectName: "confirmInput"
                    visible: page.confirmShown
                    echoMode: TextInput.Password
                    anchors { left: emailInput.left; right: emailInput.right; top: passwordInput.bottom; topMargin: 42 }
                    onReturnPressed: page.next()
                    onTabPressed: emailInput.setFocus()
                }
            }

            Item {
                id: proxyForm
                objectName: "proxyForm"
                anchors.fill: parent
                visible: page.view === "proxy"

                Text {
                    id: proxyHeading
                    x: 35
                    y: 30
                    text: qsTr("Proxy setting") + core.emptyString
                    font.pixelSize: 24
                    font.family: settings.getValue("mainFontFamily")
                    color: "#37373e"
                }
                Separator {
                    id: proxySeparator
                    anchors { left: parent.left; right: parent.right; top: proxyHeading.bottom; leftMargin: 35; rightMargin: 35; topMargin: 15 }
                }
                Text {
                    id: proxyError
                    objectName: "proxyError"
                    anchors { left: proxySeparator.left; right: proxySeparator.right; top: proxySeparator.bottom; topMargin: 5 }
                    font.pixelSize: 12
                    font.family: settings.getValue("mainFontFamily")
                    color: "#cf0a4b"
                    wrapMode: Text.WordWrap
                }
                FieldLabel {
                    anchors { left: proxyHost.left; bottom: proxyHost.top; bottomMargin: 10 }
                    text: "Host"
                }
                FormInput {
                    id: proxyHost
                    objectName: "proxyHost"
                    x: 35
                    y: proxySeparator.y + 60
                    width: 155
                    onReturnPressed: page.next()
                }
                FieldLabel {
                    anchors { left: proxyPort.left; bottom: proxyPort.top; bottomMargin: 10 }
                    text: "Port"
                }
                FormInput {
                    id: proxyPort
                    objectName: "proxyPort"
                    anchors { left: proxyHost.right; leftMargin: 10; top: proxyHost.top }
                    width: 155
                    validator: IntValidator { bottom: 1; top: 999999 }
                    onReturnPressed: page.next()
                }
                FieldLabel {
                    anchors { left: proxyUser.left; bottom: proxyUser.top; bottomMargin: 10 }
                    text: "Login"
                }
                FormInput {
                    id: proxyUser
                    objectName: "proxyUser"
                    anchors { left: parent.left; right: parent.right; top: proxyHost.bottom; leftMargin: 35; rightMargin: 35; topMargin: 42 }
                    onReturnPressed: page.next()
                }
                FieldLabel {
                    anchors { left: proxyPassword.left; bottom: proxyPassword.top; bottomMargin: 10 }
                    text: "Password"
                }
                FormInput {
                    id: proxyPassword
                    objectName: "proxyPassword"
                    echoMode: TextInput.Password
                    anchors { left: proxyUser.left; right: proxyUser.right; top: proxyUser.bottom; topMargin: 42 }
                    onReturnPressed: page.next()
                }
            }

            Item {
                id: welcome
                objectName: "welcome"
                anchors.fill: parent
                visible: page.view === "welcome"

                Image {
                    id: avatar
                    readonly property string fallback: "qrc:/image/image/image/avatar_default.png"
                    x: 12
                    y: 12
                    width: 50
                    height: 50
                    asynchronous: true
                    fillMode: Image.PreserveAspectFit
                    source: settings.userAvatar === undefined || settings.userAvatar === "" ? fallback : settings.userAvatar
                    onStatusChanged: if (status === Image.Error) source = fallback
                }
                Text {
                    objectName: "welcomeText"
                    anchors { left: avatar.right; leftMargin: 15; verticalCenter: avatar.verticalCenter }
                    // The name comes from the service: shown as it is, never as markup.
                    textFormat: Text.PlainText
                    text: qsTr("Wellcome to Mavu,") + core.emptyString + "\n" + settings.userName + "!"
                    font.pixelSize: 24
                    font.family: settings.getValue("mainFontFamily")
                    color: "#37373e"
                }
                Image {
                    objectName: "platformPicture"
                    x: 12
                    y: 78
                    width: 576
                    height: 194
                    source: page.platformPicture()
                }
            }
        },

        Row {
            id: socialRow
            objectName: "socialRow"
            x: panel.x + 35
            y: panel.y + panel.height + 15
            spacing: 10
            visible: page.socialVisible && !core.account.auth

            Repeater {
                model: [
                    { icon: "fb", open: function() { core.account.openFbUrl() } },
                    { icon: "tw", open: function() { core.account.openTwitterUrl() } },
                    { icon: "vk", open: function() { core.account.openVkUrl() } },
                    { icon: "od", open: function() { core.account.openOdnoklasnikiUrl() } }
                ]
                Image {
                    width: 34
                    height: 34
                    source: "qrc:/icon/image/icon/" + modelData.icon + ".png"

                    MouseArea {
                        anchors.fill: parent
                        onPressed: {
                            modelData.open()
                            window.hide()
                        }
                    }
                    CursorShapeArea {
                        anchors.fill: parent
                        cursorShape: Qt.PointingHandCursor
                    }
                }
            }
        },
        Text {
            anchors { left: socialRow.left; right: parent.right; top: socialRow.bottom; rightMargin: 35; topMargin: 14 }
            visible: socialRow.visible
            text: qsTr("You can enter a Mavu using one of the social networks") + core.emptyString
            font.pixelSize: 13
            font.family: settings.getValue("mainFontFamily")
            color: "#45494b"
            style: Text.Raised
            styleColor: "white"
            wrapMode: Text.WordWrap
        },

        LoginPushButton {
            id: backButton
            objectName: "backButton"
            x: panel.x + 35
            y: panel.y + panel.height + 15
            visible: page.view === "proxy"
            text: qsTr("Back") + core.emptyString
            onClick: page.applyProxy()
        },
        LoginPushButton {
            id: nextButton
            objectName: "nextButton"
            visible: page.view !== "welcome"
            x: page.view === "proxy" ? backButton.x + backButton.width + 10 : panel.x + 35
            y: page.view === "proxy" ? backButton.y
               : panel.y + (page.confirmShown ? confirmInput : page.passwordShown ? passwordInput : emailInput).y + 28 + 10
            text: qsTr("Next")
            onClick: page.next()
        },
        AnimatedImage {
            id: busy
            objectName: "busy"
            anchors { left: nextButton.right; leftMargin: 10; verticalCenter: nextButton.verticalCenter }
            width: 16
            height: 16
            visible: false
            playing: visible
            source: "qrc:/component/image/component/download.gif"
        },

        LoginPushButton {
            objectName: "startButton"
            x: panel.x + 12
            y: panel.y + panel.height + 15
            visible: page.view === "welcome"
            text: qsTr("Start use mavu") + core.emptyString
            onClick: {
                core.stopArrowAnimation()
                if (page.windowManager !== "unity")
                    core.showMainWindow()
                core.registrationWidgetDestroy()
            }
        }
    ]

}
