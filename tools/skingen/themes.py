"""The colours, fonts and measures of the two shipped skins.

Every skin draws with one stroke weight for line glyphs, one corner radius
for panels and buttons and spacing on a 2-pixel grid.
"""

DEFAULT = {
    "folder": "default",
    "title": "Default",
    "stroke": 1.6,          # line glyphs, output pixels
    "radius": 6,            # buttons and panels
    "window_radius": 10,
    # surfaces
    "bg_top": "1D2027", "bg_bottom": "15171C", "border": "2E333D", "rim": "262A32",
    "panel": "0D0E12", "panel_border": "262A33", "groove": "2B303A",
    # text and glyphs
    "text": "EEF0F3", "text2": "8D95A3", "glyph": "C6CBD3", "glyph_hot": "FFFFFF",
    # states
    "hover": "2A2E37", "press": "1A1D23", "press_hover": "30353F",
    "accent": "4FD1C5", "accent_hot": "74E0D6", "accent_down": "36B2A6", "accent_hotdown": "43C4B8",
    "on_accent": "0C1114",
    "close_hover": "E5484D", "close_down": "B93A3E",
    # display
    "vis_bars_low": "2FB5A8", "vis_bars_high": "C8FFF6", "vis_ghost": "14171C",
    "visc": ("1E9488", "4FD1C5", "D4FFF9"), "visc4": "4FD1C5", "oscc": ("2C6E8F", "5CB8E6", "D7F1FF"),
    "vistype": "bitmap",
}

DAYLIGHT = {
    "folder": "daylight",
    "title": "Daylight",
    "stroke": 1.6,
    "radius": 4,
    "window_radius": 6,
    "bg_top": "FBFBFC", "bg_bottom": "EEF0F3", "border": "C9CED6", "rim": "FFFFFF",
    "panel": "FFFFFF", "panel_border": "DCE0E6", "groove": "DCE0E6",
    "text": "15181D", "text2": "687080", "glyph": "3A404A", "glyph_hot": "0E1014",
    "hover": "E3E6EB", "press": "D4D8DF", "press_hover": "CDD2DA",
    "accent": "5146E5", "accent_hot": "6A60F0", "accent_down": "3F35C4", "accent_hotdown": "4A40D6",
    "on_accent": "FFFFFF",
    "close_hover": "E5484D", "close_down": "B93A3E",
    "vis_bars_low": "5146E5", "vis_bars_high": "B9B4FA", "vis_ghost": "F1F2F6",
    "visc": ("9D97F3", "5146E5", "2A2290"), "visc4": "5146E5", "oscc": ("8FA3BF", "44638F", "17304F"),
    "vistype": "columns",
    "include_hidden": True,
}
