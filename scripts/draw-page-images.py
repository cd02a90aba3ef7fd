#!/usr/bin/env python3
"""Draws the images of the page components, the overlay page and its toolbar as small
vector drawings rendered by ImageMagick's convert. Run from the source tree:

    scripts/draw-page-images.py src/qml/image

Writes into <dir>/component, <dir>/image and <dir>/icon under the names the pages use."""
import math
import os
import subprocess
import sys

OUT = sys.argv[1] if len(sys.argv) > 1 else "src/qml/image"

LIGHT = "#c9cbd3"     # tool icon at rest
WHITE = "#ffffff"     # tool icon under the pointer
BLUE = "#3db4ef"      # tool icon of the chosen tool
DARK = "#2b2e33"


def path(folder, name):
    os.makedirs(os.path.join(OUT, folder), exist_ok=True)
    return os.path.join(OUT, folder, name)


def canvas(folder, name, w, h, *draw, background="none"):
    """One transparent w x h picture with the given drawing primitives, in order."""
    args = ["convert", "-size", f"{w}x{h}", f"xc:{background}"]
    for item in draw:
        args += item
    args += ["-define", "png:color-type=6", path(folder, name)]
    subprocess.run(args, check=True)


def fill(colour, stroke="none", width=1):
    return ["-fill", colour, "-stroke", stroke, "-strokewidth", str(width)]


def d(primitive):
    return ["-draw", primitive]


def gradient_button(folder, name, w, h, top, bottom, radius, border):
    """A rounded button face: vertical gradient, border colour, transparent corners."""
    args = ["convert", "-size", f"{w}x{h}", f"gradient:{top}-{bottom}",
            "(", "-size", f"{w}x{h}", "xc:black", "-fill", "white",
            "-draw", f"roundrectangle 0,0 {w - 1},{h - 1} {radius},{radius}", ")",
            "-alpha", "off", "-compose", "CopyOpacity", "-composite",
            "-compose", "Over", "-fill", "none", "-stroke", border, "-strokewidth", "1",
            "-draw", f"roundrectangle 0.5,0.5 {w - 1.5},{h - 1.5} {radius},{radius}",
            "-define", "png:color-type=6", path(folder, name)]
    subprocess.run(args, check=True)


# ---------------------------------------------------------------- frame and buttons
def frame_images():
    canvas("image", "rounded_edge.png", 20, 20, fill("black"), d("circle 9.5,9.5 9.5,0"))
    canvas("image", "background.png", 32, 32, fill("#f6f6f7", "#b9bbc0"), d("roundrectangle 0.5,0.5 31.5,31.5 7,7"))
    for name, colour in (("close.png", "#7d8087"), ("close_enter.png", "#d9472b")):
        canvas("component", name, 17, 17, fill("none", colour, 2), d("line 4,4 12,12"), d("line 12,4 4,12"))
    for name, colour in (("turn.png", "#7d8087"), ("turn_enter.png", "#2f9bd0")):
        canvas("component", name, 17, 17, fill("none", colour, 2), d("line 4,12 12,12"))
    for stem, top, bottom, border in (("login_button_background", "#5cc3ec", "#2a8fb9", "#227da0"),
                                      ("dark_button_background", "#5a5d63", "#2c2e32", "#1b1c1f")):
        gradient_button("component", stem + ".png", 40, 27, top, bottom, 5, border)
        gradient_button("component", stem + "_hover.png", 40, 27, "#7fd3f3" if "login" in stem else "#6c7077",
                        top, 5, border)
        gradient_button("component", stem + "_press.png", 40, 27, bottom, top, 5, border)


