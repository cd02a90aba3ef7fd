// Helpers shared by the pages: key names for the hotkey fields and byte sizes.
// Key and modifier codes are Qt's (Qt.Key_..., Qt.ShiftModifier, ...), written as numbers so
// that the file also runs outside QML.

var keyF1 = 0x01000030;
var keyF12 = 0x0100003b;
var key0 = 0x30;
var key9 = 0x39;
var keyA = 0x41;
var keyZ = 0x5a;
var keyPrint = 0x01000009;
var keyReturn = 0x01000004;
var keyEnter = 0x01000005;
var shiftModifier = 0x02000000;
var controlModifier = 0x04000000;
var altModifier = 0x08000000;

function getKeyText(key) {
    if (key >= keyF1 && key <= keyF12)
        return "F" + (key - keyF1 + 1);
    if ((key >= key0 && key <= key9) || (key >= keyA && key <= keyZ))
        return String.fromCharCode(key);
    if (key === keyPrint)
        return "Print";
    if (key === keyReturn || key === keyEnter)
        return "Enter";
    return "";
}

// [held modifiers joined by " + " (Shift, Ctrl, Alt), key text]; "" when none is held.
function getHootKey(event) {
    var names = [];
    if (event.modifiers & shiftModifier)
        names.push("Shift");
    if (event.modifiers & controlModifier)
        names.push("Ctrl");
    if (event.modifiers & altModifier)
        names.push("Alt");
    if (names.length === 0)
        return "";
    return [names.join(" + "), getKeyText(event.key)];
}

function fixedDigits(digits) {
    return digits === undefined ? 2 : digits;
}

function sizeToString(s, digits) {
    digits = fixedDigits(digits);
    if (s < 1048576)
        return (s / 1024).toFixed(digits) + " " + qsTr("KB");
    return (s / 1048576).toFixed(digits) + " " + qsTr("MB");
}

function sizeToStringDropbox(s, digits) {
    digits = fixedDigits(digits);
    if (s >= 1073741824)
        return (s / 1073741824).toFixed(digits) + " " + qsTr("GB");
    return sizeToString(s, digits);
}

// A stored flag as a boolean: the settings database gives text back, and "0" or "false"
// mean off even though a non-empty text would count as true in a condition.
function flag(value) {
    if (value === undefined || value === null)
        return false;
    if (typeof value === "boolean")
        return value;
    if (typeof value === "number")
        return value !== 0;
    var text = String(value).trim().toLowerCase();
    if (text === "" || text === "false")
        return false;
    var number = Number(text);
    return isNaN(number) ? text === "true" : number !== 0;
}
