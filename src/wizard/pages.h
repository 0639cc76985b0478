// Page numbers of the wizard.
#ifndef KV_PAGES_H
#define KV_PAGES_H

enum {
    PAGE_LANGUAGE = 0,
    PAGE_NOT_FOUND = 1,
    PAGE_VERSIONS = 2,
    PAGE_INSTALLING = 3,
    PAGE_COMPLETED = 4,
    PAGE_SOURCE_MISSING = 5,
    PAGE_INSTALL_CORRUPT = 6,
    PAGE_QUICKSTART = 7,
    PAGE_LOCATION = 8,
    PAGE_WRITE_FAILED = 9,
    PAGE_INCOMPATIBLE = 10,
    PAGE_COUNT = 11
};

// Widget colours.
enum : unsigned short {
    COLOUR_FACE = 0x6739,
    COLOUR_LIGHT = 0x7FFF,
    COLOUR_DARK = 0x2108,
    COLOUR_HEADING = 0xFFE0,
    COLOUR_VERSION = 0x001F
};

// Widget text is drawn in font 1; the heading in fonts 5 and 2.
enum { FONT_WIDGET = 1, FONT_HEADING = 5, FONT_SUBHEADING = 2, WRAP_LINE_STEP = 17 };

#endif