def check_images():
    box = fill("#ffffff", "#8e9197")
    hover = fill("#ffffff", "#2f9bd0")
    tick = [*fill("none", "#2f2f33", 2), *d("polyline 3,6.5 5.5,9.5 10,3.5")]
    canvas("component", "checkbox_unselect_over.png", 13, 13, box, d("roundrectangle 0.5,0.5 12.5,12.5 2,2"))
    canvas("component", "checkbox_unselect_enter.png", 13, 13, hover, d("roundrectangle 0.5,0.5 12.5,12.5 2,2"))
    canvas("component", "checkbox_select_over.png", 13, 13, box, d("roundrectangle 0.5,0.5 12.5,12.5 2,2"), tick)
    canvas("component", "checkbox_select_enter.png", 13, 13, hover, d("roundrectangle 0.5,0.5 12.5,12.5 2,2"), tick)
    dot = [*fill("#2f2f33"), *d("circle 6.5,6.5 6.5,3.8")]
    canvas("component", "radio_unselect_over.png", 13, 13, box, d("circle 6.5,6.5 6.5,0.5"))
    canvas("component", "radio_unselect_enter.png", 13, 13, hover, d("circle 6.5,6.5 6.5,0.5"))
    canvas("component", "radio_select_over.png", 13, 13, box, d("circle 6.5,6.5 6.5,0.5"), dot)
    canvas("component", "radio_select_enter.png", 13, 13, hover, d("circle 6.5,6.5 6.5,0.5"), dot)
    canvas("component", "drop_checkbox.png", 13, 13, fill("#3a3d42", "#8e9197"), d("rectangle 0.5,0.5 12.5,12.5"))
    canvas("component", "drop_checkbox_check.png", 13, 13, fill("#3a3d42", "#8e9197"), d("rectangle 0.5,0.5 12.5,12.5"),
           fill("none", BLUE, 2), d("polyline 3,6.5 5.5,9.5 10,3.5"))
    canvas("component", "close_window_checkbox_uncheck.png", 16, 16, fill("#1d1c1b", "#6d6c6a"),
           d("roundrectangle 0.5,0.5 15.5,15.5 2,2"))
    canvas("component", "close_window_checkbox_check.png", 16, 16, fill("#1d1c1b", "#6d6c6a"),
           d("roundrectangle 0.5,0.5 15.5,15.5 2,2"), fill("none", "#e6e6e6", 2), d("polyline 4,8 7,11 12,4.5"))


def tooltip_images():
    """Bubbles 80 x 60 with a 10-pixel pointer; the tip sits 32 px from the left edge
    (35 from the right one for the right-hand forms), where the pages put the pointer."""
    body = fill("#2b2d33e8", "#4a4d55")
    for side in ("left", "right"):
        tip = 32 if side == "left" else 80 - 35
        for edge in ("bottom", "top"):
            if edge == "bottom":
                box, pointer = "roundrectangle 0.5,0.5 79.5,49.5 6,6", f"polygon {tip - 8},49 {tip},59 {tip + 8},49"
            else:
                box, pointer = "roundrectangle 0.5,10.5 79.5,59.5 6,6", f"polygon {tip - 8},11 {tip},1 {tip + 8},11"
            canvas("component", f"toolTip_background_{side}_{edge}.png", 80, 60, body, d(box),
                   fill("#2b2d33e8"), d(pointer))


# ---------------------------------------------------------------- tool icons
SHAPES = {
    "move": ["polygon 12,2 15,6 13,6 13,11 18,11 18,9 22,12 18,15 18,13 13,13 13,18 15,18 12,22 9,18 11,18 "
             "11,13 6,13 6,15 2,12 6,9 6,11 11,11 11,6 9,6"],
    "pen": ["polyline 4,20 7,19 19,7 17,5 5,17 4,20", "line 15,7 17,9"],
    "marker": ["polygon 5,19 9,19 20,8 16,4 5,15", "line 3,21 21,21"],
    "line": ["line 4,20 20,4"],
    "arrow": ["line 4,20 19,5", "polyline 11,5 19,5 19,13"],
    "text": ["line 5,5 19,5", "line 12,5 12,20", "line 9,20 15,20"],
    "circle": ["ellipse 12,12 9,7 0,360"],
    "rect": ["rectangle 4,6 20,18"],
    "counter": ["circle 12,12 12,3", "line 12,8 12,16", "line 10,10 12,8"],
    "blur": ["circle 8,8 8,6.5", "circle 16,8 16,6.5", "circle 8,16 8,14.5", "circle 16,16 16,14.5", "circle 12,12 12,11"],
    "blackout": ["rectangle 3,5 21,19"],
}
FILLED = {"move", "blackout"}


