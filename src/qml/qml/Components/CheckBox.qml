import QtQuick

CheckItem {
    id: box

    signal click(bool check)

    iconStem: "checkbox"
    onPressed: {
        check = !check
        box.click(check)
    }
}
