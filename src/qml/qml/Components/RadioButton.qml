import QtQuick

// A click only turns the button on; the page turns the others of its group off.
CheckItem {
    id: radio

    signal click(bool check)

    iconStem: "radio"
    onPressed: {
        check = true
        radio.click(check)
    }
}