def tool_icons():
    for stem, shapes in SHAPES.items():
        for suffix, colour in (("", LIGHT), ("_hover", WHITE), ("_checked", BLUE)):
            filled = stem in FILLED
            style = fill(colour, "none") if filled else fill("none", colour, 2)
            draws = [d(s) for s in shapes]
            if stem == "blackout":
                draws.append(fill("#ffffff40", "none"))
                draws.append(d("rectangle 7,9 17,15"))
            canvas("component", f"tool_{stem}{suffix}.png", 24, 24, style, *draws)
    # With Ctrl held the ellipse and rectangle tools draw filled shapes.
    for stem in ("circle", "rect"):
        for suffix, colour in (("", LIGHT), ("_hover", WHITE), ("_checked", BLUE)):
            canvas("component", f"tool_{stem}_command{suffix}.png", 24, 24, fill(colour, colour, 2),
                   *[d(s) for s in SHAPES[stem]])
    canvas("component", "tool_item_background.png", 57, 44, fill("#ffffff1e", "#ffffff30"),
           d("roundrectangle 0.5,0.5 56.5,43.5 4,4"))
    canvas("component", "tool_background.png", 57, 44, fill("#0d0e10a0", "#00000060"),
           d("roundrectangle 0.5,0.5 56.5,43.5 4,4"))


# ---------------------------------------------------------------- toolbar panels
def toolbar_images():
    panel = fill("#34373dee", "#1e2024")
    canvas("image", "tool_background.png", 40, 40, panel, d("roundrectangle 0.5,0.5 39.5,36.5 6,6"))
    canvas("image", "tool_accept_background.png", 83, 63, panel, d("roundrectangle 0.5,0.5 82.5,62.5 6,6"))
    canvas("component", "drop_panel.png", 30, 30, fill("#2a2c31ee", "#1e2024"), d("roundrectangle 0.5,0.5 29.5,29.5 5,5"))
    canvas("image", "tool_move.png", 14, 42, fill("#8a8d95"),
           *[d(f"circle {x},{y} {x + 1.3},{y}") for x in (4, 10) for y in range(6, 40, 6)])
    canvas("image", "button_drop_panel.png", 17, 17, fill("none", "#b9bbc2", 2), d("polyline 4,6 8.5,11 13,6"))
    canvas("image", "button_drop_panel_top.png", 17, 17, fill("none", "#b9bbc2", 2), d("polyline 4,11 8.5,6 13,11"))
    canvas("image", "split.png", 2, 30, fill("#1b1c20"), d("line 0,0 0,29"), fill("#4b4e55"), d("line 1,0 1,29"))
    menu = fill("#2a2c31f2", "#16171a")
    canvas("image", "accept_menu.png", 60, 60, menu, d("roundrectangle 0.5,8.5 59.5,59.5 6,6"),
           fill("#2a2c31f2"), d("polygon 38,9 45,1 52,9"))
    canvas("image", "accept_menu_top.png", 60, 60, menu, d("roundrectangle 0.5,0.5 59.5,51.5 6,6"),
           fill("#2a2c31f2"), d("polygon 38,51 45,59 52,51"))
    canvas("image", "scroll_dialog_background.png", 120, 120, fill("#141517c8", "#ffffff40"),
           d("roundrectangle 0.5,0.5 119.5,119.5 12,12"))
    canvas("image", "ponoram_arrow.png", 24, 32, fill("#ffffff"),
           d("polygon 9,2 15,2 15,18 22,18 12,30 2,18 9,18"))
    canvas("image", "ponoram_preview_background.png", 112, 253, fill("#141517c8", "#ffffff40"),
           d("roundrectangle 3.5,3.5 110.5,248.5 6,6"))


def drop_panel_images():
    canvas("component", "selected_color.png", 14, 17, fill("none", "#ffffff", 2), d("rectangle 1,1 12,15"),
           fill("none", "#000000", 1), d("rectangle 2.5,2.5 10.5,13.5"))
    canvas("component", "slider_control.png", 18, 18, fill("#f4f4f5", "#6d7078"), d("circle 9,9 9,1"))
    canvas("component", "selected_color_disable.png", 18, 18, fill("#6d7078", "#4a4d55"), d("circle 9,9 9,1"))
    wedge = "polygon 2,10 103,4 103,16"
    canvas("component", "slider_background.png", 105, 20, fill("#55585f"), d(wedge))
    for value in range(2, 27):
        reach = (value - 2) * 4 + 9
        canvas("component", f"slider_background_{value}.png", 105, 20, fill("#55585f"), d(wedge),
               ["-region", f"{reach}x20+0+0"], fill(BLUE), d(wedge), ["+region"])
    for stem in ("undo", "redo"):
        if stem == "undo":
            shape = ["polyline 20,16 20,10 6,10", "polyline 10,5 5,10 10,15"]
        else:
            shape = ["polyline 5,16 5,10 19,10", "polyline 15,5 20,10 15,15"]
        for suffix, colour in (("", LIGHT), ("_hover", WHITE), ("_disable", "#5e6168")):
            canvas("icon", f"{stem}_arrow{suffix}.png", 25, 20, fill("none", colour, 2), *[d(s) for s in shape])
    # The scrolling capture: a page with an arrow running down it, and a square while it runs.
    for suffix, colour in (("", LIGHT), ("_hover", WHITE), ("_disable", "#5e6168")):
        canvas("icon", f"ponoram_start{suffix}.png", 25, 20, fill("none", colour, 2),
               d("rectangle 6,2 18,18"), d("line 12,5 12,14"), d("polyline 9,11 12,14 15,11"))
    for suffix, colour in (("", BLUE), ("_hover", WHITE)):
        canvas("icon", f"ponoram_stop{suffix}.png", 25, 20, fill(colour), d("rectangle 7,4 17,14"))


def accept_images():
    for suffix, colour in (("", "#ffffff"), ("_enter", "#fff6df")):
        canvas("icon", f"tool_accept_icon{suffix}.png", 34, 28, fill(colour),
               d("roundrectangle 2,14 32,26 5,5"), d("polygon 17,1 26,11 20,11 20,19 14,19 14,11 8,11"))
    for name, colour, points in (("tool_accept_menu_arrow_bottom.png", "#ffffff", "1,2 5,7 9,2"),
                                 ("tool_accept_menu_arrow_bottom_enter.png", "#3a2a00", "1,2 5,7 9,2"),
                                 ("tool_accept_menu_arrow_top.png", "#ffffff", "1,7 5,2 9,7"),
                                 ("tool_accept_menu_arrow_top_enter.png", "#3a2a00", "1,7 5,2 9,7")):
        canvas("icon", name, 10, 9, fill(colour), d("polygon " + points))
    share = {"vk": "#4a76a8", "od": "#ee8208", "fb": "#3b5998", "tw": "#1da1f2"}
    for stem, colour in share.items():
        canvas("icon", f"menu_icon_{stem}.png", 19, 19, fill(colour), d("circle 9.5,9.5 9.5,0.5"),
               fill("#ffffff"), d("circle 6,9.5 6,7.7"), d("circle 13,5.5 13,3.7"), d("circle 13,13.5 13,11.7"),
               fill("none", "#ffffff", 1.4), d("line 6,9.5 13,5.5"), d("line 6,9.5 13,13.5"))
    canvas("icon", "menu_icon_mail.png", 19, 19, fill("#8f9299"), d("roundrectangle 1,4 18,15 2,2"),
           fill("none", "#ffffff", 1.4), d("polyline 2,5 9.5,11 17,5"))


def app_icons():
    logo = [fill("#2f9bd0", "#1c6f98"), d("roundrectangle 1,1 30,30 7,7"),
            fill("none", "#ffffff", 3), d("polyline 8,22 8,10 16,18 24,10 24,22")]
    canvas("icon", "icon.png", 32, 32, *logo)
    subprocess.run(["convert", path("icon", "icon.png"), path("icon", "icon.ico")], check=True)
    os.remove(path("icon", "icon.png"))
    canvas("icon", "main_ico.png", 25, 25, fill("#2f9bd0", "#1c6f98"), d("roundrectangle 0.5,0.5 24.5,24.5 5,5"),
           fill("none", "#ffffff", 2.5), d("polyline 6,18 6,8 12.5,14 19,8 19,18"))


def overlay_images():
    canvas("component", "magnifier_background.png", 80, 82, fill("#1c1d20d0", "#000000"),
           d("roundrectangle 0.5,0.5 79.5,81.5 7,7"))
    canvas("component", "close_window_background.png", 100, 100, fill("#141414", "#3c3b3a"),
           d("roundrectangle 0.5,0.5 99.5,99.5 14,14"))



def editor_images():
    canvas("component", "close_edit_ponoram.png", 12, 12, fill("none", "#c9cbd3", 2), d("line 1,1 11,11"), d("line 11,1 1,11"))
    canvas("component", "zoom_minus_control.png", 10, 10, fill("none", "#c9cbd3", 2), d("line 0,5 10,5"))
    canvas("component", "zoom_plus_control.png", 10, 10, fill("none", "#c9cbd3", 2), d("line 0,5 10,5"), d("line 5,0 5,10"))
    canvas("component", "zoom_hover_background.png", 20, 20, fill("#ffffff20"), d("roundrectangle 0,0 19,19 4,4"))
    canvas("component", "zoom_press_background.png", 20, 20, fill("#00000050"), d("roundrectangle 0,0 19,19 4,4"))
    canvas("component", "zoom_slider.png", 155, 5, fill("#1c2227", "#4c4f50"), d("roundrectangle 0.5,0.5 154.5,4.5 2,2"))


def capture_images():
    # A thin cross with a light outline, readable on any screen; the hot spot is its centre.
    canvas("cursor", "cross_cursor.png", 21, 21, fill("none", "#ffffff", 3), d("line 10.5,0 10.5,21"),
           d("line 0,10.5 21,10.5"), fill("none", "#000000", 1), d("line 10.5,0 10.5,21"), d("line 0,10.5 21,10.5"))
    # Drawn over the enlarged patch of the magnifier: a faint inner frame.
    canvas("component", "magnifier_hotspot.png", 70, 70, fill("none", "#ffffff40", 1),
           d("roundrectangle 1.5,1.5 68.5,68.5 4,4"))


# ---------------------------------------------------------------- fonts
FONT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "qml", "font", "DejaVuSans.ttf")


# ---------------------------------------------------------------- settings page
TAB_ICONS = {
    "storage": [d("ellipse 18,9 12,4 0,360"), d("line 6,9 6,27"), d("line 30,9 30,27"), d("ellipse 18,27 12,4 0,180"),
                d("ellipse 18,18 12,4 0,180")],
    "setting": [d("circle 18,18 18,12"), d("circle 18,18 18,15.5"), d("line 18,3 18,8"), d("line 18,28 18,33"),
                d("line 3,18 8,18"), d("line 28,18 33,18"), d("line 7.5,7.5 11,11"), d("line 25,25 28.5,28.5"),
                d("line 7.5,28.5 11,25"), d("line 25,11 28.5,7.5")],
    "hoot": [d("roundrectangle 3,8 33,28 4,4"), d("line 8,14 10,14"), d("line 14,14 16,14"), d("line 20,14 22,14"),
             d("line 26,14 28,14"), d("line 11,22 25,22")],
}


def settings_images():
    for stem, draws in TAB_ICONS.items():
        canvas("icon", f"setting_tool_{stem}.png", 36, 36, fill("none", "#6d7078", 2), *draws)
        canvas("icon", f"setting_tool_{stem}_check.png", 36, 36, fill("none", "#2f9bd0", 2), *draws)
    canvas("component", "setting_separator.png", 2, 64, fill("#c4c6cc"), d("line 0,0 0,63"),
           fill("#ffffff"), d("line 1,0 1,63"))
    canvas("component", "separator.png", 4, 2, fill("#d8d9de"), d("line 0,0 3,0"), fill("#ffffff"), d("line 0,1 3,1"))
    canvas("component", "version_background.png", 61, 23, fill("#6d7078", "#55585f"),
           d("roundrectangle 0.5,0.5 60.5,22.5 10,10"))
    canvas("image", "avatar_default.png", 50, 50, fill("#c9cbd3", "#a9acb4"), d("roundrectangle 0.5,0.5 49.5,49.5 5,5"),
           fill("#ffffff"), d("circle 25,19 25,10"), d("ellipse 25,47 16,13 180,360"))
    spinner()


def spinner():
    """The 16 x 16 busy animation: a short arc going round in eight steps."""
    frames = []
    for step in range(8):
        start = step * 45
        frame = path("component", f"download_{step}.png")
        subprocess.run(["convert", "-size", "16x16", "xc:none", *fill("none", "#d4d6dc", 2), *d("circle 8,8 8,2"),
                        *fill("none", "#2f9bd0", 2), *d(f"arc 2,2 14,14 {start},{start + 90}"), frame], check=True)
        frames.append(frame)
    subprocess.run(["convert", "-delay", "10", "-dispose", "Background", *frames, "-loop", "0",
                    path("component", "download.gif")], check=True)
    for frame in frames:
        os.remove(frame)


def social_icons():
    letters = {"fb": ("#3b5998", "f"), "tw": ("#1da1f2", "t"), "vk": ("#4a76a8", "vk"), "od": ("#ee8208", "ok")}
    for stem, (colour, letter) in letters.items():
        canvas("icon", f"{stem}.png", 34, 34, fill(colour, "#00000030"), d("roundrectangle 0.5,0.5 33.5,33.5 7,7"),
               ["-font", FONT, "-pointsize", "17" if len(letter) == 1 else "13", "-gravity", "center"],
               fill("#ffffff"), ["-annotate", "+0+0", letter])


def launcher_icons():
    ink = fill("none", "#4f5a66", 2.5)
    accent = fill("none", "#2f9bd0", 2.5)
    canvas("icon", "fragment.png", 35, 35, fill("none", "#4f5a66", 2), d("rectangle 6,6 29,29"),
           accent, d("polyline 3,11 3,3 11,3"), d("polyline 24,32 32,32 32,24"))
    canvas("icon", "screen.png", 35, 35, ink, d("roundrectangle 3,5 32,25 2,2"), d("line 17.5,25 17.5,31"),
           d("line 10,31 25,31"), fill("#2f9bd080"), d("rectangle 6,8 29,22"))
    canvas("icon", "history.png", 35, 35, ink, d("circle 17.5,17.5 17.5,3"), accent, d("polyline 17.5,9 17.5,17.5 24,21"))
    canvas("icon", "setting.png", 35, 35, fill("none", "#4f5a66", 4),
           *[d(f"line {17.5 + 10 * math.cos(a * math.pi / 4):.1f},{17.5 + 10 * math.sin(a * math.pi / 4):.1f} "
               f"{17.5 + 15 * math.cos(a * math.pi / 4):.1f},{17.5 + 15 * math.sin(a * math.pi / 4):.1f}") for a in range(8)],
           ink, d("circle 17.5,17.5 17.5,7.5"), accent, d("circle 17.5,17.5 17.5,13.5"))
    canvas("icon", "open.png", 35, 35, ink, d("polyline 20,5 30,5 30,15"), d("line 30,5 16,19"),
           d("polyline 25,21 25,30 5,30 5,10 14,10"))
    canvas("icon", "copy.png", 35, 35, ink, d("roundrectangle 4,10 23,31 2,2"), accent, d("polyline 11,7 11,4 31,4 31,25 26,25"))


# Where each desktop keeps its tray: (panel rectangle, icon centre).
DESKTOPS = {
    "win": ("0,166 575,193", (540, 180)),
    "unity": ("0,0 575,22", (540, 11)),
    "kde": ("0,162 575,193", (530, 178)),
    "xfce": ("0,0 575,24", (545, 12)),
}
TRAY_TEXT = {"": "Mavu живёт в области уведомлений:\nщёлкните по значку, чтобы сделать снимок",
             "_en": "Mavu lives in the tray:\nclick its icon to take a screenshot"}


def platform_pictures():
    """platform_start_<desktop>[_en].png: the desktop's panel with an arrow at Mavu's tray icon."""
    for desktop, (panel, (x, y)) in DESKTOPS.items():
        top = y < 97
        tip_y = y + 16 if top else y - 16
        tail_y = 97
        for suffix, text in TRAY_TEXT.items():
            canvas("image", f"platform_start_{desktop}{suffix}.png", 576, 194,
                   fill("#e9ecf1", "#cacbd2"), d("roundrectangle 0.5,0.5 575.5,193.5 8,8"),
                   fill("#34373d"), d("rectangle " + panel),
                   fill("#2f9bd0", "#ffffff", 1), d(f"roundrectangle {x - 8},{y - 8} {x + 8},{y + 8} 3,3"),
                   fill("none", "#d9472b", 3), d(f"line {x - 60},{tail_y} {x},{tip_y}"),
                   fill("#d9472b"), d(f"polygon {x},{tip_y} {x - 14},{tip_y + (10 if top else -10)} "
                                      f"{x - 3},{tip_y + (16 if top else -16)}"),
                   ["-font", FONT, "-pointsize", "14"], fill("#37373e"),
                   ["-annotate", f"+24+{tail_y - 10}", text])


if __name__ == "__main__":
    frame_images()
    check_images()
    tooltip_images()
    tool_icons()
    toolbar_images()
    drop_panel_images()
    accept_images()
    app_icons()
    overlay_images()
    capture_images()
    editor_images()
    settings_images()
    social_icons()
    launcher_icons()
    platform_pictures()
